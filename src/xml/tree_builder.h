// Building a document's tree from the parser's events: the parse cursor, open
// and closed nodes, and texts that grow while their node is open.
#pragma once

#include <cstddef>
#include <cstdint>

#include "xml/xml_document.h"

// Opens a node of `kind` as the last child of the current node and makes it
// current; null when memory is exhausted (the tree is then unchanged).
XmlNode* open_node(XmlDocument& document, std::int32_t kind) noexcept;

// Closes the current node and settles its text. The root is never closed.
void close_node(XmlDocument& document) noexcept;

// Appends to the current node's text. With restore_newlines every LF is stored
// as the document's line break. False when memory is exhausted (text unchanged).
bool append_text(XmlDocument& document, const char16_t* units, std::size_t length, bool restore_newlines) noexcept;

// Settles the texts of the nodes still open (the root, and any an error left open).
void settle_open_texts(XmlDocument& document) noexcept;

// Gives every node of a tree back to the pool (iteratively: trees may be deep).
void free_tree(XmlNode* root) noexcept;
