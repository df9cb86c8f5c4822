// Fuzz target for the layout arithmetic: layout attributes with arbitrary
// values, then size and place passes over children of arbitrary sizes. Every
// result must stay within the layout range, and nothing may overflow (UBSan).
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "dialog/box_layout.h"
#include "dialog/container_layout.h"
#include "dialog/grid_layout.h"
#include "dialog/layout_attributes.h"
#include "dialog/single_child_layout.h"
#include "dialog/window_size_limits.h"
#include "window/window.h"

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

void check_value(std::int32_t v) {
    check(v >= -kLayoutLimit && v <= kLayoutLimit);
}
void check_size(LayoutSize s) {
    check_value(s.width);
    check_value(s.height);
}
void check_rect(const LayoutRect& r) {
    for (std::int32_t v : {r.x, r.y, r.width, r.height})
        check_value(v);
}

constexpr std::array<std::u16string_view, 22> kNames = {
    u"SPACING",   u"EXPAND",     u"ALIGN",      u"MARGIN",     u"EXPANDWIDTH", u"EXPANDHEIGHT",
    u"COLUMNS",   u"colspacing", u"ROWSPACING", u"COLEXPAND",  u"rowexpand",   u"MINWIDTH",
    u"MINHEIGHT", u"MAXWIDTH",   u"maxheight",  u"INNERWIDTH", u"INNERHEIGHT", u"STEP",
    u"SCROLLING", u"COLSPAN",    u"ROWSPAN",    u"WIDTH",
};

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : in_(data, size) {}

    std::u16string text() {
        const std::string bytes = in_.ConsumeRandomLengthString(48);
        return {bytes.begin(), bytes.end()};
    }
    std::u16string name() {
        if (in_.ConsumeBool())
            return text();
        return std::u16string(kNames[in_.ConsumeIntegralInRange<std::size_t>(0, kNames.size() - 1)]);
    }
    // Mostly small numbers, sometimes anything.
    std::int32_t number() {
        if (in_.ConsumeBool())
            return in_.ConsumeIntegralInRange<std::int32_t>(-50, 400);
        return in_.ConsumeIntegral<std::int32_t>();
    }
    LayoutSize size() { return {number(), number()}; }
    LayoutRect rect() { return {number(), number(), number(), number()}; }
    std::int32_t count(std::int32_t most) { return in_.ConsumeIntegralInRange<std::int32_t>(0, most); }
    bool flag() { return in_.ConsumeBool(); }
    std::uint32_t bits() { return in_.ConsumeIntegral<std::uint32_t>(); }
    bool done() { return in_.remaining_bytes() == 0; }

private:
    FuzzedDataProvider in_;
};

void fuzz_box(Input& in) {
    BoxLayout box;
    box.axis = in.flag() ? BoxAxis::horizontal : BoxAxis::vertical;
    for (std::int32_t i = in.count(6); i > 0; --i) {
        const std::u16string name = in.name();
        check(apply_box_attribute(box, name, in.text()) != AttributeResult::bad_value);
    }
    std::vector<LayoutSize> sizes(static_cast<std::size_t>(in.count(300)));
    for (LayoutSize& s : sizes)
        s = in.size();
    check_size(box.measure(sizes, in.size()));
    check_value(box.total_length);
    for (std::int32_t pass = in.count(3); pass >= 0; --pass) {
        std::vector<bool> folded(static_cast<std::size_t>(in.count(320)));
        for (std::size_t i = 0; i < folded.size(); ++i)
            folded[i] = in.flag();
        const auto rects = box.place(in.rect(), folded);
        check(rects.size() == folded.size());
        for (std::size_t i = 0; i < rects.size(); ++i) {
            check(rects[i].has_value() != folded[i]);
            if (rects[i])
                check_rect(*rects[i]);
        }
    }
    check_size(multibox_requested_size(sizes, in.size()));
}

