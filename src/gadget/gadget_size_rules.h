// The required-size arithmetic of the text kinds, apart from measuring.
#pragma once

#include <cstdint>

struct GadgetSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const GadgetSize&) const = default;
};

// A label: the measured text plus its client edge (edge per side) or 1 pixel per side.
[[nodiscard]] GadgetSize text_required_size(GadgetSize measured, bool client_edge, GadgetSize edge);
// A hyperlink: the measured text plus 2 pixels per side, whatever its style.
[[nodiscard]] GadgetSize hyperlink_required_size(GadgetSize measured);
// A push button: the one-line text plus edges and 10 pixels of padding, at least 24 high.
[[nodiscard]] GadgetSize button_required_size(GadgetSize text, GadgetSize edge);
// A one-line edit field: its edges around one line of text, at least 20 high.
[[nodiscard]] GadgetSize edit_required_size(std::int32_t line_height, GadgetSize edge);
// A check box or option: the box, a gap and the one-line text.
[[nodiscard]] GadgetSize check_required_size(GadgetSize text, GadgetSize box);
