// The explorer gadgets over a real folder: listing, opening folders, following
// changes on disk, the folder tree and the path field.
#include <string>

#include "gadget/explorer_kinds.h"
#include "gadget_test_support_win32.h"
#include "support/import_slot_win32.h"
#include "support/scratch_dir.h"

namespace {

UINT_PTR WINAPI no_timer(HWND, UINT_PTR, UINT, TIMERPROC) {
    return 0;
}

class ExplorerTest : public GadgetTest {
protected:
    void SetUp() override {
        GadgetTest::SetUp();
        dir.write(u"b.txt", "bee");
        dir.write(u"a.txt", "a");
        dir.write(u"c.log", "sea");
        dir.write(u"Sub/inner.txt", "x");
        root = dir.folder() + u"\\";
    }
    // Row 1 is the folder "Sub".
    static void double_click_row(HWND list, int row) {
        RECT item{};
        item.left = LVIR_LABEL;
        SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
        const int x = item.left + 5, y = (item.top + item.bottom) / 2;
        post_mouse(list, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        post_mouse(list, WM_LBUTTONUP, x, y);
        post_mouse(list, WM_LBUTTONDBLCLK, x, y, MK_LBUTTON);
        post_mouse(list, WM_LBUTTONUP, x, y);
    }
    ScratchDir dir;
    std::u16string root;
};

TEST_F(ExplorerTest, AListShowsFoldersFirstThenFilesWithTheirColumns) {
    ASSERT_NE(explorerlist_gadget(1, 0, 0, 400, 300, root.c_str(), PB_Explorer_FullRowSelect), 0);
    const HWND list = hwnd(1);
    EXPECT_EQ(class_of(list), L"SysListView32");
    EXPECT_TRUE(ex_style_of(list) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(gadget_get_text(1), root);
    const char16_t* names[] = {u"..", u"Sub", u"a.txt", u"b.txt", u"c.log"};
    ASSERT_EQ(gadget_count_items(1), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(gadget_get_item_text(1, i, 0), names[i]);
    EXPECT_EQ(gadget_get_item_text(1, 3, 1), u"3");  // the size column
    EXPECT_EQ(gadget_get_item_state(1, 1), PB_Explorer_Directory);
    EXPECT_EQ(gadget_get_item_state(1, 2), PB_Explorer_File);
    const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 7);

    // A pattern lists matching files, and every folder.
    gadget_set_text(1, (root + u"*.txt").c_str());
    EXPECT_EQ(gadget_get_text(1), root);
    EXPECT_EQ(gadget_count_items(1), 4);
    ASSERT_NE(explorerlist_gadget(2, 0, 0, 400, 300, root.c_str(),
                                  PB_Explorer_NoFolders | PB_Explorer_NoParentFolder | PB_Explorer_BorderLess),
              0);
    EXPECT_EQ(gadget_count_items(2), 3);
    EXPECT_FALSE(ex_style_of(hwnd(2)) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(pump(), GadgetEvents{});
}

TEST_F(ExplorerTest, AListsColumnsAfterNameCanBeRemovedOrTheProgramsOwn) {
    ASSERT_NE(explorerlist_gadget(1, 0, 0, 400, 300, root.c_str()), 0);
    const HWND list = hwnd(1);
    const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const auto columns = [&] { return SendMessageW(header, HDM_GETITEMCOUNT, 0, 0); };
    // b.txt is row 3: name, size 3, type, attributes, created, ...
    const std::u16string created = gadget_get_item_text(1, 3, 4);
    gadget_remove_column(1, 3);
    EXPECT_EQ(columns(), 6);
    EXPECT_EQ(gadget_get_item_text(1, 3, 3), created);
    EXPECT_EQ(gadget_add_column(1, 1, u"Tag", 50), 1);
    EXPECT_EQ(gadget_get_item_text(1, 3, 2), u"3");  // the size moved one on
    gadget_set_item_text(1, 3, u"mine", 1);
    EXPECT_EQ(gadget_get_item_text(1, 3, 1), u"mine");
    gadget_set_item_attribute(1, 0, PB_Explorer_ColumnWidth, 77, 1);
    EXPECT_EQ(gadget_get_item_attribute(1, 0, PB_Explorer_ColumnWidth, 1), 77);
    // The name is the entry on disk: neither removed nor written.
    gadget_remove_column(1, 0);
    gadget_set_item_text(1, 3, u"renamed", 0);
    EXPECT_EQ(columns(), 7);
    EXPECT_EQ(gadget_get_item_text(1, 3, 0), u"b.txt");

    // Filled again after a change on disk: every cell in its column, the program's empty.
    dir.write(u"d.txt", "dee");
    EXPECT_TRUE(pump_until([] { return gadget_count_items(1) == 6; }));
    EXPECT_EQ(gadget_get_item_text(1, 5, 0), u"d.txt");
    EXPECT_EQ(gadget_get_item_text(1, 5, 2), u"3");
    EXPECT_EQ(gadget_get_item_text(1, 3, 1), u"");
    EXPECT_EQ(gadget_get_item_text(1, 3, 4), created);
    gadget_remove_column(1, -1);
    EXPECT_EQ(columns(), 1);
    EXPECT_EQ(gadget_get_item_text(1, 3, 0), u"b.txt");
    expect_all_freed({list});
}

TEST_F(ExplorerTest, ADoubleClickOpensAFolderAndTheListingFollowsTheDisk) {
    ASSERT_NE(explorerlist_gadget(1, 0, 0, 400, 300, root.c_str()), 0);
    const HWND list = hwnd(1);
    pump();
    double_click_row(list, 1);
    const GadgetEvents events = pump();
    EXPECT_TRUE(has_event(events, {1, ET_CHANGE}));
    EXPECT_EQ(gadget_get_text(1), root + u"Sub\\");
    ASSERT_EQ(gadget_count_items(1), 2);
    EXPECT_EQ(gadget_get_item_text(1, 1, 0), u"inner.txt");

    dir.write(u"Sub/new.txt", "new");
    EXPECT_TRUE(pump_until([] { return gadget_count_items(1) == 3; }));
    EXPECT_EQ(gadget_count_items(1), 3);
    EXPECT_EQ(gadget_get_item_text(1, 2, 0), u"new.txt");
    expect_all_freed({list});
}

// A list made while the system refused it the timer that looks at the folder
// asks again once it is pointed at, and then follows the disk.
TEST_F(ExplorerTest, AListWithoutItsTimerFollowsTheDiskOnceItGetsOne) {
    {
        const DivertedImport refused("SetTimer", reinterpret_cast<void*>(&no_timer));
        ASSERT_NE(refused.original<void*>(), nullptr);
        ASSERT_NE(explorerlist_gadget(1, 0, 0, 400, 300, root.c_str()), 0);
        pump();
    }
    ASSERT_EQ(gadget_count_items(1), 5);
    post_mouse(hwnd(1), WM_MOUSEMOVE, 10, 10);
    dir.write(u"d.txt", "dee");
    EXPECT_TRUE(pump_until([] { return gadget_count_items(1) == 6; }));
}

// A picker closes on a double-click: the folder is not opened after its list is gone.
TEST_F(ExplorerTest, ADoubleClickWhoseCallbackFreesTheListOpensNothing) {
    ASSERT_NE(explorerlist_gadget(1, 0, 0, 400, 300, root.c_str()), 0);
    const HWND list = hwnd(1);
    gadget_bind_event(
        1, [] { gadget_free(1); }, ET_LEFT_DOUBLE_CLICK);
    pump();
    double_click_row(list, 1);
    pump();
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(gadget_handle(1), nullptr);
}

TEST_F(ExplorerTest, ATreeOpensAlongAPathAndReportsTheSelection) {
    ASSERT_NE(explorertree_gadget(1, 0, 0, 250, 300, nullptr, PB_Explorer_NoMyDocuments), 0);
    const HWND tree = hwnd(1);
    EXPECT_EQ(class_of(tree), L"SysTreeView32");
    wchar_t label[64] = {};
    TVITEMW first{};
    first.mask = TVIF_TEXT;
    first.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    first.pszText = label;
    first.cchTextMax = 64;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&first));
    EXPECT_STREQ(label, L"My Computer");
    EXPECT_EQ(gadget_get_state(1), 0);

    gadget_set_text(1, (root + u"Sub").c_str());
    EXPECT_EQ(CompareStringOrdinal(reinterpret_cast<const wchar_t*>(gadget_get_text(1).c_str()), -1,
                                   reinterpret_cast<const wchar_t*>((root + u"Sub\\").c_str()), -1, TRUE),
              CSTR_EQUAL);
    EXPECT_EQ(gadget_get_state(1), 1);
    EXPECT_EQ(pump(), GadgetEvents{});  // the program's own choice
}

TEST_F(ExplorerTest, AComboKeepsTheTypedPathAndOffersTheDrives) {
    ASSERT_NE(explorercombo_gadget(1, 0, 0, 250, 22, root.c_str()), 0);
    const HWND combo = hwnd(1);
    EXPECT_EQ(class_of(combo), L"ComboBoxEx32");
    EXPECT_EQ(style_of(combo) & 0xF000000Fu, 0x50000002u);
    EXPECT_EQ(gadget_get_text(1), root);
    EXPECT_GT(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);  // the drives
    gadget_resize(1, 0, 0, 300, 20);
    EXPECT_EQ(gadget_width(1), 300);
    pump();
    // The arrow key in the field picks a drive from the list.
    post_key(reinterpret_cast<HWND>(SendMessageW(combo, CBEM_GETCOMBOCONTROL, 0, 0)), VK_DOWN);
    const GadgetEvents events = pump();
    if (events.empty())
        GTEST_SKIP() << "this extended combo box does not take keys without the focus";
    EXPECT_EQ(events, (GadgetEvents{{1, ET_LEFT_CLICK}}));
    EXPECT_EQ(gadget_get_text(1).substr(1), u":\\");
}

}  // namespace
