// Queries on tree nodes for the code that walks a document.
#include "xml/xml_document.h"

#include "system/utf.h"

std::int32_t xml_attribute_index(const XmlNode* node, std::u16string_view name) {
    for (std::int32_t i = 0; i < node->attribute_count; ++i) {
        if (ascii_equal_ignore_case(xml_attribute_name(node, i), name))
            return i;
    }
    return -1;
}
