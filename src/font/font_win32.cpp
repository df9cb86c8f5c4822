// Font objects as GDI fonts, kept in the font registry.
#include "font/font.h"

#include <memory>
#include <string>

#include "base/object_library.h"
#include "system/wide.h"
#include "system/win32.h"

namespace {

// The handle is also the record's liveness word.
struct FontRecord {
    HFONT handle;
};
static_assert(sizeof(FontRecord) == 4, "one 32-bit word per font on the target");

constexpr std::int32_t kFontIncrement = 16;
constexpr std::int32_t kFallbackDpi = 96;

std::unique_ptr<ObjectLibrary<FontRecord>> g_fonts;
std::int32_t g_screen_dpi = kFallbackDpi;

std::int32_t read_screen_dpi() {
    HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (!dc)
        return kFallbackDpi;
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    DeleteDC(dc);
    return dpi > 0 ? dpi : kFallbackDpi;
}

}  // namespace

void init_fonts() {
    // The DPI is read once: fonts loaded after a display change keep the
    // sizes the gadgets were laid out for.
    if (g_fonts)
        return;
    g_fonts = std::make_unique<ObjectLibrary<FontRecord>>(kFontIncrement, free_font);
    g_screen_dpi = read_screen_dpi();
}

std::int32_t font_screen_dpi() {
    return g_screen_dpi;
}

std::intptr_t load_font(std::intptr_t id, std::u16string_view face_name, std::int32_t size, std::uint32_t flags) {
    if (!g_fonts)
        return 0;
    const auto made = g_fonts->create(id);
    if (!made)
        return 0;

    const FontRequest request = font_request(size, g_screen_dpi, flags);
    const std::u16string face(face_name);
    HFONT font = CreateFontW(request.height, 0, 0, 0, request.weight, request.italic, request.underline,
                             request.strike_out, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             request.quality, DEFAULT_PITCH | FF_DONTCARE, wide(face));
    if (!font) {
        g_fonts->release(made.id);
        return 0;
    }
    made.record->handle = font;
    return made.result(reinterpret_cast<std::intptr_t>(font));
}

void free_font(std::intptr_t id) {
    if (!g_fonts)
        return;
    if (FontRecord* font = g_fonts->free_all_or_find(id)) {
        DeleteObject(font->handle);
        g_fonts->release(id);
    }
}

void* is_font(std::intptr_t id) {
    return g_fonts ? g_fonts->find(id) : nullptr;
}

std::uintptr_t font_handle(std::intptr_t id) {
    const FontRecord* font = g_fonts ? g_fonts->find(id) : nullptr;
    return font ? reinterpret_cast<std::uintptr_t>(font->handle) : 0;
}

void end_fonts() {
    free_font(PB_Any);
    g_fonts.reset();
}
