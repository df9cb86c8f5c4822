// Where a panel places its page, with and without visual styles.
#include <gtest/gtest.h>

#include "gadget/panel_page.h"

namespace {

TEST(PanelPage, WithVisualStylesThePageCoversTheDisplayAreaOnePixelLeftAndDown) {
    // A 300 × 200 control whose display area the control puts at (4, 24)-(296, 196).
    EXPECT_EQ(styled_page_rect(4, 24, 296, 196), (PageRect{3, 25, 292, 171}));
}

TEST(PanelPage, WithoutVisualStylesThePageSitsBelowEveryRowOfTabs) {
    EXPECT_EQ(plain_page_rect(300, 200, 1, 20), (PageRect{2, 24, 296, 174}));
    EXPECT_EQ(plain_page_rect(300, 200, 3, 20), (PageRect{2, 64, 296, 134}));
    // Too small a control gives an empty page, never a negative size.
    EXPECT_EQ(plain_page_rect(3, 10, 1, 20), (PageRect{2, 24, 0, 0}));
    EXPECT_EQ(styled_page_rect(4, 24, 2, 20), (PageRect{3, 25, 0, 0}));
}

}  // namespace
