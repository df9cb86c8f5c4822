// Opening, sizing, showing and closing real windows under Wine.
#include <string>

#include "support/refused_property_win32.h"
#include "system/wide.h"
#include "window/gadget_hooks.h"
#include "window_test_support_win32.h"

namespace {

TEST_F(WindowTest, OpensWithTheAskedInnerSizeForEveryFrameStyle) {
    const std::uint32_t styles[] = {0, PB_Window_SystemMenu, PB_Window_SizeGadget | PB_Window_MaximizeGadget,
                                    PB_Window_Tool | PB_Window_SizeGadget, PB_Window_BorderLess};
    std::intptr_t n = 0;
    for (std::uint32_t flags : styles) {
        SCOPED_TRACE(flags);
        ASSERT_NE(open_window(n, 10, 10, 321, 123, u"t", flags | PB_Window_Invisible), 0);
        const RECT c = client_rect(hwnd_of(n));
        EXPECT_EQ(c.right, 321);
        EXPECT_EQ(c.bottom, 123);
        EXPECT_EQ(window_width(n), 321);
        EXPECT_EQ(window_height(n), 123);
        RECT w;
        GetWindowRect(hwnd_of(n), &w);
        EXPECT_EQ(window_width(n, false), w.right - w.left);
        EXPECT_EQ(window_height(n, false), w.bottom - w.top);
        ++n;
    }
    // Plain flags get a title bar; a tool window loses its minimize and maximize boxes.
    EXPECT_EQ(GetWindowLongW(hwnd_of(0), GWL_STYLE) & WS_CAPTION, static_cast<LONG>(WS_CAPTION));
    EXPECT_TRUE(GetWindowLongW(hwnd_of(3), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(GetWindowLongW(hwnd_of(3), GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
}

TEST_F(WindowTest, NumbersAndAnyIdsNameTheirWindowsAndClasses) {
    const std::intptr_t h = open_window(4, 0, 0, 100, 100, u"four", PB_Window_SystemMenu | PB_Window_Invisible);
    EXPECT_EQ(reinterpret_cast<HWND>(h), hwnd_of(4));
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(GetPropW(hwnd_of(4), L"PB_WindowID")), 5);
    wchar_t name[64] = {};
    GetClassNameW(hwnd_of(4), name, 64);
    EXPECT_EQ(from_wide(name), u"WindowClass_4");

    const std::intptr_t any = open_window(PB_Any, 0, 0, 100, 100, nullptr, PB_Window_SystemMenu | PB_Window_Invisible);
    ASSERT_NE(any, 0);
    HWND any_hwnd = hwnd_of(any);
    ASSERT_NE(any_hwnd, nullptr);
    EXPECT_NE(reinterpret_cast<HWND>(any), any_hwnd);
    EXPECT_NE(is_window(any), nullptr);
    EXPECT_EQ(window_number_of(any_hwnd), any);
    GetWindowTextW(any_hwnd, name, 64);
    EXPECT_EQ(from_wide(name), u"");

    EXPECT_EQ(is_window(5), nullptr);
    EXPECT_EQ(window_handle(5), nullptr);
    EXPECT_EQ(window_width(5), 0);
}

TEST_F(WindowTest, ReusingANumberClosesTheOldWindowFirst) {
    ASSERT_NE(open_window(1, 0, 0, 100, 100, u"old", PB_Window_Invisible), 0);
    HWND old_hwnd = hwnd_of(1);
    ASSERT_NE(open_window(1, 0, 0, 120, 100, u"new", PB_Window_Invisible), 0);
    EXPECT_FALSE(IsWindow(old_hwnd));
    EXPECT_NE(hwnd_of(1), old_hwnd);
    EXPECT_EQ(window_width(1), 120);
}

TEST_F(WindowTest, ClosingAWindowClosesTheWindowsItOwns) {
    ASSERT_NE(open_window(1, 0, 0, 100, 100, u"owner", PB_Window_Invisible), 0);
    ASSERT_NE(open_window(2, 0, 0, 100, 100, u"owned", PB_Window_Invisible, hwnd_of(1)), 0);
    const std::intptr_t any = open_window(PB_Any, 0, 0, 100, 100, u"owned too", PB_Window_Invisible, hwnd_of(2));
    ASSERT_NE(any, 0);
    const HWND owned = hwnd_of(2);
    close_window(1);
    EXPECT_FALSE(IsWindow(owned));
    EXPECT_EQ(is_window(2), nullptr);
    EXPECT_EQ(is_window(any), nullptr);
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), L"WindowClass_2", &info));
}

// Closing the owned window hands the activation back to the owner while the
// owner closes: the owner's callbacks are gone by then, so none can close or
// reopen its number halfway through the close.
int g_activations = 0;

// Window 1 owns window 2, which is active.
void open_owner_and_active_owned() {
    const auto hwnd_of = [](std::intptr_t number) { return static_cast<HWND>(window_handle(number)); };
    ASSERT_NE(open_window(1, 0, 0, 100, 100, u"owner", PB_Window_SystemMenu), 0);
    ASSERT_NE(open_window(2, 20, 20, 100, 100, u"owned", PB_Window_SystemMenu, hwnd_of(1)), 0);
    SetActiveWindow(hwnd_of(2));
    for (int i = 0; i < 20; ++i)
        (void)wait_window_event(10);
    ASSERT_EQ(GetActiveWindow(), hwnd_of(2));
}

void reopen_window_1() {
    ++g_activations;
    close_window(1);
    (void)open_window(1, 0, 0, 100, 100, u"reopened", PB_Window_NoActivate);
}

TEST_F(WindowTest, ClosingAnOwnerRunsNoneOfItsCallbacksOnTheWay) {
    ASSERT_NO_FATAL_FAILURE(open_owner_and_active_owned());
    g_activations = 0;
    bind_event(EV_ACTIVATE, reopen_window_1, 1);
    close_window(1);
    EXPECT_EQ(g_activations, 0);
    EXPECT_EQ(is_window(1), nullptr);
    EXPECT_EQ(is_window(2), nullptr);
}

// The owner's activation, handed back while an owned window closes, runs the
// owner's callbacks: one that opens the closing number again keeps its window.
void reopen_window_2() {
    ++g_activations;
    (void)open_window(2, 0, 0, 100, 100, u"again", PB_Window_NoActivate);
}

TEST_F(WindowTest, AWindowOpenedAgainByTheOwnersCallbackDuringItsCloseStays) {
    ASSERT_NO_FATAL_FAILURE(open_owner_and_active_owned());
    const HWND old = hwnd_of(2);
    g_activations = 0;
    bind_event(EV_ACTIVATE, reopen_window_2, 1);
    close_window(2);
    unbind_event(EV_ACTIVATE, reopen_window_2, 1);
    ASSERT_EQ(g_activations, 1);
    EXPECT_FALSE(IsWindow(old));
    ASSERT_NE(is_window(2), nullptr);
    EXPECT_TRUE(IsWindow(hwnd_of(2)));
    wchar_t title[16] = {};
    GetWindowTextW(hwnd_of(2), title, 16);
    EXPECT_STREQ(title, L"again");
}

// A platform window that cannot be made (here: its owner is no window)
// leaves neither the number nor the window class behind, so the same
// number opens normally afterwards, PB_Any too.
TEST_F(WindowTest, AFailedOpeningLeavesNoRecordAndNoClass) {
    void* no_window = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x7ff0));
    ASSERT_FALSE(IsWindow(static_cast<HWND>(no_window)));
    for (const std::intptr_t number : {std::intptr_t{2}, PB_Any}) {
        SCOPED_TRACE(number);
        EXPECT_EQ(open_window(number, 0, 0, 100, 100, u"t", PB_Window_Invisible, no_window), 0);
        EXPECT_EQ(is_window(2), nullptr);
        WNDCLASSEXW info{};
        info.cbSize = sizeof info;
        EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), L"WindowClass_2", &info));
        const std::intptr_t opened = open_window(number, 0, 0, 100, 100, u"t", PB_Window_Invisible);
        ASSERT_NE(opened, 0);
        close_window(number == PB_Any ? opened : number);
    }
}

