// Shared fixture of the dialog tests: fresh window, gadget, XML and dialog
// libraries per test, XML text opened through open_xml_dialog, and the real
// controls' rectangles read back from the platform.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "dialog/dialog.h"
#include "dialog/runtime_names.h"
#include "gadget/gadget.h"
#include "system/win32.h"
#include "window/event_bindings.h"
#include "window/posted_events.h"
#include "window/window.h"
#include "xml/xml_document.h"

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        init_posted_events();
        init_windows();
        init_gadget_library();
        init_xml_library();
        create_runtime_registry();
        init_dialog_library();
        dialog = create_dialog(PB_Any);
        ASSERT_NE(dialog, 0);
    }
    void TearDown() override {
        end_dialog_library();
        end_xml_library();
        end_windows();
        end_gadget_library();
        end_posted_events();
    }

    // Parses the text and opens `name` from it; the document is freed again.
    int open(const char16_t* xml, std::u16string_view name, std::int32_t width = 0, std::int32_t height = 0) {
        const std::intptr_t document = parse_xml_text(PB_Any, xml);
        EXPECT_NE(document, 0);
        const int result = open_xml_dialog(dialog, document, name, 0, 0, width, height);
        free_xml(document);
        return result;
    }

    // Runs the loop until nothing is pending.
    static void pump() {
        for (int i = 0; i < 10000 && wait_window_event(0) != 0; ++i) {
        }
    }

    [[nodiscard]] HWND window_hwnd() const { return static_cast<HWND>(window_handle(dialog_window(dialog))); }
    [[nodiscard]] HWND control(std::u16string_view name) const {
        return static_cast<HWND>(gadget_handle(dialog_gadget(dialog, name)));
    }

    // A control's rectangle in its window's client coordinates.
    [[nodiscard]] RECT rect_of(std::u16string_view name) const {
        RECT r{};
        const HWND c = control(name);
        EXPECT_NE(c, nullptr) << "no control for the element";
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, GetParent(c), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    [[nodiscard]] SIZE inner_size() const {
        RECT r{};
        GetClientRect(window_hwnd(), &r);
        return {r.right, r.bottom};
    }

    std::intptr_t dialog = 0;
};

inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
    return out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}
inline RECT rect_xywh(int x, int y, int w, int h) {
    return RECT{x, y, x + w, y + h};
}
