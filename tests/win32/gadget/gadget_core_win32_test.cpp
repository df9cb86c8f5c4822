// The gadget core with real controls: creation and tear-down, routing,
// suppression of programmatic events, gadget lists, brushes, fonts, sizes.
#include <algorithm>

#include "gadget_test_support_win32.h"
#include "support/refused_property_win32.h"
#include "window/event_queue.h"

namespace {

TEST_F(GadgetTest, ANumberInUseLosesItsOldControlAndItsQueuedEvents) {
    const auto first = reinterpret_cast<HWND>(button_gadget(1, 0, 0, 80, 24, u"one"));
    ASSERT_NE(first, nullptr);
    GadgetObject* record = gadget_object(1);
    queue_event(EV_GADGET, 1, 0, ET_LEFT_CLICK);
    queue_event(EV_GADGET, 2, 0, ET_LEFT_CLICK);  // another gadget's event stays

    const auto second = reinterpret_cast<HWND>(text_gadget(1, 0, 0, 80, 24, u"two"));
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(hwnd(1), second);
    EXPECT_EQ(gadget_object(1), record);
    EXPECT_EQ(gadget_kind(1), kKindText);
    EXPECT_EQ(pump(), (GadgetEvents{{2, ET_LEFT_CLICK}}));

    // A gadget made inside the gadget whose number it takes goes with it:
    // a failure, not a number without a control.
    push_gadget_list(hwnd(1));
    EXPECT_EQ(button_gadget(1, 0, 0, 10, 10, u"inside"), 0);
    EXPECT_EQ(gadget_handle(1), nullptr);
    gadget_close_list();
}

TEST_F(GadgetTest, AnyIdsAreHandlesAndControlsCarryTheirIds) {
    const std::intptr_t any = listview_gadget(PB_Any, 0, 0, 80, 80);
    ASSERT_NE(any, 0);
    const HWND control = hwnd(any);
    ASSERT_NE(control, nullptr);
    EXPECT_NE(reinterpret_cast<HWND>(any), control);
    EXPECT_EQ(GetWindowLongPtrW(control, GWLP_ID), any);
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(GetPropW(control, L"PB_ID")), any);
    EXPECT_EQ(GetParent(control), window);
    EXPECT_EQ(gadget_kind(any), kKindListView);

    const std::intptr_t numbered = button_gadget(7, 0, 0, 80, 24, u"b");
    EXPECT_EQ(reinterpret_cast<HWND>(numbered), hwnd(7));
    EXPECT_EQ(GetWindowLongPtrW(hwnd(7), GWLP_ID), 7);
    // The font for new gadgets came with the creation.
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(hwnd(7), WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(GadgetTest, AFreedGadgetAnswersNothing) {
    const std::intptr_t any = listview_gadget(PB_Any, 0, 0, 80, 80);
    ASSERT_NE(button_gadget(3, 0, 0, 80, 24, u"b"), 0);
    gadget_add_item(any, -1, u"x");
    const HWND list = hwnd(any);
    const HWND button = hwnd(3);
    gadget_free(any);
    gadget_free(3);
    EXPECT_FALSE(IsWindow(list));
    EXPECT_FALSE(IsWindow(button));
    for (std::intptr_t id : {any, std::intptr_t{3}}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(gadget_handle(id), nullptr);
        EXPECT_EQ(gadget_kind(id), 0);
        EXPECT_EQ(gadget_get_state(id), 0);
        EXPECT_EQ(gadget_count_items(id), 0);
        EXPECT_EQ(gadget_get_item_text(id, 0), u"");
        EXPECT_EQ(gadget_width(id), 0);
        EXPECT_EQ(gadget_get_colour(id, BACK_COLOR), 0);
        gadget_set_text(id, u"nothing");
        gadget_resize(id, 1, 2, 3, 4);
    }
    EXPECT_EQ(route_to_gadget(list, window, WM_CTLCOLORLISTBOX, 0, reinterpret_cast<LPARAM>(list)), NOT_HANDLED);
    // The number is free again.
    EXPECT_NE(button_gadget(3, 0, 0, 80, 24, u"again"), 0);
}

std::vector<std::intptr_t> g_destroyed;
WNDPROC g_previous[8];
template <int N>
LRESULT CALLBACK record_destruction(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_NCDESTROY)
        g_destroyed.push_back(GetWindowLongPtrW(hwnd, GWLP_ID));
    return CallWindowProcW(g_previous[N], hwnd, message, wparam, lparam);
}
template <int N>
void watch(HWND control) {
    g_previous[N] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record_destruction<N>)));
}

