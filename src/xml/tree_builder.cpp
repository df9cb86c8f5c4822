// Building a document's tree from the parser's events.
#include "xml/tree_builder.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "xml/node_pool.h"
#include "xml/string_arena.h"
#include "xml/xml_heap.h"

namespace {

std::int32_t saturating_add(std::int32_t a, std::size_t b) {
    return b >= std::size_t(INT32_MAX - a) ? INT32_MAX : a + std::int32_t(b);
}

// Makes room for `extra` more units in the open text of node; returns where
// they go. The text grows geometrically: appends come in many small pieces.
char16_t* extend_open_text(XmlNode& node, std::size_t extra) noexcept {
    constexpr std::size_t kMaxUnits = (SIZE_MAX - sizeof(HeapPiece)) / 2;  // terminator included
    HeapPiece* piece = node.text ? piece_of(node.text) : nullptr;
    const std::size_t length = piece ? piece->length : 0;
    const std::size_t capacity = piece ? piece->capacity : 0;
    if (extra >= kMaxUnits - length)
        return nullptr;
    const std::size_t needed = length + extra + 1;
    if (needed > capacity) {
        const std::size_t doubled = capacity <= kMaxUnits / 2 ? capacity * 2 : kMaxUnits;
        std::size_t grown = std::max({doubled, needed, std::size_t(32)});
        auto* bigger = static_cast<HeapPiece*>(xml_realloc(piece, sizeof(HeapPiece) + grown * 2));
        if (!bigger && grown > needed) {
            // A 32-bit address space may hold the text but not twice its size.
            grown = needed;
            bigger = static_cast<HeapPiece*>(xml_realloc(piece, sizeof(HeapPiece) + grown * 2));
        }
        if (!bigger)
            return nullptr;
        piece = bigger;
        piece->capacity = grown;
        piece->length = length;
        node.text = static_cast<char16_t*>(piece_data(piece));
    }
    char16_t* at = node.text + length;
    piece->length = length + extra;
    node.text[piece->length] = 0;
    return at;
}

// Moves a finished text into the arena, or hands its buffer to the document.
void settle_text(XmlDocument& document, XmlNode& node) noexcept {
    if (!node.text)
        return;
    HeapPiece* piece = piece_of(node.text);
    const std::size_t length = piece->length;
    if ((length + 1) * 2 <= ARENA_PIECE_LIMIT) {
        if (char16_t* copy = arena_copy(document, node.text, length)) {
            xml_free(piece);
            node.text = copy;
            return;
        }
    }
    if (piece->capacity > length + 1) {
        if (auto* fitted = static_cast<HeapPiece*>(xml_realloc(piece, sizeof(HeapPiece) + (length + 1) * 2))) {
            piece = fitted;
            piece->capacity = length + 1;
        }
    }
    arena_adopt(document, piece);
    node.text = static_cast<char16_t*>(piece_data(piece));
}

}  // namespace

XmlNode* open_node(XmlDocument& document, std::int32_t kind) noexcept {
    XmlNode* node = node_take();
    if (!node)
        return nullptr;
    XmlNode* parent = document.current;
    node->kind = kind;
    node->owner = document.handle;
    node->id_attribute = -1;
    node->text_position = document.text_since_last_child;
    if (kind == XML_NODE_ELEMENT && !document.main_node)
        document.main_node = node;
    node->parent = parent;
    if (XmlNode* previous = document.last_closed_child) {
        previous->next_sibling = node;
        node->previous_sibling = previous;
    } else {
        parent->first_child = node;
    }
    document.current = node;
    document.last_closed_child = nullptr;
    document.text_since_last_child = 0;
    return node;
}

void close_node(XmlDocument& document) noexcept {
    XmlNode* node = document.current;
    if (!node->parent)
        return;
    settle_text(document, *node);
    document.last_closed_child = node;
    document.current = node->parent;
    document.text_since_last_child = 0;
}

bool append_text(XmlDocument& document, const char16_t* units, std::size_t length, bool restore_newlines) noexcept {
    if (length == 0)
        return true;
    const std::int32_t style = restore_newlines ? document.newline_style : NEWLINE_LF;
    std::size_t stored = length;
    if (style == NEWLINE_CRLF)
        stored += static_cast<std::size_t>(std::count(units, units + length, u'\n'));
    char16_t* out = extend_open_text(*document.current, stored);
    if (!out)
        return false;
    if (style == NEWLINE_CRLF || style == NEWLINE_CR) {
        for (std::size_t i = 0; i < length; ++i) {
            if (units[i] != u'\n') {
                *out++ = units[i];
                continue;
            }
            *out++ = u'\r';
            if (style == NEWLINE_CRLF)
                *out++ = u'\n';
        }
    } else {
        std::memcpy(out, units, length * 2);
    }
    document.text_since_last_child = saturating_add(document.text_since_last_child, stored);
    return true;
}

void settle_open_texts(XmlDocument& document) noexcept {
    for (XmlNode* node = document.current; node; node = node->parent)
        settle_text(document, *node);
}

void free_tree(XmlNode* root) noexcept {
    XmlNode* node = root;
    while (node) {
        if (XmlNode* child = node->first_child) {
            node->first_child = nullptr;
            node = child;
            continue;
        }
        XmlNode* next = node == root ? nullptr : node->next_sibling ? node->next_sibling : node->parent;
        node_give_back(node);
        node = next;
    }
}
