// The progress bar with a real progress control: range, value, marquee,
// and colours.
#include "gadget_test_support_win32.h"
#include "window/event_queue.h"

#include <commctrl.h>

namespace {

class ProgressTest : public GadgetTest {
protected:
    void SetUp() override {
        GadgetTest::SetUp();
        ASSERT_NE(progressbar_gadget(1, 0, 0, 200, 20, 0, 100, PB_ProgressBar_Smooth), 0);
        bar = hwnd(1);
    }
    HWND bar = nullptr;
};

TEST_F(ProgressTest, RangeAndValue) {
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(bar, GWL_STYLE)) & 0xFFFF00FFu, 0x50000000u | PBS_SMOOTH);
    EXPECT_EQ(gadget_kind(1), kKindProgressBar);
    EXPECT_EQ(gadget_get_attribute(1, PB_ProgressBar_Minimum), 0);
    EXPECT_EQ(gadget_get_attribute(1, PB_ProgressBar_Maximum), 100);
    EXPECT_EQ(gadget_get_attribute(1, 3), 0);
    EXPECT_EQ(gadget_get_state(1), 0);

    gadget_set_state(1, 50);
    EXPECT_EQ(gadget_get_state(1), 50);
    EXPECT_EQ(gadget_get_attribute(1, PB_ProgressBar_Maximum), 100);  // the widened range does not stay

    gadget_set_attribute(1, PB_ProgressBar_Maximum, 200);
    EXPECT_EQ(gadget_get_attribute(1, PB_ProgressBar_Minimum), 0);
    EXPECT_EQ(gadget_get_attribute(1, PB_ProgressBar_Maximum), 200);
    EXPECT_EQ(gadget_get_state(1), 50);
    gadget_set_attribute(1, PB_ProgressBar_Minimum, 10);
    EXPECT_EQ(gadget_get_attribute(1, PB_ProgressBar_Minimum), 10);
    EXPECT_EQ(gadget_get_attribute(1, PB_ProgressBar_Maximum), 200);

    gadget_set_state(1, 500);  // clamped by the control
    EXPECT_EQ(gadget_get_state(1), 200);
    gadget_set_state(1, 0);
    EXPECT_EQ(gadget_get_state(1), 10);

    // The top of the 32-bit range, where there is no room to overshoot.
    gadget_set_attribute(1, PB_ProgressBar_Maximum, INT32_MAX);
    gadget_set_state(1, INT32_MAX);
    EXPECT_EQ(gadget_get_state(1), INT32_MAX);
    EXPECT_EQ(gadget_get_attribute(1, PB_ProgressBar_Maximum), INT32_MAX);
}

TEST_F(ProgressTest, MarqueeModeComesAndGoes) {
    gadget_set_state(1, -1);
    EXPECT_EQ(gadget_get_state(1), -1);
    EXPECT_TRUE(GetWindowLongW(bar, GWL_STYLE) & PBS_MARQUEE);
    gadget_set_state(1, -1);
    EXPECT_EQ(gadget_get_state(1), -1);
    gadget_set_state(1, 10);
    EXPECT_FALSE(GetWindowLongW(bar, GWL_STYLE) & PBS_MARQUEE);
    EXPECT_EQ(gadget_get_state(1), 10);
}

TEST_F(ProgressTest, ColoursAreKeptAndPassedOn) {
    EXPECT_EQ(gadget_get_colour(1, FRONT_COLOR), -1);
    EXPECT_EQ(gadget_get_colour(1, BACK_COLOR), -1);
    gadget_set_colour(1, FRONT_COLOR, 0x00FF00);
    gadget_set_colour(1, BACK_COLOR, 0x000080);
    gadget_set_colour(1, 3, 0x123456);
    EXPECT_EQ(gadget_get_colour(1, FRONT_COLOR), 0x00FF00);
    EXPECT_EQ(gadget_get_colour(1, BACK_COLOR), 0x000080);
    EXPECT_EQ(gadget_get_colour(1, 3), -1);
    // The control answers the previous colour when set again.
    EXPECT_EQ(SendMessageW(bar, PBM_SETBARCOLOR, 0, CLR_DEFAULT), 0x00FF00);
    gadget_set_colour(1, BACK_COLOR, -1);
    EXPECT_EQ(SendMessageW(bar, PBM_SETBKCOLOR, 0, 0), static_cast<LRESULT>(CLR_DEFAULT));
}

}  // namespace
