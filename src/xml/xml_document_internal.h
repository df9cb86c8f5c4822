// Internals of the document library for its siblings and tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "xml/xml_document.h"

// parse_xml_text, handing the text to the parser in calls of chunk_units.
[[nodiscard]] std::intptr_t parse_xml_units(std::intptr_t number,
                                            const char16_t* text,
                                            std::size_t length,
                                            std::size_t chunk_units) noexcept;

// Equality of names as the system compares them: A-Z equal a-z, nothing else folds.
[[nodiscard]] bool equals_ignoring_ascii_case(std::u16string_view a, std::u16string_view b);
