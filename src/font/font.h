// Font objects: a face name, a point size and style flags made into a platform
// font at the screen's DPI, kept under a number or a PB_Any handle.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/object_id.h"
#include "font/font_request.h"

// Creates the font registry and reads the screen's vertical DPI once (96 when
// no display context can be made). Later calls change nothing.
void init_fonts();

// The DPI that font heights are computed for (96 before init_fonts).
[[nodiscard]] std::int32_t font_screen_dpi();

// The platform font handle for a number, the new id for PB_Any, 0 on failure
// (no object is left then). A number in use loses its old font first.
[[nodiscard]] std::intptr_t load_font(std::intptr_t id,
                                      std::u16string_view face_name,
                                      std::int32_t size,
                                      std::uint32_t flags = 0);

// Deletes the platform font and releases the id; PB_Any frees every font.
void free_font(std::intptr_t id);

// The font's record if the id names a live font, else null.
[[nodiscard]] void* is_font(std::intptr_t id);

// The platform font handle (an HFONT), 0 if the id names no font.
[[nodiscard]] std::uintptr_t font_handle(std::intptr_t id);

// Frees every font (program end).
void end_fonts();
