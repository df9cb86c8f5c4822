#include "dialog/window_size_limits.h"

#include <gtest/gtest.h>

#include "dialog/layout_attributes.h"
#include "window/window.h"

namespace {

WindowSizeLimits limits_of(std::initializer_list<std::pair<std::u16string_view, std::u16string_view>> attributes) {
    WindowSizeLimits limits;
    for (const auto& [name, value] : attributes)
        EXPECT_EQ(apply_window_limit_attribute(limits, name, value), AttributeResult::applied);
    return limits;
}

// Content of 284 × 100 inside the window's margins of 8 needs 300 × 116.
WindowSizeRequest request(const WindowSizeLimits& limits, LayoutSize minimum = {}) {
    SingleChildLayout layout(kWindowMargin);
    return window_requested_size(limits, layout, {284, 100}, minimum);
}

TEST(WindowSizeLimits, WithoutLimitsTheSizeIsContentPlusMarginsAtLeastWidthAndHeight) {
    const WindowSizeRequest plain = request({});
    EXPECT_EQ(plain.size, (LayoutSize{300, 116}));
    EXPECT_FALSE(plain.has_bounds);
    EXPECT_EQ(request({}, {640, 90}).size, (LayoutSize{640, 116}));
}

TEST(WindowSizeLimits, AutoTakesTheRequestAndANumberRaisesIt) {
    const WindowSizeRequest automatic = request(limits_of({{u"MinWidth", u"auto"}}));
    EXPECT_TRUE(automatic.has_bounds);
    EXPECT_EQ(automatic.size, (LayoutSize{300, 116}));
    EXPECT_EQ(automatic.min_width, 300);
    EXPECT_EQ(automatic.max_width, kIgnore);
    EXPECT_EQ(automatic.min_height, kIgnore);
    EXPECT_EQ(automatic.max_height, kIgnore);

    const WindowSizeRequest raised = request(limits_of({{u"minwidth", u"400"}, {u"maxwidth", u"AUTO"}}));
    EXPECT_EQ(raised.size, (LayoutSize{400, 116}));
    EXPECT_EQ(raised.min_width, 400);
    EXPECT_EQ(raised.max_width, 400);

    // A smaller minimum does not lower the request; a number maximum is passed on as it is.
    const WindowSizeRequest heights = request(limits_of({{u"MINHEIGHT", u"50"}, {u"MAXHEIGHT", u"90"}}));
    EXPECT_EQ(heights.size, (LayoutSize{300, 116}));
    EXPECT_EQ(heights.min_height, 50);
    EXPECT_EQ(heights.max_height, 90);
}

TEST(WindowSizeLimits, NumbersAreCutToSixteenBits) {
    const WindowSizeLimits limits = limits_of({{u"minwidth", u"70000"}, {u"maxheight", u"DPIx1"}});
    EXPECT_EQ(limits.min_width, 70000 - 65536);
    EXPECT_EQ(limits.max_height, 0);
    EXPECT_EQ(limits.min_height, kWindowLimitAbsent);
    WindowSizeLimits untouched;
    EXPECT_EQ(apply_window_limit_attribute(untouched, u"width", u"5"), AttributeResult::not_layout);
    EXPECT_TRUE(untouched.all_absent());
}

TEST(WindowSizeLimits, TheChildFillsTheWindowButNeverShrinksBelowItsRequest) {
    SingleChildLayout layout(kWindowMargin);
    layout.expand_width = layout.expand_height = false;  // a window always fills its child
    (void)window_requested_size({}, layout, {284, 100}, {});
    EXPECT_EQ(window_child_rect(layout, {0, 0, 500, 400}), (LayoutRect{8, 8, 484, 384}));
    EXPECT_EQ(window_child_rect(layout, {0, 0, 200, 50}), (LayoutRect{8, 8, 284, 100}));
}

}  // namespace
