// Image, button image and canvas gadgets on real controls with real pictures;
// canvas events from posted mouse and key messages.
#include "gadget/gadget_kinds.h"
#include "gadget/image_kinds.h"
#include "gadget_test_support_win32.h"
#include "support/import_slot_win32.h"

namespace {

HBITMAP solid_bitmap(int width, int height, COLORREF colour) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT r{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

SIZE bitmap_size(HANDLE bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

TEST_F(GadgetTest, AnImageShowsItsOwnCopyAndReportsMouseActions) {
    HBITMAP picture = solid_bitmap(30, 20, RGB(255, 255, 0));
    ASSERT_NE(image_gadget(1, 0, 0, 60, 50, reinterpret_cast<std::uintptr_t>(picture), PB_Image_Border), 0);
    DeleteObject(picture);  // the gadget's copy stays
    EXPECT_EQ(class_of(hwnd(1)), L"Static");
    EXPECT_EQ(style_of(hwnd(1)) & 0xFFFF0100u, 0x50000100u);
    EXPECT_TRUE(ex_style_of(hwnd(1)) & WS_EX_CLIENTEDGE);
    const auto shown = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(gadget_get_state(1)));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(bitmap_size(shown).cx, 30);
    EXPECT_EQ(gadget_width(1), 60);  // the control keeps the size it was given
    std::int32_t w, h;
    gadget_required_size(1, w, h);
    EXPECT_EQ(w, 30 + 2 * GetSystemMetrics(SM_CXEDGE));
    EXPECT_EQ(h, 20 + 2 * GetSystemMetrics(SM_CYEDGE));

    HBITMAP other = solid_bitmap(12, 8, RGB(0, 0, 255));
    gadget_set_state(1, static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(other)));
    DeleteObject(other);
    EXPECT_EQ(bitmap_size(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(gadget_get_state(1)))).cx, 12);
    EXPECT_EQ(GetObjectType(shown), 0u);  // the replaced copy is gone

    click(hwnd(1));
    post_mouse(hwnd(1), WM_LBUTTONDBLCLK, 5, 5, MK_LBUTTON);
    post_mouse(hwnd(1), WM_LBUTTONUP, 5, 5);
    post_mouse(hwnd(1), WM_RBUTTONUP, 5, 5);
    post_mouse(hwnd(1), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    post_mouse(hwnd(1), WM_MOUSEMOVE, 30, 30, MK_LBUTTON);
    post_mouse(hwnd(1), WM_LBUTTONUP, 30, 30);
    EXPECT_EQ(pump(),
              (GadgetEvents{{1, ET_LEFT_CLICK}, {1, ET_LEFT_DOUBLE_CLICK}, {1, ET_RIGHT_CLICK}, {1, ET_DRAG_START}}));
    expect_all_freed({hwnd(1)});
}

TEST_F(GadgetTest, AToggleButtonImageShowsItsPressedImageWhileDown) {
    HBITMAP up = solid_bitmap(16, 16, RGB(255, 0, 0)), down = solid_bitmap(20, 20, RGB(0, 255, 0));
    ASSERT_NE(buttonimage_gadget(1, 0, 0, 40, 40, reinterpret_cast<std::uintptr_t>(up), PB_Button_Toggle), 0);
    DeleteObject(up);
    EXPECT_EQ(class_of(hwnd(1)), L"Button");
    EXPECT_EQ(style_of(hwnd(1)) & 0xFFFF0000u, 0x50010000u);
    EXPECT_TRUE(style_of(hwnd(1)) & BS_BITMAP);
    gadget_set_attribute(1, PB_Button_PressedImage, static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(down)));
    DeleteObject(down);
    const auto shown = [&] {
        return bitmap_size(reinterpret_cast<HANDLE>(SendMessageW(hwnd(1), BM_GETIMAGE, IMAGE_BITMAP, 0))).cx;
    };
    EXPECT_EQ(shown(), 16);
    click(hwnd(1));
    EXPECT_EQ(pump(), (GadgetEvents{{1, ET_LEFT_CLICK}}));
    EXPECT_EQ(gadget_get_state(1), 1);
    EXPECT_EQ(shown(), 20);
    gadget_set_state(1, 0);
    EXPECT_EQ(shown(), 16);
    std::int32_t w, h;
    gadget_required_size(1, w, h);
    EXPECT_GT(w, 16);
    EXPECT_GT(h, 16);
}