// Without its number on the window, the window's messages cannot find it: it
// must not be handed out as open, deaf to its events.
TEST_F(WindowTest, AWindowWhoseNumberCannotBeStoredIsNotOpened) {
    {
        RefusedProperty refused(L"PB_WindowID");
        ASSERT_TRUE(refused.diverted());
        EXPECT_EQ(open_window(2, 0, 0, 100, 100, u"t", PB_Window_Invisible), 0);
        EXPECT_EQ(RefusedProperty::refusals(), 1);
    }
    EXPECT_EQ(is_window(2), nullptr);
    EXPECT_EQ(FindWindowW(L"WindowClass_2", nullptr), nullptr);
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), L"WindowClass_2", &info));
    ASSERT_NE(open_window(2, 0, 0, 100, 100, u"t", PB_Window_Invisible), 0);
    close_window(2);
}

HACCEL WINAPI refused_accelerators(LPACCEL, int) noexcept {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

// Without its accelerator table Tab would move no focus: the opening fails
// and leaves nothing.
TEST_F(WindowTest, AWindowWithoutItsKeyTableIsNotOpened) {
    {
        const DivertedImport refused("CreateAcceleratorTableW", reinterpret_cast<void*>(&refused_accelerators));
        ASSERT_NE(refused.original<void*>(), nullptr);
        EXPECT_EQ(open_window(2, 0, 0, 100, 100, u"t", PB_Window_Invisible), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    }
    EXPECT_EQ(is_window(2), nullptr);
    EXPECT_EQ(FindWindowW(L"WindowClass_2", nullptr), nullptr);
    ASSERT_NE(open_window(2, 0, 0, 100, 100, u"t", PB_Window_Invisible), 0);
    close_window(2);
}

TEST_F(WindowTest, ClosingDropsWindowClassBindingsAndQueuedEvents) {
    static int runs;
    runs = 0;
    ASSERT_NE(open_window(2, 0, 0, 100, 100, u"x", PB_Window_Invisible), 0);
    HWND hwnd = hwnd_of(2);
    bind_event(
        EV_CLOSE_WINDOW, [] { ++runs; }, 2);
    queue_event(EV_MENU, 1, 2, 0);
    queue_event(EV_MENU, 1, 3, 0);
    close_window(2);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(is_window(2), nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), L"WindowClass_2", &wc));
    EXPECT_EQ(queued_event_count(), 1u);  // the other window's event stays

    // A new window under the same number runs none of the old callbacks.
    ASSERT_NE(open_window(2, 0, 0, 100, 100, u"y", PB_Window_Invisible), 0);
    SendMessageW(hwnd_of(2), WM_CLOSE, 0, 0);
    EXPECT_EQ(runs, 0);
    close_window(2);
    close_window(2);  // twice is harmless
}

