// Gadgets: native child controls named by gadget ids, and the operations every
// kind shares. An id that names no live gadget makes each operation do nothing
// and return 0 or the empty text. GUI thread only.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/object_id.h"
#include "window/event_bindings.h"  // EventCallback
#include "window/event_types.h"     // ET_*

// Colour types; colours are 0x00BBGGRR, -1 the system default.
inline constexpr std::int32_t FRONT_COLOR = 1;
inline constexpr std::int32_t BACK_COLOR = 2;

// Gadget kind numbers (30 is unused).
inline constexpr std::int32_t kKindButton = 1, kKindString = 2, kKindText = 3, kKindCheckBox = 4, kKindOption = 5,
                              kKindListView = 6, kKindFrame = 7, kKindComboBox = 8, kKindImage = 9, kKindHyperLink = 10,
                              kKindContainer = 11, kKindListIcon = 12, kKindIpAddress = 13, kKindProgressBar = 14,
                              kKindScrollBar = 15, kKindScrollArea = 16, kKindTrackBar = 17, kKindWeb = 18,
                              kKindButtonImage = 19, kKindCalendar = 20, kKindDate = 21, kKindEditor = 22,
                              kKindExplorerList = 23, kKindExplorerTree = 24, kKindExplorerCombo = 25, kKindSpin = 26,
                              kKindTree = 27, kKindPanel = 28, kKindSplitter = 29, kKindScintilla = 31,
                              kKindShortcut = 32, kKindCanvas = 33;

// Start-up after the window library (installs its hooks), before any window opens.
void init_gadget_library();
void end_gadget_library();

[[nodiscard]] void* gadget_handle(std::intptr_t gadget);
// Destroys the control (the gadget goes with it); PB_Any frees every gadget.
void gadget_free(std::intptr_t gadget);
[[nodiscard]] std::int32_t gadget_kind(std::intptr_t gadget);

// The following change the control without raising gadget events.
[[nodiscard]] std::int32_t gadget_get_state(std::intptr_t gadget);
void gadget_set_state(std::intptr_t gadget, std::int32_t state);
void gadget_set_text(std::intptr_t gadget, const char16_t* text);  // null = empty
// position -1 appends; returns the kind's result.
std::int32_t gadget_add_item(std::intptr_t gadget, std::int32_t position, const char16_t* text);
void gadget_set_item_text(std::intptr_t gadget, std::int32_t item, const char16_t* text, std::int32_t column = 0);
// Appends the texts in order, as gadget_add_item with position -1 would one
// by one (null = empty). A list view takes them as one batch, handed to the
// list box's own procedure: past any subclass of the control.
void gadget_add_items(std::intptr_t gadget, std::span<const char16_t* const> texts);

void gadget_clear_items(std::intptr_t gadget);
[[nodiscard]] std::int32_t gadget_count_items(std::intptr_t gadget);
[[nodiscard]] std::int32_t gadget_get_item_state(std::intptr_t gadget, std::int32_t item);
[[nodiscard]] std::u16string gadget_get_item_text(std::intptr_t gadget, std::int32_t item);
std::int32_t gadget_add_column(std::intptr_t gadget, std::int32_t position, const char16_t* title, std::int32_t width);
void gadget_remove_column(std::intptr_t gadget, std::int32_t column);
[[nodiscard]] std::int32_t gadget_get_attribute(std::intptr_t gadget, std::int32_t attribute);
void gadget_set_attribute(std::intptr_t gadget, std::int32_t attribute, std::int32_t value);
// The kinds' colour slots (FRONT_COLOR / BACK_COLOR); -1 for a kind without them.
void gadget_set_colour(std::intptr_t gadget, std::int32_t type, std::int32_t colour);
[[nodiscard]] std::int32_t gadget_get_colour(std::intptr_t gadget, std::int32_t type);

