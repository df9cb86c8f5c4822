// File drop targets: a window (or a gadget's control) accepts data dragged onto
// it from other programs; a drop queues EV_WINDOW_DROP or EV_GADGET_DROP with a
// DropEventData (window/drop_event.h). GUI thread only.
#pragma once

#include <cstdint>

#include "window/drop_event.h"
#include "window/drop_rules.h"

// Owners of a drop target whose controls show feedback while a drag is over
// them (the gadget kind numbers of those controls); 0 is a window.
inline constexpr std::int32_t DROP_OWNER_WINDOW = 0;
inline constexpr std::int32_t DROP_OWNER_LIST_BOX = 6;    // a platform list box
inline constexpr std::int32_t DROP_OWNER_FRAME = 7;       // never reordered behind buttons
inline constexpr std::int32_t DROP_OWNER_LIST_ICON = 12;  // platform list-view controls
inline constexpr std::int32_t DROP_OWNER_EXPLORER_LIST = 23;
inline constexpr std::int32_t DROP_OWNER_EXPLORER_TREE = 24;  // platform tree-view controls
inline constexpr std::int32_t DROP_OWNER_TREE = 27;

// Start-up: the platform's component and drag-and-drop services on this
// thread; false if they could not be started (the thread's last error says
// why). end_drop undoes a successful start.
bool init_drop();
void end_drop();

// The program's say over every drop target: asked at each step of a drag,
// while it answers true the drag is refused (the source shows that nothing
// can be dropped) and a drop delivers nothing. Null: no say.
using DropRefusal = bool (*)() noexcept;
void set_drop_refusal(DropRefusal refusal);

// Accepts format with actions on the window (actions 0 removes it; removing the
// last one unregisters the window). False if the window is not one, or could
// not be registered with the platform (the thread's last error then says why).
bool enable_window_drop(std::intptr_t window, std::uint32_t format, std::uint32_t actions);

// The same for any platform window: owner_kind and owner_number name what the
// drop event reports (DROP_OWNER_WINDOW and a window number, or a gadget kind
// and gadget number). private_type keys DROP_FORMAT_PRIVATE entries.
bool enable_drop_target(void* hwnd,
                        std::int32_t owner_kind,
                        std::intptr_t owner_number,
                        std::uint32_t format,
                        std::uint32_t actions,
                        std::uint32_t private_type = 0);

// Unregisters hwnd's drop target, if it has one (closing windows and gadgets).
void remove_drop_target(void* hwnd);

// Whether hwnd is a drop target, and the item its feedback outlines now (-1 for
// none or for no target): for tests and diagnostics.
[[nodiscard]] bool is_drop_target(void* hwnd);
[[nodiscard]] std::int32_t drop_feedback_item(void* hwnd);