void fuzz_grid(Input& in) {
    GridLayout grid;
    for (std::int32_t i = in.count(6); i > 0; --i) {
        const std::u16string name = in.name();
        (void)apply_grid_attribute(grid, name, in.text());
    }
    check(grid.columns() >= 1 && grid.columns() <= kGridMaxColumns);
    // Sometimes a smaller table, as when other grids of a definition took cells.
    const std::int64_t max_cells = in.flag() ? kGridMaxCells : in.count(5000);
    for (std::int32_t i = in.count(400); i > 0 && !in.done(); --i) {
        const std::int32_t before = grid.child_count();
        const std::int64_t cells_before = grid.table_cells();
        const std::int32_t column_span = in.flag() ? read_grid_span(in.text()) : in.number();
        const GridPlacement placed = grid.add_child(column_span, in.number(), max_cells);
        if (placed.error != GridError::none) {
            check(grid.child_count() == before && grid.table_cells() == cells_before);
            continue;
        }
        check(grid.table_cells() <= std::max(cells_before, max_cells));
        check(placed.child == before && grid.child_count() == before + 1);
        check(placed.column >= 0 && placed.column_span >= 1 && placed.column + placed.column_span <= grid.columns());
        check(placed.row >= 0 && placed.row_span >= 1);
    }
    grid.finish();
    // Every child lies inside the rows, and no cell belongs to two children.
    std::vector<bool> taken;
    for (std::int32_t i = 0; i < grid.child_count(); ++i) {
        const GridPlacement& c = grid.child(i);
        check(c.row < grid.rows());
        const auto end_row = static_cast<std::size_t>(c.row) + static_cast<std::size_t>(c.row_span);
        if (taken.size() < end_row * static_cast<std::size_t>(grid.columns()))
            taken.resize(end_row * static_cast<std::size_t>(grid.columns()));
        for (std::size_t r = static_cast<std::size_t>(c.row); r < end_row; ++r)
            for (std::int32_t k = 0; k < c.column_span; ++k) {
                const std::size_t cell =
                    r * static_cast<std::size_t>(grid.columns()) + static_cast<std::size_t>(c.column + k);
                check(!taken[cell]);
                taken[cell] = true;
            }
    }
    std::vector<std::int32_t> kept;
    for (std::int32_t pass = in.count(2); pass >= 0; --pass) {
        std::vector<LayoutSize> sizes(static_cast<std::size_t>(grid.child_count()));
        for (LayoutSize& s : sizes)
            s = in.size();
        check_size(grid.measure(sizes, in.size()));
        check_size(grid.content_size());
        // Kept widths only grow.
        const auto widths = grid.column_widths();
        for (std::size_t c = 0; c < kept.size() && c < widths.size(); ++c)
            check(widths[c] >= kept[c]);
        kept.assign(widths.begin(), widths.end());
        const auto rects = grid.place(in.rect());
        check(rects.empty() ? grid.rows() == 0 : rects.size() == static_cast<std::size_t>(grid.child_count()));
        for (const LayoutRect& r : rects)
            check_rect(r);
    }
}

SingleChildLayout fuzz_single_attributes(Input& in) {
    SingleChildLayout layout(in.number());
    for (std::int32_t i = in.count(6); i > 0; --i) {
        const std::u16string name = in.name();
        check(apply_single_child_attribute(layout, name, in.text()) != AttributeResult::bad_value);
    }
    return layout;
}

void fuzz_single(Input& in) {
    SingleChildLayout layout = fuzz_single_attributes(in);
    check_size(singlebox_measure(layout, in.size(), in.size()));
    check_rect(layout.place_child(in.rect()));
    check_size(layout.margins());

    WindowSizeLimits limits;
    for (std::int32_t i = in.count(5); i > 0; --i) {
        const std::u16string name = in.name();
        (void)apply_window_limit_attribute(limits, name, in.text());
    }
    const WindowSizeRequest request = window_requested_size(limits, layout, in.size(), in.size());
    check_size(request.size);
    for (std::int32_t bound : {request.min_width, request.min_height, request.max_width, request.max_height})
        check(!request.has_bounds || bound == kIgnore || (bound >= -kLayoutLimit && bound <= kLayoutLimit));
    check_rect(window_child_rect(layout, in.rect()));
}

void fuzz_containers(Input& in) {
    SingleChildLayout layout = fuzz_single_attributes(in);
    const LayoutSize borders = container_borders(in.bits(), in.number());
    check_size(borders);
    check_size(container_requested_size(layout, borders, in.size(), in.size()));
    check_rect(container_content_area(borders, in.size()));
    check_size(canvas_requested_size(layout, in.size(), in.size()));
    check_size(tab_requested_size(layout, in.size(), in.size()));
    const std::int32_t top = frame_top_inset(in.number());
    check_value(top);
    check_size(frame_requested_size(layout, top, in.size(), in.size()));
    check_rect(frame_content_area(top, in.rect()));

    ScrollAreaSettings settings;
    for (std::int32_t i = in.count(5); i > 0; --i) {
        const std::u16string name = in.name();
        (void)apply_scroll_area_attribute(settings, name, in.text());
    }
    check_size(scroll_area_requested_size(settings, layout, in.size(), in.size()));
    const ScrollAreaPlacement placed = scroll_area_place(settings, layout, in.size());
    check_rect(placed.child);
    if (placed.inner_width)
        check_value(*placed.inner_width);
    if (placed.inner_height)
        check_value(*placed.inner_height);

    std::vector<LayoutSize> pages(static_cast<std::size_t>(in.count(8)));
    for (LayoutSize& p : pages)
        p = in.size();
    check_size(panel_requested_size(pages, in.number(), in.size()));
    const std::uint32_t flags = in.bits();
    check_size(splitter_requested_size(flags, in.size(), in.size(), in.size()));
    check_value(splitter_auto_minimum(flags, in.size()));
    (void)read_splitter_minimum(in.text());
    check_value(listview_requested_height(in.number(), in.number(), in.number()));
    (void)text_gadget_rect(in.rect(), in.bits(), in.number(), in.number());
}

}  // namespace

// The first byte picks the layout kind; the rest feeds its attributes and sizes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    Input in(data + 1, size - 1);
    switch (data[0] % 4) {
        case 0:
            fuzz_box(in);
            break;
        case 1:
            fuzz_grid(in);
            break;
        case 2:
            fuzz_single(in);
            break;
        default:
            fuzz_containers(in);
            break;
    }
    return 0;
}