// Fills the whole drawing of the canvas with one colour.
bool fill_canvas(std::intptr_t canvas, COLORREF colour) {
    return canvas_draw(
        canvas,
        [](void* dc, std::int32_t width, std::int32_t height, void* user) {
            RECT r{0, 0, width, height};
            HBRUSH brush = CreateSolidBrush(*static_cast<COLORREF*>(user));
            FillRect(static_cast<HDC>(dc), &r, brush);
            DeleteObject(brush);
        },
        &colour);
}

TEST_F(GadgetTest, ACanvasKeepsItsDrawingAndReportsMouseAndKeys) {
    ASSERT_NE(canvas_gadget(1, 0, 0, 100, 80, PB_Canvas_Keyboard | PB_Canvas_Border), 0);
    const HWND canvas = hwnd(1);
    EXPECT_EQ(class_of(canvas), L"DiruZuzovi");
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(GetPropW(canvas, L"PB_Gadget")), 1);
    EXPECT_TRUE(ex_style_of(canvas) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(current_gadget_list(), window);  // not a container
    const COLORREF blue = RGB(0, 128, 255);
    ASSERT_TRUE(fill_canvas(1, blue));
    // What the canvas paints is its drawing.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 120, 100);
    HGDIOBJ old = SelectObject(dc, target);
    SendMessageW(canvas, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    EXPECT_EQ(GetPixel(dc, 50, 40), blue);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(target);
    ReleaseDC(nullptr, screen);
    EXPECT_FALSE(canvas_draw(
        2, [](void*, std::int32_t, std::int32_t, void*) {}, nullptr));
    pump();

    post_mouse(canvas, WM_MOUSEMOVE, 10, 12);
    post_mouse(canvas, WM_LBUTTONDOWN, 11, 13, MK_LBUTTON);
    post_mouse(canvas, WM_LBUTTONUP, 11, 13);
    post_mouse(canvas, WM_RBUTTONDOWN, 20, 21, MK_RBUTTON);
    post_mouse(canvas, WM_RBUTTONUP, 20, 21);
    PostMessageW(canvas, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-2 * WHEEL_DELTA)), 0);
    post_key(canvas, 'A');  // the loop's translation adds the character
    GadgetEvents events = pump();
    std::erase_if(events, [](const GadgetEvent& e) {
        return e.type == ET_FOCUS || e.type == ET_LOST_FOCUS || e.type == ET_MOUSE_LEAVE;
    });
    EXPECT_EQ(events, (GadgetEvents{{1, ET_MOUSE_ENTER},
                                    {1, ET_MOUSE_MOVE},
                                    {1, ET_LEFT_BUTTON_DOWN},
                                    {1, ET_LEFT_BUTTON_UP},
                                    {1, ET_LEFT_CLICK},
                                    {1, ET_RIGHT_BUTTON_DOWN},
                                    {1, ET_RIGHT_BUTTON_UP},
                                    {1, ET_RIGHT_CLICK},
                                    {1, ET_MOUSE_WHEEL},
                                    {1, ET_KEY_DOWN},
                                    {1, ET_KEY_UP},
                                    {1, ET_INPUT}}));
    EXPECT_EQ(gadget_get_attribute(1, PB_Canvas_MouseX), 20);
    EXPECT_EQ(gadget_get_attribute(1, PB_Canvas_MouseY), 21);
    EXPECT_EQ(gadget_get_attribute(1, PB_Canvas_WheelDelta), -2);
    EXPECT_EQ(gadget_get_attribute(1, PB_Canvas_Key), 'A');
    EXPECT_EQ(gadget_get_attribute(1, PB_Canvas_Input), 'a');

    // A resize keeps the drawing and is reported even while events are suppressed.
    {
        EventSuppression quiet;
        gadget_resize(1, kIgnore, kIgnore, 150, 90);
    }
    EXPECT_EQ(pump(), (GadgetEvents{{1, ET_RESIZE}}));
    struct Probe {
        COLORREF inside, added;
    } probe{};
    canvas_draw(
        1,
        [](void* dc, std::int32_t, std::int32_t, void* user) {
            static_cast<Probe*>(user)->inside = GetPixel(static_cast<HDC>(dc), 50, 50);
            static_cast<Probe*>(user)->added = GetPixel(static_cast<HDC>(dc), 140, 50);
        },
        &probe);
    EXPECT_EQ(probe.inside, blue);
    EXPECT_EQ(probe.added, RGB(255, 255, 255));
    expect_all_freed({canvas});
}

