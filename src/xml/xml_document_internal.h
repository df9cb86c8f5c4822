// Internals of the document library for its siblings and tests.
#pragma once

#include <cstddef>
#include <cstdint>

#include "xml/xml_document.h"

// parse_xml_text, handing the text to the parser in calls of chunk_units.
[[nodiscard]] std::intptr_t parse_xml_units(std::intptr_t number,
                                            const char16_t* text,
                                            std::size_t length,
                                            std::size_t chunk_units) noexcept;
