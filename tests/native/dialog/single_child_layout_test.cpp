#include "dialog/single_child_layout.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>

#include "dialog/layout_attributes.h"

namespace {

SingleChildLayout with(std::initializer_list<std::pair<std::u16string_view, std::u16string_view>> attributes,
                       std::int32_t margin = 0) {
    SingleChildLayout layout(margin);
    for (const auto& [name, value] : attributes)
        EXPECT_EQ(apply_single_child_attribute(layout, name, value), AttributeResult::applied);
    return layout;
}

TEST(SingleChildLayout, CentredChildSharesTheSlackInsideTheMargins) {
    for (std::int32_t margin : {0, 10}) {
        SingleChildLayout layout = with({{u"align", u"center"}, {u"expand", u"no"}}, margin);
        EXPECT_EQ(singlebox_measure(layout, LayoutSize{30, 10}, {}), (LayoutSize{30 + 2 * margin, 10 + 2 * margin}));
        EXPECT_EQ(layout.place_child({0, 0, 100, 40}), (LayoutRect{35, 15, 30, 10}));
    }
}

TEST(SingleChildLayout, StretchingStopsAtItsCapAndAlignsTheRest) {
    SingleChildLayout layout = with({{u"expand", u"horizontal"}, {u"expandwidth", u"50"}});
    layout.child = {30, 10};
    EXPECT_EQ(layout.place_child({0, 0, 200, 40}), (LayoutRect{0, 0, 50, 10}));
    // A cap below the request gives the request; a cap beyond the room is no cap.
    layout.expand_width_cap = 20;
    EXPECT_EQ(layout.place_child({0, 0, 200, 40}).width, 30);
    layout.expand_width_cap = 500;
    EXPECT_EQ(layout.place_child({0, 0, 200, 40}).width, 200);
    layout.expand_width_cap = 50;
    layout.horizontal = LayoutAlign::end;
    layout.vertical = LayoutAlign::centre;
    EXPECT_EQ(layout.place_child({5, 5, 200, 41}), (LayoutRect{155, 20, 50, 10}));
}

TEST(SingleChildLayout, TooLittleRoomGivesTheRoomUnaligned) {
    SingleChildLayout layout = with({{u"ALIGN", u"center"}, {u"EXPAND", u"NO"}}, 10);
    layout.child = {100, 100};
    EXPECT_EQ(layout.place_child({0, 0, 50, 120}), (LayoutRect{10, 10, 30, 100}));
}

TEST(SingleChildLayout, MarginForms) {
    auto sides = [](const SingleChildLayout& l) { return std::array{l.top, l.bottom, l.left, l.right}; };
    EXPECT_EQ(sides(with({{u"margin", u"7"}}, 10)), (std::array{7, 7, 7, 7}));
    EXPECT_EQ(sides(with({{u"margin", u"DPIy3"}}, 10)), (std::array{0, 0, 0, 0}));
    EXPECT_EQ(sides(with({{u"margin", u"top:4,left:2"}}, 10)), (std::array{4, 0, 2, 0}));
    EXPECT_EQ(sides(with({{u"margin", u"vertical:3,horizontal:7"}}, 10)), (std::array{3, 3, 7, 7}));
    EXPECT_EQ(sides(with({{u"MARGIN", u"Bottom: 6, Right:-2, top:1, vertical:9"}}, 10)), (std::array{9, 9, 0, -2}));
}

TEST(SingleChildLayout, AlignWordsAreFoundAnywhereInTheValue) {
    auto align = [](std::u16string_view value) {
        SingleChildLayout l = with({{u"align", value}});
        return std::pair{l.vertical, l.horizontal};
    };
    using A = LayoutAlign;
    EXPECT_EQ(align(u"center"), (std::pair{A::centre, A::centre}));
    EXPECT_EQ(align(u"top,center"), (std::pair{A::start, A::centre}));
    EXPECT_EQ(align(u"right"), (std::pair{A::start, A::end}));
    EXPECT_EQ(align(u"BottomLeft"), (std::pair{A::end, A::start}));
    EXPECT_EQ(align(u"middle"), (std::pair{A::start, A::start}));
    EXPECT_EQ(SingleChildLayout().vertical, A::unset);
}

TEST(SingleChildLayout, HostileNumbersStayInRange) {
    SingleChildLayout layout = with({{u"margin", u"-99999999999"}, {u"align", u"center"}});
    layout.child = {INT32_MAX, INT32_MIN};
    EXPECT_EQ(singlebox_measure(layout, LayoutSize{INT32_MAX, INT32_MIN}, {INT32_MIN, INT32_MIN}),
              (LayoutSize{0, -kLayoutLimit}));
    const LayoutRect r = layout.place_child({INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX});
    for (std::int32_t v : {r.x, r.y, r.width, r.height})
        EXPECT_LE(std::abs(v), kLayoutLimit);
}

}  // namespace