TEST_F(GadgetTest, FreeingEveryGadgetGoesByNumberThenHandles) {
    const std::intptr_t a = text_gadget(PB_Any, 0, 0, 10, 10, u"a");
    ASSERT_NE(text_gadget(5, 0, 0, 10, 10, u"5"), 0);
    const std::intptr_t b = text_gadget(PB_Any, 0, 0, 10, 10, u"b");
    ASSERT_NE(text_gadget(2, 0, 0, 10, 10, u"2"), 0);
    watch<0>(hwnd(a));
    watch<1>(hwnd(5));
    watch<2>(hwnd(b));
    watch<3>(hwnd(2));
    g_destroyed.clear();
    gadget_free(PB_Any);
    EXPECT_EQ(g_destroyed, (std::vector<std::intptr_t>{2, 5, b, a}));
    EXPECT_EQ(gadget_handle(a), nullptr);
    EXPECT_EQ(gadget_handle(5), nullptr);
}

TEST_F(GadgetTest, DestroyingTheWindowEndsItsGadgets) {
    ASSERT_NE(open_window(1, 0, 0, 100, 100, u"w", PB_Window_Invisible), 0);
    ASSERT_NE(button_gadget(4, 0, 0, 80, 24, u"b"), 0);
    const HWND button = hwnd(4);
    EXPECT_EQ(GetParent(button), window_handle(1));
    queue_event(EV_GADGET, 4, 1, 0);
    close_window(1);
    EXPECT_EQ(gadget_handle(4), nullptr);
    EXPECT_EQ(queued_event_count(), 0u);
}

// A window keeps its gadget list in a property; one it cannot keep would never
// hear of the window's end. Such a window takes no gadgets and stays a
// working window.
TEST_F(GadgetTest, AWindowThatCannotKeepItsGadgetListTakesNoGadgetsAndStillAnswers) {
    {
        RefusedProperty refused(L"PB_GadgetStack_");
        ASSERT_TRUE(refused.diverted());
        ASSERT_NE(open_window(1, 0, 0, 100, 100, u"w", PB_Window_SystemMenu | PB_Window_Invisible), 0);
        EXPECT_EQ(RefusedProperty::refusals(), 1);
    }
    EXPECT_EQ(button_gadget(4, 0, 0, 80, 24, u"b"), 0);
    PostMessageW(static_cast<HWND>(window_handle(1)), WM_CLOSE, 0, 0);
    bool closing = false;
    EXPECT_TRUE(wait_until([&] { return closing; },
                           [&] { closing = wait_window_event(10) == EV_CLOSE_WINDOW && current_event_window() == 1; },
                           3000));
}

// A kind whose every changing slot makes its edit control raise EN_CHANGE.
void set_edit_text(GadgetObject& g, const std::u16string& text) {
    SetWindowTextW(gadget_hwnd(g), reinterpret_cast<const wchar_t*>(text.c_str()));
}
void set_edit_state(GadgetObject& g, std::int32_t) {
    SetWindowTextW(gadget_hwnd(g), L"state");
}
std::int32_t add_edit_item(GadgetObject& g, std::int32_t, const std::u16string& text, std::uintptr_t) {
    set_edit_text(g, text);
    return 5;
}
std::int32_t set_edit_item_text(GadgetObject& g, std::int32_t, const std::u16string& text, std::int32_t) {
    set_edit_text(g, text);
    return 0;
}
constexpr GadgetKindTable kNoisyKind{.kind = kKindString,
                                     .size = kGadgetKindTableSize,
                                     .set_state = set_edit_state,
                                     .add_item = add_edit_item,
                                     .set_item_text = set_edit_item_text};

