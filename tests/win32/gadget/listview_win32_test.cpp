// The list view with a real list box: selection in both modes, item texts and
// data, and clicks, drags and right clicks from posted mouse messages.
#include <algorithm>

#include "gadget/input_kinds.h"
#include "gadget_test_support_win32.h"

namespace {

class ListViewTest : public GadgetTest {
protected:
    void make(std::uint32_t flags, int items = 5) {
        ASSERT_NE(listview_gadget(1, 0, 0, 200, 200, flags), 0);
        list = hwnd(1);
        for (int i = 0; i < items; ++i) {
            const std::u16string text = u"item " + std::u16string(1, static_cast<char16_t>(u'0' + i));
            gadget_add_item(1, -1, text.c_str());
        }
        pump();
    }
    POINT centre_of(int item) const {
        RECT r{};
        SendMessageW(list, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&r));
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    std::vector<int> selected() const {
        std::vector<int> out;
        for (int i = 0; i < gadget_count_items(1); ++i)
            if (gadget_get_item_state(1, i) == 1)
                out.push_back(i);
        return out;
    }
    HWND list = nullptr;
};

TEST_F(ListViewTest, MultiSelectionState) {
    make(PB_ListView_MultiSelect);
    // The platform drops the scroll bar bits while nothing needs scrolling.
    constexpr LONG kKept = 0x50030141 | LBS_EXTENDEDSEL;
    EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & kKept, kKept);
    EXPECT_TRUE(GetWindowLongW(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(gadget_get_state(1), -1);
    SendMessageW(list, LB_SETSEL, TRUE, 3);
    SendMessageW(list, LB_SETSEL, TRUE, 1);
    EXPECT_EQ(gadget_get_state(1), 1);
    EXPECT_EQ(gadget_get_item_state(1, 3), 1);
    EXPECT_EQ(gadget_get_item_state(1, 2), 0);
    EXPECT_EQ(gadget_get_item_state(1, 9), -1);
    gadget_set_state(1, -1);
    EXPECT_EQ(selected(), std::vector<int>{});
    gadget_set_state(1, 2);
    EXPECT_EQ(selected(), std::vector<int>{2});

    // Set text adds the matching item (any case) to the selection; no match changes nothing.
    gadget_set_text(1, u"ITEM 4");
    EXPECT_EQ(selected(), (std::vector<int>{2, 4}));
    gadget_set_text(1, u"absent");
    EXPECT_EQ(selected(), (std::vector<int>{2, 4}));
    EXPECT_EQ(pump(), GadgetEvents{});

    // -1 clears a list of one item too.
    gadget_free(1);
    make(PB_ListView_MultiSelect, 1);
    gadget_set_state(1, 0);
    gadget_set_state(1, -1);
    EXPECT_EQ(selected(), std::vector<int>{});
}

TEST_F(ListViewTest, ClickSelectionIsMultiSelectionToo) {
    make(PB_ListView_ClickSelect);
    SendMessageW(list, LB_SETSEL, TRUE, 4);
    SendMessageW(list, LB_SETSEL, TRUE, 2);
    EXPECT_EQ(gadget_get_state(1), 2);
    gadget_set_state(1, 0);
    EXPECT_EQ(selected(), std::vector<int>{0});
    // A press on a selected item is armed and keeps the selection.
    const POINT p = centre_of(0);
    post_mouse(list, WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
    post_mouse(list, WM_LBUTTONUP, p.x, p.y);
    EXPECT_EQ(pump(), (GadgetEvents{{1, ET_LEFT_CLICK}}));
    EXPECT_EQ(selected(), std::vector<int>{0});
}

TEST_F(ListViewTest, SingleSelectionState) {
    make(0);
    EXPECT_EQ(gadget_get_state(1), -1);
    gadget_set_state(1, 3);
    EXPECT_EQ(gadget_get_state(1), 3);
    EXPECT_EQ(selected(), std::vector<int>{3});
    gadget_set_text(1, u"item 1");
    EXPECT_EQ(gadget_get_state(1), 1);
    gadget_set_text(1, u"absent");
    EXPECT_EQ(gadget_get_state(1), -1);
    gadget_set_state(1, -1);
    EXPECT_EQ(selected(), std::vector<int>{});
    EXPECT_EQ(pump(), GadgetEvents{});
}

TEST_F(ListViewTest, ItemsTextsAndData) {
    make(PB_ListView_MultiSelect, 3);
    EXPECT_EQ(gadget_add_item(1, 0, u"first"), 0);
    EXPECT_EQ(gadget_add_item(1, -1, nullptr), 0);
    EXPECT_EQ(gadget_count_items(1), 5);
    EXPECT_EQ(gadget_get_item_text(1, 0), u"first");
    EXPECT_EQ(gadget_get_item_text(1, 1), u"item 0");
    EXPECT_EQ(gadget_get_item_text(1, 4), u"");
    EXPECT_EQ(gadget_get_item_text(1, 5), u"");

    SendMessageW(list, LB_SETITEMDATA, 2, 0x5eed);
    SendMessageW(list, LB_SETSEL, TRUE, 2);
    gadget_set_item_text(1, 2, u"renamed \u00e9");
    EXPECT_EQ(gadget_get_item_text(1, 2), u"renamed \u00e9");
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 2, 0), 0x5eed);
    EXPECT_EQ(gadget_get_item_state(1, 2), 0);
    EXPECT_EQ(gadget_count_items(1), 5);
    gadget_set_item_text(1, 9, u"nowhere");
    EXPECT_EQ(gadget_count_items(1), 5);

    gadget_clear_items(1);
    EXPECT_EQ(gadget_count_items(1), 0);
    gadget_set_state(1, -1);  // nothing to deselect
    EXPECT_EQ(pump(), GadgetEvents{});
}

// A batch goes after the items already there, in order, without events; null
// is an empty text. Another kind takes the texts one by one.
TEST_F(ListViewTest, ABatchOfItemsGoesAfterTheOthersInOrder) {
    make(PB_ListView_MultiSelect, 2);
    const char16_t* batch[] = {u"b1", nullptr, u"b3 \u00e9"};
    gadget_add_items(1, batch);
    gadget_add_items(1, {});
    ASSERT_EQ(gadget_count_items(1), 5);
    EXPECT_EQ(gadget_get_item_text(1, 1), u"item 1");
    EXPECT_EQ(gadget_get_item_text(1, 2), u"b1");
    EXPECT_EQ(gadget_get_item_text(1, 3), u"");
    EXPECT_EQ(gadget_get_item_text(1, 4), u"b3 \u00e9");
    EXPECT_EQ(pump(), GadgetEvents{});

    ASSERT_NE(combobox_gadget(2, 0, 0, 120, 20), 0);
    gadget_add_items(2, batch);
    ASSERT_EQ(gadget_count_items(2), 3);
    EXPECT_EQ(gadget_get_item_text(2, 2), u"b3 \u00e9");
    gadget_add_items(99, batch);  // no such gadget: nothing happens
}

// How wide the list draws a text, in its own font.
LONG text_width(HWND list, const std::u16string& text) {
    const HDC dc = GetDC(list);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(list, dc);
    return size.cx;
}

TEST_F(ListViewTest, ItemsWiderThanTheListCanBeScrolledTo) {
    make(PB_ListView_MultiSelect, 2);
    const auto extent = [&] { return SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0); };
    EXPECT_EQ(extent(), 0);  // short items: no horizontal scroll bar