TEST_F(WindowTest, ClosingWithAnyClosesEveryWindow) {
    ASSERT_NE(open_window(0, 0, 0, 50, 50, u"a", PB_Window_Invisible), 0);
    const std::intptr_t any = open_window(PB_Any, 0, 0, 50, 50, u"b", PB_Window_Invisible);
    HWND a = hwnd_of(0), b = hwnd_of(any);
    close_window(PB_Any);
    EXPECT_FALSE(IsWindow(a));
    EXPECT_FALSE(IsWindow(b));
    EXPECT_EQ(is_window(any), nullptr);
}

// A close callback that closes its own window (a window made with PB_Any,
// whose record is freed) while the window procedure is still handling WM_CLOSE.
void close_current_window() {
    close_window(current_event_window());
}

TEST_F(WindowTest, ACallbackMayCloseTheWindowWhoseMessageIsRunning) {
    const std::intptr_t any = open_window(PB_Any, 0, 0, 80, 80, u"c", PB_Window_SizeGadget | PB_Window_Invisible);
    HWND hwnd = hwnd_of(any);
    bind_event(EV_CLOSE_WINDOW, close_current_window, any);
    bind_event(EV_MAXIMIZE, close_current_window, any);
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(queued_event_count(), 0u);

    const std::intptr_t other =
        open_window(PB_Any, 0, 0, 80, 80, u"d", PB_Window_SizeGadget | PB_Window_MaximizeGadget);
    bind_event(EV_MAXIMIZE, close_current_window, other);
    HWND other_hwnd = hwnd_of(other);
    ShowWindow(other_hwnd, SW_MAXIMIZE);  // closed between EV_MAXIMIZE and its size event
    EXPECT_FALSE(IsWindow(other_hwnd));
    EXPECT_EQ(queued_event_count(), 0u);
}

TEST_F(WindowTest, NoSizeOrMoveEventWhileOpening) {
    // Showing a window sends it size and move messages, maximizing too.
    ASSERT_NE(open_window(0, 30, 30, 200, 100, u"s", PB_Window_SizeGadget | PB_Window_ScreenCentered), 0);
    ASSERT_NE(open_window(1, 30, 30, 200, 100, u"m", PB_Window_SizeGadget | PB_Window_Maximize), 0);
    EXPECT_EQ(queued_only({EV_SIZE_WINDOW, EV_MOVE_WINDOW, EV_MAXIMIZE}), std::vector<std::int32_t>{});
    settle();
    // Once open, the same changes do produce them.
    resize_window(0, 40, 40, 220, 110);
    EXPECT_EQ(queued_only({EV_SIZE_WINDOW, EV_MOVE_WINDOW}),
              (std::vector<std::int32_t>{EV_MOVE_WINDOW, EV_SIZE_WINDOW}));
    EXPECT_EQ(current_event_window(), 0);
}

