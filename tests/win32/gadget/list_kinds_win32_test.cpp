// List icon and tree gadgets on real controls: columns, items with sublevels,
// states, colours and data, and their events from posted mouse messages.
#include <cstring>

#include "gadget/container_kinds.h"
#include "gadget/input_kinds.h"
#include "gadget/list_kinds.h"
#include "gadget_test_support_win32.h"
#include "support/import_slot_win32.h"

namespace {

HIMAGELIST WINAPI no_image_list(int, int, UINT, int, int) {
    return nullptr;
}

// The kinds whose items take images.
struct Pictured {
    const char* name;
    std::intptr_t (*make)();
    bool list_on_first_image;  // its image list is made for the first image, not with the gadget
};
const Pictured kPictured[] = {
    {"list icon", [] { return listicon_gadget(1, 0, 0, 200, 100, u"Name", 100); }, true},
    {"tree", [] { return tree_gadget(1, 0, 0, 200, 100); }, true},
    {"panel", [] { return panel_gadget(1, 0, 0, 200, 100); }, true},
    {"image combo box", [] { return combobox_gadget(1, 0, 0, 200, 20, PB_ComboBox_Image); }, false},
};

// An item is added with its image or not at all: an image list the system
// refuses, or a picture already deleted, fails the add.
TEST_F(GadgetTest, AnItemWhoseImageCannotBeKeptIsNotAdded) {
    HDC screen = GetDC(nullptr);
    const HBITMAP picture = CreateCompatibleBitmap(screen, 16, 16), deleted = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    DeleteObject(deleted);
    const auto image = reinterpret_cast<std::uintptr_t>(picture);
    for (const Pictured& kind : kPictured) {
        SCOPED_TRACE(kind.name);
        ASSERT_NE(kind.make(), 0);
        if (kind.list_on_first_image) {
            const DivertedImport refused("ImageList_Create", reinterpret_cast<void*>(&no_image_list));
            ASSERT_NE(refused.original<void*>(), nullptr);
            EXPECT_EQ(gadget_add_item_ex(1, -1, u"refused list", image, 0), -1);
        }
        EXPECT_EQ(gadget_add_item_ex(1, -1, u"deleted picture", reinterpret_cast<std::uintptr_t>(deleted), 0), -1);
        EXPECT_EQ(gadget_count_items(1), 0);
        EXPECT_EQ(gadget_add_item_ex(1, -1, u"plain", 0, 0), 0);
        EXPECT_EQ(gadget_add_item_ex(1, -1, u"pictured", image, 0), 1);
        EXPECT_EQ(gadget_count_items(1), 2);
        gadget_close_list();  // the panel's
        gadget_free(1);
    }
    DeleteObject(picture);
}

TEST_F(GadgetTest, AListIconKeepsColumnsItemsAndTheirData) {
    ASSERT_NE(listicon_gadget(1, 0, 0, 300, 200, u"Name", 120, PB_ListIcon_CheckBoxes | PB_ListIcon_GridLines), 0);
    const HWND list = hwnd(1);
    EXPECT_EQ(class_of(list), L"SysListView32");
    EXPECT_EQ(style_of(list) & 0xFFFF00FFu, 0x50010041u | LVS_SINGLESEL);
    EXPECT_TRUE(ex_style_of(list) & WS_EX_CLIENTEDGE);
    const auto extended = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    EXPECT_TRUE(extended & LVS_EX_CHECKBOXES);
    EXPECT_TRUE(extended & LVS_EX_GRIDLINES);
    EXPECT_EQ(gadget_add_column(1, -1, u"Size", 60), 1);
    EXPECT_EQ(gadget_get_attribute(1, PB_ListIcon_ColumnCount), 2);
    EXPECT_EQ(gadget_get_item_attribute(1, 0, PB_ListIcon_ColumnWidth, 0), 120);

    gadget_add_item(1, -1, u"alpha\n10");
    gadget_add_item(1, -1, u"gamma\n30");
    gadget_add_item(1, 1, u"beta\n20");
    EXPECT_EQ(gadget_count_items(1), 3);
    EXPECT_EQ(gadget_get_item_text(1, 1, 0), u"beta");
    EXPECT_EQ(gadget_get_item_text(1, 2, 1), u"30");
    gadget_set_item_text(1, 0, u"11", 1);
    EXPECT_EQ(gadget_get_item_text(1, 0, 1), u"11");
    gadget_set_item_data(1, 2, 42);
    gadget_set_item_colour(1, 2, BACK_COLOR, 0x00FFFF, 1);
    EXPECT_EQ(gadget_get_item_colour(1, 2, BACK_COLOR, 1), 0x00FFFF);
    EXPECT_EQ(gadget_get_item_colour(1, 2, FRONT_COLOR, 1), -1);
    gadget_remove_item(1, 0);
    EXPECT_EQ(gadget_get_item_data(1, 1), 42);  // data moves with its item
    EXPECT_EQ(gadget_get_item_colour(1, 1, BACK_COLOR, 1), 0x00FFFF);

    EXPECT_EQ(gadget_get_state(1), -1);
    gadget_set_item_state(1, 1, PB_ListIcon_Selected | PB_ListIcon_Checked);
    EXPECT_EQ(gadget_get_item_state(1, 1), PB_ListIcon_Selected | PB_ListIcon_Checked);
    EXPECT_EQ(gadget_get_state(1), 1);
    EXPECT_EQ(gadget_get_text(1), u"gamma");
    EXPECT_EQ(pump(), GadgetEvents{});  // the program's changes raise nothing
    gadget_set_text(1, u"beta");
    EXPECT_EQ(gadget_get_state(1), 0);

    gadget_remove_column(1, -1);
    EXPECT_EQ(gadget_get_attribute(1, PB_ListIcon_ColumnCount), 0);
    gadget_clear_items(1);
    EXPECT_EQ(gadget_count_items(1), 0);
    gadget_set_attribute(1, PB_ListIcon_DisplayMode, 2);
    EXPECT_EQ(gadget_get_attribute(1, PB_ListIcon_DisplayMode), 2);

    // The check boxes' pictures go with the gadget (the list shares its
    // image lists, so it leaves them to their owner).
    const auto states = reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_STATE, 0));
    IMAGEINFO pictures{};
    ASSERT_TRUE(states && ImageList_GetImageInfo(states, 0, &pictures));
    EXPECT_EQ(GetObjectType(pictures.hbmImage), static_cast<DWORD>(OBJ_BITMAP));
    gadget_free(1);
    EXPECT_EQ(GetObjectType(pictures.hbmImage), 0u);
}

