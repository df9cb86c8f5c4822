// Message boxes: the thread's other windows are out of reach while one is open
// and get exactly their old state back afterwards.
#include "system/message_box.h"

#include "system/win32.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

struct WindowState {
    bool enabled;
    bool topmost;
};

WindowState state_of(HWND window) {
    return {IsWindowEnabled(window) != FALSE, (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0};
}

// What the timer saw while the box was open.
struct Observed {
    bool box_found = false;
    std::wstring box_text;
    WindowState normal{}, disabled{}, topmost{}, hidden{};
    int buttons = 0;
    int ticks = 0;
};

Observed g_observed;
HWND g_normal, g_disabled, g_topmost, g_hidden;

BOOL CALLBACK find_box(HWND window, LPARAM result) noexcept {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (std::wstring(name) != L"#32770")
        return TRUE;
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

BOOL CALLBACK count_button(HWND window, LPARAM count) noexcept {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (_wcsicmp(name, L"Button") == 0 && IsWindowVisible(window))
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

void CALLBACK on_timer(HWND, UINT, UINT_PTR timer, DWORD) noexcept {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), find_box, reinterpret_cast<LPARAM>(&box));
    if (!box) {
        // No box after many ticks: give up rather than hang the test run.
        if (++g_observed.ticks > 400)
            KillTimer(nullptr, timer);
        return;
    }
    KillTimer(nullptr, timer);
    g_observed.box_found = true;
    wchar_t title[64] = {};
    GetWindowTextW(box, title, 64);
    g_observed.box_text = title;
    EnumChildWindows(box, count_button, reinterpret_cast<LPARAM>(&g_observed.buttons));
    g_observed.normal = state_of(g_normal);
    g_observed.disabled = state_of(g_disabled);
    g_observed.topmost = state_of(g_topmost);
    g_observed.hidden = state_of(g_hidden);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

HWND make_window(const wchar_t* title, DWORD extended_style, bool visible) {
    HWND window = CreateWindowExW(extended_style, L"STATIC", title, WS_OVERLAPPEDWINDOW, 20, 20, 200, 100, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window && visible)
        ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

// Wine: without a window manager, closing the box and destroying each visible
// window waits about two seconds for X to confirm the unmap; these tests are slow.
TEST(MessageBoxes, DisablesTheThreadsWindowsAndRestoresExactlyWhatItChanged) {
    g_normal = make_window(L"normal", 0, true);
    g_disabled = make_window(L"disabled", 0, true);
    g_topmost = make_window(L"topmost", WS_EX_TOPMOST, true);
    g_hidden = make_window(L"hidden", 0, false);
    ASSERT_TRUE(g_normal && g_disabled && g_topmost && g_hidden);
    EnableWindow(g_disabled, FALSE);
    // None of them is the foreground window (which would become the box's owner).
    HWND foreground = make_window(L"foreground", 0, true);
    SetForegroundWindow(foreground);
    if (GetForegroundWindow() != foreground) {
        DestroyWindow(foreground);
        foreground = nullptr;
    }
    ASSERT_TRUE(state_of(g_topmost).topmost);

    g_observed = Observed{};
    ASSERT_NE(SetTimer(nullptr, 0, 50, on_timer), 0u);
    const int answer = message_box(u"Box title", u"Box text", MB_OKCANCEL);

    ASSERT_TRUE(g_observed.box_found);
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(g_observed.box_text, L"Box title");
    EXPECT_EQ(g_observed.buttons, 2);
    EXPECT_FALSE(g_observed.normal.enabled);
    EXPECT_FALSE(g_observed.disabled.enabled);
    EXPECT_FALSE(g_observed.topmost.enabled);
    EXPECT_FALSE(g_observed.topmost.topmost);  // could otherwise hide the box
    EXPECT_TRUE(g_observed.hidden.enabled);    // not visible: left alone

    EXPECT_TRUE(state_of(g_normal).enabled);
    EXPECT_FALSE(state_of(g_disabled).enabled);  // was disabled before: stays so
    EXPECT_TRUE(state_of(g_topmost).enabled);
    EXPECT_TRUE(state_of(g_topmost).topmost);
    EXPECT_TRUE(state_of(g_hidden).enabled);
    EXPECT_FALSE(state_of(g_normal).topmost);
    if (foreground) {
        EXPECT_TRUE(IsWindowEnabled(foreground));
        DestroyWindow(foreground);
    }
    for (HWND window : {g_normal, g_disabled, g_topmost, g_hidden})
        DestroyWindow(window);
}

TEST(MessageBoxes, ShortFormShowsASingleOkButton) {
    g_normal = g_disabled = g_topmost = g_hidden = GetDesktopWindow();
    g_observed = Observed{};
    ASSERT_NE(SetTimer(nullptr, 0, 50, on_timer), 0u);
    EXPECT_EQ(message_box(u"TODO", u"Not yet"), IDOK);
    EXPECT_TRUE(g_observed.box_found);
    EXPECT_EQ(g_observed.buttons, 1);
}

}  // namespace