TEST_F(WindowTest, MaximizeRestoreAndMinimizeGiveTheirEventsInOrder) {
    const auto flags = PB_Window_SizeGadget | PB_Window_MaximizeGadget | PB_Window_MinimizeGadget;
    ASSERT_NE(open_window(0, 50, 50, 200, 150, u"w", flags), 0);
    HWND hwnd = hwnd_of(0);
    settle();
    const std::initializer_list<std::int32_t> keep = {EV_MINIMIZE, EV_MAXIMIZE, EV_RESTORE, EV_SIZE_WINDOW};
    using Events = std::vector<std::int32_t>;

    SendMessageW(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_EQ(queued_only(keep), (Events{EV_MAXIMIZE, EV_SIZE_WINDOW}));
    settle();
    SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(queued_only(keep), (Events{EV_RESTORE, EV_SIZE_WINDOW}));
    EXPECT_EQ(window_width(0), 200);
    settle();
    ShowWindow(hwnd, SW_MINIMIZE);
    EXPECT_EQ(queued_only(keep), (Events{EV_MINIMIZE}));
    settle();
    ShowWindow(hwnd, SW_RESTORE);
    EXPECT_EQ(queued_only(keep), (Events{EV_RESTORE, EV_SIZE_WINDOW}));

    // Created maximized: the first restore is a restore.
    ASSERT_NE(open_window(1, 50, 50, 200, 150, u"m", flags | PB_Window_Maximize), 0);
    EXPECT_TRUE(IsZoomed(hwnd_of(1)));
    remove_queued_events(-1, -1, -1, -1);
    ShowWindow(hwnd_of(1), SW_RESTORE);
    EXPECT_EQ(queued_only(keep), (Events{EV_RESTORE, EV_SIZE_WINDOW}));
}

TEST_F(WindowTest, ADragResizeLeavesOnePendingSizeEvent) {
    ASSERT_NE(open_window(0, 50, 50, 200, 150, u"d", PB_Window_SizeGadget | PB_Window_Invisible), 0);
    drain();
    // Sizes interleaved with moves, as a drag on the left border sends them.
    for (int i = 1; i <= 5; ++i)
        resize_window(0, 50 - i, 50, 200 + i, 150);
    std::size_t sizes = 0;
    for (std::int32_t e : drain())
        sizes += e == EV_SIZE_WINDOW;
    EXPECT_EQ(sizes, 1u);
    EXPECT_EQ(window_width(0), 205);
}

TEST_F(WindowTest, BoundsLimitTheTrackingSize) {
    ASSERT_NE(open_window(0, 0, 0, 500, 400, u"b", PB_Window_SizeGadget | PB_Window_Invisible), 0);
    HWND hwnd = hwnd_of(0);
    window_bounds(0, 150, 100, 300, 250);
    // The window was larger than the new maximum: applying the bounds shrinks it.
    EXPECT_EQ(window_width(0), 300);
    EXPECT_EQ(window_height(0), 250);

    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, GetWindowLongW(hwnd, GWL_STYLE), FALSE, GetWindowLongW(hwnd, GWL_EXSTYLE));
    MINMAXINFO info{};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 150 + frame.right - frame.left);
    EXPECT_EQ(info.ptMinTrackSize.y, 100 + frame.bottom - frame.top);
    EXPECT_EQ(info.ptMaxTrackSize.x, 300 + frame.right - frame.left);
    EXPECT_EQ(info.ptMaxTrackSize.y, 250 + frame.bottom - frame.top);

    resize_window(0, kIgnore, kIgnore, 50, 1000);
    EXPECT_EQ(window_width(0), 150);
    EXPECT_EQ(window_height(0), 250);

    // kIgnore keeps a bound, -1 removes it.
    window_bounds(0, kIgnore, -1, -1, kIgnore);
    resize_window(0, kIgnore, kIgnore, 600, 50);
    EXPECT_EQ(window_width(0), 600);
    EXPECT_LT(window_height(0), 100);
    resize_window(0, kIgnore, kIgnore, 100, 1000);
    EXPECT_EQ(window_width(0), 150);
    EXPECT_EQ(window_height(0), 250);
}

