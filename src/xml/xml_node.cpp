// Queries on tree nodes for the code that walks a document.
#include "xml/xml_document.h"

#include "xml/xml_document_internal.h"

namespace {

char16_t ascii_upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

}  // namespace

bool equals_ignoring_ascii_case(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ascii_upper(a[i]) != ascii_upper(b[i]))
            return false;
    }
    return true;
}

std::int32_t xml_attribute_index(const XmlNode* node, std::u16string_view name) {
    for (std::int32_t i = 0; i < node->attribute_count; ++i) {
        if (equals_ignoring_ascii_case(xml_attribute_name(node, i), name))
            return i;
    }
    return -1;
}
