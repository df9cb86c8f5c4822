// Grid: children flow into a table row by row around cells taken by earlier
// column and row spans; columns and rows share the available size as boxes do.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "dialog/layout_types.h"

// The table grows as children arrive (rows) and up to these bounds; beyond
// them adding a child fails rather than dropping it or writing past a table.
inline constexpr std::int32_t kGridMaxColumns = 1000;
inline constexpr std::int64_t kGridMaxCells = std::int64_t{1} << 20;

enum class GridError : std::uint8_t {
    none,
    table_full,  // the child's cells would pass kGridMaxCells (rows × columns)
};

// Where a child went. `child` is its index in the order of adding, which is
// also the row-by-row order of the cells.
struct GridPlacement {
    GridError error = GridError::none;
    std::int32_t child = -1;
    std::int32_t row = 0;
    std::int32_t column = 0;
    std::int32_t column_span = 1;  // after cutting at the last column
    std::int32_t row_span = 1;
};

class GridLayout {
public:
    std::int32_t column_spacing = 5;
    std::int32_t row_spacing = 5;
    LayoutExpand column_expand = LayoutExpand::all;
    LayoutExpand row_expand = LayoutExpand::none;
    std::int32_t column_item = 0;  // zero-based, for LayoutExpand::item
    std::int32_t row_item = 0;

    [[nodiscard]] std::int32_t columns() const { return columns_; }
    // 1 … kGridMaxColumns; refused (false) outside that range or once a child
    // was added.
    [[nodiscard]] bool set_columns(std::int32_t columns);

    // Puts the next child into the first free cell from the cursor. Spans
    // below 1 count as 1; a column span is cut at the last column and before
    // a cell an earlier span covers, so children never overlap. Fails
    // (error set, nothing changed) when the table would pass its bounds or
    // hold more than `max_cells` cells.
    [[nodiscard]] GridPlacement add_child(std::int32_t column_span,
                                          std::int32_t row_span,
                                          std::int64_t max_cells = kGridMaxCells);
    // Cells the table holds now (rows so far × columns): what it costs in memory.
    [[nodiscard]] std::int64_t table_cells() const { return static_cast<std::int64_t>(cells_.size()); }

    // After the last child: rows = the first row whose cells are all free.
    void finish();
    [[nodiscard]] std::int32_t rows() const { return rows_; }
    [[nodiscard]] std::int32_t child_count() const { return static_cast<std::int32_t>(children_.size()); }
    [[nodiscard]] const GridPlacement& child(std::int32_t index) const {
        return children_[static_cast<std::size_t>(index)];
    }

    // Size pass over the children's requested sizes, indexed as added (a
    // missing entry counts as 0 × 0). Column widths and row heights only grow
    // from one pass to the next. `minimum` holds the WIDTH and HEIGHT fields.
    LayoutSize measure(std::span<const LayoutSize> children, LayoutSize minimum);
    [[nodiscard]] LayoutSize content_size() const { return content_; }
    [[nodiscard]] std::span<const std::int32_t> column_widths() const { return column_widths_; }
    [[nodiscard]] std::span<const std::int32_t> row_heights() const { return row_heights_; }

    // Place pass: one rectangle per child, indexed as added; none before finish.
    [[nodiscard]] std::vector<LayoutRect> place(LayoutRect area) const;

private:
    std::int32_t columns_ = 2;
    std::int32_t rows_ = 0;
    std::int64_t cursor_ = 0;
    // Row-major cells of `columns_` per row: -1 free, -2 covered by a span,
    // otherwise the index of the child whose first cell it is.
    std::vector<std::int32_t> cells_;
    std::vector<GridPlacement> children_;
    std::vector<std::int32_t> column_widths_;
    std::vector<std::int32_t> row_heights_;
    LayoutSize content_;
};

// A short English reason for an error, for the caller's error text.
[[nodiscard]] std::string_view grid_error_reason(GridError error);
