// The two size rules every element kind shares.
#include "dialog/layout_types.h"

LayoutSize common_requested_size(bool folded, LayoutSize own, LayoutSize fields) {
    if (folded)
        return {};
    if (fields.width == -1)
        own.width = 0;
    if (fields.height == -1)
        own.height = 0;
    return own;
}

LayoutSize at_least(LayoutSize required, LayoutSize minimum) {
    return {clamp_layout(std::max(required.width, minimum.width)),
            clamp_layout(std::max(required.height, minimum.height))};
}
