#include "dialog/container_layout.h"

#include <gtest/gtest.h>

#include "dialog/layout_attributes.h"

namespace {

TEST(ContainerLayout, FrameWrapsItsTextAndInsets) {
    SingleChildLayout layout(kFrameMargin);
    const std::int32_t top = frame_top_inset(13);
    EXPECT_EQ(frame_requested_size(layout, top, {100, 50}, {}), (LayoutSize{118, 77}));
    const LayoutRect area = frame_content_area(top, {20, 30, 118, 77});
    EXPECT_EQ(layout.place_child(area), (LayoutRect{20 + 9, 30 + 18, 100, 50}));
    EXPECT_EQ(frame_top_inset(6), 10);
    EXPECT_EQ(frame_requested_size(layout, top, {100, 50}, {200, 0}), (LayoutSize{200, 77}));
}

TEST(ContainerLayout, ContainerBordersAndContentArea) {
    EXPECT_EQ(container_borders(0, 1), (LayoutSize{0, 0}));
    EXPECT_EQ(container_borders(kContainerFlatFlag | 4, 1), (LayoutSize{2, 2}));
    EXPECT_EQ(container_borders(8, 3), (LayoutSize{6, 6}));
    SingleChildLayout layout;
    EXPECT_EQ(container_requested_size(layout, {6, 6}, {40, 30}, {}), (LayoutSize{66, 56}));
    EXPECT_EQ(layout.child, (LayoutSize{40, 30}));
    EXPECT_EQ(container_content_area({6, 6}, {66, 56}), (LayoutRect{3, 3, 60, 50}));
    EXPECT_EQ(canvas_requested_size(layout, {40, 30}, {100, 0}), (LayoutSize{100, 50}));
    EXPECT_EQ(tab_requested_size(layout, {}, {}), (LayoutSize{20, 20}));
}

TEST(ContainerLayout, ScrollAreaGrowsOnlyInItsScrollingDirection) {
    ScrollAreaSettings settings;
    ASSERT_EQ(apply_scroll_area_attribute(settings, u"Scrolling", u"vertical"), AttributeResult::applied);
    ASSERT_EQ(apply_scroll_area_attribute(settings, u"innerheight", u"300"), AttributeResult::applied);
    SingleChildLayout layout;
    EXPECT_EQ(scroll_area_requested_size(settings, layout, {100, 200}, {50, 60}), (LayoutSize{142, 60}));
    const ScrollAreaPlacement placed = scroll_area_place(settings, layout, {142, 60});
    EXPECT_EQ(placed.child, (LayoutRect{10, 10, 100, 280}));
    EXPECT_EQ(placed.inner_width, 120);
    EXPECT_FALSE(placed.inner_height);

    ScrollAreaSettings plain;
    ASSERT_EQ(apply_scroll_area_attribute(plain, u"SCROLLING", u"sideways"), AttributeResult::applied);
    EXPECT_EQ(plain.scrolling, ScrollAreaScrolling::none);
    EXPECT_EQ(scroll_area_requested_size(plain, layout, {100, 200}, {50, 60}), (LayoutSize{50, 60}));
    EXPECT_EQ(scroll_area_place(plain, layout, {50, 60}).inner_height, 220);
}

TEST(ContainerLayout, PanelAndSplitterAddTheirDecorations) {
    const std::vector<LayoutSize> pages{{100, 40}, {80, 70}};
    EXPECT_EQ(panel_requested_size(pages, 21, {}), (LayoutSize{104, 93}));
    EXPECT_EQ(panel_requested_size({}, 21, {}), (LayoutSize{4, 23}));

    const std::uint32_t vertical = kSplitterVerticalFlag | kSplitterSeparatorFlag;
    EXPECT_EQ(splitter_requested_size(vertical, {100, 30}, {120, 50}, {}), (LayoutSize{227, 50}));
    EXPECT_EQ(splitter_requested_size(0, {100, 30}, {120, 50}, {}), (LayoutSize{120, 84}));
    EXPECT_EQ(splitter_requested_size(0, {}, {}, {300, 2}), (LayoutSize{300, 4}));
    EXPECT_EQ(splitter_auto_minimum(vertical, {100, 30}), 100);
    EXPECT_EQ(splitter_auto_minimum(0, {100, 30}), 30);
    EXPECT_EQ(read_splitter_minimum(u"Request"), std::nullopt);
    EXPECT_EQ(read_splitter_minimum(u"auto"), std::nullopt);
    EXPECT_EQ(read_splitter_minimum(u"35"), 35);
}

TEST(ContainerLayout, ListViewIsAWholeNumberOfRowsHigh) {
    EXPECT_EQ(listview_requested_height(100, 16, 2), 100);
    EXPECT_EQ(listview_requested_height(101, 16, 2), 116);
    EXPECT_EQ(listview_requested_height(101, 0, 2), 101);
    EXPECT_EQ(listview_requested_height(0, 16, 2), 0);
    EXPECT_EQ(listview_requested_height(INT32_MAX, 7, INT32_MAX), kLayoutLimit);
}

TEST(ContainerLayout, TextSitsTwoPixelsLowerWhenItHasRoomToSpare) {
    EXPECT_EQ(text_gadget_rect({5, 10, 80, 30}, 0, 20, 18), (LayoutRect{5, 12, 80, 28}));
    EXPECT_EQ(text_gadget_rect({5, 10, 80, 22}, 0, 20, 18), (LayoutRect{5, 12, 80, 20}));
    EXPECT_EQ(text_gadget_rect({5, 10, 80, 21}, 0, 20, 18), (LayoutRect{5, 10, 80, 21}));
    EXPECT_EQ(text_gadget_rect({5, 10, 80, 30}, 0, 0, 29), (LayoutRect{5, 10, 80, 30}));
    EXPECT_EQ(text_gadget_rect({5, 10, 80, 30}, kTextBorderFlag, 20, 18), (LayoutRect{5, 10, 80, 30}));
}

}  // namespace
