// The progress bar gadget: a value within a range, or an endless marquee.
#include "gadget/gadget_internal_win32.h"
#include "gadget/gadget_kinds.h"
#include "gadget/progressbar_messages_win32.h"

#include <commctrl.h>

namespace {

#ifndef PBS_MARQUEE
constexpr LONG PBS_MARQUEE = 8;
#endif
#ifndef PBM_SETMARQUEE
constexpr UINT PBM_SETMARQUEE = WM_USER + 10;
#endif
constexpr UINT kMarqueeStepMs = 100;
constexpr DWORD kProgressStyle = WS_CHILD | WS_VISIBLE;
static_assert(kProgressStyle == 0x50000000);

bool marquee(const GadgetObject& g) {
    return g.word7 != 0;
}

std::int32_t progress_get_state(GadgetObject& g) {
    if (marquee(g))
        return -1;
    return static_cast<std::int32_t>(SendMessageW(gadget_hwnd(g), PBM_GETPOS, 0, 0));
}

void progress_set_state(GadgetObject& g, std::int32_t value) {
    const HWND control = gadget_hwnd(g);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (value == -1) {
        if (marquee(g))
            return;
        SetWindowLongW(control, GWL_STYLE, style | PBS_MARQUEE);
        SendMessageW(control, PBM_SETMARQUEE, TRUE, kMarqueeStepMs);
        g.word7 = 1;
        return;
    }
    if (marquee(g)) {
        SetWindowLongW(control, GWL_STYLE, style & ~PBS_MARQUEE);
        SendMessageW(control, PBM_SETMARQUEE, FALSE, kMarqueeStepMs);
        g.word7 = 0;
    }
    progress_show_value(control, progress_range_limit(control, true), progress_range_limit(control, false), value);
}

std::int32_t progress_get_attribute(GadgetObject& g, std::int32_t attribute) {
    if (attribute == PB_ProgressBar_Minimum)
        return progress_range_limit(gadget_hwnd(g), true);
    if (attribute == PB_ProgressBar_Maximum)
        return progress_range_limit(gadget_hwnd(g), false);
    return 0;
}

void progress_set_attribute(GadgetObject& g, std::int32_t attribute, std::int32_t value) {
    const HWND control = gadget_hwnd(g);
    if (attribute == PB_ProgressBar_Minimum)
        progress_set_range(control, value, progress_range_limit(control, false));
    else if (attribute == PB_ProgressBar_Maximum)
        progress_set_range(control, progress_range_limit(control, true), value);
}

void progress_set_colour(GadgetObject& g, std::int32_t type, std::int32_t colour) {
    const LPARAM value = colour == -1 ? static_cast<LPARAM>(CLR_DEFAULT) : static_cast<LPARAM>(colour);
    if (type == FRONT_COLOR) {
        SendMessageW(gadget_hwnd(g), PBM_SETBARCOLOR, 0, value);
        g.front_colour = colour;
    } else if (type == BACK_COLOR) {
        SendMessageW(gadget_hwnd(g), PBM_SETBKCOLOR, 0, value);
        g.back_colour = colour;
    }
}

constexpr GadgetKindTable kProgressKind{
    .kind = kKindProgressBar,
    .size = kGadgetKindTableSize,
    .get_state = progress_get_state,
    .set_state = progress_set_state,
    .get_attribute = progress_get_attribute,
    .set_attribute = progress_set_attribute,
    .set_colour = progress_set_colour,
    .get_colour = common_get_colour,
};

}  // namespace

std::intptr_t progressbar_gadget(std::intptr_t id,
                                 std::int32_t x,
                                 std::int32_t y,
                                 std::int32_t width,
                                 std::int32_t height,
                                 std::int32_t minimum,
                                 std::int32_t maximum,
                                 std::uint32_t flags) {
    const HWND control =
        create_gadget_control(0, PROGRESS_CLASSW, nullptr, flags | kProgressStyle, x, y, width, height, 0);
    if (!control)
        return 0;
    progress_set_range(control, minimum, maximum);
    GadgetObject* g = allocate_gadget(id, control);
    if (!g)
        return 0;
    g->back_colour = -1;
    g->front_colour = -1;
    g->word7 = 0;
    return register_gadget(id, g, control, &kProgressKind);
}

void post_progressbar_range(void* control, std::int32_t minimum, std::int32_t maximum) noexcept {
    if (control)
        PostMessageW(static_cast<HWND>(control), PBM_SETRANGE32, static_cast<WPARAM>(minimum),
                     static_cast<LPARAM>(maximum));
}

void post_progressbar_value(void* control, std::int32_t minimum, std::int32_t maximum, std::int32_t value) noexcept {
    if (control)
        progress_show_value(static_cast<HWND>(control), minimum, maximum, value, true);
}
