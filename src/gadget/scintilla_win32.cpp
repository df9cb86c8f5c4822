// The scintilla gadget: the window of an editing component that a separate
// library registers; the library is loaded once, by file name.
#include "gadget/editor_kinds.h"
#include "gadget/gadget_internal_win32.h"
#include "system/wide.h"
#include "window/gadget_hooks.h"

namespace {

constexpr wchar_t kScintillaClass[] = L"Scintilla";
constexpr DWORD kScintillaStyle = WS_CHILD | WS_VISIBLE;
constexpr UINT kSetCodePage = 2037;  // the component's message for its code page
constexpr WPARAM kUtf8 = 65001;

HMODULE g_library = nullptr;
bool g_tried = false;
WNDPROC g_component_proc = nullptr;

// The component's notifications go to the program's callback (word 5 holds it).
std::intptr_t scintilla_notification(GadgetObject& g, void*, unsigned message, std::uintptr_t, std::intptr_t lparam) {
    if (message != WM_NOTIFY)
        return NOT_HANDLED;
    const auto callback = reinterpret_cast<ScintillaCallback>(g.back_colour);
    if (!callback)
        return 0;
    const std::intptr_t id = GetWindowLongPtrW(gadget_hwnd(g), GWLP_ID);
    return callback(id, reinterpret_cast<void*>(lparam));
}

constexpr GadgetKindTable kScintillaKind{
    .kind = kKindScintilla,
    .size = kGadgetKindTableSize,
    .notification_handler = scintilla_notification,
};

LRESULT CALLBACK scintilla_proc(HWND control, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_RBUTTONUP)
        post_gadget_event(control, ET_RIGHT_CLICK);
    return CallWindowProcW(g_component_proc, control, message, wparam, lparam);
}

}  // namespace

bool init_scintilla(const char16_t* library) {
    if (!g_tried && library) {
        g_tried = true;
        g_library = LoadLibraryW(reinterpret_cast<const wchar_t*>(library));
    }
    return g_library != nullptr;
}

std::intptr_t scintilla_gadget(std::intptr_t id,
                               std::int32_t x,
                               std::int32_t y,
                               std::int32_t width,
                               std::int32_t height,
                               ScintillaCallback callback) {
    // Without the component's library there is no class: nothing is made.
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    if (!g_library || !GetClassInfoExW(g_library, kScintillaClass, &info))
        if (!GetClassInfoExW(nullptr, kScintillaClass, &info))
            return 0;
    const HWND control =
        create_gadget_control(WS_EX_CLIENTEDGE, kScintillaClass, u"", kScintillaStyle, x, y, width, height);
    if (!control)
        return 0;
    GadgetObject* g = allocate_gadget(id, control);
    if (!g)
        return 0;
    g->back_colour = reinterpret_cast<std::intptr_t>(callback);
    const auto class_proc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(scintilla_proc)));
    if (!g_component_proc)
        g_component_proc = class_proc;
    const std::intptr_t result = register_gadget(id, g, control, &kScintillaKind);
    SendMessageW(control, kSetCodePage, kUtf8, 0);
    return result;
}

std::intptr_t scintilla_send_message(std::intptr_t gadget,
                                     unsigned message,
                                     std::uintptr_t wparam,
                                     std::intptr_t lparam) {
    GadgetObject* g = gadget_object(gadget);
    if (!g || g->table->kind != kKindScintilla)
        return 0;
    return SendMessageW(gadget_hwnd(*g), message, wparam, lparam);
}
