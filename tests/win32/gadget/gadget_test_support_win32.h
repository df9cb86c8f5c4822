// Shared fixture of the gadget tests: fresh window, event and gadget libraries
// per test, one hidden window as the gadget list, and helpers that pump real
// messages and collect the gadget events they queue.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "gadget/gadget.h"
#include "gadget/gadget_internal_win32.h"
#include "gadget/gadget_kinds.h"
#include "support/wait_until.h"
#include "system/win32.h"
#include "window/event_bindings.h"
#include "window/gadget_hooks.h"
#include "window/posted_events.h"
#include "window/window.h"

struct GadgetEvent {
    std::intptr_t object;
    std::int32_t type;
    bool operator==(const GadgetEvent&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const GadgetEvent& e) {
    return out << "{" << e.object << ", " << e.type << "}";
}
using GadgetEvents = std::vector<GadgetEvent>;

class GadgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        init_posted_events();
        init_windows();
        init_gadget_library();
        ASSERT_NE(open_window(0, 0, 0, 400, 300, u"gadgets", PB_Window_SystemMenu | PB_Window_Invisible), 0);
        window = static_cast<HWND>(window_handle(0));
        pump();
    }
    void TearDown() override {
        end_windows();
        end_gadget_library();
        end_posted_events();
    }

    // Runs the loop until nothing is pending; returns the gadget events taken.
    static GadgetEvents pump() {
        GadgetEvents out;
        for (int i = 0; i < 10000; ++i) {
            const std::int32_t n = wait_window_event(0);
            if (n == 0)
                break;
            if (n == EV_GADGET)
                out.push_back({current_event_object(), current_event_type()});
        }
        return out;
    }

    // Runs the loop until `done()` holds; false when 3 s passed first.
    template <class Done>
    static bool pump_until(Done&& done) {
        return wait_until(
            done, [] { (void)wait_window_event(10); }, 3000);
    }

    static HWND hwnd(std::intptr_t gadget) { return static_cast<HWND>(gadget_handle(gadget)); }

    static void post_mouse(HWND control, UINT message, int x, int y, WPARAM keys = 0) {
        PostMessageW(control, message, keys, MAKELPARAM(x, y));
    }

    // A left click in the middle of a control, as the platform delivers it.
    static void click(HWND control) {
        RECT r;
        GetClientRect(control, &r);
        post_mouse(control, WM_LBUTTONDOWN, r.right / 2, r.bottom / 2, MK_LBUTTON);
        post_mouse(control, WM_LBUTTONUP, r.right / 2, r.bottom / 2);
    }

    // The text as DrawTextW lays it out in the control's font.
    static RECT drawn_extent(HWND control, const wchar_t* text) {
        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        RECT r{};
        DrawTextW(dc, text, -1, &r, DT_CALCRECT | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        return r;
    }

    // Gadgets still in the registry.
    static int live_gadgets() {
        const ObjectLibrary<GadgetObject>* gadgets = gadget_registry();
        return gadgets ? gadgets->count() : 0;
    }

    // Frees every gadget and checks that no record and none of the controls is left.
    static void expect_all_freed(std::initializer_list<HWND> controls) {
        gadget_free(PB_Any);
        EXPECT_EQ(live_gadgets(), 0);
        for (HWND control : controls)
            EXPECT_FALSE(IsWindow(control)) << control;
    }

    static std::wstring class_of(HWND control) {
        wchar_t name[64] = {};
        GetClassNameW(control, name, 64);
        return name;
    }
    static DWORD style_of(HWND control) { return static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE)); }
    static DWORD ex_style_of(HWND control) { return static_cast<DWORD>(GetWindowLongW(control, GWL_EXSTYLE)); }

    static void post_key(HWND control, UINT key) {
        PostMessageW(control, WM_KEYDOWN, key, 1);
        PostMessageW(control, WM_KEYUP, key, 0xC0000001);
    }
    static void post_char(HWND control, wchar_t c) { PostMessageW(control, WM_CHAR, c, 1); }

    static bool has_event(const GadgetEvents& events, GadgetEvent wanted) {
        return std::find(events.begin(), events.end(), wanted) != events.end();
    }

    HWND window = nullptr;
};
