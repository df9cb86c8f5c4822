// Frames and containers on real controls: their classes and edges, the gadget
// list a container opens, and the events of its resizing.
#include "gadget/container_kinds.h"
#include "gadget/input_kinds.h"
#include "gadget_test_support_win32.h"

namespace {

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
