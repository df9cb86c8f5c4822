// Fuzz target for the document tree: arbitrary bytes become document text; the
// tree must hang together and free completely.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "xml/node_pool.h"
#include "xml/xml_document.h"
#include "xml/xml_document_internal.h"

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

// Links, counts and owners of every node; the main node is the first element
// in document order. Iterative: the fuzzer makes deep trees.
void check_tree(const XmlDocument& document) {
    const XmlNode* first_element = nullptr;
    const XmlNode* node = document.root;
    check(node && node->kind == XML_NODE_ROOT && !node->parent && !node->next_sibling);
    while (node) {
        check(node->owner == document.handle);
        check(node->kind >= XML_NODE_ROOT && node->kind <= XML_NODE_INSTRUCTION);
        check(node->attribute_count >= 0 && node->id_attribute >= -1 && node->id_attribute < node->attribute_count);
        for (std::int32_t i = 0; i < 2 * node->attribute_count; ++i)
            check(node->attributes[i] != nullptr);
        if (node->text)
            (void)std::char_traits<char16_t>::length(node->text);
        if (node->kind == XML_NODE_ELEMENT && !first_element)
            first_element = node;
        if (node->first_child) {
            check(node->first_child->parent == node && !node->first_child->previous_sibling);
            node = node->first_child;
            continue;
        }
        while (node && !node->next_sibling)
            node = node->parent;
        if (!node)
            break;
        check(node->next_sibling->previous_sibling == node && node->next_sibling->parent == node->parent);
        node = node->next_sibling;
    }
    check(document.main_node == first_element);
    check((document.error_code == 0) == (document.error_message == nullptr));
}

}  // namespace

// First byte: bit 0 widens each byte to a unit (so ASCII seeds and the
// dictionary mean markup), else the bytes are UTF-16 units as they stand;
// bit 1 registers under a number instead of PB_Any, over a document that
// already has it; bit 2 passes the text
// NUL-terminated; bit 3 hands it to the parser in pieces of 1 + (byte >> 4) units.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool started = (init_xml_library(), true);
    (void)started;
    const std::uint8_t mode = size ? data[0] : 0;
    if (size)
        ++data, --size;

    std::u16string text;
    if (mode & 1) {
        text.assign(data, data + size);
    } else {
        text.resize(size / 2);
        if (size >= 2)
            std::memcpy(text.data(), data, text.size() * 2);
    }
    const std::intptr_t number = (mode & 2) ? 1 : PB_Any;
    if (number != PB_Any)
        check(parse_xml_text(number, u"<previous><x/></previous>") != 0);
    std::intptr_t result;
    if (mode & 4)
        result = parse_xml_text(number, text.c_str());
    else if (mode & 8)
        result = parse_xml_units(number, text.c_str(), text.size(), 1 + (mode >> 4));
    else
        result = parse_xml_text(number, text.c_str(), text.size());
    check(result != 0);
    const std::intptr_t id = number == PB_Any ? result : number;
    XmlDocument* document = is_xml(id);
    check(document && document->parser == nullptr);
    check_tree(*document);
    free_xml(id);
    check(is_xml(id) == nullptr && node_pool_in_use() == 0);
    return 0;
}
