// The dialog engine's windows and gadgets on Windows: the window library and
// the gadget core.
#include "dialog/dialog_platform.h"

#include <string>

#include "gadget/gadget_kinds.h"
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
            case ElementKind::button:
            case ElementKind::text:
            case ElementKind::listview:
            case ElementKind::hyperlink:
            case ElementKind::progressbar:
                return true;
            default:
                return false;
        }
    }

    std::intptr_t create_gadget(const GadgetRequest& r) override {
        const std::u16string text(r.text);
        std::intptr_t result = 0;
        switch (r.kind) {
            case ElementKind::button:
                result = button_gadget(r.id, 0, 0, 0, 0, text.c_str(), r.flags);
                break;
            case ElementKind::text:
                result = text_gadget(r.id, 0, 0, 0, 0, text.c_str(), r.flags);
                break;
            case ElementKind::listview:
                result = listview_gadget(r.id, 0, 0, 0, 0, r.flags);
                break;
            case ElementKind::hyperlink:
                result = hyperlink_gadget(r.id, 0, 0, 0, 0, text.c_str(), r.colour, r.flags);
                break;
            case ElementKind::progressbar:
                result = progressbar_gadget(r.id, 0, 0, 0, 0, r.minimum, r.maximum, r.flags);
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
};

Win32DialogPlatform g_win32_platform;

}  // namespace

DialogPlatform* native_dialog_platform() {
    return &g_win32_platform;
}
