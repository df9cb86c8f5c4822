// The hyperlink with a real static control: required size, clicks, the hover
// colour driven by posted mouse moves and the real cursor, cursor and hit test.
#include "gadget_test_support_win32.h"
#include "support/import_slot_win32.h"
#include "system/handles_win32.h"

namespace {

UINT_PTR WINAPI no_timer(HWND, UINT_PTR, UINT, TIMERPROC) {
    return 0;
}

constexpr std::int32_t kHover = 0xFF0000;

// Counts the timer messages the loop takes for one control, through a message
// hook on this thread, for as long as it lives.
class TimerMessages {
public:
    explicit TimerMessages(HWND control) {
        target_ = control;
        count_ = 0;
        hook_ = SetWindowsHookExW(WH_GETMESSAGE, seen, nullptr, GetCurrentThreadId());
    }
    ~TimerMessages() {
        if (hook_)
            UnhookWindowsHookEx(hook_);
    }
    TimerMessages(const TimerMessages&) = delete;
    TimerMessages& operator=(const TimerMessages&) = delete;

    int count() const { return count_; }

private:
    static LRESULT CALLBACK seen(int code, WPARAM removed, LPARAM message) noexcept {
        const MSG* msg = reinterpret_cast<const MSG*>(message);
        if (code == HC_ACTION && removed == PM_REMOVE && msg->message == WM_TIMER && msg->hwnd == target_)
            ++count_;
        return CallNextHookEx(nullptr, code, removed, message);
    }

    static inline HWND target_ = nullptr;
    static inline int count_ = 0;
    HHOOK hook_ = nullptr;
};

TEST_F(GadgetTest, HyperlinkRequiredSizeIsTheTextPlusFour) {
    ASSERT_NE(hyperlink_gadget(1, 0, 0, 10, 10, u"Home page", kHover, PB_HyperLink_Underline), 0);
    EXPECT_TRUE(GetWindowLongW(hwnd(1), GWL_STYLE) & WS_VISIBLE);
    const RECT r = drawn_extent(hwnd(1), L"Home page");
    ASSERT_GT(r.right, 0);
    std::int32_t w, h;
    gadget_required_size(1, w, h);
    EXPECT_EQ(w, r.right + 4);
    EXPECT_EQ(h, r.bottom + 4);

    // The size follows a font set with the redraw flag; WM_GETFONT answers it.
    const HFONT big = CreateFontW(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    gadget_set_font(1, reinterpret_cast<std::intptr_t>(big));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(hwnd(1), WM_GETFONT, 0, 0)), big);
    gadget_required_size(1, w, h);
    const RECT bigger = drawn_extent(hwnd(1), L"Home page");
    EXPECT_GT(bigger.bottom, r.bottom);
    EXPECT_EQ(h, bigger.bottom + 4);
    gadget_free(1);
    DeleteObject(big);
}

