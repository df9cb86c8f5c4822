// The dropped-file collection on the window's real list: a multi-selection
// list view gadget behind the file list interface.
#include "app/dropped_files.h"

#include <string>
#include <vector>

#include "app/listview_file_list.h"
#include "support/scratch_dir.h"
#include "win32/gadget/gadget_test_support_win32.h"

namespace {

class DroppedFilesOnTheList : public GadgetTest {
protected:
    void SetUp() override {
        GadgetTest::SetUp();
        ASSERT_NE(listview_gadget(1, 0, 0, 300, 200, PB_ListView_MultiSelect), 0);
        list_window = hwnd(1);
    }
    std::vector<std::u16string> items() const {
        std::vector<std::u16string> texts;
        for (std::int32_t i = 0; i < files.count_items(); ++i)
            texts.push_back(files.item_text(i));
        return texts;
    }

    HWND list_window = nullptr;
    ListViewFileList files{1};
    ScratchDir dir;
    FileMap map;
};

TEST_F(DroppedFilesOnTheList, ADropFillsTheListSortedAndRemovalsFollowTheSelection) {
    const auto upper = dir.write(u"drop/B.txt", "b");
    const auto lower = dir.write(u"drop/a.txt", "a");
    const auto nested = dir.write(u"drop/sub/c.bin", "c");
    const auto loose = dir.write(u"loose/d.dat", "d");
    collect_dropped_files(map, dir.path(u"drop") + u"\n" + loose, &files);
    EXPECT_EQ(items(), (std::vector<std::u16string>{upper, lower, nested, loose}));
    EXPECT_EQ(pump(), GadgetEvents{}) << "rebuilding the list raises no events";

    SendMessageW(list_window, LB_SETSEL, TRUE, 0);
    SendMessageW(list_window, LB_SETSEL, TRUE, 3);
    remove_selected_entries(map, files);
    EXPECT_EQ(items(), (std::vector<std::u16string>{lower, nested}));
    EXPECT_EQ(map.size(), 2u);
    // The row now in the first removed one's place is selected, and alone.
    EXPECT_EQ(files.current_item(), 0);
    EXPECT_EQ(SendMessageW(list_window, LB_GETSELCOUNT, 0, 0), 1);

    SendMessageW(list_window, LB_SETSEL, FALSE, -1);
    remove_selected_entries(map, files);
    EXPECT_EQ(map.size(), 2u) << "nothing selected, nothing removed";

    remove_all_entries(map, files);
    EXPECT_TRUE(items().empty());
    EXPECT_TRUE(map.empty());
}

}  // namespace
