// The event loop with real messages: translation, waiting, posted events, focus keys.
#include <atomic>
#include <chrono>
#include <thread>

#include "window/gadget_hooks.h"
#include "window_test_support_win32.h"

namespace {

using Events = std::vector<std::int32_t>;

struct Taken {
    std::int32_t event;
    std::intptr_t object, window;
    std::int32_t type;
    bool operator==(const Taken&) const = default;
};
// Events other than activation and repainting (which the platform sends as it
// likes) unless asked for.
std::vector<Taken> drain_taken(bool all = false) {
    std::vector<Taken> out;
    for (int i = 0; i < 10000; ++i) {
        std::int32_t n = wait_window_event(0);
        if (n == 0)
            break;
        if (n >= EV_GADGET && n <= EV_SIZE_WINDOW &&
            (all || (n != EV_ACTIVATE && n != EV_DEACTIVATE && n != EV_REPAINT)))
            out.push_back({n, current_event_object(), current_event_window(), current_event_type()});
    }
    return out;
}

TEST_F(WindowTest, CloseRequestLeavesTheWindowOpenAndReachesTheLoop) {
    ASSERT_NE(open_window(3, 0, 0, 100, 100, u"c", PB_Window_SystemMenu | PB_Window_Invisible), 0);
    HWND hwnd = hwnd_of(3);
    drain();
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(wait_window_event(0), EV_CLOSE_WINDOW);
    EXPECT_EQ(current_event_window(), 3);
    EXPECT_EQ(current_event_object(), 3);
    EXPECT_EQ(event_wparam(), 0u);
    // The system menu's close goes the same way.
    SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(drain_only({EV_CLOSE_WINDOW}), Events{EV_CLOSE_WINDOW});
    EXPECT_TRUE(IsWindow(hwnd));
}

std::intptr_t g_handled_control = 0;
std::intptr_t handle_control_6(void* control, void*, unsigned message, std::uintptr_t, std::intptr_t) {
    if (message == WM_COMMAND && GetWindowLongPtrW(static_cast<HWND>(control), GWLP_ID) == 6) {
        g_handled_control = 6;
        return 0;
    }
    return NOT_HANDLED;
}

TEST_F(WindowTest, CommandsFromControlsMenusAndAcceleratorsBecomeEvents) {
    ASSERT_NE(open_window(1, 0, 0, 200, 200, u"cmd", PB_Window_SystemMenu | PB_Window_Invisible), 0);
    HWND hwnd = hwnd_of(1);
    HWND button = CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, hwnd,
                                  reinterpret_cast<HMENU>(5), nullptr, nullptr);
    HWND menu_control = CreateWindowExW(0, L"BUTTON", L"m", WS_CHILD, 0, 0, 50, 20, hwnd, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(menu_control, GWLP_ID, -10000);
    HWND handled =
        CreateWindowExW(0, L"BUTTON", L"h", WS_CHILD, 0, 0, 50, 20, hwnd, reinterpret_cast<HMENU>(6), nullptr, nullptr);
    drain();

    SendMessageW(button, BM_CLICK, 0, 0);  // a real click notification
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(5, EN_CHANGE), reinterpret_cast<LPARAM>(button));
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(7, 0), 0);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(42, 1), 0);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(9, BN_CLICKED), reinterpret_cast<LPARAM>(menu_control));
    set_route_to_gadget_hook(handle_control_6);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(6, BN_CLICKED), reinterpret_cast<LPARAM>(handled));
    set_route_to_gadget_hook(nullptr);
    EXPECT_EQ(g_handled_control, 6);
    EXPECT_EQ(drain_taken(), (std::vector<Taken>{{EV_GADGET, 5, 1, BN_CLICKED},
                                                 {EV_GADGET, 5, 1, EN_CHANGE},
                                                 {EV_MENU, 7, 1, 0},
                                                 {EV_MENU, 42, 1, 0},
                                                 {EV_MENU, 9, 1, 0}}));
}

