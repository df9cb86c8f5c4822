// Grid: cells, spans, kept column widths and row heights.
#include "dialog/grid_layout.h"

#include <algorithm>

namespace {

constexpr std::int32_t kFree = -1;
constexpr std::int32_t kCovered = -2;

// Grows the spanned tracks (columns or rows) when a spanning child needs more
// than they give together: `need` is the child's size, `tracks` the spanned ones.
void widen_span(std::span<std::int32_t> tracks,
                std::int64_t spacing,
                std::int64_t need,
                LayoutExpand mode,
                std::int64_t first_index,
                std::int64_t item) {
    const auto count = static_cast<std::int64_t>(tracks.size());
    const std::int64_t gaps = (count - 1) * spacing;
    std::int64_t given = gaps;
    for (std::int32_t t : tracks)
        given += t;
    if (given >= need)
        return;
    if (mode == LayoutExpand::equal) {
        const std::int64_t share = (need - gaps) / count;
        for (std::int32_t& t : tracks)
            t = clamp_layout(std::max<std::int64_t>(t, share));
    } else if (mode == LayoutExpand::all) {
        const std::int64_t extra = (need - given) / count;
        for (std::int32_t& t : tracks)
            t = clamp_layout(t + extra);
    } else if (mode == LayoutExpand::item && item >= first_index && item < first_index + count) {
        std::int32_t& t = tracks[static_cast<std::size_t>(item - first_index)];
        t = clamp_layout(t + (need - given));
    } else {
        tracks.back() = clamp_layout(tracks.back() + (need - given));
    }
}

// The lengths the tracks get when the grid is placed with `available`.
std::vector<std::int64_t> used_lengths(std::span<const std::int32_t> kept,
                                       std::int64_t available,
                                       std::int64_t content,
                                       std::int64_t spacing,
                                       LayoutExpand mode,
                                       std::int64_t item) {
    const auto count = static_cast<std::int64_t>(kept.size());
    std::vector<std::int64_t> used(kept.begin(), kept.end());
    if (count == 0)
        return used;
    if (mode == LayoutExpand::equal) {
        std::fill(used.begin(), used.end(), (available - (count - 1) * spacing) / count);
    } else if (available > 0 && available < content) {
        for (std::int64_t& u : used)
            u = u * available / content;
    } else if (mode == LayoutExpand::all) {
        for (std::int64_t& u : used)
            u += (available - content) / count;
    } else if (mode == LayoutExpand::item && item >= 0 && item < count) {
        used[static_cast<std::size_t>(item)] += available - content;
    }
    return used;
}

// Start offsets of each track (and one past the last), gaps included.
std::vector<std::int64_t> track_starts(const std::vector<std::int64_t>& used, std::int64_t spacing) {
    std::vector<std::int64_t> starts(used.size() + 1, 0);
    for (std::size_t i = 0; i < used.size(); ++i)
        starts[i + 1] = starts[i] + used[i] + spacing;
    return starts;
}

}  // namespace

bool GridLayout::set_columns(std::int32_t columns) {
    if (columns < 1 || columns > kGridMaxColumns || !children_.empty())
        return false;
    columns_ = columns;
    return true;
}

GridPlacement GridLayout::add_child(std::int32_t column_span, std::int32_t row_span, std::int64_t max_cells) {
    std::int64_t cell = cursor_;
    while (cell < static_cast<std::int64_t>(cells_.size()) && cells_[static_cast<std::size_t>(cell)] != kFree)
        ++cell;
    GridPlacement placed;
    placed.row = static_cast<std::int32_t>(cell / columns_);
    placed.column = static_cast<std::int32_t>(cell % columns_);
    placed.column_span = std::min(std::max(column_span, 1), columns_ - placed.column);
    // The span also ends before a cell an earlier row span already covers, so
    // that no two children share a cell (that cell's column is covered in every
    // row the earlier span reaches, so checking this row is enough).
    for (std::int32_t c = 1; c < placed.column_span; ++c) {
        const auto index = static_cast<std::size_t>(cell + c);
        if (index < cells_.size() && cells_[index] != kFree) {
            placed.column_span = c;
            break;
        }
    }
    placed.row_span = std::max(row_span, 1);
    const std::int64_t rows_needed = std::int64_t{placed.row} + placed.row_span;
    if (rows_needed * columns_ > std::min(max_cells, kGridMaxCells) ||
        children_.size() >= static_cast<std::size_t>(kGridMaxCells)) {
        placed.error = GridError::table_full;
        return placed;
    }
    if (static_cast<std::int64_t>(cells_.size()) < rows_needed * columns_)
        cells_.resize(static_cast<std::size_t>(rows_needed * columns_), kFree);
    for (std::int64_t r = placed.row; r < rows_needed; ++r)
        for (std::int64_t c = placed.column; c < placed.column + placed.column_span; ++c)
            cells_[static_cast<std::size_t>(r * columns_ + c)] = kCovered;
    placed.child = static_cast<std::int32_t>(children_.size());
    cells_[static_cast<std::size_t>(cell)] = placed.child;
    children_.push_back(placed);
    cursor_ = cell + 1;
    return placed;
}

