// Frames and containers on real controls: their classes and edges, the gadget
// list a container opens, and the events of its resizing.
#include <optional>

#include "gadget/container_kinds.h"
#include "gadget/image_kinds.h"
#include "gadget/input_kinds.h"
#include "gadget_test_support_win32.h"
#include "support/import_slot_win32.h"

namespace {

// Memory for one more level of gadget-list nesting is refused: the nesting
// stack is filled to its capacity (with the current list) and the program's
// malloc fails for the size the stack grows to, nothing else. The levels
// added are taken off again at the end.
class NestingRefused {
public:
    NestingRefused() {
        GadgetListState& lists = gadget_library_state().lists;
        depth_ = lists.stack.depth;
        while (lists.stack.depth < lists.stack.capacity || lists.stack.capacity < 40)
            EXPECT_TRUE(gadget_list_push(lists, lists.current));
        size_ = static_cast<std::size_t>(lists.stack.capacity + kGadgetStackStep) * sizeof(void*);
        refused_ = 0;
        diverted_.emplace("malloc", reinterpret_cast<void*>(&refusing));
        malloc_ = diverted_->original<Malloc>();
        EXPECT_NE(malloc_, nullptr) << "the program no longer imports malloc";
    }
    ~NestingRefused() {
        diverted_.reset();
        GadgetListState& lists = gadget_library_state().lists;
        while (lists.stack.depth > depth_)
            gadget_list_pop(lists);
    }
    NestingRefused(const NestingRefused&) = delete;
    NestingRefused& operator=(const NestingRefused&) = delete;

    int refused() const { return refused_; }

private:
    using Malloc = void*(__cdecl*)(std::size_t);
    static void* __cdecl refusing(std::size_t size) { return size == size_ ? (++refused_, nullptr) : malloc_(size); }

