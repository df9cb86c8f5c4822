// XML documents: XML text parsed into a tree of nodes with names, texts and
// attributes, kept as numbered objects until freed. One thread (the GUI
// thread) uses the library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/object_id.h"

// Node kinds.
inline constexpr std::int32_t XML_NODE_ROOT = 0;
inline constexpr std::int32_t XML_NODE_ELEMENT = 1;
inline constexpr std::int32_t XML_NODE_COMMENT = 2;
inline constexpr std::int32_t XML_NODE_CDATA = 3;
inline constexpr std::int32_t XML_NODE_DOCTYPE = 4;
inline constexpr std::int32_t XML_NODE_INSTRUCTION = 5;

// Encoding codes of a document.
inline constexpr std::int32_t XML_ENCODING_UTF8 = 2;
inline constexpr std::int32_t XML_ENCODING_SINGLE_BYTE = 24;  // US-ASCII / ISO-8859-1
inline constexpr std::int32_t XML_ENCODING_UTF16 = 25;

// Line-break conventions of an input.
inline constexpr std::int32_t NEWLINE_NONE = 0;
inline constexpr std::int32_t NEWLINE_CRLF = 1;
inline constexpr std::int32_t NEWLINE_LF = 2;
inline constexpr std::int32_t NEWLINE_CR = 4;

struct ArenaBlock;
struct HeapPiece;

// One node of a tree. Strings are NUL-terminated UTF-16 and belong to the
// document; they live until the document is freed.
struct XmlNode {
    XmlNode* parent;  // none for the root
    XmlNode* first_child;
    XmlNode* previous_sibling;
    XmlNode* next_sibling;
    char16_t* name;         // element name or instruction target; none for other kinds
    char16_t* text;         // character content; none if nothing was appended
    char16_t** attributes;  // name, value, name, value … in document order
    std::intptr_t owner;    // the owning document's handle
    // Characters the parent's text had received since it opened or since its
    // previous child closed, when this node opened: cuts the parent's text into
    // the runs between its children.
    std::int32_t text_position;
    std::int32_t kind;
    // Pair index of the last attribute named "ID" (any case), -1 if none. Both
    // this and the count are 32-bit so that huge attribute lists stay correct.
    std::int32_t id_attribute;
    std::int32_t attribute_count;
};

// One parsed text. The first word (root) is the registry's liveness word.
struct XmlDocument {
    XmlNode* root;       // kind XML_NODE_ROOT; parent of everything else
    XmlNode* main_node;  // the document element; none if the text held no element
    std::int32_t encoding;
    std::int32_t standalone;  // -1 until an XML declaration says otherwise
    std::int32_t newline_style;
    std::int32_t error_code;  // 0 = parsed without error
    std::int32_t error_line;
    std::int32_t error_column;  // counted from 1
    char16_t* error_message;    // the parser's text for the code; none for 0
    ArenaBlock* arena_blocks;   // newest first
    void* parser;               // set only while parsing
    std::intptr_t handle;       // the number, or the document's own handle for PB_Any
    bool encoding_fixed;        // the XML declaration cannot change the encoding
    // Parse state.
    XmlNode* current;
    XmlNode* last_closed_child;
    std::int32_t text_since_last_child;
    std::byte* arena_cursor;
    std::byte* arena_end;
    HeapPiece* heap_pieces;  // strings and arrays too big for the arena
};

// Registers the document kind and creates the node pool; call once at start-up.
void init_xml_library();
// Frees every document and the node pool; call once at program end.
void end_xml_library();

// Parses a NUL-terminated text (null = empty) into a document registered under
// number (or PB_Any). Returns the document record's address (for PB_Any the new
// document's id), 0 if the document could not be created. A text with a parse
// error still gives a document holding the tree up to the error.
[[nodiscard]] std::intptr_t parse_xml_text(std::intptr_t number, const char16_t* text);
// The same for exactly length units (embedded NULs reach the parser).
[[nodiscard]] std::intptr_t parse_xml_text(std::intptr_t number, const char16_t* text, std::size_t length);

// The document if id names a live one, else null.
[[nodiscard]] XmlDocument* is_xml(std::intptr_t id);
// Frees one document, or every document for PB_Any. Unknown ids do nothing.
void free_xml(std::intptr_t id);
// The document element, or null if id names no document or it has no element.
[[nodiscard]] XmlNode* xml_main_node(std::intptr_t id);

// ---------------------------------------------------------------- node access
// Walking children: first child, then next sibling until none.
[[nodiscard]] inline std::u16string_view xml_string(const char16_t* s) {
    return s ? std::u16string_view(s) : std::u16string_view();
}
[[nodiscard]] inline std::u16string_view xml_node_name(const XmlNode* node) {
    return xml_string(node->name);
}
[[nodiscard]] inline std::u16string_view xml_node_text(const XmlNode* node) {
    return xml_string(node->text);
}
// Attribute name and value of a pair index in 0 … attribute_count - 1.
[[nodiscard]] inline std::u16string_view xml_attribute_name(const XmlNode* node, std::int32_t index) {
    return xml_string(node->attributes[2 * index]);
}
[[nodiscard]] inline std::u16string_view xml_attribute_value(const XmlNode* node, std::int32_t index) {
    return xml_string(node->attributes[2 * index + 1]);
}
// Pair index of the first attribute whose name equals `name` ignoring ASCII
// case (as the system matches attribute names); -1 if there is none.
[[nodiscard]] std::int32_t xml_attribute_index(const XmlNode* node, std::u16string_view name);