std::intptr_t noisy_gadget(std::intptr_t id) {
    const HWND control = create_gadget_control(0, L"Edit", u"", WS_CHILD | WS_VISIBLE, 0, 0, 80, 20);
    GadgetObject* g = allocate_gadget(id, control);
    return register_gadget(id, g, control, &kNoisyKind);
}

TEST_F(GadgetTest, ProgrammaticChangesQueueNoGadgetEvents) {
    ASSERT_NE(noisy_gadget(9), 0);
    pump();
    // The control does notify: a change outside the common operations is an event.
    SetWindowTextW(hwnd(9), L"user");
    EXPECT_EQ(pump(), (GadgetEvents{{9, EN_UPDATE}, {9, EN_CHANGE}}));

    gadget_set_text(9, u"text");  // the default slot: SetWindowTextW
    gadget_set_state(9, 1);
    EXPECT_EQ(gadget_add_item(9, -1, u"item"), 5);  // slot 7 stands in for the empty slot 8
    gadget_set_item_text(9, 0, u"item text");
    EXPECT_EQ(pump(), GadgetEvents{});
    EXPECT_EQ(events_suppressed(), 0);

    // Only the forced variant gets through a suppression.
    {
        EventSuppression quiet;
        post_gadget_event(hwnd(9), ET_CHANGE);
        post_gadget_event_forced(hwnd(9), ET_FOCUS);
    }
    EXPECT_EQ(pump(), (GadgetEvents{{9, ET_FOCUS}}));
}

TEST_F(GadgetTest, RoutingReachesOnlyLiveGadgetsWithHandlers) {
    ASSERT_NE(text_gadget(0, 0, 0, 80, 20, u"t"), 0);
    gadget_set_colour(0, BACK_COLOR, 0x00FF00);
    HDC dc = GetDC(hwnd(0));
    // The colour answer comes back through the window's own procedure.
    const auto answer = static_cast<std::uintptr_t>(
        SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd(0))));
    EXPECT_EQ(answer, gadget_object(0)->word7);
    EXPECT_EQ(GetBkColor(dc), 0x00FF00u);
    // A plain control whose identifier is 0 is not gadget 0.
    const HWND plain = CreateWindowExW(0, L"Static", L"p", WS_CHILD, 0, 0, 10, 10, window, nullptr, nullptr, nullptr);
    EXPECT_EQ(route_to_gadget(plain, window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(plain)),
              NOT_HANDLED);
    ReleaseDC(hwnd(0), dc);
    // A kind without a handler (the button) leaves its messages to the window.
    ASSERT_NE(button_gadget(1, 0, 0, 10, 10, u"b"), 0);
    EXPECT_EQ(route_to_gadget(hwnd(1), window, WM_COMMAND, 0, reinterpret_cast<LPARAM>(hwnd(1))), NOT_HANDLED);
}

