// Image objects: platform bitmaps (or icons loaded from .ico files) kept under
// a number or a PB_Any handle, for the gadgets that show images and for
// drawing. No decoders beyond what the platform itself loads.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/object_id.h"

// Creates the image registry; end_images frees every image.
void init_images();
void end_images();

// A width × height image of 32-bit pixels, all 0. Returns the platform bitmap
// for a number, the new id for PB_Any, 0 on failure (a number in use keeps its
// old image then); a number in use loses its old image.
[[nodiscard]] std::intptr_t create_image(std::intptr_t id, std::int32_t width, std::int32_t height);

// A .bmp file (as a bitmap) or a .ico file (as an icon at its first size),
// told by the extension; results as create_image.
[[nodiscard]] std::intptr_t load_image(std::intptr_t id, std::u16string_view path);

// Deletes the platform object and releases the id; PB_Any frees every image.
void free_image(std::intptr_t id);

// True if the id names a live image.
[[nodiscard]] bool is_image(std::intptr_t id);
// The platform handle (a bitmap, or an icon when image_is_icon), 0 for no image.
[[nodiscard]] std::uintptr_t image_handle(std::intptr_t id);
[[nodiscard]] bool image_is_icon(std::intptr_t id);
[[nodiscard]] std::int32_t image_width(std::intptr_t id);
[[nodiscard]] std::int32_t image_height(std::intptr_t id);

// Calls draw with a device context (an HDC) that has the image's bitmap
// selected, then restores it. False (draw not called) for no image or an icon.
using ImageDrawRoutine = void (*)(void* dc, std::int32_t width, std::int32_t height, void* user);
bool draw_on_image(std::intptr_t id, ImageDrawRoutine draw, void* user);
