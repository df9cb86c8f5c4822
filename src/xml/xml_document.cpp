// XML documents as numbered objects: parsing a text into a tree, lookup, freeing.
#include "xml/xml_document.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "base/object_library.h"
#include "xml/newline_style.h"
#include "xml/node_pool.h"
#include "xml/string_arena.h"
#include "xml/tree_builder.h"
#include "xml/xml_document_internal.h"
#include "xml/xml_parser.h"

namespace {

constexpr std::int32_t kRegistryIncrement = 8;

std::unique_ptr<ObjectLibrary<XmlDocument>> documents;

void destroy(XmlDocument& document) noexcept {
    if (document.parser)
        free_xml_parser(document.parser);
    document.parser = nullptr;
    free_tree(document.root);
    document.root = nullptr;
    arena_free(document);
}

// The first block holds about as much as the input, so a typical document
// needs no second one; tiny inputs still get room for an error message. Huge
// inputs get a capped block and standard ones after it: most of their text
// lives in heap pieces, and a 32-bit address space has no room to waste.
constexpr std::size_t kFirstBlockLimit = std::size_t(16) << 20;

std::size_t first_block_bytes(std::size_t length) {
    const std::size_t room = length < kFirstBlockLimit / 2 ? std::max(length * 2, ARENA_PIECE_LIMIT) : kFirstBlockLimit;
    return sizeof(ArenaBlock) + room;
}

}  // namespace

void init_xml_library() {
    if (!documents)
        documents = std::make_unique<ObjectLibrary<XmlDocument>>(kRegistryIncrement, free_xml);
}

void end_xml_library() {
    if (!documents)
        return;
    documents->free_all();
    documents.reset();
}

std::intptr_t parse_xml_units(std::intptr_t number,
                              const char16_t* text,
                              std::size_t length,
                              std::size_t chunk_units) noexcept {
    if (!documents || (number < 0 && number != PB_Any))
        return 0;
    void* parser = create_xml_parser(XML_ENCODING_UTF16);
    if (!parser)
        return 0;
    const auto made = documents->create(number);
    if (!made) {
        free_xml_parser(parser);
        return 0;
    }
    XmlDocument* document = made.record;
    const std::intptr_t handle = made.id;
    XmlNode* root = node_take();
    if (!root) {
        documents->release(handle);
        free_xml_parser(parser);
        return 0;
    }
    root->kind = XML_NODE_ROOT;
    root->id_attribute = -1;
    root->owner = handle;
    document->root = root;
    document->encoding = XML_ENCODING_UTF16;
    document->standalone = -1;
    document->handle = handle;
    document->parser = parser;
    document->current = root;
    document->encoding_fixed = true;
    document->newline_style = detect_newline_style(text, length * 2);
    arena_add_block(*document, first_block_bytes(length));

    run_xml_parser(*document, text, length, chunk_units);
    settle_open_texts(*document);
    document->parser = nullptr;
    free_xml_parser(parser);
    return reinterpret_cast<std::intptr_t>(document);
}

std::intptr_t parse_xml_text(std::intptr_t number, const char16_t* text, std::size_t length) {
    return parse_xml_units(number, text, length, XML_PARSE_CHUNK_UNITS);
}

std::intptr_t parse_xml_text(std::intptr_t number, const char16_t* text) {
    return parse_xml_text(number, text, text ? std::char_traits<char16_t>::length(text) : 0);
}

XmlDocument* is_xml(std::intptr_t id) {
    return documents ? documents->find(id) : nullptr;
}

void free_xml(std::intptr_t id) {
    if (!documents)
        return;
    if (XmlDocument* document = documents->free_all_or_find(id)) {
        destroy(*document);
        documents->release(id);
    }
}

XmlNode* xml_main_node(std::intptr_t id) {
    XmlDocument* document = is_xml(id);
    return document ? document->main_node : nullptr;
}