    static inline std::size_t size_ = 0;
    static inline int refused_ = 0;
    static inline Malloc malloc_ = nullptr;
    std::int32_t depth_ = 0;
    std::optional<DivertedImport> diverted_;
};

// The kinds that hold gadgets, each with a gadget list to open (the panel's first page).
struct Holder {
    const char* name;
    std::intptr_t (*make)();
    std::int32_t item;
};
const Holder kHolders[] = {
    {"container", [] { return container_gadget(1, 0, 0, 100, 80); }, -2},
    {"canvas", [] { return canvas_gadget(1, 0, 0, 100, 80, PB_Canvas_Container); }, -2},
    {"scroll area", [] { return scrollarea_gadget(1, 0, 0, 100, 80, 200, 200, 10); }, -2},
    {"panel", [] { return panel_gadget(1, 0, 0, 100, 80); }, 0},
};

TEST_F(GadgetTest, AFrameIsAGroupBoxWithTextOrAnEdgeWithout) {
    ASSERT_NE(frame_gadget(1, 0, 0, 100, 50, u"Group"), 0);
    ASSERT_NE(frame_gadget(2, 0, 0, 100, 50, u"Hidden", PB_Frame_Single), 0);
    ASSERT_NE(frame_gadget(3, 0, 0, 100, 50, u"", PB_Frame_Double), 0);
    ASSERT_NE(frame_gadget(4, 0, 0, 100, 50, u"", PB_Frame_Flat), 0);
    EXPECT_EQ(class_of(hwnd(1)), L"Button");
    EXPECT_EQ(style_of(hwnd(1)), 0x50020007u);
    EXPECT_EQ(gadget_get_text(1), u"Group");
    EXPECT_EQ(class_of(hwnd(2)), L"Static");
    EXPECT_TRUE(ex_style_of(hwnd(2)) & WS_EX_STATICEDGE);
    EXPECT_EQ(gadget_get_text(2), u"");
    EXPECT_TRUE(ex_style_of(hwnd(3)) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(style_of(hwnd(4)) & WS_BORDER);
    EXPECT_FALSE(ex_style_of(hwnd(4)) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
    // A frame holds no gadgets: the next one is the window's.
    ASSERT_NE(button_gadget(5, 0, 0, 10, 10, u"b"), 0);
    EXPECT_EQ(GetParent(hwnd(5)), window);
    gadget_resize(2, 10, 20, kIgnore, 30);
    const RECT r = control_rect(hwnd(2));
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(r.bottom - r.top, 30);
    expect_all_freed({hwnd(1), hwnd(2), hwnd(3), hwnd(4), hwnd(5)});
}

TEST_F(GadgetTest, AContainerHoldsTheFollowingGadgetsUntilClosed) {
    ASSERT_NE(container_gadget(1, 10, 10, 200, 100, PB_Container_Double), 0);
    const HWND box = hwnd(1);
    EXPECT_EQ(class_of(box), L"ZereVuzizared");
    EXPECT_EQ(style_of(box) & 0xFFFF0000u, 0x50000000u);
    EXPECT_TRUE(ex_style_of(box) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(current_gadget_list(), box);
    ASSERT_NE(button_gadget(2, 5, 5, 80, 24, u"inside"), 0);
    ASSERT_NE(checkbox_gadget(3, 5, 35, 80, 20, u"inside too"), 0);
    gadget_close_list();
    ASSERT_NE(button_gadget(4, 0, 0, 80, 24, u"outside"), 0);
    EXPECT_EQ(GetParent(hwnd(2)), box);
    EXPECT_EQ(GetParent(hwnd(3)), box);
    EXPECT_EQ(GetParent(hwnd(4)), window);
    // Clicks inside reach the program as the inner gadgets' events.
    click(hwnd(2));
    click(hwnd(3));
    EXPECT_EQ(pump(), (GadgetEvents{{2, ET_LEFT_CLICK}, {3, ET_LEFT_CLICK}}));
    // Reopening puts new gadgets inside again.
    EXPECT_NE(gadget_open_list(1, -2), 0);
    ASSERT_NE(text_gadget(5, 0, 0, 10, 10, u"again"), 0);
    gadget_close_list();
    EXPECT_EQ(GetParent(hwnd(5)), box);
    const HWND inner = hwnd(2);
    expect_all_freed({box, inner, hwnd(4)});
}

// A holder that cannot become the current list is no holder: the caller's
// gadget_close_list would close the list around it.
TEST_F(GadgetTest, AHolderWhoseListCannotNestIsNotMade) {
    for (const Holder& holder : kHolders) {
        SCOPED_TRACE(holder.name);
        // Made once first, so that the class and the number's slot need no memory below.
        ASSERT_NE(holder.make(), 0);
        gadget_close_list();
        gadget_free(1);
        int refused = 0;
        std::intptr_t made = 0;
        {
            const NestingRefused no_memory;
            made = holder.make();
            refused = no_memory.refused();
        }
        EXPECT_GT(refused, 0);
        EXPECT_EQ(made, 0);
        EXPECT_EQ(live_gadgets(), 0);
        EXPECT_EQ(GetWindow(window, GW_CHILD), nullptr);
        EXPECT_EQ(current_gadget_list(), window);
        gadget_free(PB_Any);
    }
}

TEST_F(GadgetTest, AHolderWhoseListCannotNestDoesNotOpen) {
    for (const Holder& holder : kHolders) {
        SCOPED_TRACE(holder.name);
        ASSERT_NE(holder.make(), 0);
        if (holder.item >= 0) {
            ASSERT_EQ(gadget_add_item(1, -1, u"page"), 0);
        }
        gadget_close_list();
        ASSERT_EQ(current_gadget_list(), window);
        int refused = 0;
        std::intptr_t opened = 0;
        {
            const NestingRefused no_memory;
            opened = gadget_open_list(1, holder.item);
            refused = no_memory.refused();
        }
        EXPECT_GT(refused, 0);
        EXPECT_EQ(opened, 0);
        EXPECT_EQ(current_gadget_list(), window);
        gadget_free(PB_Any);
    }
}

TEST_F(GadgetTest, AContainerReportsItsResizingEvenWhenEventsAreSuppressed) {
    ASSERT_NE(container_gadget(1, 0, 0, 100, 100), 0);
    gadget_close_list();
    EXPECT_EQ(ex_style_of(hwnd(1)) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE), 0u);
    pump();
    {
        EventSuppression quiet;
        gadget_resize(1, 0, 0, 150, 80);
    }
    EXPECT_EQ(pump(), (GadgetEvents{{1, ET_LEFT_CLICK}, {1, ET_RESIZE}}));
    gadget_set_colour(1, BACK_COLOR, 0x00FF00);
    EXPECT_EQ(gadget_get_colour(1, BACK_COLOR), 0x00FF00);
    EXPECT_EQ(gadget_get_colour(1, FRONT_COLOR), -1);
    gadget_set_colour(1, FRONT_COLOR, 0x0000FF);  // not kept: nothing shows it
    EXPECT_EQ(gadget_get_colour(1, FRONT_COLOR), -1);
    // The back colour paints the inside.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 20);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(SendMessageW(hwnd(1), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    EXPECT_EQ(GetPixel(dc, 5, 5), 0x00FF00u);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    const std::size_t brushes = cached_brush_count();
    gadget_free(1);
    EXPECT_EQ(cached_brush_count(), brushes - 1);
}

TEST_F(GadgetTest, ContainerBordersComeFromItsFlags) {
    ASSERT_NE(container_gadget(1, 0, 0, 50, 50, PB_Container_Flat), 0);
    ASSERT_NE(container_gadget(2, 0, 0, 50, 50, PB_Container_Raised), 0);
    ASSERT_NE(container_gadget(3, 0, 0, 50, 50, PB_Container_Single), 0);
    EXPECT_TRUE(style_of(hwnd(1)) & WS_BORDER);
    EXPECT_TRUE(style_of(hwnd(2)) & WS_DLGFRAME);
    EXPECT_TRUE(ex_style_of(hwnd(3)) & WS_EX_STATICEDGE);
    // Each nests in the one before.
    EXPECT_EQ(GetParent(hwnd(3)), hwnd(2));
    EXPECT_EQ(GetParent(hwnd(2)), hwnd(1));
    gadget_close_list();
    gadget_close_list();
    gadget_close_list();
    EXPECT_EQ(current_gadget_list(), window);
}

}  // namespace

namespace {

// Three tabs with a button each (1x on page x), the panel closed again.
void three_tabs(std::intptr_t panel) {
    for (int i = 0; i < 3; ++i) {
        const char16_t names[3][6] = {u"one", u"two", u"three"};
        EXPECT_EQ(gadget_add_item(panel, -1, names[i]), i);
        ASSERT_NE(button_gadget(10 + i, 5, 5, 60, 24, u"on page"), 0);
    }
    gadget_close_list();
}

// Pages report their first placement (ET_RESIZE); the tests look at the rest.
GadgetEvents without_resizes(GadgetEvents events) {
    std::erase_if(events, [](const GadgetEvent& e) { return e.type == ET_RESIZE; });
    return events;
}

HWND page_of(HWND tab, int index) {
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    SendMessageW(tab, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return reinterpret_cast<HWND>(item.lParam);
}

TEST_F(GadgetTest, APanelPutsEachTabsGadgetsOnItsOwnPage) {
    ASSERT_NE(panel_gadget(1, 0, 0, 300, 200), 0);
    const HWND tab = hwnd(1);
    EXPECT_EQ(class_of(tab), L"SysTabControl32");
    EXPECT_EQ(style_of(tab) & 0xFBFF0000u, 0x50030000u);  // the control may clip its siblings
    EXPECT_TRUE(ex_style_of(tab) & WS_EX_TRANSPARENT);
    EXPECT_EQ(current_gadget_list(), tab);
    EXPECT_EQ(gadget_get_attribute(1, PB_Panel_ItemWidth), 0);  // no tab yet
    three_tabs(1);
    EXPECT_EQ(current_gadget_list(), window);
    EXPECT_EQ(gadget_count_items(1), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(GetParent(hwnd(10 + i)), page_of(tab, i));
        EXPECT_EQ(GetParent(page_of(tab, i)), tab);
    }
    EXPECT_EQ(gadget_get_state(1), 0);
    EXPECT_TRUE(IsWindowVisible(page_of(tab, 0)) || !IsWindowVisible(window));
    EXPECT_TRUE(GetWindowLongW(page_of(tab, 0), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongW(page_of(tab, 1), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(gadget_get_item_text(1, 2), u"three");
    EXPECT_EQ(gadget_get_text(1), u"one");

    // The page lies inside the tab control, below the strip.
    RECT page{};
    GetClientRect(page_of(tab, 0), &page);
    EXPECT_EQ(gadget_get_attribute(1, PB_Panel_ItemWidth), page.right);
    EXPECT_EQ(gadget_get_attribute(1, PB_Panel_ItemHeight), page.bottom);
    EXPECT_GT(page.right, 250);
    const std::int32_t strip = gadget_get_attribute(1, PB_Panel_TabHeight);
    EXPECT_GT(strip, 10);
    EXPECT_LT(page.bottom, 200 - strip / 2);
    const RECT placed = control_rect(page_of(tab, 0));
    EXPECT_GE(placed.top, strip / 2);

    // Reopening a page adds to it.
    EXPECT_NE(gadget_open_list(1, 1), 0);
    ASSERT_NE(text_gadget(20, 0, 0, 10, 10, u"later"), 0);
    gadget_close_list();
    EXPECT_EQ(GetParent(hwnd(20)), page_of(tab, 1));
    EXPECT_EQ(current_gadget_list(), window);
    gadget_set_item_data(1, 2, 99);
    EXPECT_EQ(gadget_get_item_data(1, 2), 99);
}

TEST_F(GadgetTest, ClickingATabShowsItsPageAndReportsTheChange) {
    ASSERT_NE(panel_gadget(1, 0, 0, 300, 200), 0);
    three_tabs(1);
    const HWND tab = hwnd(1);
    pump();
    RECT second{};
    SendMessageW(tab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    post_mouse(tab, WM_LBUTTONDOWN, (second.left + second.right) / 2, (second.top + second.bottom) / 2, MK_LBUTTON);
    post_mouse(tab, WM_LBUTTONUP, (second.left + second.right) / 2, (second.top + second.bottom) / 2);
    EXPECT_EQ(without_resizes(pump()), (GadgetEvents{{1, ET_CHANGE}}));
    EXPECT_EQ(gadget_get_state(1), 1);
    EXPECT_FALSE(GetWindowLongW(page_of(tab, 0), GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongW(page_of(tab, 1), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(IsWindowEnabled(page_of(tab, 0)));
    // The program's own choice shows the page without an event.
    gadget_set_state(1, 2);
    EXPECT_EQ(without_resizes(pump()), GadgetEvents{});
    EXPECT_TRUE(GetWindowLongW(page_of(tab, 2), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongW(page_of(tab, 1), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(GadgetTest, RemovingTabsSelectsANeighbourAndClearingLeavesNoPage) {
    ASSERT_NE(panel_gadget(1, 0, 0, 300, 200), 0);
    three_tabs(1);
    const HWND tab = hwnd(1);
    const HWND pages[3] = {page_of(tab, 0), page_of(tab, 1), page_of(tab, 2)};
    gadget_set_state(1, 1);
    gadget_remove_item(1, 1);  // removing tab 1 selects tab 0 and shows its page
    EXPECT_FALSE(IsWindow(pages[1]));
    EXPECT_FALSE(IsWindow(hwnd(11)));
    EXPECT_EQ(gadget_count_items(1), 2);
    EXPECT_EQ(gadget_get_state(1), 0);
    EXPECT_TRUE(GetWindowLongW(pages[0], GWL_STYLE) & WS_VISIBLE);
    gadget_remove_item(1, 0);  // removing tab 0 selects the tab after it
    EXPECT_EQ(gadget_count_items(1), 1);
    EXPECT_EQ(gadget_get_state(1), 0);
    EXPECT_EQ(gadget_get_item_text(1, 0), u"three");
    EXPECT_TRUE(GetWindowLongW(pages[2], GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(IsWindow(pages[0]));
    gadget_add_item(1, -1, u"four");
    gadget_close_list();
    gadget_clear_items(1);
    EXPECT_EQ(gadget_count_items(1), 0);
    EXPECT_FALSE(IsWindow(pages[2]));
    EXPECT_EQ(GetWindow(tab, GW_CHILD), nullptr);  // no page is left
    EXPECT_EQ(gadget_get_attribute(1, PB_Panel_TabHeight), 0);
    EXPECT_EQ(without_resizes(pump()), GadgetEvents{});
    expect_all_freed({tab});
}

TEST_F(GadgetTest, AScrollAreaScrollsItsInnerAreaAndReportsIt) {
    ASSERT_NE(scrollarea_gadget(1, 0, 0, 200, 150, 600, 400, 15), 0);
    const HWND outer = hwnd(1);
    EXPECT_EQ(class_of(outer), L"RivoDuvidoDave");
    EXPECT_EQ(style_of(outer) & 0xFFFF0000u, 0x50300000u);
    EXPECT_TRUE(ex_style_of(outer) & WS_EX_CLIENTEDGE);
    const HWND inner = static_cast<HWND>(current_gadget_list());
    EXPECT_EQ(GetParent(inner), outer);
    EXPECT_EQ(class_of(inner), L"DoroDadoviVizuDoviz");
    ASSERT_NE(button_gadget(2, 500, 300, 80, 24, u"far"), 0);
    gadget_close_list();
    EXPECT_EQ(GetParent(hwnd(2)), inner);
    EXPECT_EQ(gadget_get_attribute(1, PB_ScrollArea_InnerWidth), 600);
    EXPECT_EQ(gadget_get_attribute(1, PB_ScrollArea_ScrollStep), 15);
    pump();

    // A click on the lower arrow of the vertical bar scrolls one step.
    RECT window_rect{}, client{};
    GetWindowRect(outer, &window_rect);
    GetClientRect(outer, &client);
    POINT arrow{client.right + GetSystemMetrics(SM_CXVSCROLL) / 2, client.bottom - 4};
    ClientToScreen(outer, &arrow);
    PostMessageW(outer, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(arrow.x, arrow.y));
    PostMessageW(outer, WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(has_event(pump(), {1, ET_LEFT_CLICK}));
    EXPECT_EQ(gadget_get_attribute(1, PB_ScrollArea_Y), 15);
    EXPECT_EQ(control_rect(inner).top, -15);

    gadget_set_attribute(1, PB_ScrollArea_X, 100);
    EXPECT_EQ(gadget_get_attribute(1, PB_ScrollArea_X), 100);
    EXPECT_EQ(control_rect(inner).left, -100);
    gadget_set_attribute(1, PB_ScrollArea_X, 100000);  // kept within the range
    EXPECT_EQ(gadget_get_attribute(1, PB_ScrollArea_X), 600 - client.right);
    gadget_set_attribute(1, PB_ScrollArea_InnerHeight, 900);
    EXPECT_EQ(control_rect(inner).bottom - control_rect(inner).top, 900);
    pump();
    gadget_resize(1, kIgnore, kIgnore, 250, 160);
    EXPECT_TRUE(has_event(pump(), {1, ET_RESIZE}));

    // The largest step a program may set: two notches up from the bottom
    // reach the top, they do not wrap round to a step down.
    gadget_set_attribute(1, PB_ScrollArea_ScrollStep, INT32_MAX);
    gadget_set_attribute(1, PB_ScrollArea_Y, 100000);
    const std::int32_t bottom = gadget_get_attribute(1, PB_ScrollArea_Y);
    EXPECT_GT(bottom, 0);
    SendMessageW(outer, WM_MOUSEWHEEL, MAKEWPARAM(0, 2 * WHEEL_DELTA), 0);
    EXPECT_EQ(gadget_get_attribute(1, PB_ScrollArea_Y), 0);
    SendMessageW(outer, WM_MOUSEWHEEL, MAKEWPARAM(0, -2 * WHEEL_DELTA), 0);
    EXPECT_EQ(gadget_get_attribute(1, PB_ScrollArea_Y), bottom);
    pump();
    expect_all_freed({outer, inner});
}

TEST_F(GadgetTest, AScrollAreaCentresASmallerInnerArea) {
    ASSERT_NE(scrollarea_gadget(1, 0, 0, 300, 200, 100, 50, 10, PB_ScrollArea_Center | PB_ScrollArea_BorderLess), 0);
    const HWND inner = static_cast<HWND>(current_gadget_list());
    gadget_close_list();
    EXPECT_FALSE(ex_style_of(hwnd(1)) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
    RECT client{};
    GetClientRect(hwnd(1), &client);
    const RECT r = control_rect(inner);
    EXPECT_EQ(r.left, (client.right - 100) / 2);
    EXPECT_EQ(r.top, (client.bottom - 50) / 2);
}

TEST_F(GadgetTest, DraggingASplitterBarSizesBothPanes) {
    const std::intptr_t left = container_gadget(PB_Any, 0, 0, 0, 0);
    gadget_close_list();
    const std::intptr_t right = container_gadget(PB_Any, 0, 0, 0, 0);
    gadget_close_list();
    ASSERT_NE(splitter_gadget(1, 0, 0, 304, 100, left, right, PB_Splitter_Vertical), 0);
    const HWND bar = hwnd(1);
    EXPECT_EQ(class_of(bar), L"VezeDuvuduro");
    EXPECT_EQ(GetParent(hwnd(left)), bar);
    EXPECT_EQ(gadget_get_attribute(1, PB_Splitter_FirstGadget), static_cast<std::int32_t>(left));
    EXPECT_EQ(gadget_get_attribute(1, PB_Splitter_SecondGadget), static_cast<std::int32_t>(right));
    EXPECT_EQ(gadget_get_state(1), 150);
    EXPECT_EQ(gadget_width(left), 150);
    EXPECT_EQ(gadget_width(right), 150);
    EXPECT_EQ(control_rect(hwnd(right)).left, 154);
    pump();

    post_mouse(bar, WM_LBUTTONDOWN, 152, 50, MK_LBUTTON);
    post_mouse(bar, WM_MOUSEMOVE, 102, 50, MK_LBUTTON);
    post_mouse(bar, WM_LBUTTONUP, 102, 50);
    const GadgetEvents events = pump();
    EXPECT_TRUE(has_event(events, {1, ET_LEFT_CLICK}));
    EXPECT_TRUE(has_event(events, {left, ET_RESIZE}));  // the panes report their new sizes
    EXPECT_EQ(gadget_get_state(1), 100);
    EXPECT_EQ(gadget_width(left), 100);
    EXPECT_EQ(gadget_width(right), 200);
    EXPECT_EQ(gadget_height(right), 100);

    // The minimums hold against the drag and the program.
    gadget_set_attribute(1, PB_Splitter_SecondMinimumSize, 250);
    EXPECT_EQ(gadget_get_state(1), 50);
    gadget_set_attribute(1, PB_Splitter_FirstMinimumSize, 80);
    gadget_set_state(1, 10);
    EXPECT_EQ(gadget_get_state(1), 80);
    // Without fixed panes a resize keeps the proportion.
    gadget_set_attribute(1, PB_Splitter_FirstMinimumSize, 0);
    gadget_set_attribute(1, PB_Splitter_SecondMinimumSize, 0);
    gadget_set_state(1, 100);
    gadget_resize(1, kIgnore, kIgnore, 608, kIgnore);
    EXPECT_EQ(gadget_get_state(1), 200);
    expect_all_freed({bar, hwnd(left), hwnd(right)});
}

TEST_F(GadgetTest, ASplitterWithAFixedFirstPaneKeepsItAndNeedsTwoGadgets) {
    const std::intptr_t top = container_gadget(PB_Any, 0, 0, 0, 0);
    gadget_close_list();
    const std::intptr_t bottom = container_gadget(PB_Any, 0, 0, 0, 0);
    gadget_close_list();
    EXPECT_EQ(splitter_gadget(1, 0, 0, 100, 100, top, top), 0);
    EXPECT_EQ(splitter_gadget(1, 0, 0, 100, 100, top, 12345), 0);
    EXPECT_EQ(live_gadgets(), 2);
    ASSERT_NE(splitter_gadget(1, 0, 0, 100, 207, top, bottom, PB_Splitter_FirstFixed | PB_Splitter_Separator), 0);
    EXPECT_EQ(gadget_get_state(1), 100);
    EXPECT_EQ(control_rect(hwnd(bottom)).top, 107);
    gadget_resize(1, kIgnore, kIgnore, kIgnore, 307);
    EXPECT_EQ(gadget_get_state(1), 100);
    EXPECT_EQ(gadget_height(bottom), 200);
}

}  // namespace
