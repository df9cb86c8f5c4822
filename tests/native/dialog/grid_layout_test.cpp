#include "dialog/grid_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

struct Cell {
    std::int32_t row, column, column_span, row_span;
    bool operator==(const Cell&) const = default;
};

Cell cell_of(const GridPlacement& p) {
    EXPECT_EQ(p.error, GridError::none);
    return {p.row, p.column, p.column_span, p.row_span};
}

std::vector<std::int32_t> widths(const GridLayout& grid) {
    return {grid.column_widths().begin(), grid.column_widths().end()};
}

TEST(GridLayout, ChildrenFlowAroundSpans) {
    GridLayout two;
    EXPECT_EQ(cell_of(two.add_child(1, 1)), (Cell{0, 0, 1, 1}));
    // A column span that does not fit the rest of the row is cut there.
    EXPECT_EQ(cell_of(two.add_child(2, 0)), (Cell{0, 1, 1, 1}));
    EXPECT_EQ(cell_of(two.add_child(-3, 1)), (Cell{1, 0, 1, 1}));
    two.finish();
    EXPECT_EQ(two.rows(), 2);

    GridLayout three;
    ASSERT_TRUE(three.set_columns(3));
    EXPECT_EQ(cell_of(three.add_child(1, 2)), (Cell{0, 0, 1, 2}));
    (void)three.add_child(1, 1);
    (void)three.add_child(1, 1);
    EXPECT_EQ(cell_of(three.add_child(1, 1)), (Cell{1, 1, 1, 1}));
    three.finish();
    EXPECT_EQ(three.rows(), 2);
}

TEST(GridLayout, AColumnSpanStopsAtACellAnEarlierRowSpanCovers) {
    GridLayout grid;
    ASSERT_TRUE(grid.set_columns(3));
    (void)grid.add_child(1, 1);
    EXPECT_EQ(cell_of(grid.add_child(1, 3)), (Cell{0, 1, 1, 3}));
    (void)grid.add_child(1, 1);
    EXPECT_EQ(cell_of(grid.add_child(3, 1)), (Cell{1, 0, 1, 1}));
    EXPECT_EQ(cell_of(grid.add_child(3, 2)), (Cell{1, 2, 1, 2}));
    grid.finish();
    (void)grid.measure(std::vector<LayoutSize>(5, {10, 10}), {});
    const auto rects = grid.place({0, 0, 40, 40});
    for (std::size_t a = 0; a < rects.size(); ++a)
        for (std::size_t b = a + 1; b < rects.size(); ++b) {
            const LayoutRect& p = rects[a];
            const LayoutRect& q = rects[b];
            const bool apart =
                p.x + p.width <= q.x || q.x + q.width <= p.x || p.y + p.height <= q.y || q.y + q.height <= p.y;
            EXPECT_TRUE(apart) << a << " and " << b;
        }
}

TEST(GridLayout, ColumnsGrowEvenlyByDefault) {
    GridLayout grid;
    (void)grid.add_child(1, 1);
    (void)grid.add_child(1, 1);
    grid.finish();
    const std::vector<LayoutSize> sizes{{40, 12}, {60, 20}};
    EXPECT_EQ(grid.measure(sizes, {}), (LayoutSize{105, 20}));
    const auto rects = grid.place({0, 0, 125, 30});
    EXPECT_EQ(rects, (std::vector<LayoutRect>{{0, 0, 50, 20}, {55, 0, 70, 20}}));
    // Too little room shrinks in proportion; gaps keep their size.
    EXPECT_EQ(grid.place({10, 0, 50, 20})[1], (LayoutRect{10 + 19 + 5, 0, 28, 20}));
    grid.column_expand = LayoutExpand::equal;
    EXPECT_EQ(grid.place({0, 0, 125, 20})[1], (LayoutRect{65, 0, 60, 20}));
    grid.column_expand = LayoutExpand::item;
    grid.column_item = 0;
    EXPECT_EQ(grid.place({0, 0, 125, 20})[1], (LayoutRect{65, 0, 60, 20}));
    grid.column_expand = LayoutExpand::none;
    EXPECT_EQ(grid.place({0, 0, 125, 20})[1], (LayoutRect{45, 0, 60, 20}));
}

TEST(GridLayout, ColumnWidthsAreKeptBetweenSizePasses) {
    GridLayout grid;
    (void)grid.add_child(1, 1);
    grid.finish();
    (void)grid.measure(std::vector<LayoutSize>{{80, 10}}, {});
    EXPECT_EQ(grid.measure(std::vector<LayoutSize>{{30, 5}}, {}), (LayoutSize{80 + 5, 10}));
    EXPECT_EQ(widths(grid), (std::vector<std::int32_t>{80, 0}));
}

