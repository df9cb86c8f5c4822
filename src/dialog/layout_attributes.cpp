// Reading the layout attributes of dialog definitions.
#include "dialog/layout_attributes.h"

#include <algorithm>
#include <limits>

#include "dialog/runtime_names.h"  // leading_decimal
#include "system/utf.h"

namespace {

bool is(std::u16string_view text, std::u16string_view word) {
    return ascii_equal_ignore_case(text, word);
}

// Position of `needle` in `text` ignoring ASCII case, or npos.
std::size_t find_ignoring_case(std::u16string_view text, std::u16string_view needle) {
    const auto found = std::search(text.begin(), text.end(), needle.begin(), needle.end(),
                                   [](char16_t a, char16_t b) { return ascii_lower(a) == ascii_lower(b); });
    return found == text.end() && !needle.empty() ? std::u16string_view::npos
                                                  : static_cast<std::size_t>(found - text.begin());
}

bool contains(std::u16string_view text, std::u16string_view needle) {
    return find_ignoring_case(text, needle) != std::u16string_view::npos;
}

// The number written after `key` ("TOP:" …), or nullopt when the key is absent.
std::optional<std::int32_t> number_after(std::u16string_view text, std::u16string_view key) {
    const std::size_t at = find_ignoring_case(text, key);
    if (at == std::u16string_view::npos)
        return std::nullopt;
    return leading_decimal(text.substr(at + key.size()));
}

// "ITEM:n" names the n-th child, one-based; the index is zero-based.
std::optional<std::int32_t> item_index(std::u16string_view value) {
    constexpr std::u16string_view kItem = u"ITEM:";
    if (value.size() < kItem.size() || !is(value.substr(0, kItem.size()), kItem))
        return std::nullopt;
    const std::int64_t index = std::int64_t{leading_decimal(value.substr(kItem.size()))} - 1;
    return static_cast<std::int32_t>(std::max<std::int64_t>(index, std::numeric_limits<std::int32_t>::min()));
}

// EXPAND of boxes, COLEXPAND and ROWEXPAND; unknown keywords change nothing.
void read_expand(std::u16string_view value, bool yes_means_all, LayoutExpand& mode, std::int32_t& item) {
    if (yes_means_all && is(value, u"YES")) {
        mode = LayoutExpand::all;
    } else if (!yes_means_all && is(value, u"NO")) {
        mode = LayoutExpand::none;
    } else if (is(value, u"EQUAL")) {
        mode = LayoutExpand::equal;
    } else if (const auto index = item_index(value)) {
        mode = LayoutExpand::item;
        item = *index;
    }
}

void read_margin(SingleChildLayout& layout, std::u16string_view value) {
    if (value.find(u':') == std::u16string_view::npos) {
        layout.top = layout.bottom = layout.left = layout.right = leading_decimal(value);
        return;
    }
    layout.top = number_after(value, u"TOP:").value_or(0);
    layout.bottom = number_after(value, u"BOTTOM:").value_or(0);
    layout.left = number_after(value, u"LEFT:").value_or(0);
    layout.right = number_after(value, u"RIGHT:").value_or(0);
    if (const auto vertical = number_after(value, u"VERTICAL:"))
        layout.top = layout.bottom = *vertical;
    if (const auto horizontal = number_after(value, u"HORIZONTAL:"))
        layout.left = layout.right = *horizontal;
}

void read_single_align(SingleChildLayout& layout, std::u16string_view value) {
    if (contains(value, u"TOP"))
        layout.vertical = LayoutAlign::start;
    if (contains(value, u"BOTTOM"))
        layout.vertical = LayoutAlign::end;
    if (contains(value, u"LEFT"))
        layout.horizontal = LayoutAlign::start;
    if (contains(value, u"RIGHT"))
        layout.horizontal = LayoutAlign::end;
    // What the value leaves open is centred when it says CENTER, else at the start.
    const LayoutAlign rest = contains(value, u"CENTER") ? LayoutAlign::centre : LayoutAlign::start;
    if (layout.vertical == LayoutAlign::unset)
        layout.vertical = rest;
    if (layout.horizontal == LayoutAlign::unset)
        layout.horizontal = rest;
}

// A 16-bit limit: AUTO, or the number's low 16 bits.
std::int16_t window_limit(std::u16string_view value) {
    if (is(value, u"AUTO"))
        return kWindowLimitAuto;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(leading_decimal(value) & 0xFFFF));
}

