// Reading the layout attributes of dialog definitions into layout state.
// Attribute names and keywords compare ignoring ASCII case; numbers are read
// as plain decimal integers (leading_decimal: a run-time name reads as 0).
// Each apply_* function takes one attribute, in document order, and says
// whether it was one of its kind's layout attributes.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "dialog/box_layout.h"
#include "dialog/container_layout.h"
#include "dialog/grid_layout.h"
#include "dialog/single_child_layout.h"
#include "dialog/window_size_limits.h"

enum class AttributeResult : std::uint8_t {
    not_layout,  // not a layout attribute of this kind: the caller reads it otherwise
    applied,     // read (a value that means nothing leaves the state as it was)
    bad_value,   // refused, state unchanged: the caller records an error naming the element
};

// hbox / vbox: SPACING, EXPAND (NO, EQUAL, ITEM:n), ALIGN (CENTER; BOTTOM or RIGHT).
AttributeResult apply_box_attribute(BoxLayout& box, std::u16string_view name, std::u16string_view value);

// Every single-child element: MARGIN (n, or TOP:/BOTTOM:/LEFT:/RIGHT:/VERTICAL:/
// HORIZONTAL: parts), EXPAND (VERTICAL, HORIZONTAL, NO), EXPANDWIDTH,
// EXPANDHEIGHT, ALIGN (TOP, BOTTOM, LEFT, RIGHT, CENTER as substrings).
AttributeResult apply_single_child_attribute(SingleChildLayout& layout,
                                             std::u16string_view name,
                                             std::u16string_view value);

// gridbox: COLUMNS (bad_value below 1 or above kGridMaxColumns, or once
// children were added), COLSPACING, ROWSPACING, COLEXPAND (NO, EQUAL, ITEM:n),
// ROWEXPAND (YES, EQUAL, ITEM:n).
AttributeResult apply_grid_attribute(GridLayout& grid, std::u16string_view name, std::u16string_view value);

// A grid child's COLSPAN or ROWSPAN value: absent, 0 or negative give 1.
[[nodiscard]] std::int32_t read_grid_span(std::optional<std::u16string_view> value);

// window: MINWIDTH, MINHEIGHT, MAXWIDTH, MAXHEIGHT ("AUTO" or a number cut to 16 bits).
AttributeResult apply_window_limit_attribute(WindowSizeLimits& limits,
                                             std::u16string_view name,
                                             std::u16string_view value);

// scrollarea: INNERWIDTH, INNERHEIGHT ("AUTO" gives automatic), STEP,
// SCROLLING (VERTICAL, HORIZONTAL, else none).
AttributeResult apply_scroll_area_attribute(ScrollAreaSettings& settings,
                                            std::u16string_view name,
                                            std::u16string_view value);

// splitter FIRSTMIN / SECONDMIN value: nullopt for "AUTO" or "REQUEST"
// (automatic), otherwise the number to set at once.
[[nodiscard]] std::optional<std::int32_t> read_splitter_minimum(std::u16string_view value);