TEST_F(GadgetTest, ClickingAListIconItemSelectsAndReportsIt) {
    ASSERT_NE(listicon_gadget(1, 0, 0, 300, 200, u"Name", 200, PB_ListIcon_FullRowSelect), 0);
    gadget_add_item(1, -1, u"first");
    gadget_add_item(1, -1, u"second");
    pump();
    RECT item{};
    item.left = LVIR_BOUNDS;
    SendMessageW(hwnd(1), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    post_mouse(hwnd(1), WM_LBUTTONDOWN, item.left + 10, (item.top + item.bottom) / 2, MK_LBUTTON);
    post_mouse(hwnd(1), WM_LBUTTONUP, item.left + 10, (item.top + item.bottom) / 2);
    const GadgetEvents events = pump();
    EXPECT_TRUE(has_event(events, {1, ET_CHANGE}));
    EXPECT_TRUE(has_event(events, {1, ET_LEFT_CLICK}));
    EXPECT_EQ(gadget_get_state(1), 1);
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(GetPropW(hwnd(1), L"PB_LastSelected")), 1);
}

TEST_F(GadgetTest, TreeItemsTakeTheirSublevelsInDisplayOrder) {
    ASSERT_NE(tree_gadget(1, 0, 0, 200, 200, PB_Tree_CheckBoxes), 0);
    const HWND tree = hwnd(1);
    EXPECT_EQ(class_of(tree), L"SysTreeView32");
    EXPECT_EQ(style_of(tree) & (TVS_HASLINES | TVS_HASBUTTONS | TVS_CHECKBOXES),
              static_cast<DWORD>(TVS_HASLINES | TVS_HASBUTTONS | TVS_CHECKBOXES));
    gadget_add_item_ex(1, -1, u"root", 0, 0);
    gadget_add_item_ex(1, -1, u"child", 0, 1);
    gadget_add_item_ex(1, -1, u"grandchild", 0, 2);
    gadget_add_item_ex(1, -1, u"second child", 0, 1);
    gadget_add_item_ex(1, -1, u"too deep", 0, 5);  // one below the item before at most
    gadget_add_item_ex(1, -1, u"next root", 0, 0);
    gadget_add_item_ex(1, 1, u"first child", 0, 1);  // put before "child"
    const char16_t* order[] = {u"root",         u"first child", u"child",    u"grandchild",
                               u"second child", u"too deep",    u"next root"};
    const std::int32_t levels[] = {0, 1, 1, 2, 1, 2, 0};
    ASSERT_EQ(gadget_count_items(1), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(gadget_get_item_text(1, i), order[i]) << i;
        EXPECT_EQ(gadget_get_item_attribute(1, i, PB_Tree_SubLevel), levels[i]) << i;
    }
    gadget_set_item_data(1, 3, 7);
    gadget_set_item_state(1, 0, PB_Tree_Expanded | PB_Tree_Checked);
    EXPECT_EQ(gadget_get_item_state(1, 0), PB_Tree_Expanded | PB_Tree_Checked);
    EXPECT_EQ(gadget_get_item_state(1, 2), PB_Tree_Collapsed);
    gadget_set_state(1, 4);
    EXPECT_EQ(gadget_get_state(1), 4);
    EXPECT_EQ(gadget_get_text(1), u"second child");
    EXPECT_EQ(pump(), GadgetEvents{});
    gadget_set_item_colour(1, 3, FRONT_COLOR, RGB(0, 0, 255));
    gadget_set_item_colour(1, 6, BACK_COLOR, RGB(255, 0, 0));
    gadget_remove_item(1, 2);  // with its subtree
    EXPECT_EQ(gadget_count_items(1), 5);
    EXPECT_EQ(gadget_get_item_text(1, 2), u"second child");
    // Colours follow their item; the removed one's are gone.
    EXPECT_EQ(gadget_get_item_colour(1, 4, BACK_COLOR), static_cast<std::int32_t>(RGB(255, 0, 0)));
    EXPECT_EQ(gadget_get_item_colour(1, 4, FRONT_COLOR), -1);
    EXPECT_EQ(gadget_get_item_colour(1, 3, FRONT_COLOR), -1);
    RECT label{};
    const auto next_root = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)));
    std::memcpy(&label, &next_root, sizeof next_root);
    ASSERT_TRUE(SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label)));
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, 200, 200);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, picture);
    SendMessageW(tree, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    EXPECT_EQ(GetPixel(dc, label.right - 2, label.top + 1), RGB(255, 0, 0)) << "next root's background";
    SelectObject(dc, old);
    DeleteObject(picture);
    DeleteDC(dc);
    gadget_clear_items(1);
    EXPECT_EQ(gadget_count_items(1), 0);
    EXPECT_EQ(gadget_get_state(1), -1);
}