std::int32_t auto_or_number(std::u16string_view value) {
    return is(value, u"AUTO") ? kScrollAreaAuto : leading_decimal(value);
}

}  // namespace

AttributeResult apply_box_attribute(BoxLayout& box, std::u16string_view name, std::u16string_view value) {
    if (is(name, u"SPACING")) {
        box.spacing = leading_decimal(value);
    } else if (is(name, u"EXPAND")) {
        read_expand(value, false, box.expand, box.expand_item);
    } else if (is(name, u"ALIGN")) {
        if (is(value, u"CENTER"))
            box.alignment = LayoutAlign::centre;
        else if (is(value, u"BOTTOM") || is(value, u"RIGHT"))
            box.alignment = LayoutAlign::end;
    } else {
        return AttributeResult::not_layout;
    }
    return AttributeResult::applied;
}

AttributeResult apply_single_child_attribute(SingleChildLayout& layout,
                                             std::u16string_view name,
                                             std::u16string_view value) {
    if (is(name, u"MARGIN")) {
        read_margin(layout, value);
    } else if (is(name, u"EXPAND")) {
        if (is(value, u"VERTICAL")) {
            layout.expand_width = false;
            layout.expand_height = true;
        } else if (is(value, u"HORIZONTAL")) {
            layout.expand_width = true;
            layout.expand_height = false;
        } else if (is(value, u"NO")) {
            layout.expand_width = layout.expand_height = false;
        }
    } else if (is(name, u"EXPANDWIDTH")) {
        layout.expand_width_cap = leading_decimal(value);
    } else if (is(name, u"EXPANDHEIGHT")) {
        layout.expand_height_cap = leading_decimal(value);
    } else if (is(name, u"ALIGN")) {
        read_single_align(layout, value);
    } else {
        return AttributeResult::not_layout;
    }
    return AttributeResult::applied;
}

AttributeResult apply_grid_attribute(GridLayout& grid, std::u16string_view name, std::u16string_view value) {
    if (is(name, u"COLUMNS")) {
        if (!grid.set_columns(leading_decimal(value)))
            return AttributeResult::bad_value;
    } else if (is(name, u"COLSPACING")) {
        grid.column_spacing = leading_decimal(value);
    } else if (is(name, u"ROWSPACING")) {
        grid.row_spacing = leading_decimal(value);
    } else if (is(name, u"COLEXPAND")) {
        read_expand(value, false, grid.column_expand, grid.column_item);
    } else if (is(name, u"ROWEXPAND")) {
        read_expand(value, true, grid.row_expand, grid.row_item);
    } else {
        return AttributeResult::not_layout;
    }
    return AttributeResult::applied;
}

std::int32_t read_grid_span(std::optional<std::u16string_view> value) {
    if (!value)
        return 1;
    return std::max(leading_decimal(*value), 1);
}

AttributeResult apply_window_limit_attribute(WindowSizeLimits& limits,
                                             std::u16string_view name,
                                             std::u16string_view value) {
    if (is(name, u"MINWIDTH"))
        limits.min_width = window_limit(value);
    else if (is(name, u"MINHEIGHT"))
        limits.min_height = window_limit(value);
    else if (is(name, u"MAXWIDTH"))
        limits.max_width = window_limit(value);
    else if (is(name, u"MAXHEIGHT"))
        limits.max_height = window_limit(value);
    else
        return AttributeResult::not_layout;
    return AttributeResult::applied;
}

AttributeResult apply_scroll_area_attribute(ScrollAreaSettings& settings,
                                            std::u16string_view name,
                                            std::u16string_view value) {
    if (is(name, u"INNERWIDTH")) {
        settings.inner_width = auto_or_number(value);
    } else if (is(name, u"INNERHEIGHT")) {
        settings.inner_height = auto_or_number(value);
    } else if (is(name, u"STEP")) {
        settings.step = leading_decimal(value);
    } else if (is(name, u"SCROLLING")) {
        settings.scrolling = is(value, u"VERTICAL")     ? ScrollAreaScrolling::vertical
                             : is(value, u"HORIZONTAL") ? ScrollAreaScrolling::horizontal
                                                        : ScrollAreaScrolling::none;
    } else {
        return AttributeResult::not_layout;
    }
    return AttributeResult::applied;
}

std::optional<std::int32_t> read_splitter_minimum(std::u16string_view value) {
    if (is(value, u"AUTO") || is(value, u"REQUEST"))
        return std::nullopt;
    return leading_decimal(value);
}