TEST(GridLayout, AWideSpanWidensItsColumnsByTheColumnMode) {
    struct Case {
        LayoutExpand mode;
        std::int32_t item;
        std::vector<std::int32_t> widths;
    };
    // Columns of 20 and 30 with gap 5 give 55; the spanning child needs 100.
    const Case cases[] = {
        {LayoutExpand::all, 0, {42, 52}},  {LayoutExpand::equal, 0, {47, 47}}, {LayoutExpand::item, 1, {20, 75}},
        {LayoutExpand::item, 0, {65, 30}}, {LayoutExpand::none, 0, {20, 75}},  {LayoutExpand::item, 5, {20, 75}},
    };
    for (const Case& c : cases) {
        GridLayout grid;
        grid.column_expand = c.mode;
        grid.column_item = c.item;
        (void)grid.add_child(2, 1);
        (void)grid.add_child(1, 1);
        (void)grid.add_child(1, 1);
        grid.finish();
        (void)grid.measure(std::vector<LayoutSize>{{100, 1}, {20, 1}, {30, 1}}, {});
        EXPECT_EQ(widths(grid), c.widths) << static_cast<int>(c.mode) << " item " << c.item;
    }
}

TEST(GridLayout, ATallRowSpanGrowsTheLastRowByDefault) {
    GridLayout grid;
    (void)grid.add_child(1, 2);
    (void)grid.add_child(1, 1);
    (void)grid.add_child(1, 1);
    grid.finish();
    EXPECT_EQ(grid.measure(std::vector<LayoutSize>{{10, 50}, {10, 10}, {10, 10}}, {}), (LayoutSize{25, 50}));
    EXPECT_EQ(grid.place({0, 0, 25, 50}), (std::vector<LayoutRect>{{0, 0, 10, 50}, {15, 0, 10, 10}, {15, 15, 10, 35}}));
}

TEST(GridLayout, TablesGrowPastTheirUsualSize) {
    GridLayout grid;
    ASSERT_TRUE(grid.set_columns(20));
    GridLayout tall;
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(tall.add_child(1, 1).error, GridError::none);
    tall.finish();
    EXPECT_EQ(tall.rows(), 100);
    EXPECT_EQ(tall.child(199).row, 99);
    (void)tall.measure(std::vector<LayoutSize>(200, {3, 4}), {});
    EXPECT_EQ(tall.place({0, 0, 11, 1000}).back(), (LayoutRect{8, 99 * 9, 3, 4}));
}

TEST(GridLayout, RefusesWhatWouldOverrunTheTable) {
    GridLayout grid;
    EXPECT_FALSE(grid.set_columns(0));
    EXPECT_FALSE(grid.set_columns(kGridMaxColumns + 1));
    EXPECT_EQ(grid.columns(), 2);
    const GridPlacement refused = grid.add_child(1, INT32_MAX);
    EXPECT_EQ(refused.error, GridError::table_full);
    EXPECT_FALSE(grid_error_reason(refused.error).empty());
    EXPECT_EQ(grid.child_count(), 0);
    EXPECT_EQ(cell_of(grid.add_child(1, 1)), (Cell{0, 0, 1, 1}));
    EXPECT_FALSE(grid.set_columns(3));
}

TEST(GridLayout, AChildPastTheGivenCellCountIsRefused) {
    GridLayout grid;
    ASSERT_TRUE(grid.set_columns(10));
    EXPECT_EQ(grid.add_child(1, 3, 30).error, GridError::none);
    EXPECT_EQ(grid.table_cells(), 30);
    // Within the rows the table already has, no more cells are needed.
    EXPECT_EQ(grid.add_child(1, 3, 30).error, GridError::none);
    EXPECT_EQ(grid.add_child(1, 4, 39).error, GridError::table_full);
    EXPECT_EQ(grid.child_count(), 2);
    EXPECT_EQ(grid.table_cells(), 30);
    EXPECT_EQ(grid.add_child(1, 4, 40).error, GridError::none);
}

TEST(GridLayout, WithoutRowsOnlyTheMinimumCounts) {
    GridLayout grid;
    grid.finish();
    EXPECT_EQ(grid.measure({}, {30, -4}), (LayoutSize{30, 0}));
    EXPECT_TRUE(grid.place({0, 0, 100, 100}).empty());
}

}  // namespace