TEST_F(GadgetTest, ContainersNestGadgetListsAndWindowsKeepTheirOwn) {
    EXPECT_EQ(current_gadget_list(), window);
    ASSERT_NE(text_gadget(1, 0, 0, 100, 100, u"box"), 0);
    push_gadget_list(hwnd(1));
    ASSERT_NE(button_gadget(2, 0, 0, 10, 10, u"inner"), 0);
    EXPECT_EQ(GetParent(hwnd(2)), hwnd(1));

    // Another window takes over with an empty stack; switching back restores depth 1.
    ASSERT_NE(open_window(1, 0, 0, 100, 100, u"other", PB_Window_Invisible), 0);
    const auto other = static_cast<HWND>(window_handle(1));
    EXPECT_EQ(current_gadget_list(), other);
    gadget_close_list();  // depth 0 there: nothing happens
    EXPECT_EQ(current_gadget_list(), other);
    EXPECT_EQ(use_gadget_list(nullptr), other);
    EXPECT_EQ(current_gadget_list(), other);

    EXPECT_EQ(use_gadget_list(window), other);
    EXPECT_EQ(current_gadget_list(), hwnd(1));
    gadget_close_list();
    EXPECT_EQ(current_gadget_list(), window);
    ASSERT_NE(button_gadget(3, 0, 0, 10, 10, u"outer"), 0);
    EXPECT_EQ(GetParent(hwnd(3)), window);

    // A list deeper than the first stack grows it.
    for (int i = 0; i < 25; ++i)
        push_gadget_list(hwnd(1));
    for (int i = 0; i < 25; ++i)
        gadget_close_list();
    EXPECT_EQ(current_gadget_list(), window);

    // The window in use going away leaves no list behind.
    EXPECT_EQ(use_gadget_list(other), window);
    close_window(1);
    EXPECT_EQ(current_gadget_list(), nullptr);
    EXPECT_EQ(button_gadget(4, 0, 0, 10, 10, u"nowhere"), 0);
}

TEST_F(GadgetTest, EqualBackColoursShareOneBrushUntilTheLastLetsGo) {
    const std::size_t before = cached_brush_count();
    ASSERT_NE(text_gadget(1, 0, 0, 10, 10, u"a"), 0);
    ASSERT_NE(listview_gadget(2, 0, 0, 10, 10), 0);
    gadget_set_colour(1, BACK_COLOR, 0x123456);
    gadget_set_colour(2, BACK_COLOR, 0x123456);
    const std::uintptr_t brush = gadget_object(1)->word7;
    ASSERT_NE(brush, 0u);
    EXPECT_EQ(gadget_object(2)->word7, brush);
    EXPECT_EQ(cached_brush_count(), before + 1);
    EXPECT_EQ(gadget_get_colour(2, BACK_COLOR), 0x123456);
    EXPECT_EQ(gadget_get_colour(2, FRONT_COLOR), -1);

    gadget_free(1);
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(brush)), static_cast<DWORD>(OBJ_BRUSH));
    gadget_set_colour(2, BACK_COLOR, -1);  // the last holder changes colour
    EXPECT_EQ(gadget_object(2)->word7, 0u);
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(brush)), 0u);
    EXPECT_EQ(cached_brush_count(), before);
}

