#include "dialog/box_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "dialog/layout_attributes.h"

namespace {

using Rects = std::vector<std::optional<LayoutRect>>;

BoxLayout row_of(std::vector<std::int32_t> widths, LayoutExpand expand = LayoutExpand::all) {
    BoxLayout box;
    box.expand = expand;
    std::vector<LayoutSize> sizes;
    for (std::int32_t w : widths)
        sizes.push_back({w, 10});
    (void)box.measure(sizes, {});
    return box;
}

Rects place_row(const BoxLayout& box, std::int32_t x, std::int32_t width) {
    return box.place(LayoutRect{x, 0, width, 10}, std::vector<bool>(box.child_lengths.size(), false));
}

// x and width of each placed child, in order.
std::vector<std::pair<std::int32_t, std::int32_t>> spans(const Rects& rects) {
    std::vector<std::pair<std::int32_t, std::int32_t>> out;
    for (const auto& r : rects)
        if (r)
            out.emplace_back(r->x, r->width);
    return out;
}

using Spans = std::vector<std::pair<std::int32_t, std::int32_t>>;

TEST(BoxLayout, EveryChildGrowsByAnEqualTruncatedShare) {
    BoxLayout box = row_of({20, 18, 13});
    EXPECT_EQ(box.total_length, 61);
    EXPECT_EQ(spans(place_row(box, 0, 100)), (Spans{{0, 33}, {38, 31}, {74, 26}}));
    // 40 ÷ 3 is still 13: the last child ends at 100 and one unit stays empty.
    EXPECT_EQ(spans(place_row(box, 0, 101)), (Spans{{0, 33}, {38, 31}, {74, 26}}));
    // Starting elsewhere shifts everything; a box given no room shrinks every child.
    EXPECT_EQ(spans(place_row(box, 7, 100)), (Spans{{7, 33}, {45, 31}, {81, 26}}));
    EXPECT_EQ(spans(place_row(box, 0, 0)), (Spans{{0, 0}, {5, -2}, {8, -7}}));
}

TEST(BoxLayout, EqualSharesLeaveTheRemainderEmpty) {
    BoxLayout box;
    box.expand = LayoutExpand::equal;
    const std::vector<LayoutSize> sizes{{20, 4}, {18, 9}, {13, 2}};
    EXPECT_EQ(box.measure(sizes, {}), (LayoutSize{3 * 20 + 10, 9}));
    EXPECT_EQ(spans(place_row(box, 0, 100)), (Spans{{0, 30}, {35, 30}, {70, 30}}));
    EXPECT_EQ(spans(place_row(box, 0, 102)), (Spans{{0, 30}, {35, 30}, {70, 30}}));
}

TEST(BoxLayout, ShortageScalesLengthsButNotGaps) {
    for (LayoutExpand mode : {LayoutExpand::all, LayoutExpand::none, LayoutExpand::item}) {
        BoxLayout box = row_of({30, 40, 20}, mode);
        ASSERT_EQ(box.total_length, 100);
        // The row ends at 55, five units past the box.
        EXPECT_EQ(spans(place_row(box, 0, 50)), (Spans{{0, 15}, {20, 20}, {45, 10}}));
    }
}

TEST(BoxLayout, OneChosenItemTakesTheSpareLength) {
    BoxLayout box;
    box.axis = BoxAxis::vertical;
    ASSERT_EQ(apply_box_attribute(box, u"expand", u"item:2"), AttributeResult::applied);
    const std::vector<LayoutSize> sizes{{5, 10}, {5, 20}, {5, 30}, {5, 40}};
    EXPECT_EQ(box.measure(sizes, {}), (LayoutSize{5, 115}));
    auto column = [&](std::int32_t height) {
        Spans out;
        for (const auto& r : box.place(LayoutRect{3, 0, 50, height}, std::vector<bool>(4, false))) {
            EXPECT_EQ(r->x, 3);
            EXPECT_EQ(r->width, 50);
            out.emplace_back(r->y, r->height);
        }
        return out;
    };
    EXPECT_EQ(column(200), (Spans{{0, 10}, {15, 105}, {125, 30}, {160, 40}}));
    // A shortage is still shared by all children in proportion.
    EXPECT_EQ(column(46), (Spans{{0, 4}, {9, 8}, {22, 12}, {39, 16}}));
    // An item past the children grows nobody.
    box.expand_item = 9;
    EXPECT_EQ(column(200), (Spans{{0, 10}, {15, 20}, {40, 30}, {75, 40}}));
}

TEST(BoxLayout, NoGrowthAlignsTheRow) {
    BoxLayout box = row_of({30, 40}, LayoutExpand::none);  // 75 long
    EXPECT_EQ(spans(place_row(box, 0, 95)), (Spans{{0, 30}, {35, 40}}));
    box.alignment = LayoutAlign::centre;
    EXPECT_EQ(spans(place_row(box, 0, 95)), (Spans{{10, 30}, {45, 40}}));
    EXPECT_EQ(spans(place_row(box, 0, 96)), (Spans{{10, 30}, {45, 40}}));
    box.alignment = LayoutAlign::end;
    EXPECT_EQ(spans(place_row(box, 0, 96)), (Spans{{21, 30}, {56, 40}}));
}

TEST(BoxLayout, FoldedChildrenTakeNoRoomButKeepTheirIndex) {
    // A folded child reports 0 × 0, but its gap is still counted.
    BoxLayout box = row_of({10, 0, 10}, LayoutExpand::item);
    box.expand_item = 2;
    const Rects rects = box.place(LayoutRect{0, 0, 100, 10}, std::vector<bool>{false, true, false});
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_FALSE(rects[1]);
    EXPECT_EQ(spans(rects), (Spans{{0, 10}, {15, 80}}));
}

TEST(BoxLayout, SizeIsAtLeastTheMinimumAndAcrossTheLargestBreadth) {
    BoxLayout box;
    const std::vector<LayoutSize> sizes{{100, 10}, {95, 25}};
    EXPECT_EQ(box.measure(sizes, {300, 0}), (LayoutSize{300, 25}));
    // width="-1" reports width 0 to the parent.
    EXPECT_EQ(common_requested_size(false, box.measure(sizes, {-1, 0}), {-1, 0}), (LayoutSize{0, 25}));
    EXPECT_EQ(common_requested_size(true, {300, 25}, {}), (LayoutSize{}));
    for (const auto& r : box.place(LayoutRect{0, 4, 300, 25}, std::vector<bool>(2, false)))
        EXPECT_EQ((std::pair{r->y, r->height}), (std::pair{4, 25}));
    // Without children the size is the minimum, and the last total is kept.
    EXPECT_EQ(box.measure({}, {7, 8}), (LayoutSize{7, 8}));
    EXPECT_EQ(box.total_length, 200);
    EXPECT_TRUE(box.place(LayoutRect{0, 0, 50, 50}, std::vector<bool>{}).empty());
}

TEST(BoxLayout, ManyChildrenAndHostileNumbersStayInRange) {
    BoxLayout box;
    box.spacing = INT32_MAX;
    std::vector<LayoutSize> sizes(250, LayoutSize{INT32_MAX, INT32_MIN});
    sizes[3] = {INT32_MIN, INT32_MAX};
    const LayoutSize size = box.measure(sizes, {INT32_MIN, INT32_MAX});
    EXPECT_EQ(size, (LayoutSize{kLayoutLimit, kLayoutLimit}));
    for (LayoutExpand mode : {LayoutExpand::all, LayoutExpand::none, LayoutExpand::equal, LayoutExpand::item}) {
        box.expand = mode;
        box.alignment = LayoutAlign::centre;
        const Rects rects = box.place(LayoutRect{INT32_MIN, INT32_MAX, 1, INT32_MIN}, std::vector<bool>(260, false));
        ASSERT_EQ(rects.size(), 260u);
        for (const auto& r : rects)
            for (std::int32_t v : {r->x, r->y, r->width, r->height})
                EXPECT_LE(std::abs(v), kLayoutLimit);
    }
}

}  // namespace
