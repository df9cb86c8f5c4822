// Required sizes of labels, links and buttons from their measured text.
#include "gadget/gadget_size_rules.h"

#include <algorithm>

GadgetSize text_required_size(GadgetSize measured, bool client_edge, GadgetSize edge) {
    if (client_edge)
        return {measured.width + 2 * edge.width, measured.height + 2 * edge.height};
    return {measured.width + 2, measured.height + 2};
}

GadgetSize hyperlink_required_size(GadgetSize measured) {
    return {measured.width + 4, measured.height + 4};
}

GadgetSize button_required_size(GadgetSize text, GadgetSize edge) {
    constexpr std::int32_t kMinimumHeight = 24;
    return {text.width + 2 * edge.width + 10, std::max(text.height + 2 * edge.height, kMinimumHeight)};
}

GadgetSize edit_required_size(std::int32_t line_height, GadgetSize edge) {
    constexpr std::int32_t kMinimumHeight = 20;
    return {2 * edge.width, std::max(line_height + 2 * edge.height, kMinimumHeight)};
}

GadgetSize check_required_size(GadgetSize text, GadgetSize box) {
    constexpr std::int32_t kGap = 6;
    return {box.width + kGap + text.width, std::max(text.height, box.height) + 4};
}