    const std::u16string deep = u"C:\\" + std::u16string(40, u'W') + u"\\end.bin";
    gadget_add_item(1, -1, deep.c_str());
    EXPECT_GE(extent(), text_width(list, deep));
    EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_HSCROLL);

    // In a batch, the widest is found among thousands of shorter ones.
    gadget_clear_items(1);
    EXPECT_EQ(extent(), 0);
    std::vector<std::u16string> texts(3000, u"short");
    texts[1234] = deep + u"\\deeper";
    std::vector<const char16_t*> batch;
    for (const std::u16string& text : texts)
        batch.push_back(text.c_str());
    gadget_add_items(1, batch);
    EXPECT_GE(extent(), text_width(list, texts[1234]));

    gadget_set_item_text(1, 0, (texts[1234] + u"\\deepest").c_str());
    EXPECT_GE(extent(), text_width(list, texts[1234] + u"\\deepest"));
}

TEST_F(ListViewTest, PressOnASelectedItemKeepsTheSelectionAndClicks) {
    make(PB_ListView_MultiSelect);
    SendMessageW(list, LB_SETSEL, TRUE, 1);
    SendMessageW(list, LB_SETSEL, TRUE, 3);
    const POINT p = centre_of(1);
    post_mouse(list, WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
    pump();
    EXPECT_EQ(GetCapture(), list);
    post_mouse(list, WM_LBUTTONUP, p.x, p.y);
    EXPECT_EQ(pump(), (GadgetEvents{{1, ET_LEFT_CLICK}}));
    EXPECT_EQ(selected(), (std::vector<int>{1, 3}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(GetPropW(list, L"PB_MouseDown"), nullptr);
}

TEST_F(ListViewTest, PressOnAnUnselectedItemSelectsItAndCannotDrag) {
    make(PB_ListView_MultiSelect);
    SendMessageW(list, LB_SETSEL, TRUE, 3);
    const POINT p = centre_of(2);
    post_mouse(list, WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
    post_mouse(list, WM_MOUSEMOVE, p.x + 40, p.y, MK_LBUTTON);
    post_mouse(list, WM_LBUTTONUP, p.x + 40, p.y);
    const GadgetEvents events = pump();
    EXPECT_EQ(selected(), std::vector<int>{2});
    ASSERT_FALSE(events.empty());
    for (const GadgetEvent& e : events)
        EXPECT_EQ(e, (GadgetEvent{1, ET_LEFT_CLICK}));
}

TEST_F(ListViewTest, MovingMoreThanTheThresholdStartsADrag) {
    make(PB_ListView_MultiSelect);
    SendMessageW(list, LB_SETSEL, TRUE, 2);
    const int cx = GetSystemMetrics(SM_CXDRAG), cy = GetSystemMetrics(SM_CYDRAG);
    const POINT p = centre_of(2);
    post_mouse(list, WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
    post_mouse(list, WM_MOUSEMOVE, p.x + cx, p.y - cy, MK_LBUTTON);  // exactly the threshold
    EXPECT_EQ(pump(), GadgetEvents{});
    post_mouse(list, WM_MOUSEMOVE, p.x, p.y + cy + 1, MK_LBUTTON);
    EXPECT_EQ(pump(), (GadgetEvents{{1, ET_DRAG_START}}));
    EXPECT_EQ(GetCapture(), nullptr);
    post_mouse(list, WM_LBUTTONUP, p.x, p.y + cy + 1);
    EXPECT_EQ(pump(), GadgetEvents{});  // a drag is no click
    EXPECT_EQ(selected(), std::vector<int>{2});

    // The horizontal threshold alike, from a press at the very corner (0, 0)
    // in single selection, where the press selects as usual.
    gadget_free(1);
    make(0);
    post_mouse(list, WM_LBUTTONDOWN, 0, 0, MK_LBUTTON);
    post_mouse(list, WM_MOUSEMOVE, cx, 0, MK_LBUTTON);
    const auto drags = [](const GadgetEvents& events) {
        return std::count(events.begin(), events.end(), GadgetEvent{1, ET_DRAG_START});
    };
    EXPECT_EQ(drags(pump()), 0);
    EXPECT_EQ(gadget_get_state(1), 0);
    post_mouse(list, WM_MOUSEMOVE, cx + 1, 0, MK_LBUTTON);
    EXPECT_EQ(drags(pump()), 1);
    post_mouse(list, WM_LBUTTONUP, cx + 1, 0);
    EXPECT_EQ(drags(pump()), 0);
}

TEST_F(ListViewTest, ModifiersAndLostCaptureNeverArm) {
    make(PB_ListView_MultiSelect);
    SendMessageW(list, LB_SETSEL, TRUE, 2);
    const POINT p = centre_of(2);
    post_mouse(list, WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON | MK_CONTROL);
    post_mouse(list, WM_MOUSEMOVE, p.x + 30, p.y, MK_LBUTTON | MK_CONTROL);
    post_mouse(list, WM_LBUTTONUP, p.x + 30, p.y, MK_CONTROL);
    for (const GadgetEvent& e : pump())
        EXPECT_NE(e.type, ET_DRAG_START);

    gadget_set_state(1, 2);
    post_mouse(list, WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
    pump();
    SetCapture(window);  // something else takes the mouse mid-press
    post_mouse(list, WM_MOUSEMOVE, p.x + 30, p.y, 0);
    EXPECT_EQ(pump(), GadgetEvents{});
    ReleaseCapture();
}

int g_left_clicks = 0;
int g_selected_at_click = 0;
void count_left_click() {
    ++g_left_clicks;
    g_selected_at_click = static_cast<int>(SendMessageW(static_cast<HWND>(gadget_handle(1)), LB_GETSELCOUNT, 0, 0));
}

// The list box reports a selection change from the same press and release
// that the drag detection reports as a click: a bound callback must still
// run once per click, in either selection mode, and once per arrow key.
TEST_F(ListViewTest, AClickRunsABoundClickCallbackOnce) {
    for (const std::uint32_t flags : {0u, static_cast<std::uint32_t>(PB_ListView_MultiSelect)}) {
        SCOPED_TRACE(flags);
        make(flags);
        gadget_bind_event(1, count_left_click, ET_LEFT_CLICK);
        g_left_clicks = 0;
        for (const int item : {2, 2, 4}) {  // an unselected item, then the same one again
            const POINT p = centre_of(item);
            post_mouse(list, WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
            post_mouse(list, WM_LBUTTONUP, p.x, p.y);
            pump();
        }
        EXPECT_EQ(g_left_clicks, 3);
        SetFocus(list);
        PostMessageW(list, WM_KEYDOWN, VK_UP, 0);
        pump();
        EXPECT_EQ(g_left_clicks, 4);
        EXPECT_TRUE(gadget_unbind_event(1, count_left_click, ET_LEFT_CLICK));
        gadget_free(1);
    }
}

// A press dragged over more rows: the last click reported shows them all.
// (Wine's list box reports such a selection once, at the release; a list box
// that reports the press at once gets one more click at the end.)
TEST_F(ListViewTest, ASelectionDraggedOverRowsIsReportedWhenItEnds) {
    make(PB_ListView_MultiSelect);
    gadget_bind_event(1, count_left_click, ET_LEFT_CLICK);
    g_left_clicks = 0;
    const POINT from = centre_of(1), to = centre_of(3);
    post_mouse(list, WM_LBUTTONDOWN, from.x, from.y, MK_LBUTTON);
    post_mouse(list, WM_MOUSEMOVE, to.x, to.y, MK_LBUTTON);
    post_mouse(list, WM_LBUTTONUP, to.x, to.y);
    pump();
    EXPECT_EQ(selected(), (std::vector<int>{1, 2, 3}));
    EXPECT_GE(g_left_clicks, 1);
    EXPECT_LE(g_left_clicks, 2);
    EXPECT_EQ(g_selected_at_click, 3);
}

TEST_F(ListViewTest, RightReleaseAndDoubleClickAreReported) {
    make(0, 2);
    post_mouse(list, WM_RBUTTONUP, 100, 150);  // below the last item
    EXPECT_EQ(pump(), (GadgetEvents{{1, ET_RIGHT_CLICK}}));
    const POINT p = centre_of(1);
    post_mouse(list, WM_RBUTTONUP, p.x, p.y);
    EXPECT_EQ(pump(), (GadgetEvents{{1, ET_RIGHT_CLICK}}));
    post_mouse(list, WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
    post_mouse(list, WM_LBUTTONUP, p.x, p.y);
    post_mouse(list, WM_LBUTTONDBLCLK, p.x, p.y, MK_LBUTTON);
    post_mouse(list, WM_LBUTTONUP, p.x, p.y);
    const GadgetEvents events = pump();
    EXPECT_NE(std::find(events.begin(), events.end(), GadgetEvent{1, ET_LEFT_DOUBLE_CLICK}), events.end());
}

}  // namespace
