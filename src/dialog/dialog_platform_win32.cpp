// The dialog engine's windows and gadgets on Windows: the window library and
// the gadget core.
#include "dialog/dialog_platform.h"

#include <string>

#include "gadget/container_kinds.h"
#include "gadget/editor_kinds.h"
#include "gadget/explorer_kinds.h"
#include "gadget/gadget_kinds.h"
#include "gadget/image_kinds.h"
#include "gadget/input_kinds.h"
#include "gadget/list_kinds.h"
#include "gadget/picker_kinds.h"
#include "system/handles_win32.h"
#include "system/wide.h"
#include "system/win32.h"
#include "window/window.h"

namespace {

// The create operations return the control for a number, the new id for
// PB_Any and 0 on failure; the element wants the id either way.
std::intptr_t gadget_id(std::intptr_t requested, std::intptr_t result) {
    if (result == 0)
        return -1;
    return requested == PB_Any ? result : requested;
}

class Win32DialogPlatform final : public DialogPlatform {
public:
    std::intptr_t open_window(std::intptr_t id,
                              std::int32_t x,
                              std::int32_t y,
                              std::int32_t width,
                              std::int32_t height,
                              std::u16string_view title,
                              std::uint32_t flags,
                              void* parent) override {
        const std::u16string terminated(title);
        return ::open_window(id, x, y, width, height, terminated.c_str(), flags, parent);
    }
    void close_window(std::intptr_t window) override { ::close_window(window); }
    bool is_window(std::intptr_t window) override { return ::is_window(window) != nullptr; }
    void resize_window(std::intptr_t window, std::int32_t width, std::int32_t height) override {
        ::resize_window(window, kIgnore, kIgnore, width, height);
    }
    LayoutSize window_size(std::intptr_t window) override { return {window_width(window), window_height(window)}; }
    void window_bounds(std::intptr_t window,
                       std::int32_t min_width,
                       std::int32_t min_height,
                       std::int32_t max_width,
                       std::int32_t max_height) override {
        ::window_bounds(window, min_width, min_height, max_width, max_height);
    }
    void centre_window(std::intptr_t window, std::uint32_t flags, void* parent) override {
        centre_window_by_flags(window, flags, parent);
    }
    void show_window(std::intptr_t window) override { ::show_window(window, false, 0); }

    bool has_gadget_kind(ElementKind kind) override {
        switch (kind) {
            case ElementKind::window:
            case ElementKind::tab:
            case ElementKind::vbox:
            case ElementKind::hbox:
            case ElementKind::multibox:
            case ElementKind::singlebox:
            case ElementKind::gridbox:
            case ElementKind::empty:
                return false;
            default:
                return true;
        }
    }

    std::intptr_t create_gadget(const GadgetRequest& r) override {
        const std::u16string text(r.text);
        const char16_t* t = text.c_str();
        const std::uint32_t f = r.flags;
        std::intptr_t result = 0;
        switch (r.kind) {
            case ElementKind::button:
                result = button_gadget(r.id, 0, 0, 0, 0, t, f);
                break;
            case ElementKind::checkbox:
                result = checkbox_gadget(r.id, 0, 0, 0, 0, t, f);
                break;
            case ElementKind::image:
                result = image_gadget(r.id, 0, 0, 0, 0, 0, f);
                break;
            case ElementKind::option:
                result = option_gadget(r.id, 0, 0, 0, 0, t);
                break;
            case ElementKind::listview:
                result = listview_gadget(r.id, 0, 0, 0, 0, f);
                break;
            case ElementKind::listicon:
                result = listicon_gadget(r.id, 0, 0, 0, 0, t, 300, f);
                break;
            case ElementKind::tree:
                result = tree_gadget(r.id, 0, 0, 0, 0, f);
                break;
            case ElementKind::container:
                result = container_gadget(r.id, 0, 0, 0, 0, f);
                break;
            case ElementKind::combobox:
                result = combobox_gadget(r.id, 0, 0, 0, 0, f);
                break;
            case ElementKind::text:
                result = text_gadget(r.id, 0, 0, 0, 0, t, f);
                break;
            case ElementKind::string:
                result = string_gadget(r.id, 0, 0, 0, 0, t, f);
                break;
            case ElementKind::panel:
                result = panel_gadget(r.id, 0, 0, 0, 0);
                break;
            case ElementKind::scrollarea:
                result = scrollarea_gadget(r.id, 0, 0, 0, 0, r.inner_width, r.inner_height, r.step, f);
                break;
            case ElementKind::frame:
                result = frame_gadget(r.id, 0, 0, 0, 0, t, f);
                break;
            case ElementKind::editor:
                result = editor_gadget(r.id, 0, 0, 0, 0, f);
                break;
            case ElementKind::scintilla:
                result = scintilla_gadget(r.id, 0, 0, 0, 0, nullptr);
                break;
            case ElementKind::scrollbar:
                result = scrollbar_gadget(r.id, 0, 0, 0, 0, r.minimum, r.maximum, r.page, f);
                break;
            case ElementKind::progressbar:
                result = progressbar_gadget(r.id, 0, 0, 0, 0, r.minimum, r.maximum, f);
                break;
            case ElementKind::explorerlist:
                result = explorerlist_gadget(r.id, 0, 0, 0, 0, t, f);
                break;
            case ElementKind::explorertree:
                result = explorertree_gadget(r.id, 0, 0, 0, 0, t, f);
                break;
            case ElementKind::explorercombo:
                result = explorercombo_gadget(r.id, 0, 0, 0, 0, t, f);
                break;
            case ElementKind::splitter:
                result = splitter_gadget(r.id, 0, 0, 0, 0, r.first, r.second, f);
                break;
            case ElementKind::shortcut:
                result = shortcut_gadget(r.id, 0, 0, 0, 0, 0);
                break;
            case ElementKind::buttonimage:
                result = buttonimage_gadget(r.id, 0, 0, 0, 0, 0, f);
                break;
            case ElementKind::trackbar:
                result = trackbar_gadget(r.id, 0, 0, 0, 0, r.minimum, r.maximum, f);
                break;
            case ElementKind::canvas:
                result = canvas_gadget(r.id, 0, 0, 0, 0, f);
                break;
            case ElementKind::calendar:
                result = calendar_gadget(r.id, 0, 0, 0, 0, 0, f);
                break;
            case ElementKind::date:
                result = date_gadget(r.id, 0, 0, 0, 0, t, 0, f);
                break;
            case ElementKind::spin:
                result = spin_gadget(r.id, 0, 0, 0, 0, r.minimum, r.maximum, f);
                break;
            case ElementKind::web:
                result = web_gadget(r.id, 0, 0, 0, 0, t);
                break;
            case ElementKind::hyperlink:
                result = hyperlink_gadget(r.id, 0, 0, 0, 0, t, r.colour, f);
                break;
            case ElementKind::ipaddress:
                result = ipaddress_gadget(r.id, 0, 0, 0, 0);
                break;
            default:
                break;
        }
        return gadget_id(r.id, result);
    }

