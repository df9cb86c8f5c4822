// The parser under the document tree: creation with the tree-building
// handlers and one whole parse that records the error fields.
#pragma once

#include <cstddef>
#include <cstdint>

#include "xml/xml_document.h"

// Texts longer than this go to the parser in several calls (its length
// argument is an int of bytes).
inline constexpr std::size_t XML_PARSE_CHUNK_UNITS = std::size_t(1) << 28;

// A parser for an encoding code (XML_ENCODING_*; any other code lets the parser
// detect the encoding) with the handlers registered; null on failure.
[[nodiscard]] void* create_xml_parser(std::int32_t encoding_code) noexcept;
void free_xml_parser(void* parser) noexcept;

// Parses `length` units with document.parser into the document's tree, in
// calls of at most chunk_units, and records the error fields.
void run_xml_parser(XmlDocument& document,
                    const char16_t* text,
                    std::size_t length,
                    std::size_t chunk_units = XML_PARSE_CHUNK_UNITS) noexcept;