TEST_F(WindowTest, ClicksTimersAndIconNotifications) {
    ASSERT_NE(open_window(2, 0, 0, 200, 200, u"c", PB_Window_SystemMenu | PB_Window_Invisible), 0);
    HWND hwnd = hwnd_of(2);
    drain();
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    SendMessageW(hwnd, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    SendMessageW(hwnd, WM_LBUTTONDBLCLK, 0, MAKELPARAM(10, 10));
    SendMessageW(hwnd, 12501, 77, WM_RBUTTONDBLCLK);
    SendMessageW(hwnd, 12501, 77, WM_MOUSEMOVE);  // not a click: nothing
    EXPECT_EQ(drain_taken(), (std::vector<Taken>{{EV_LEFT_CLICK, 0, 2, 0},
                                                 {EV_RIGHT_CLICK, 0, 2, 0},
                                                 {EV_LEFT_DOUBLE_CLICK, 0, 2, 0},
                                                 {EV_SYSTRAY, 77, 2, 3}}));
    SetTimer(hwnd, 3, 10, nullptr);
    std::int32_t n = 0;
    for (int i = 0; i < 200 && n != EV_TIMER; ++i)
        n = wait_window_event(50);
    KillTimer(hwnd, 3);
    ASSERT_EQ(n, EV_TIMER);
    EXPECT_EQ(current_event_object(), 3);
}

TEST_F(WindowTest, WaitingWithTimeOutZeroOrNReturnsZeroWhenNothingCame) {
    ASSERT_NE(open_window(0, 0, 0, 100, 100, u"w", PB_Window_Invisible), 0);
    drain();
    EXPECT_EQ(wait_window_event(0), 0);
    EXPECT_EQ(wait_window_event(30), 0);
    // A message that arrives during the wait ends it.
    HWND hwnd = hwnd_of(0);
    std::thread poster([hwnd] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        PostMessageW(hwnd, WM_APP + 1, 11, 22);
    });
    const std::int32_t n = wait_window_event(10000);
    poster.join();
    EXPECT_EQ(n, WM_APP + 1);
    EXPECT_EQ(event_wparam(), 11u);
    EXPECT_EQ(event_lparam(), 22);
}

TEST_F(WindowTest, WaitingWithoutLimitBlocksUntilAMessageOrAnEventArrives) {
    ASSERT_NE(open_window(0, 0, 0, 100, 100, u"w", PB_Window_Invisible), 0);
    HWND hwnd = hwnd_of(0);
    drain();
    std::atomic<bool> posted{false};
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        posted = true;
        PostMessageW(hwnd, WM_NULL, 0, 0);  // an empty message counts as 0
    });
    EXPECT_EQ(wait_window_event(-1), 0);
    EXPECT_TRUE(posted);
    poster.join();

    // An event queued by a message sent from another thread while the loop is
    // blocked must end the wait, not wait for some later message.
    std::atomic<bool> done{false};
    std::thread sender([hwnd, &done] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
        for (int i = 0; i < 300 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!done)
            PostMessageW(hwnd, WM_APP + 2, 0, 0);  // the test fails instead of hanging
    });
    std::int32_t n = 0;
    while (n != EV_CLOSE_WINDOW && n != WM_APP + 2)
        n = wait_window_event(-1);
    done = true;
    EXPECT_EQ(n, EV_CLOSE_WINDOW);
    sender.join();
    drain();
}

// Posted from a worker: arrives on the GUI thread, callbacks run there.
DWORD g_callback_thread = 0;
void* g_callback_data = nullptr;
void note_thread() {
    g_callback_thread = GetCurrentThreadId();
    g_callback_data = current_event_data();
}

TEST_F(WindowTest, AnEventPostedFromAnotherThreadIsQueuedOnTheGuiThreadEvenWhileSuppressed) {
    g_callback_thread = 0;
    static int payload = 5;
    bind_event(0x10010, note_thread, 4, 8, 2);
    suppress_events(true);
    std::thread worker([] { EXPECT_TRUE(post_event(0x10010, 8, 4, 2, &payload)); });
    worker.join();
    EXPECT_EQ(g_callback_thread, 0u);  // nothing runs before the loop takes the message
    std::int32_t n = 0;
    for (int i = 0; i < 100 && n != 0x10010; ++i)
        n = wait_window_event(100);
    suppress_events(false);
    ASSERT_EQ(n, 0x10010);
    EXPECT_EQ(g_callback_thread, GetCurrentThreadId());
    EXPECT_EQ(g_callback_data, &payload);
    EXPECT_EQ(current_event_object(), 8);
    EXPECT_EQ(current_event_window(), 4);
    EXPECT_EQ(current_event_type(), 2);
    EXPECT_EQ(current_event_data(), &payload);
}

