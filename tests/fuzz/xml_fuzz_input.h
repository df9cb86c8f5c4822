// One fuzz input through the document tree: arbitrary bytes become document
// text; the tree must hang together and free completely. Shared by the fuzz
// target and the test that replays the committed corpus.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "xml/node_pool.h"
#include "xml/xml_document.h"
#include "xml/xml_document_internal.h"

// Returns the condition's text from the enclosing function when it fails.
#define XML_FUZZ_CHECK(condition) \
    do {                          \
        if (!(condition))         \
            return #condition;    \
    } while (0)

// Links, counts and owners of every node; the main node is the first element
// in document order. Iterative: the fuzzer makes deep trees. Null when sound,
// else the check that failed.
inline const char* check_xml_fuzz_tree(const XmlDocument& document) {
    const XmlNode* first_element = nullptr;
    const XmlNode* node = document.root;
    XML_FUZZ_CHECK(node && node->kind == XML_NODE_ROOT && !node->parent && !node->next_sibling);
    while (node) {
        XML_FUZZ_CHECK(node->owner == document.handle);
        XML_FUZZ_CHECK(node->kind >= XML_NODE_ROOT && node->kind <= XML_NODE_INSTRUCTION);
        XML_FUZZ_CHECK(node->attribute_count >= 0 && node->id_attribute >= -1 &&
                       node->id_attribute < node->attribute_count);
        for (std::int32_t i = 0; i < 2 * node->attribute_count; ++i)
            XML_FUZZ_CHECK(node->attributes[i] != nullptr);
        if (node->text)
            (void)std::char_traits<char16_t>::length(node->text);
        if (node->kind == XML_NODE_ELEMENT && !first_element)
            first_element = node;
        if (node->first_child) {
            XML_FUZZ_CHECK(node->first_child->parent == node && !node->first_child->previous_sibling);
            node = node->first_child;
            continue;
        }
        while (node && !node->next_sibling)
            node = node->parent;
        if (!node)
            break;
        XML_FUZZ_CHECK(node->next_sibling->previous_sibling == node && node->next_sibling->parent == node->parent);
        node = node->next_sibling;
    }
    XML_FUZZ_CHECK(document.main_node == first_element);
    XML_FUZZ_CHECK((document.error_code == 0) == (document.error_message == nullptr));
    return nullptr;
}

// First byte: bit 0 widens each byte to a unit (so ASCII seeds and the
// dictionary mean markup), else the bytes are UTF-16 units as they stand;
// bit 1 registers under a number instead of PB_Any, over a document that
// already has it; bit 2 passes the text
// NUL-terminated; bit 3 hands it to the parser in pieces of 1 + (byte >> 4) units.
// Null when the input went through soundly, else the check that failed.
inline const char* run_xml_fuzz_input(const std::uint8_t* data, std::size_t size) {
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
        XML_FUZZ_CHECK(parse_xml_text(number, u"<previous><x/></previous>") != 0);
    std::intptr_t result;
    if (mode & 4)
        result = parse_xml_text(number, text.c_str());
    else if (mode & 8)
        result = parse_xml_units(number, text.c_str(), text.size(), 1 + (mode >> 4));
    else
        result = parse_xml_text(number, text.c_str(), text.size());
    XML_FUZZ_CHECK(result != 0);
    const std::intptr_t id = number == PB_Any ? result : number;
    XmlDocument* document = is_xml(id);
    XML_FUZZ_CHECK(document && document->parser == nullptr);
    if (const char* fault = check_xml_fuzz_tree(*document))
        return fault;
    free_xml(id);
    XML_FUZZ_CHECK(is_xml(id) == nullptr && node_pool_in_use() == 0);
    return nullptr;
}

#undef XML_FUZZ_CHECK