TEST_F(GadgetTest, ClickingATreeItemSelectsAndReportsIt) {
    ASSERT_NE(tree_gadget(1, 0, 0, 200, 200), 0);
    gadget_add_item_ex(1, -1, u"one", 0, 0);
    gadget_add_item_ex(1, -1, u"two", 0, 0);
    pump();
    const auto second = reinterpret_cast<HTREEITEM>(
        SendMessageW(hwnd(1), TVM_GETNEXTITEM, TVGN_NEXT, SendMessageW(hwnd(1), TVM_GETNEXTITEM, TVGN_ROOT, 0)));
    RECT item{};
    TreeView_GetItemRect(hwnd(1), second, &item, TRUE);
    post_mouse(hwnd(1), WM_LBUTTONDOWN, item.left + 3, (item.top + item.bottom) / 2, MK_LBUTTON);
    post_mouse(hwnd(1), WM_LBUTTONUP, item.left + 3, (item.top + item.bottom) / 2);
    const GadgetEvents events = pump();
    EXPECT_TRUE(has_event(events, {1, ET_CHANGE}));
    EXPECT_TRUE(has_event(events, {1, ET_LEFT_CLICK}));
    EXPECT_EQ(gadget_get_state(1), 1);
    expect_all_freed({hwnd(1)});
}

}  // namespace
