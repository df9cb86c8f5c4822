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

}  // namespace