TEST_F(GadgetTest, FontsForNewGadgetsAndForOneGadget) {
    const HFONT big = CreateFontW(-30, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    ASSERT_NE(button_gadget(1, 0, 0, 10, 10, u"Copy"), 0);
    std::int32_t w1, h1;
    gadget_required_size(1, w1, h1);
    gadget_set_font(-1, reinterpret_cast<std::intptr_t>(big));
    ASSERT_NE(button_gadget(2, 0, 0, 10, 10, u"Copy"), 0);
    const auto font_of = [](std::intptr_t id) {
        return reinterpret_cast<HFONT>(SendMessageW(hwnd(id), WM_GETFONT, 0, 0));
    };
    EXPECT_EQ(font_of(2), big);
    EXPECT_NE(font_of(1), big);
    // The required size follows the font.
    EXPECT_GT(gadget_width(2, 1), w1);
    gadget_set_font(2, -1);
    EXPECT_EQ(font_of(2), GetStockObject(DEFAULT_GUI_FONT));
    gadget_set_font(1, reinterpret_cast<std::intptr_t>(big));
    EXPECT_EQ(font_of(1), big);
    gadget_free(PB_Any);
    DeleteObject(big);
}

TEST_F(GadgetTest, ResizeKeepsIgnoredValuesHideAndDisable) {
    ASSERT_NE(text_gadget(1, 10, 20, 30, 40, u"t"), 0);
    gadget_resize(1, kIgnore, kIgnore, kIgnore, kIgnore);
    RECT r;
    GetWindowRect(hwnd(1), &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(gadget_width(1), 30);
    EXPECT_EQ(gadget_height(1), 40);
    gadget_resize(1, 5, kIgnore, 50, kIgnore);
    GetWindowRect(hwnd(1), &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(gadget_width(1), 50);
    EXPECT_EQ(gadget_height(1), 40);

    gadget_hide(1, 1);
    EXPECT_FALSE(GetWindowLongW(hwnd(1), GWL_STYLE) & WS_VISIBLE);
    gadget_hide(1, 0);
    EXPECT_TRUE(GetWindowLongW(hwnd(1), GWL_STYLE) & WS_VISIBLE);
    gadget_disable(1, 1);
    EXPECT_FALSE(IsWindowEnabled(hwnd(1)));
    gadget_disable(1, 0);
    EXPECT_TRUE(IsWindowEnabled(hwnd(1)));
}

int g_bound_runs = 0;
std::intptr_t g_bound_object = -1;
void on_bound_click() {
    ++g_bound_runs;
    g_bound_object = current_event_object();
}

TEST_F(GadgetTest, CallbacksBoundToOneGadgetRunOnItsEvents) {
    ASSERT_NE(button_gadget(1, 0, 0, 60, 20, u"a"), 0);
    ASSERT_NE(button_gadget(2, 0, 60, 60, 20, u"b"), 0);
    g_bound_runs = 0;
    gadget_bind_event(1, on_bound_click, ET_LEFT_CLICK);
    click(hwnd(2));
    pump();
    EXPECT_EQ(g_bound_runs, 0);
    click(hwnd(1));
    pump();
    EXPECT_EQ(g_bound_runs, 1);
    EXPECT_EQ(g_bound_object, 1);
    EXPECT_TRUE(gadget_unbind_event(1, on_bound_click, ET_LEFT_CLICK));
    click(hwnd(1));
    pump();
    EXPECT_EQ(g_bound_runs, 1);
}

TEST_F(GadgetTest, ANewGadgetUnderAFreedNumberRunsNoneOfTheOldCallbacks) {
    ASSERT_NE(button_gadget(1, 0, 0, 60, 20, u"a"), 0);
    gadget_bind_event(1, on_bound_click, ET_LEFT_CLICK);
    gadget_free(1);
    ASSERT_NE(button_gadget(1, 0, 0, 60, 20, u"b"), 0);
    g_bound_runs = 0;
    click(hwnd(1));
    pump();
    EXPECT_EQ(g_bound_runs, 0);

    // Made over a number in use, the new gadget starts without bindings too.
    gadget_bind_event(1, on_bound_click, ET_LEFT_CLICK);
    ASSERT_NE(button_gadget(1, 0, 0, 60, 20, u"c"), 0);
    gadget_bind_event(1, on_bound_click, ET_LEFT_CLICK);
    click(hwnd(1));
    pump();
    EXPECT_EQ(g_bound_runs, 1);

    // A gadget that ends with the control it lies in loses its bindings as well.
    ASSERT_NE(text_gadget(3, 0, 40, 100, 60, u"box"), 0);
    push_gadget_list(hwnd(3));
    ASSERT_NE(button_gadget(2, 0, 0, 60, 20, u"inner"), 0);
    gadget_close_list();
    gadget_bind_event(2, on_bound_click, ET_LEFT_CLICK);
    gadget_free(3);
    ASSERT_EQ(gadget_handle(2), nullptr);
    ASSERT_NE(button_gadget(2, 0, 40, 60, 20, u"d"), 0);
    click(hwnd(2));
    pump();
    EXPECT_EQ(g_bound_runs, 1);
}

}  // namespace