void GridLayout::finish() {
    const auto table_rows = static_cast<std::int64_t>(cells_.size()) / columns_;
    std::int64_t row = 0;
    for (; row < table_rows; ++row) {
        const auto first = cells_.begin() + static_cast<std::ptrdiff_t>(row * columns_);
        if (std::all_of(first, first + columns_, [](std::int32_t c) { return c == kFree; }))
            break;
    }
    rows_ = static_cast<std::int32_t>(row);
}

LayoutSize GridLayout::measure(std::span<const LayoutSize> children, LayoutSize minimum) {
    if (rows_ == 0)
        return at_least({}, minimum);
    column_widths_.resize(static_cast<std::size_t>(columns_), 0);
    row_heights_.resize(static_cast<std::size_t>(rows_), 0);
    auto size_of = [&](const GridPlacement& c) {
        const auto i = static_cast<std::size_t>(c.child);
        return i < children.size() ? LayoutSize{clamp_layout(children[i].width), clamp_layout(children[i].height)}
                                   : LayoutSize{};
    };
    // A child added after finish lies past the rows; its spans are cut to them.
    auto rows_spanned = [&](const GridPlacement& c) { return std::min(c.row_span, rows_ - c.row); };

    for (const GridPlacement& c : children_) {
        if (c.row >= rows_)
            continue;
        const LayoutSize size = size_of(c);
        std::int32_t& width = column_widths_[static_cast<std::size_t>(c.column)];
        std::int32_t& height = row_heights_[static_cast<std::size_t>(c.row)];
        if (c.column_span == 1)
            width = std::max(width, size.width);
        if (rows_spanned(c) == 1)
            height = std::max(height, size.height);
    }
    const std::int64_t column_gap = clamp_layout(column_spacing);
    const std::int64_t row_gap = clamp_layout(row_spacing);
    for (const GridPlacement& c : children_) {
        if (c.row >= rows_)
            continue;
        const LayoutSize size = size_of(c);
        if (c.column_span > 1)
            widen_span(std::span(column_widths_)
                           .subspan(static_cast<std::size_t>(c.column), static_cast<std::size_t>(c.column_span)),
                       column_gap, size.width, column_expand, c.column, column_item);
        if (rows_spanned(c) > 1)
            widen_span(std::span(row_heights_)
                           .subspan(static_cast<std::size_t>(c.row), static_cast<std::size_t>(rows_spanned(c))),
                       row_gap, size.height, row_expand, c.row, row_item);
    }
    std::int64_t width = (std::int64_t{columns_} - 1) * column_gap;
    for (std::int32_t w : column_widths_)
        width += w;
    std::int64_t height = (std::int64_t{rows_} - 1) * row_gap;
    for (std::int32_t h : row_heights_)
        height += h;
    content_ = {clamp_layout(width), clamp_layout(height)};
    return at_least(content_, minimum);
}

std::vector<LayoutRect> GridLayout::place(LayoutRect area) const {
    std::vector<LayoutRect> rects;
    if (rows_ == 0)
        return rects;
    // Tracks never measured (placed before a size pass) count as 0.
    std::vector<std::int32_t> widths(column_widths_);
    std::vector<std::int32_t> heights(row_heights_);
    widths.resize(static_cast<std::size_t>(columns_), 0);
    heights.resize(static_cast<std::size_t>(rows_), 0);
    const std::int64_t column_gap = clamp_layout(column_spacing);
    const std::int64_t row_gap = clamp_layout(row_spacing);
    const auto used_widths =
        used_lengths(widths, clamp_layout(area.width), content_.width, column_gap, column_expand, column_item);
    const auto used_heights =
        used_lengths(heights, clamp_layout(area.height), content_.height, row_gap, row_expand, row_item);
    const auto xs = track_starts(used_widths, column_gap);
    const auto ys = track_starts(used_heights, row_gap);

    rects.resize(children_.size());
    for (std::size_t i = 0; i < children_.size(); ++i) {
        const GridPlacement& c = children_[i];
        if (c.row >= rows_) {
            rects[i] = {clamp_layout(area.x), clamp_layout(area.y), 0, 0};
            continue;
        }
        const auto column = static_cast<std::size_t>(c.column);
        const auto row = static_cast<std::size_t>(c.row);
        const auto last_column = column + static_cast<std::size_t>(c.column_span);
        const auto last_row = row + static_cast<std::size_t>(std::min(c.row_span, rows_ - c.row));
        // A span covers its tracks and the gaps between them, not the gap after.
        rects[i] = {clamp_layout(std::int64_t{clamp_layout(area.x)} + xs[column]),
                    clamp_layout(std::int64_t{clamp_layout(area.y)} + ys[row]),
                    clamp_layout(xs[last_column] - xs[column] - column_gap),
                    clamp_layout(ys[last_row] - ys[row] - row_gap)};
    }
    return rects;
}

std::string_view grid_error_reason(GridError error) {
    switch (error) {
        case GridError::none:
            return {};
        case GridError::table_full:
            return "the grid's table is full (too many rows or too large a row span)";
    }
    return {};
}
