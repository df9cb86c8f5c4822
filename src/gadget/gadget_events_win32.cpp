// Gadget events: EV_GADGET for the gadget of a control, and callbacks bound to one gadget.
#include "gadget/gadget_internal_win32.h"
#include "window/event_queue.h"
#include "window/window.h"

namespace {
// Callbacks run inside queue_event, so a gadget that posts two events in a row
// may be gone before the second: a destroyed control reads as id 0, which is
// another gadget's number.
void post(void* control, std::int32_t type, std::uint32_t flags) {
    const auto hwnd = static_cast<HWND>(control);
    const GadgetObject* g = hwnd ? gadget_of_control(hwnd) : nullptr;
    if (!g)
        return;
    queue_event(EV_GADGET, GetWindowLongPtrW(hwnd, GWLP_ID), window_number_of(hwnd), type, nullptr, nullptr, flags);
}
}  // namespace

void post_gadget_event(void* control, std::int32_t type) {
    post(control, type, 0);
}

void post_gadget_event_forced(void* control, std::int32_t type) {
    post(control, type, kQueueAlways);
}

void gadget_bind_event(std::intptr_t gadget, EventCallback callback, std::int32_t type) {
    if (GadgetObject* g = gadget_object(gadget))
        bind_event(EV_GADGET, callback, window_number_of(g->handle), gadget, type);
}

bool gadget_unbind_event(std::intptr_t gadget, EventCallback callback, std::int32_t type) {
    GadgetObject* g = gadget_object(gadget);
    return g && unbind_event(EV_GADGET, callback, window_number_of(g->handle), gadget, type);
}
