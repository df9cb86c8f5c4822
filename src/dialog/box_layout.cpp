// Row and column boxes.
#include "dialog/box_layout.h"

#include <algorithm>
#include <memory>

namespace {

// Length along the box's line and breadth across it.
std::int32_t length_of(BoxAxis axis, LayoutSize size) {
    return clamp_layout(axis == BoxAxis::horizontal ? size.width : size.height);
}
std::int32_t breadth_of(BoxAxis axis, LayoutSize size) {
    return clamp_layout(axis == BoxAxis::horizontal ? size.height : size.width);
}

// Truncating division toward zero, as the layout rules ask (C++ does the same).
std::int64_t divide(std::int64_t numerator, std::int64_t denominator) {
    return numerator / denominator;
}

}  // namespace

LayoutSize BoxLayout::measure(std::span<const LayoutSize> children, LayoutSize minimum) {
    std::int64_t sum = 0;
    std::int64_t longest = 0;
    std::int64_t breadth = 0;
    child_lengths.assign(children.size(), 0);
    for (std::size_t i = 0; i < children.size(); ++i) {
        const std::int32_t length = length_of(axis, children[i]);
        child_lengths[i] = length;
        sum += length;
        longest = std::max<std::int64_t>(longest, length);
        breadth = std::max<std::int64_t>(breadth, breadth_of(axis, children[i]));
    }
    const auto n = static_cast<std::int64_t>(children.size());
    if (n > 0) {
        if (expand == LayoutExpand::equal)
            sum = n * longest;
        sum += (n - 1) * clamp_layout(spacing);
        total_length = clamp_layout(sum);
    }
    const std::int32_t length = std::max(clamp_layout(sum), length_of(axis, minimum));
    const std::int32_t across = std::max(clamp_layout(breadth), breadth_of(axis, minimum));
    return axis == BoxAxis::horizontal ? LayoutSize{length, across} : LayoutSize{across, length};
}

std::vector<std::optional<LayoutRect>> BoxLayout::place(LayoutRect area, std::span<const bool> folded) const {
    const auto n = static_cast<std::int64_t>(folded.size());
    std::vector<std::optional<LayoutRect>> result(folded.size());
    if (n == 0)
        return result;

    const bool horizontal = axis == BoxAxis::horizontal;
    const std::int64_t available = clamp_layout(horizontal ? area.width : area.height);
    const std::int64_t total = clamp_layout(total_length);
    const std::int64_t gap = clamp_layout(spacing);
    auto stored = [&](std::int64_t i) -> std::int64_t {
        return i < static_cast<std::int64_t>(child_lengths.size())
                   ? clamp_layout(child_lengths[static_cast<std::size_t>(i)])
                   : 0;
    };

    std::int64_t cursor = clamp_layout(horizontal ? area.x : area.y);
    // Exactly one rule gives every child its length, tested in this order.
    std::vector<std::int64_t> lengths(folded.size());
    if (expand == LayoutExpand::equal) {
        // The division's remainder stays empty at the end of the line.
        const std::int64_t share = divide(available - (n - 1) * gap, n);
        std::fill(lengths.begin(), lengths.end(), share);
    } else if (available > 0 && available < total) {
        // A shortage shrinks every child in proportion; the gaps keep their size.
        for (std::int64_t i = 0; i < n; ++i)
            lengths[static_cast<std::size_t>(i)] = divide(stored(i) * available, total);
    } else if (expand == LayoutExpand::all) {
        const std::int64_t extra = divide(available - total, n);
        for (std::int64_t i = 0; i < n; ++i)
            lengths[static_cast<std::size_t>(i)] = stored(i) + extra;
    } else if (expand == LayoutExpand::item) {
        for (std::int64_t i = 0; i < n; ++i)
            lengths[static_cast<std::size_t>(i)] = stored(i) + (i == expand_item ? available - total : 0);
    } else {
        for (std::int64_t i = 0; i < n; ++i)
            lengths[static_cast<std::size_t>(i)] = stored(i);
        if (alignment == LayoutAlign::centre)
            cursor += divide(available - total, 2);
        else if (alignment == LayoutAlign::end)
            cursor += available - total;
    }

    const std::int32_t cross = clamp_layout(horizontal ? area.y : area.x);
    const std::int32_t breadth = clamp_layout(horizontal ? area.height : area.width);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        if (folded[i])
            continue;
        const std::int32_t start = clamp_layout(cursor);
        const std::int32_t length = clamp_layout(lengths[i]);
        result[i] = horizontal ? LayoutRect{start, cross, length, breadth} : LayoutRect{cross, start, breadth, length};
        // Stays far inside 64 bits: each step adds at most a few limits.
        cursor += lengths[i] + gap;
    }
    return result;
}

std::vector<std::optional<LayoutRect>> BoxLayout::place(LayoutRect area, const std::vector<bool>& folded) const {
    const std::unique_ptr<bool[]> flags(new bool[folded.size()]);
    std::copy(folded.begin(), folded.end(), flags.get());
    return place(area, std::span<const bool>(flags.get(), folded.size()));
}

LayoutSize multibox_requested_size(std::span<const LayoutSize> children, LayoutSize minimum) {
    LayoutSize largest;
    for (const LayoutSize& child : children) {
        largest.width = std::max(largest.width, clamp_layout(child.width));
        largest.height = std::max(largest.height, clamp_layout(child.height));
    }
    return at_least(largest, minimum);
}