TEST_F(WindowTest, InnerHeightCountsTheMenuBar) {
    ASSERT_NE(open_window(0, 0, 0, 300, 200, u"m", PB_Window_SystemMenu | PB_Window_Invisible), 0);
    HWND hwnd = hwnd_of(0);
    HMENU menu = CreateMenu();
    AppendMenuW(menu, MF_STRING, 1, L"File");
    SetMenu(hwnd, menu);
    const RECT c = client_rect(hwnd);
    EXPECT_EQ(window_height(0), c.bottom + GetSystemMetrics(SM_CYMENU));
    // Ignoring the height keeps the client height, menu or not.
    resize_window(0, kIgnore, kIgnore, 250, kIgnore);
    EXPECT_EQ(client_rect(hwnd).bottom, c.bottom);
    EXPECT_EQ(window_width(0), 250);
}

TEST_F(WindowTest, PositionsKeepIgnoredValuesAndCentre) {
    ASSERT_NE(open_window(0, 70, 80, 200, 100, u"p", PB_Window_SystemMenu | PB_Window_Invisible), 0);
    HWND hwnd = hwnd_of(0);
    RECT r;
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, 70);
    EXPECT_EQ(r.top, 80);
    resize_window(0, kIgnore, 90, kIgnore, kIgnore);
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, 70);
    EXPECT_EQ(r.top, 90);
    EXPECT_EQ(window_width(0), 200);

    ASSERT_NE(open_window(1, kIgnore, kIgnore, 200, 100, u"c",
                          PB_Window_SystemMenu | PB_Window_ScreenCentered | PB_Window_Invisible),
              0);
    GetWindowRect(hwnd_of(1), &r);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2);

    // Centred on its parent.
    ASSERT_NE(open_window(2, 0, 0, 100, 50, u"w", PB_Window_SystemMenu | PB_Window_WindowCentered | PB_Window_Invisible,
                          hwnd),
              0);
    RECT parent, child;
    GetWindowRect(hwnd, &parent);
    GetWindowRect(hwnd_of(2), &child);
    EXPECT_EQ(child.left, parent.left + ((parent.right - parent.left) - (child.right - child.left)) / 2);
    EXPECT_EQ(child.top, parent.top + ((parent.bottom - parent.top) - (child.bottom - child.top)) / 2);
}

TEST_F(WindowTest, ShowStatesAndTitles) {
    ASSERT_NE(open_window(0, 0, 0, 100, 100, u"first", PB_Window_Invisible | PB_Window_SizeGadget), 0);
    HWND hwnd = hwnd_of(0);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    show_window(0, false);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    show_window(0, true);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    ShowWindow(hwnd, SW_SHOWMAXIMIZED);
    ShowWindow(hwnd, SW_HIDE);
    show_window(0, false, PB_Window_NoActivate);  // shown in its state
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsZoomed(hwnd));

    set_window_title(0, nullptr);
    wchar_t title[32] = {};
    GetWindowTextW(hwnd, title, 32);
    EXPECT_EQ(from_wide(title), u"first");
    set_window_title(0, u"Z\u00fc\u20ac");
    GetWindowTextW(hwnd, title, 32);
    EXPECT_EQ(from_wide(title), u"Z\u00fc\u20ac");
}

void* g_gadget_list = nullptr;
int g_gadget_list_calls = 0;
void* remember_gadget_list(void* window) {
    ++g_gadget_list_calls;
    void* previous = g_gadget_list;
    g_gadget_list = window;
    return previous;
}

TEST_F(WindowTest, ANewWindowBecomesTheGadgetListUnlessAskedNot) {
    g_gadget_list = nullptr;
    g_gadget_list_calls = 0;
    set_use_gadget_list_hook(remember_gadget_list);
    ASSERT_NE(open_window(0, 0, 0, 50, 50, u"g", PB_Window_Invisible), 0);
    EXPECT_EQ(g_gadget_list, window_handle(0));
    ASSERT_NE(open_window(1, 0, 0, 50, 50, u"n", PB_Window_NoGadgets | PB_Window_Invisible), 0);
    EXPECT_EQ(g_gadget_list, window_handle(0));
    EXPECT_EQ(g_gadget_list_calls, 1);
    set_use_gadget_list_hook(nullptr);
}

}  // namespace
