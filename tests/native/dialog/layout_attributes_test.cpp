#include "dialog/layout_attributes.h"

#include <gtest/gtest.h>

namespace {

TEST(LayoutAttributes, BoxKeywordsIgnoreCaseAndUnknownValuesChangeNothing) {
    BoxLayout box;
    EXPECT_EQ(apply_box_attribute(box, u"Spacing", u"DPIx5"), AttributeResult::applied);
    EXPECT_EQ(box.spacing, 0);
    (void)apply_box_attribute(box, u"SPACING", u" 12px");
    EXPECT_EQ(box.spacing, 12);

    (void)apply_box_attribute(box, u"expand", u"equal");
    EXPECT_EQ(box.expand, LayoutExpand::equal);
    (void)apply_box_attribute(box, u"expand", u"yes");
    EXPECT_EQ(box.expand, LayoutExpand::equal);
    (void)apply_box_attribute(box, u"EXPAND", u"No");
    EXPECT_EQ(box.expand, LayoutExpand::none);
    (void)apply_box_attribute(box, u"expand", u"ITEM:-2147483648");
    EXPECT_EQ(box.expand, LayoutExpand::item);
    EXPECT_EQ(box.expand_item, INT32_MIN);

    for (auto [value, expected] : {std::pair{u"center", LayoutAlign::centre},
                                   {u"left", LayoutAlign::centre},
                                   {u"Bottom", LayoutAlign::end},
                                   {u"RIGHT", LayoutAlign::end}}) {
        (void)apply_box_attribute(box, u"align", value);
        EXPECT_EQ(box.alignment, expected);
    }
    EXPECT_EQ(apply_box_attribute(box, u"margin", u"4"), AttributeResult::not_layout);
    EXPECT_EQ(apply_box_attribute(box, u"spacingx", u"4"), AttributeResult::not_layout);
}

TEST(LayoutAttributes, SingleChildExpandWords) {
    SingleChildLayout layout;
    (void)apply_single_child_attribute(layout, u"Expand", u"VERTICAL");
    EXPECT_EQ((std::pair{layout.expand_width, layout.expand_height}), (std::pair{false, true}));
    (void)apply_single_child_attribute(layout, u"expand", u"horizontal");
    EXPECT_EQ((std::pair{layout.expand_width, layout.expand_height}), (std::pair{true, false}));
    (void)apply_single_child_attribute(layout, u"expand", u"yes");
    EXPECT_EQ((std::pair{layout.expand_width, layout.expand_height}), (std::pair{true, false}));
    (void)apply_single_child_attribute(layout, u"expand", u"no");
    EXPECT_EQ((std::pair{layout.expand_width, layout.expand_height}), (std::pair{false, false}));
    (void)apply_single_child_attribute(layout, u"ExpandHeight", u"44");
    EXPECT_EQ(layout.expand_height_cap, 44);
    EXPECT_EQ(apply_single_child_attribute(layout, u"spacing", u"4"), AttributeResult::not_layout);
}

TEST(LayoutAttributes, GridSettings) {
    GridLayout grid;
    EXPECT_EQ(apply_grid_attribute(grid, u"Columns", u"4"), AttributeResult::applied);
    EXPECT_EQ(grid.columns(), 4);
    EXPECT_EQ(apply_grid_attribute(grid, u"columns", u"0"), AttributeResult::bad_value);
    EXPECT_EQ(apply_grid_attribute(grid, u"columns", u"DPIx1"), AttributeResult::bad_value);
    EXPECT_EQ(grid.columns(), 4);
    (void)apply_grid_attribute(grid, u"colspacing", u"9");
    (void)apply_grid_attribute(grid, u"RowSpacing", u"-3");
    EXPECT_EQ((std::pair{grid.column_spacing, grid.row_spacing}), (std::pair{9, -3}));

    // COLEXPAND knows NO, ROWEXPAND knows YES.
    (void)apply_grid_attribute(grid, u"colexpand", u"yes");
    EXPECT_EQ(grid.column_expand, LayoutExpand::all);
    (void)apply_grid_attribute(grid, u"colexpand", u"no");
    EXPECT_EQ(grid.column_expand, LayoutExpand::none);
    (void)apply_grid_attribute(grid, u"rowexpand", u"no");
    EXPECT_EQ(grid.row_expand, LayoutExpand::none);
    (void)apply_grid_attribute(grid, u"rowexpand", u"YES");
    EXPECT_EQ(grid.row_expand, LayoutExpand::all);
    (void)apply_grid_attribute(grid, u"ROWEXPAND", u"item:3");
    EXPECT_EQ((std::pair{grid.row_expand, grid.row_item}), (std::pair{LayoutExpand::item, 2}));
    (void)apply_grid_attribute(grid, u"colexpand", u"Equal");
    EXPECT_EQ(grid.column_expand, LayoutExpand::equal);

    EXPECT_EQ(read_grid_span(std::nullopt), 1);
    EXPECT_EQ(read_grid_span(u"0"), 1);
    EXPECT_EQ(read_grid_span(u"-4"), 1);
    EXPECT_EQ(read_grid_span(u"3"), 3);
}

}  // namespace