// gadget -1: the font of gadgets created from now on; font -1: the default GUI font.
void gadget_set_font(std::intptr_t gadget, std::intptr_t font);
// Any argument may be kIgnore (-65535) to keep it.
void gadget_resize(std::intptr_t gadget, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
void gadget_hide(std::intptr_t gadget, std::int32_t state);
void gadget_disable(std::intptr_t gadget, std::int32_t state);
void gadget_required_size(std::intptr_t gadget, std::int32_t& width, std::int32_t& height);
// mode 1: the required size; otherwise the current one.
[[nodiscard]] std::int32_t gadget_width(std::intptr_t gadget, std::int32_t mode = 0);
[[nodiscard]] std::int32_t gadget_height(std::intptr_t gadget, std::int32_t mode = 0);

// Gadget lists: item -2 opens the gadget itself; close returns to the list
// before. Open gives 0 when it opened nothing (then no close is due).
std::intptr_t gadget_open_list(std::intptr_t gadget, std::int32_t item);
void gadget_close_list();
// Makes a native window the current list, remembering the previous one.
void push_gadget_list(void* window);
// The native window new gadgets are created in.
[[nodiscard]] void* current_gadget_list();

// EV_GADGET callbacks for one gadget; type -1 = every type.
void gadget_bind_event(std::intptr_t gadget, EventCallback callback, std::int32_t type = -1);
bool gadget_unbind_event(std::intptr_t gadget, EventCallback callback, std::int32_t type = -1);

// Queue EV_GADGET for the gadget of a native control; the forced variant even
// while events are suppressed. Nothing for a control that is no gadget.
void post_gadget_event(void* control, std::int32_t type);
void post_gadget_event_forced(void* control, std::int32_t type);

// The shared brush cache (brushes as native handles).
[[nodiscard]] std::uintptr_t brush_for_colour(std::int32_t colour);
void release_brush(std::uintptr_t brush);
// Distinct colours holding a brush (for tests and diagnostics).
[[nodiscard]] std::size_t cached_brush_count();

// Event type of a container, panel page, scroll area or canvas whose size changed.
inline constexpr std::int32_t ET_RESIZE = 6;

// The gadget's text (the kind's own, else the control's window text).
[[nodiscard]] std::u16string gadget_get_text(std::intptr_t gadget);
// Adds an item with an image (a native bitmap or icon handle, 0 for none) and
// the kind's item flags (the tree's sublevel); without events. An image the
// kind cannot keep adds nothing and gives the kind's failure result (-1).
std::int32_t gadget_add_item_ex(std::intptr_t gadget,
                                std::int32_t position,
                                const char16_t* text,
                                std::uintptr_t image,
                                std::int32_t flags);
// Without events, as is gadget_set_item_state.
void gadget_remove_item(std::intptr_t gadget, std::int32_t item);
void gadget_set_item_state(std::intptr_t gadget, std::int32_t item, std::int32_t state);
[[nodiscard]] std::u16string gadget_get_item_text(std::intptr_t gadget, std::int32_t item, std::int32_t column);
[[nodiscard]] std::int32_t gadget_get_item_attribute(std::intptr_t gadget,
                                                     std::int32_t item,
                                                     std::int32_t attribute,
                                                     std::int32_t column = 0);
void gadget_set_item_attribute(std::intptr_t gadget,
                               std::int32_t item,
                               std::int32_t attribute,
                               std::int32_t value,
                               std::int32_t column = 0);
void gadget_set_item_colour(std::intptr_t gadget,
                            std::int32_t item,
                            std::int32_t type,
                            std::int32_t colour,
                            std::int32_t column = 0);
// -1 (the system's colour) when the kind keeps none.
[[nodiscard]] std::int32_t gadget_get_item_colour(std::intptr_t gadget,
                                                  std::int32_t item,
                                                  std::int32_t type,
                                                  std::int32_t column = 0);
void gadget_set_item_data(std::intptr_t gadget, std::int32_t item, std::intptr_t value);
[[nodiscard]] std::intptr_t gadget_get_item_data(std::intptr_t gadget, std::int32_t item);
// An image the kind cannot keep leaves the item as it was.
void gadget_set_item_image(std::intptr_t gadget, std::int32_t item, std::uintptr_t image);
// The kind's activate hook (the canvas takes the keyboard focus).
void gadget_activate(std::intptr_t gadget);
