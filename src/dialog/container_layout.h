// Size and place arithmetic of the container gadgets and the gadget elements'
// special rules, taking every measured number (text height, border metric,
// item height) as an argument. The requested-size functions of single-child
// containers store the child's size in the layout, as a size pass does.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "dialog/layout_types.h"
#include "dialog/single_child_layout.h"

// ---- container (and canvas with a child list) ----

inline constexpr std::uint32_t kContainerFlatFlag = 1;  // the container flag table's flat border

// Border width and height from the container's flags: 2 when flat, twice the
// system's border width for any other flags, 0 without flags.
[[nodiscard]] LayoutSize container_borders(std::uint32_t flags, std::int32_t system_border_width);
// max(WIDTH, margins + borders + child) per axis.
[[nodiscard]] LayoutSize container_requested_size(SingleChildLayout& layout,
                                                  LayoutSize borders,
                                                  LayoutSize child,
                                                  LayoutSize minimum);
// The child's content area in the container's own coordinates: half a border in.
[[nodiscard]] LayoutRect container_content_area(LayoutSize borders, LayoutSize given);

// A canvas holding a child: max(WIDTH, margins + child); content area (0, 0, w, h).
// A tab page: the same formulas. A canvas without a child uses at_least(required, minimum).
[[nodiscard]] LayoutSize canvas_requested_size(SingleChildLayout& layout, LayoutSize child, LayoutSize minimum);
[[nodiscard]] LayoutSize tab_requested_size(SingleChildLayout& layout, LayoutSize child, LayoutSize minimum);

// ---- frame ----

// The frame's top inset: its text height, at least 10. Bottom, left and right are 4.
[[nodiscard]] std::int32_t frame_top_inset(std::int32_t text_height);
[[nodiscard]] LayoutSize frame_requested_size(SingleChildLayout& layout,
                                              std::int32_t top_inset,
                                              LayoutSize child,
                                              LayoutSize minimum);
// The child's content area in the parent's coordinates (a frame holds no gadget list).
[[nodiscard]] LayoutRect frame_content_area(std::int32_t top_inset, LayoutRect frame);

// ---- scroll area ----

inline constexpr std::int32_t kScrollBarAllowance = 22;
inline constexpr std::int32_t kScrollAreaAuto = -1;

enum class ScrollAreaScrolling : std::int32_t { none = 0, vertical = 1, horizontal = 2 };

struct ScrollAreaSettings {
    std::int32_t inner_width = kScrollAreaAuto;   // INNERWIDTH
    std::int32_t inner_height = kScrollAreaAuto;  // INNERHEIGHT
    std::int32_t step = 10;                       // STEP
    ScrollAreaScrolling scrolling = ScrollAreaScrolling::none;
};

[[nodiscard]] LayoutSize scroll_area_requested_size(const ScrollAreaSettings& settings,
                                                    SingleChildLayout& layout,
                                                    LayoutSize child,
                                                    LayoutSize minimum);

struct ScrollAreaPlacement {
    LayoutRect child;                          // in the scroll area's inner coordinates
    std::optional<std::int32_t> inner_width;   // set when INNERWIDTH is automatic
    std::optional<std::int32_t> inner_height;  // set when INNERHEIGHT is automatic
};
// For a scroll area given `given` and holding a child.
[[nodiscard]] ScrollAreaPlacement scroll_area_place(const ScrollAreaSettings& settings,
                                                    const SingleChildLayout& layout,
                                                    LayoutSize given);

// ---- panel ----

// max(WIDTH, widest page + 4) × max(HEIGHT, highest page + tab strip + 2).
[[nodiscard]] LayoutSize panel_requested_size(std::span<const LayoutSize> pages,
                                              std::int32_t tab_strip_height,
                                              LayoutSize minimum);

// ---- splitter ----

inline constexpr std::uint32_t kSplitterVerticalFlag = 0x1;
inline constexpr std::uint32_t kSplitterSeparatorFlag = 0x2;

// Panes side by side (vertical) plus the bar, or stacked; at least WIDTH × HEIGHT.
[[nodiscard]] LayoutSize splitter_requested_size(std::uint32_t flags,
                                                 LayoutSize pane1,
                                                 LayoutSize pane2,
                                                 LayoutSize minimum);
// An automatic pane minimum: the pane's requested width when vertical, else its height.
[[nodiscard]] std::int32_t splitter_auto_minimum(std::uint32_t flags, LayoutSize pane);

// ---- gadget elements ----

// A list view as high as a whole number of rows plus its two edges, never
// below HEIGHT: `edge` is the system's edge height, `item_height` the list's
// row height (no change when it is 0 or less).
[[nodiscard]] std::int32_t listview_requested_height(std::int32_t height_field,
                                                     std::int32_t item_height,
                                                     std::int32_t edge);

inline constexpr std::uint32_t kTextBorderFlag = 0x20000;

// A text or hyperlink without a border given more than 2 pixels beyond its
// need (max(HEIGHT, required height)) sits 2 pixels lower and 2 shorter.
[[nodiscard]] LayoutRect text_gadget_rect(LayoutRect given,
                                          std::uint32_t flags,
                                          std::int32_t height_field,
                                          std::int32_t required_height);
