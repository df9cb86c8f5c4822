// Pool of node records shared by every document (used from one thread only).
#pragma once

#include <cstddef>

#include "xml/xml_document.h"

// A zero-filled node, or null when memory is exhausted.
[[nodiscard]] XmlNode* node_take() noexcept;

// Gives a node back. When no node is taken any more, the pool returns all its
// memory to the heap, so one huge document does not keep it for the whole run.
void node_give_back(XmlNode* node) noexcept;

// Nodes currently taken.
[[nodiscard]] std::size_t node_pool_in_use() noexcept;
