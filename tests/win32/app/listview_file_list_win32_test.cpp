// The file list interface of the dropped-file collection on a real list box.
#include "app/listview_file_list.h"
#include "win32/gadget/gadget_test_support_win32.h"

namespace {

TEST_F(GadgetTest, TheFileListInterfaceWorksOnAListView) {
    ASSERT_NE(listview_gadget(1, 0, 0, 200, 200, PB_ListView_MultiSelect), 0);
    const HWND list = hwnd(1);
    ListViewFileList files(1);
    files.suspend_drawing();
    files.add_item(u"C:\\b\\two.bin");
    files.add_item(u"C:\\a\\one.bin");
    files.resume_drawing();
    EXPECT_EQ(files.count_items(), 2);
    EXPECT_EQ(files.item_text(1), u"C:\\a\\one.bin");
    EXPECT_EQ(files.item_text(2), u"");
    EXPECT_EQ(files.current_item(), -1);
    SendMessageW(list, LB_SETSEL, TRUE, 1);
    EXPECT_EQ(files.current_item(), 1);
    EXPECT_EQ(files.item_state(1), 1);
    EXPECT_EQ(files.item_state(0), 0);
    EXPECT_EQ(files.item_state(5), -1);
    files.clear_items();
    EXPECT_EQ(files.count_items(), 0);
    EXPECT_EQ(pump(), GadgetEvents{});
    gadget_free(1);
    EXPECT_EQ(files.current_item(), -1);
    EXPECT_EQ(files.item_state(0), -1);
}

// Items added while drawing is suspended show once it resumes: the scroll bar
// covers them all (a list left without drawing would keep a stale one).
TEST_F(GadgetTest, TheFileListDrawsAgainAfterARebuild) {
    ASSERT_NE(listview_gadget(1, 0, 0, 200, 100, PB_ListView_MultiSelect), 0);
    ListViewFileList files(1);
    files.suspend_drawing();
    for (int i = 0; i < 100; ++i)
        files.add_item(u"C:\\many\\f" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u".bin");
    files.resume_drawing();
    pump();
    SCROLLINFO bar{};
    bar.cbSize = sizeof bar;
    bar.fMask = SIF_RANGE | SIF_PAGE;
    ASSERT_TRUE(GetScrollInfo(hwnd(1), SB_VERT, &bar));
    EXPECT_EQ(bar.nMax, 99);
    EXPECT_GT(bar.nPage, 0u);
    EXPECT_LT(bar.nPage, 100u);

    // The next item added without suspending still updates the bar.
    files.add_item(u"C:\\one more.bin");
    pump();
    ASSERT_TRUE(GetScrollInfo(hwnd(1), SB_VERT, &bar));
    EXPECT_EQ(bar.nMax, 100);
    gadget_free(1);
}

}  // namespace