// The posting message's number is registered by name, so any program can send
// it (a broadcast reaches the posting window too): such a message, whatever
// its wParam and whatever its lParam points at, queues nothing and frees nothing.
TEST_F(WindowTest, ThePostingMessageOfAnotherProgramIsIgnored) {
    g_callback_thread = 0;
    bind_event(0x10012, note_thread, -1);
    const HWND posting = FindWindowW(L"PostEventClass", nullptr);
    ASSERT_NE(posting, nullptr);
    const UINT message = RegisterWindowMessageW(L"PB_PostEventMessage");
    // A genuine message's wParam, as a program watching the window could learn it.
    ASSERT_TRUE(post_event(0x10013, 0, 0, 0));
    MSG genuine{};
    ASSERT_TRUE(PeekMessageW(&genuine, posting, message, message, PM_NOREMOVE));
    struct {
        std::int32_t unused1 = 0, event = 0x10012, unused2 = 0;
        std::intptr_t object = 1, window = 1;
        std::int32_t type = 0;
        void* data = nullptr;
        void* free_data = nullptr;
    } forged;  // on the stack: freeing it would corrupt the heap
    for (WPARAM guess : {genuine.wParam, WPARAM{0}, WPARAM{1}, ~WPARAM{0}})
        ASSERT_TRUE(PostMessageW(posting, message, guess, reinterpret_cast<LPARAM>(&forged)));
    for (int i = 0; i < 10; ++i)
        (void)wait_window_event(10);
    EXPECT_EQ(g_callback_thread, 0u);
}

// The queue frees posted data with the poster's routine: once the event is
// done, or at the end when the event never arrived.
int g_freed = 0;
void count_free(void* data) {
    g_freed += *static_cast<int*>(data);
}

TEST_F(WindowTest, PostedDataIsFreedByTheQueueOrAtTheEnd) {
    static int one = 1;
    g_freed = 0;
    ASSERT_TRUE(post_event(0x10014, 0, 0, 0, &one, count_free));
    std::int32_t n = 0;
    for (int i = 0; i < 100 && n != 0x10014; ++i)
        n = wait_window_event(100);
    ASSERT_EQ(n, 0x10014);
    EXPECT_EQ(g_freed, 0);  // still the current event's
    (void)wait_window_event(0);
    EXPECT_EQ(g_freed, 1);

    ASSERT_TRUE(post_event(0x10014, 0, 0, 0, &one, count_free));
    end_posted_events();  // before the message was taken
    EXPECT_EQ(g_freed, 2);
    init_posted_events();
}

TEST_F(WindowTest, PostingAfterTheEndFailsCleanly) {
    end_posted_events();
    EXPECT_FALSE(post_event(0x10011, 0, 0, 0));
    init_posted_events();
}

// ---------------------------------------------------------------- focus keys

struct FocusWindow {
    HWND hwnd;
    HWND buttons[3];
};

FocusWindow open_focus_window() {
    FocusWindow w{};
    EXPECT_NE(open_window(0, 100, 100, 300, 200, u"focus", PB_Window_SystemMenu), 0);
    w.hwnd = static_cast<HWND>(window_handle(0));
    const DWORD stop = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    w.buttons[0] = CreateWindowExW(0, L"BUTTON", L"1", stop, 0, 0, 50, 20, w.hwnd, nullptr, nullptr, nullptr);
    // Neither disabled, hidden nor plain children are visited.
    CreateWindowExW(0, L"BUTTON", L"off", stop | WS_DISABLED, 0, 30, 50, 20, w.hwnd, nullptr, nullptr, nullptr);
    CreateWindowExW(0, L"BUTTON", L"hid", WS_CHILD | WS_TABSTOP, 0, 60, 50, 20, w.hwnd, nullptr, nullptr, nullptr);
    CreateWindowExW(0, L"STATIC", L"s", WS_CHILD | WS_VISIBLE, 0, 90, 50, 20, w.hwnd, nullptr, nullptr, nullptr);
    w.buttons[1] = CreateWindowExW(0, L"BUTTON", L"2", stop, 60, 0, 50, 20, w.hwnd, nullptr, nullptr, nullptr);
    w.buttons[2] =
        CreateWindowExW(0, L"EDIT", L"3", stop | WS_BORDER, 120, 0, 50, 20, w.hwnd, nullptr, nullptr, nullptr);
    return w;
}

