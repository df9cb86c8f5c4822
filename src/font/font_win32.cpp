// Font objects as GDI fonts, kept in the font registry.
#include "font/font.h"

#include <memory>
#include <string>

#include "base/object_registry.h"
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

std::unique_ptr<ObjectRegistry> g_fonts;
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
    g_fonts = registry_create(sizeof(FontRecord), kFontIncrement, free_font);
    g_screen_dpi = read_screen_dpi();
}

std::int32_t font_screen_dpi() {
    return g_screen_dpi;
}

std::intptr_t load_font(std::intptr_t id, std::u16string_view face_name, std::int32_t size, std::uint32_t flags) {
    if (!g_fonts)
        return 0;
    void* record = registry_allocate(*g_fonts, id);
    if (!record)
        return 0;
    const std::intptr_t object = id == PB_Any ? reinterpret_cast<std::intptr_t>(record) : id;

    const FontRequest request = font_request(size, g_screen_dpi, flags);
    const std::u16string face(face_name);
    HFONT font = CreateFontW(request.height, 0, 0, 0, request.weight, request.italic, request.underline,
                             request.strike_out, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             request.quality, DEFAULT_PITCH | FF_DONTCARE, wide(face));
    if (!font) {
        registry_release(*g_fonts, object);
        return 0;
    }
    registry_record<FontRecord>(record)->handle = font;
    return id == PB_Any ? object : reinterpret_cast<std::intptr_t>(font);
}

void free_font(std::intptr_t id) {
    if (!g_fonts)
        return;
    if (id == PB_Any) {
        registry_free_all(*g_fonts);
        return;
    }
    void* record = registry_get(*g_fonts, id);
    if (!record)
        return;
    DeleteObject(registry_record<FontRecord>(record)->handle);
    registry_release(*g_fonts, id);
}

void* is_font(std::intptr_t id) {
    if (!g_fonts || id == PB_Any)
        return nullptr;
    // The validating lookup: a stale or foreign handle must not be read.
    void* record = registry_find(*g_fonts, id);
    return record && registry_liveness(record) != 0 ? record : nullptr;
}

std::uintptr_t font_handle(std::intptr_t id) {
    if (!g_fonts || id == PB_Any)
        return 0;
    void* record = registry_get(*g_fonts, id);
    return record ? reinterpret_cast<std::uintptr_t>(registry_record<FontRecord>(record)->handle) : 0;
}

void end_fonts() {
    free_font(PB_Any);
}
