// Start and end of the gadget library: its registry, state and hooks.
#include <memory>

#include "gadget/gadget_internal_win32.h"
#include "system/gui_thread.h"
#include "window/gadget_hooks.h"

#include <commctrl.h>

namespace {
std::unique_ptr<ObjectLibrary<GadgetObject>> g_gadgets;
GadgetLibraryState g_state;
HFONT g_default_font = nullptr;

constexpr DWORD kControlClasses =
    ICC_TAB_CLASSES | ICC_HOTKEY_CLASS | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_INTERNET_CLASSES;
static_assert(kControlClasses == 0xB48);
}  // namespace

void init_gadget_library() {
    if (g_gadgets)
        return;
    g_default_font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    g_gadgets = std::make_unique<ObjectLibrary<GadgetObject>>(kGadgetRegistryIncrement, gadget_free);
    g_state = GadgetLibraryState{};
    g_state.lists.stack = make_gadget_stack();
    g_state.new_gadget_font = g_default_font;
    INITCOMMONCONTROLSEX controls{sizeof controls, kControlClasses};
    InitCommonControlsEx(&controls);
    set_route_to_gadget_hook(gadget_route);
    set_use_gadget_list_hook(gadget_use_list);
}

void end_gadget_library() {
    if (!g_gadgets)
        return;
    // Gadgets normally die with their windows; any left go now, while their
    // records can still be found by their controls.
    g_gadgets->free_all();
    set_route_to_gadget_hook(nullptr);
    set_use_gadget_list_hook(nullptr);
    end_gadget_lists();
    g_gadgets.reset();
    g_state = GadgetLibraryState{};
}

GadgetLibraryState& gadget_library_state() {
    return g_state;
}

HFONT gadget_default_font() {
    return g_default_font;
}

GadgetObject* gadget_object(std::intptr_t id) {
    ASSERT_GUI_THREAD();
    if (!g_gadgets)
        return nullptr;
    // Validating lookup: a freed handle must not be read.
    return g_gadgets->find(id);
}

GadgetObject* gadget_of_control(HWND control) {
    const LONG_PTR id = GetWindowLongPtrW(control, GWLP_ID);
    if (id == -1 || !g_gadgets)
        return nullptr;
    // The fast lookup is safe here: a gadget's control carries its id until
    // the tear-down sets -1, so a handle read from a control is live.
    GadgetObject* g = g_gadgets->find_unchecked(id);
    return g && g->handle == control ? g : nullptr;
}

ObjectLibrary<GadgetObject>* gadget_registry() {
    return g_gadgets.get();
}
