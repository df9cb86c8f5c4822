// A list view gadget as a drop target, with a real drag from another process.
#include "gadget/gadget_drop.h"

#include <set>

#include "gadget_test_support_win32.h"
#include "support/drag_source_launch_win32.h"

#include <ole2.h>

namespace {

class GadgetDropTest : public GadgetTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(init_drop());
        GadgetTest::SetUp();
        resize_window(0, 420, 320, kIgnore, kIgnore);
        show_window(0, false);
        for (int i = 0; i < 10; ++i) {
            pump();
            Sleep(20);
        }
    }
    void TearDown() override {
        GadgetTest::TearDown();
        end_drop();
    }
};

TEST_F(GadgetDropTest, AListViewOutlinesTheItemUnderTheDragAndSelectsItOnTheDrop) {
    ASSERT_NE(listview_gadget(1, 10, 10, 300, 200, PB_ListView_MultiSelect), 0);
    for (const char16_t* text : {u"zero", u"one", u"two", u"three", u"four"})
        gadget_add_item(1, -1, text);
    HWND list = static_cast<HWND>(gadget_handle(1));
    SendMessageW(list, LB_SETSEL, TRUE, 0);
    SendMessageW(list, LB_SETSEL, TRUE, 4);
    ASSERT_TRUE(enable_gadget_drop(1, DROP_FORMAT_FILES, DROP_COPY));
    EXPECT_FALSE(enable_gadget_drop(77, DROP_FORMAT_FILES, DROP_COPY));

    RECT item;
    SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    POINT target{item.left + 20, (item.top + item.bottom) / 2};
    ClientToScreen(list, &target);

    std::set<std::int32_t> outlined;
    std::vector<std::intptr_t> drops;  // object, window, per drop
    std::u16string text;
    const DragRun run = run_drag_source(u"--to " + drag_point(target) + u" C:\\dropped.bin", [&] {
        const std::int32_t n = wait_window_event(20);
        if (n == EV_GADGET_DROP) {
            drops.push_back(current_event_object());
            drops.push_back(current_event_window());
            text = dropped_files_text();
        }
        if (drop_feedback_item(list) >= 0)
            outlined.insert(drop_feedback_item(list));
    });
    EXPECT_EQ(run.status, 0u) << run.out;
    EXPECT_EQ(outlined, std::set<std::int32_t>{2});
    EXPECT_EQ(drop_feedback_item(list), -1);
    EXPECT_EQ(drops, (std::vector<std::intptr_t>{1, 0}));
    EXPECT_EQ(text, u"C:\\dropped.bin");
    // A multi-selection list keeps only the item dropped on.
    EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 1);
    EXPECT_GT(SendMessageW(list, LB_GETSEL, 2, 0), 0);

    // Freeing the gadget unregisters its control.
    IDropTarget* t = static_cast<IDropTarget*>(GetPropW(list, L"PB_DropAccept"));
    ASSERT_NE(t, nullptr);
    t->AddRef();
    gadget_free(1);
    EXPECT_EQ(t->Release(), 0u);
}

}  // namespace