    void set_state(std::intptr_t gadget, std::int32_t state) override { gadget_set_state(gadget, state); }
    void set_text(std::intptr_t gadget, std::u16string_view text) override {
        const std::u16string terminated(text);
        gadget_set_text(gadget, terminated.c_str());
    }
    void disable(std::intptr_t gadget, bool disabled) override { gadget_disable(gadget, disabled ? 1 : 0); }
    void hide(std::intptr_t gadget, bool hidden) override { gadget_hide(gadget, hidden ? 1 : 0); }
    LayoutSize required_size(std::intptr_t gadget) override {
        LayoutSize size;
        gadget_required_size(gadget, size.width, size.height);
        return size;
    }
    void resize(std::intptr_t gadget,
                std::int32_t x,
                std::int32_t y,
                std::int32_t width,
                std::int32_t height) override {
        gadget_resize(gadget, x, y, width, height);
    }
    std::int32_t list_item_height(std::intptr_t gadget) override {
        const auto control = static_cast<HWND>(gadget_handle(gadget));
        if (!control)
            return 0;
        const LRESULT height = SendMessageW(control, LB_GETITEMHEIGHT, 0, 0);
        return height == LB_ERR ? 0 : static_cast<std::int32_t>(height);
    }
    std::int32_t edge_height() override { return GetSystemMetrics(SM_CYEDGE); }
    std::int32_t border_width() override { return GetSystemMetrics(SM_CXBORDER); }
    void free_gadget(std::intptr_t gadget) override { gadget_free(gadget); }
    LayoutSize gadget_size(std::intptr_t gadget) override { return {gadget_width(gadget), gadget_height(gadget)}; }
    std::int32_t text_height(std::intptr_t gadget) override {
        const auto control = static_cast<HWND>(gadget_handle(gadget));
        if (!control)
            return 0;
        const std::u16string text = gadget_get_text(gadget);
        const WindowDc dc(control);
        if (!dc)
            return 0;
        const SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
        SIZE size{};
        if (!GetTextExtentPoint32W(dc.get(), wide(text), static_cast<int>(text.size()), &size))
            return 0;
        return size.cy;
    }
    std::int32_t get_attribute(std::intptr_t gadget, std::int32_t attribute) override {
        return gadget_get_attribute(gadget, attribute);
    }
    void set_attribute(std::intptr_t gadget, std::int32_t attribute, std::int32_t value) override {
        gadget_set_attribute(gadget, attribute, value);
    }
    std::int32_t add_item(std::intptr_t gadget, std::int32_t position, std::u16string_view text) override {
        const std::u16string terminated(text);
        return gadget_add_item(gadget, position, terminated.c_str());
    }
    bool open_list(std::intptr_t gadget, std::int32_t item) override { return gadget_open_list(gadget, item) != 0; }
    void close_list() override { gadget_close_list(); }
    void bind_gadget_events(std::intptr_t gadget, void (*callback)()) override { gadget_bind_event(gadget, callback); }
    void unbind_gadget_events(std::intptr_t gadget, void (*callback)()) override {
        gadget_unbind_event(gadget, callback);
    }
};

Win32DialogPlatform g_win32_platform;

}  // namespace

DialogPlatform* native_dialog_platform() {
    return &g_win32_platform;
}