TEST_F(GadgetTest, HyperlinkClicksOnReleaseAndHasNoDoubleClick) {
    ASSERT_NE(hyperlink_gadget(1, 0, 0, 100, 20, u"link", kHover), 0);
    const HWND link = hwnd(1);
    RECT screen;
    GetWindowRect(link, &screen);
    EXPECT_EQ(SendMessageW(link, WM_NCHITTEST, 0, MAKELPARAM(screen.left + 5, screen.top + 5)), HTCLIENT);
    post_mouse(link, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    EXPECT_EQ(pump(), GadgetEvents{});
    post_mouse(link, WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(pump(), (GadgetEvents{{1, ET_LEFT_CLICK}}));
    post_mouse(link, WM_LBUTTONDBLCLK, 5, 5, MK_LBUTTON);
    EXPECT_EQ(pump(), GadgetEvents{});

    // Text changes go through the control, events stay quiet.
    EXPECT_TRUE(SetWindowTextW(link, L"set"));
    gadget_set_text(1, u"other");
    wchar_t text[16];
    GetWindowTextW(link, text, 16);
    EXPECT_STREQ(text, L"other");
    EXPECT_EQ(pump(), GadgetEvents{});
}

// Reached with Tab, the link is clicked as a button is: Enter when pressed
// (not its repeats), Space when released.
TEST_F(GadgetTest, HyperlinkIsATabStopThatTheKeyboardClicks) {
    ASSERT_NE(hyperlink_gadget(1, 0, 0, 100, 20, u"Home page", kHover, 0), 0);
    EXPECT_TRUE(GetWindowLongW(hwnd(1), GWL_STYLE) & WS_TABSTOP);
    SetFocus(hwnd(1));
    pump();
    PostMessageW(hwnd(1), WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(hwnd(1), WM_KEYDOWN, VK_RETURN, 1 | (1 << 30));
    EXPECT_EQ(pump(), (GadgetEvents{{1, ET_LEFT_CLICK}}));
    PostMessageW(hwnd(1), WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_EQ(pump(), GadgetEvents{});
    PostMessageW(hwnd(1), WM_KEYUP, VK_SPACE, 1 | (3 << 30));
    EXPECT_EQ(pump(), (GadgetEvents{{1, ET_LEFT_CLICK}}));
    PostMessageW(hwnd(1), WM_KEYDOWN, 'A', 1);
    EXPECT_EQ(pump(), GadgetEvents{});
}

TEST_F(GadgetTest, HyperlinkHoverColourFollowsTheMouse) {
    ASSERT_NE(hyperlink_gadget(1, 20, 20, 100, 20, u"link", kHover), 0);
    const HWND link = hwnd(1);
    RECT screen;
    GetWindowRect(link, &screen);
    EXPECT_EQ(hyperlink_paint_colour(1), 0);  // the front colour, black

    SetCursorPos(screen.left + 10, screen.top + 5);
    post_mouse(link, WM_MOUSEMOVE, 10, 5);
    // The link checks the cursor on a timer: still on the link after several
    // checks, it still hovers.
    const TimerMessages timers(link);
    ASSERT_TRUE(pump_until([&] { return timers.count() >= 3; }));
    EXPECT_EQ(hyperlink_paint_colour(1), kHover);

    SetCursorPos(screen.right + 50, screen.bottom + 50);
    EXPECT_TRUE(pump_until([&] { return hyperlink_paint_colour(1) == 0; }));

    // A new front colour is used outside hovering; disabled never hovers.
    gadget_set_colour(1, FRONT_COLOR, 0x00AA00);
    EXPECT_EQ(hyperlink_paint_colour(1), 0x00AA00);
    gadget_disable(1, 1);
    post_mouse(link, WM_MOUSEMOVE, 10, 5);
    pump();
    EXPECT_EQ(hyperlink_paint_colour(1), -1);

    // A disabled link still shows the hand.
    SendMessageW(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

// Hovering ends on the timer's check only: without a timer the link does not
// hover, or it would keep the hover colour for good.
TEST_F(GadgetTest, AHyperlinkWithoutItsTimerDoesNotHover) {
    ASSERT_NE(hyperlink_gadget(1, 20, 20, 100, 20, u"link", kHover), 0);
    const HWND link = hwnd(1);
    RECT screen;
    GetWindowRect(link, &screen);
    SetCursorPos(screen.left + 10, screen.top + 5);
    {
        const DivertedImport refused("SetTimer", reinterpret_cast<void*>(&no_timer));
        ASSERT_NE(refused.original<void*>(), nullptr);
        post_mouse(link, WM_MOUSEMOVE, 10, 5);
        pump();
        EXPECT_EQ(hyperlink_paint_colour(1), 0);
    }
    post_mouse(link, WM_MOUSEMOVE, 10, 5);
    pump();
    EXPECT_EQ(hyperlink_paint_colour(1), kHover);
    SetCursorPos(screen.right + 50, screen.bottom + 50);  // away from the next tests' links
}

TEST_F(GadgetTest, HyperlinkBackgroundComesFromItsColourOrTheWindow) {
    ASSERT_NE(hyperlink_gadget(1, 0, 0, 100, 20, u"link", kHover), 0);
    HDC dc = GetDC(hwnd(1));
    const auto ask = [&] {
        return SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd(1)));
    };
    EXPECT_NE(ask(), 0);  // the window's default answer
    gadget_set_colour(1, BACK_COLOR, 0x808080);
    EXPECT_EQ(static_cast<std::uintptr_t>(ask()), gadget_object(1)->word7);
    EXPECT_EQ(gadget_get_colour(1, BACK_COLOR), 0x808080);
    ReleaseDC(hwnd(1), dc);
}

TEST_F(GadgetTest, HyperlinkPaintsInTheHoverColour) {
    // Painting needs a window on the screen.
    ASSERT_NE(open_window(1, 0, 0, 200, 60, u"paint", PB_Window_BorderLess), 0);
    ASSERT_NE(hyperlink_gadget(1, 0, 0, 200, 60, u"\u2588\u2588\u2588\u2588", kHover), 0);
    const HWND link = hwnd(1);
    const auto pixels = [&](COLORREF wanted) {
        UpdateWindow(link);
        pump();
        HDC dc = GetDC(link);
        int found = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x)
                found += GetPixel(dc, x, y) == wanted;
        ReleaseDC(link, dc);
        return found;
    };
    if (pixels(CLR_INVALID) > 0)
        GTEST_SKIP() << "the display gives no pixels back here";
    EXPECT_TRUE(pump_until([&] { return pixels(0) > 0; }));
    RECT screen;
    GetWindowRect(link, &screen);
    SetCursorPos(screen.left + 3, screen.top + 3);
    post_mouse(link, WM_MOUSEMOVE, 3, 3);
    EXPECT_TRUE(pump_until([&] { return pixels(kHover) > 0; }));
    EXPECT_EQ(pixels(0), 0);
    close_window(1);
}

TEST_F(GadgetTest, HyperlinkIsUnderlinedOnlyWithItsFlag) {
    ASSERT_NE(open_window(1, 0, 0, 200, 80, u"paint", PB_Window_BorderLess), 0);
    ASSERT_NE(hyperlink_gadget(1, 0, 0, 200, 40, u"Home", kHover, PB_HyperLink_Underline), 0);
    ASSERT_NE(hyperlink_gadget(2, 0, 40, 200, 40, u"Home", kHover), 0);
    // The lowest row drawn in the hover colour while the pointer is on the
    // link: the underline's, when there is one, else the text's.
    const auto lowest_hovered_row = [&](std::intptr_t gadget) {
        const HWND link = hwnd(gadget);
        RECT screen;
        GetWindowRect(link, &screen);
        SetCursorPos(screen.left + 3, screen.top + 3);
        post_mouse(link, WM_MOUSEMOVE, 3, 3);
        int lowest = -1;
        pump_until([&] {
            UpdateWindow(link);
            pump();
            HDC dc = GetDC(link);
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 80; ++x)
                    if (GetPixel(dc, x, y) == kHover)
                        lowest = y;
            ReleaseDC(link, dc);
            return lowest >= 0;
        });
        return lowest;
    };
    {
        HDC dc = GetDC(hwnd(1));
        const bool readable = GetPixel(dc, 0, 0) != CLR_INVALID;
        ReleaseDC(hwnd(1), dc);
        if (!readable)
            GTEST_SKIP() << "the display gives no pixels back here";
    }
    const int underlined = lowest_hovered_row(1);
    const int plain = lowest_hovered_row(2);
    ASSERT_GT(underlined, 0);
    ASSERT_GT(plain, 0);  // hovered: its text took the hover colour
    EXPECT_LT(plain, underlined);
    close_window(1);
}

TEST_F(GadgetTest, HyperlinkPaintPutsBackWhatItSelected) {
    ASSERT_NE(hyperlink_gadget(1, 0, 0, 100, 20, u"link", kHover, PB_HyperLink_Underline), 0);
    const UniqueHfont link_font(CreateFontW(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    ASSERT_TRUE(link_font);
    gadget_set_font(1, reinterpret_cast<std::intptr_t>(link_font.get()));

    const WindowDc screen(nullptr);
    const HDC dc = CreateCompatibleDC(screen.get());
    ASSERT_NE(dc, nullptr);
    const UniqueHbitmap bitmap(CreateCompatibleBitmap(screen.get(), 100, 20));
    {
        const SelectedObject canvas(dc, bitmap.get());
        const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
        const HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
        SendMessageW(hwnd(1), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
        int black = 0;  // the front colour: it did draw
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 100; ++x)
                black += GetPixel(dc, x, y) == 0;
        EXPECT_GT(black, 0);
    }
    DeleteDC(dc);
    gadget_free(1);  // before its font goes
}

}  // namespace