HDC WINAPI no_memory_dc(HDC) {
    return nullptr;
}

struct Drawn {
    std::int32_t width = 0, height = 0;
    COLORREF pixel = 0;
};

Drawn look_at_canvas(std::intptr_t canvas) {
    Drawn drawn;
    EXPECT_TRUE(canvas_draw(
        canvas,
        [](void* dc, std::int32_t width, std::int32_t height, void* user) {
            *static_cast<Drawn*>(user) = {width, height, GetPixel(static_cast<HDC>(dc), 50, 40)};
        },
        &drawn));
    return drawn;
}

// A resize whose new image cannot be drawn on keeps the old drawing, rather
// than a black image of the new size.
TEST_F(GadgetTest, ACanvasThatCannotRedrawForANewSizeKeepsItsDrawing) {
    ASSERT_NE(canvas_gadget(1, 0, 0, 100, 80), 0);
    const COLORREF blue = RGB(0, 128, 255);
    ASSERT_TRUE(fill_canvas(1, blue));
    {
        const DivertedImport refused("CreateCompatibleDC", reinterpret_cast<void*>(&no_memory_dc));
        ASSERT_NE(refused.original<void*>(), nullptr);
        gadget_resize(1, kIgnore, kIgnore, 150, 90);
    }
    Drawn drawn = look_at_canvas(1);
    EXPECT_EQ(drawn.width, 100);
    EXPECT_EQ(drawn.height, 80);
    EXPECT_EQ(drawn.pixel, blue);
    // The next resize makes the new image, the drawing in it.
    gadget_resize(1, kIgnore, kIgnore, 160, 90);
    drawn = look_at_canvas(1);
    EXPECT_EQ(drawn.width, 160);
    EXPECT_EQ(drawn.pixel, blue);
}

// A callback may free the canvas between two events of one message: the rest
// is dropped, not posted for the number a destroyed control reads as (0).
TEST_F(GadgetTest, ACanvasFreedByACallbackPostsNothingMore) {
    ASSERT_NE(button_gadget(0, 0, 0, 50, 20, u"zero"), 0);
    ASSERT_NE(canvas_gadget(1, 0, 30, 100, 80, PB_Canvas_Keyboard), 0);
    const HWND canvas = hwnd(1);
    gadget_bind_event(
        1, [] { gadget_free(1); }, ET_LEFT_BUTTON_UP);
    post_mouse(canvas, WM_LBUTTONDOWN, 11, 13, MK_LBUTTON);
    post_mouse(canvas, WM_LBUTTONUP, 11, 13);
    const GadgetEvents events = pump();
    EXPECT_FALSE(IsWindow(canvas));
    EXPECT_FALSE(has_event(events, {0, ET_LEFT_CLICK}));
}

TEST_F(GadgetTest, AContainerCanvasHoldsGadgets) {
    ASSERT_NE(canvas_gadget(1, 0, 0, 100, 80, PB_Canvas_Container), 0);
    EXPECT_EQ(current_gadget_list(), hwnd(1));
    ASSERT_NE(button_gadget(2, 5, 5, 50, 20, u"on it"), 0);
    gadget_close_list();
    EXPECT_EQ(GetParent(hwnd(2)), hwnd(1));
    click(hwnd(2));
    EXPECT_EQ(pump(), (GadgetEvents{{2, ET_LEFT_CLICK}}));
}

}  // namespace