TEST_F(WindowTest, FocusCommandsCycleThroughTabStopsAndWrap) {
    FocusWindow w = open_focus_window();
    auto command = [&](WORD id) { SendMessageW(w.hwnd, WM_COMMAND, MAKEWPARAM(id, 1), 0); };
    SetActiveWindow(w.hwnd);
    SetFocus(w.hwnd);  // no focused control: forward takes the first
    command(kCommandFocusNext);
    EXPECT_EQ(GetFocus(), w.buttons[0]);
    command(kCommandFocusNext);
    EXPECT_EQ(GetFocus(), w.buttons[1]);
    command(kCommandFocusNext);
    EXPECT_EQ(GetFocus(), w.buttons[2]);
    command(kCommandFocusNext);
    EXPECT_EQ(GetFocus(), w.buttons[0]);
    command(kCommandFocusPrevious);
    EXPECT_EQ(GetFocus(), w.buttons[2]);
    command(kCommandFocusPrevious);
    EXPECT_EQ(GetFocus(), w.buttons[1]);
    EXPECT_EQ(drain_only({EV_MENU}), Events{});  // the focus keys are no menu commands
}

// Presses Tab (with Shift if asked) through the system's input queue.
void press_tab(bool shift) {
    std::vector<INPUT> in;
    auto key = [&](WORD vk, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    };
    if (shift)
        key(VK_SHIFT, false);
    key(VK_TAB, false);
    key(VK_TAB, true);
    if (shift)
        key(VK_SHIFT, true);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

TEST_F(WindowTest, TabAndShiftTabTypedByTheUserMoveTheFocus) {
    // Types Tab (with Shift) and runs the loop until the focus has left `from`
    // and the loop has taken the key releases too (a Shift still down would
    // change what the next key does); the control that has the focus then.
    const auto tab_from = [](HWND from, bool shift) {
        press_tab(shift);
        pump_until([&] { return GetFocus() != from && GetKeyState(VK_TAB) >= 0 && GetKeyState(VK_SHIFT) >= 0; });
        return GetFocus();
    };
    FocusWindow w = open_focus_window();
    SetForegroundWindow(w.hwnd);
    if (!pump_until([&] { return GetForegroundWindow() == w.hwnd; }))
        GTEST_SKIP() << "Wine could not make the window the foreground window";
    SetFocus(w.buttons[1]);
    const HWND first = tab_from(w.buttons[1], false);
    if (first == w.buttons[1])
        GTEST_SKIP() << "keyboard input from SendInput did not reach the window";
    EXPECT_EQ(first, w.buttons[2]);
    EXPECT_EQ(tab_from(w.buttons[2], false), w.buttons[0]);
    EXPECT_EQ(tab_from(w.buttons[0], true), w.buttons[2]);
    // Holding Shift showed the focus cues.
    EXPECT_EQ(SendMessageW(w.hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS, 0);
}

TEST_F(WindowTest, TabReachesWritableRichEditsAndHotkeyFields) {
    if (!LoadLibraryW(L"riched20.dll"))
        GTEST_SKIP() << "no rich-edit library";
    FocusWindow w = open_focus_window();
    SetActiveWindow(w.hwnd);
    HWND rich = CreateWindowExW(0, L"RichEdit20W", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 120, 100, 30, w.hwnd,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(rich, nullptr);
    auto tab_into = [&](HWND focus) {
        SetFocus(focus);
        // A posted key goes through the loop's accelerator step like a typed one.
        PostMessageW(focus, WM_KEYDOWN, VK_TAB, 0x000F0001);
        drain();
        return GetFocus();
    };
    EXPECT_EQ(tab_into(rich), rich);
    wchar_t text[8] = {};
    GetWindowTextW(rich, text, 8);
    EXPECT_EQ(std::wstring(text), L"\t");

    SendMessageW(rich, EM_SETREADONLY, TRUE, 0);
    EXPECT_EQ(tab_into(rich), w.buttons[0]);  // read-only: Tab moves on, wrapping

    SetPropW(w.buttons[1], L"PB_Hotkey", reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(tab_into(w.buttons[1]), w.buttons[1]);
    RemovePropW(w.buttons[1], L"PB_Hotkey");
    EXPECT_EQ(tab_into(w.buttons[1]), w.buttons[2]);
}

TEST_F(WindowTest, ActivationGivesTheFocusBackToTheControlThatHadIt) {
    FocusWindow a = open_focus_window();
    ASSERT_NE(open_window(1, 500, 100, 100, 100, u"other", PB_Window_SystemMenu), 0);
    HWND b = hwnd_of(1);
    SetActiveWindow(a.hwnd);
    SetFocus(a.buttons[1]);
    drain();
    SetActiveWindow(b);
    if (GetActiveWindow() != b)
        GTEST_SKIP() << "Wine did not switch the active window";
    EXPECT_EQ(GetPropW(a.hwnd, L"PB_Focus"), a.buttons[1]);
    SetActiveWindow(a.hwnd);
    EXPECT_EQ(GetFocus(), a.buttons[1]);
    const std::vector<Taken> events = drain_taken(true);
    std::vector<Taken> activation;
    for (const Taken& t : events)
        if (t.event == EV_ACTIVATE || t.event == EV_DEACTIVATE)
            activation.push_back(t);
    EXPECT_EQ(activation,
              (std::vector<Taken>{
                  {EV_DEACTIVATE, 0, 0, 0}, {EV_ACTIVATE, 0, 1, 0}, {EV_DEACTIVATE, 0, 1, 0}, {EV_ACTIVATE, 0, 0, 0}}));
}

}  // namespace

namespace {

// A container gadget's own window: it passes its messages to the common translation.
LRESULT CALLBACK container_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    const std::intptr_t result = window_translate_message(hwnd, message, wparam, lparam);
    return result == NOT_HANDLED ? DefWindowProcW(hwnd, message, wparam, lparam) : result;
}

TEST_F(WindowTest, ControlsInsideAContainerReportToTheirTopLevelWindow) {
    ASSERT_NE(open_window(6, 0, 0, 200, 200, u"outer", PB_Window_Invisible), 0);
    WNDCLASSW wc{};
    wc.lpfnWndProc = container_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TestContainer";
    RegisterClassW(&wc);
    HWND panel = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, hwnd_of(6), nullptr,
                                 nullptr, nullptr);
    HWND button = CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, panel,
                                  reinterpret_cast<HMENU>(12), nullptr, nullptr);
    EXPECT_EQ(window_number_of(button), 6);
    drain();
    SendMessageW(button, BM_CLICK, 0, 0);
    // The container's own size message is not the window's.
    SetWindowPos(panel, nullptr, 0, 0, 120, 120, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(drain_taken(), (std::vector<Taken>{{EV_GADGET, 12, 6, BN_CLICKED}}));
    DestroyWindow(panel);
    UnregisterClassW(wc.lpszClassName, wc.hInstance);
}

TEST_F(WindowTest, ErasingTheBackgroundIsARepaintEvent) {
    ASSERT_NE(open_window(0, 0, 0, 100, 100, u"r", PB_Window_Invisible), 0);
    HWND hwnd = hwnd_of(0);
    drain();
    HDC dc = GetDC(hwnd);
    EXPECT_NE(SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0);  // the class brush erased
    ReleaseDC(hwnd, dc);
    EXPECT_EQ(drain_taken(true), (std::vector<Taken>{{EV_REPAINT, 0, 0, 0}}));
}

int g_filtered = 0;
int consume_app_messages(unsigned message, std::uintptr_t wparam, std::intptr_t) {
    if (message != WM_APP + 5)
        return 0;
    g_filtered += static_cast<int>(wparam);
    return 1;
}

TEST_F(WindowTest, APrefilterSeesMessagesFirstAndMayConsumeThem) {
    ASSERT_NE(open_window(0, 0, 0, 100, 100, u"f", PB_Window_Invisible), 0);
    HWND hwnd = hwnd_of(0);
    g_filtered = 0;
    set_message_prefilter(consume_app_messages);
    PostMessageW(hwnd, WM_APP + 5, 3, 0);
    PostMessageW(hwnd, WM_CLOSE, 0, 0);  // not consumed: reaches the window
    EXPECT_EQ(drain_only({EV_CLOSE_WINDOW}), std::vector<std::int32_t>{EV_CLOSE_WINDOW});
    set_message_prefilter(nullptr);
    EXPECT_EQ(g_filtered, 3);
}

}  // namespace
