// Menus: numbered objects wrapping a platform menu, filled right after they are
// made (items go to the menu created or opened last). A chosen item comes back
// as EV_MENU with the item identifier as object. GUI thread only.
#pragma once

#include <cstdint>

#include "base/object_id.h"
#include "window/event_bindings.h"  // EventCallback

struct Menu;

// Deepest nesting of open_sub_menu.
inline constexpr int kMenuStackDepth = 64;

// Start-up: the menu registry and the build state. end_menus frees every menu.
void init_menus();
void end_menus();

// A popup menu, or a menu bar attached to the platform window (which then shows
// it). Returns the new id for PB_Any, else the platform menu; 0 on failure. The
// new menu receives the items added from now on.
std::intptr_t create_popup_menu(std::intptr_t number);
std::intptr_t create_menu(std::intptr_t number, void* window);

// Appends to the menu being built; text null = empty; image is not used.
// False if there is no menu being built or the platform refuses.
bool add_menu_item(std::uint32_t item, const char16_t* text, std::intptr_t image = 0);
bool add_menu_separator();
// Appends a submenu and builds it from now on; refused (nothing appended)
// beyond kMenuStackDepth levels. close_sub_menu returns to the enclosing menu.
bool open_sub_menu(const char16_t* text, std::intptr_t image = 0);
void close_sub_menu();

// Item operations on a menu id; nothing happens for an id that names no menu.
void disable_menu_item(std::intptr_t menu, std::uint32_t item, std::int32_t state);
// Other state bits (disabled above all) are kept.
void set_menu_item_checked(std::intptr_t menu, std::uint32_t item, std::int32_t state);
[[nodiscard]] bool menu_item_checked(std::intptr_t menu, std::uint32_t item);
void set_menu_item_text(std::intptr_t menu, std::uint32_t item, const char16_t* text);

// EV_MENU callbacks for an item: window = the window of a menu bar, -1 (any
// window) for a popup menu.
void bind_menu_event(std::intptr_t menu, std::uint32_t item, EventCallback callback);
bool unbind_menu_event(std::intptr_t menu, std::uint32_t item, EventCallback callback);

// Tracks the popup menu at (x, y) on the screen, owned by window (which is made
// the foreground window); returns when the menu closes. The chosen item reaches
// the window as a menu command, that is, as EV_MENU.
void show_popup_menu(std::intptr_t menu, void* window, std::int32_t x, std::int32_t y);
// The same at the mouse cursor, one pixel up and left.
void show_popup_menu_at_cursor(std::intptr_t menu, void* window);

// The menu's record, or null.
[[nodiscard]] Menu* is_menu(std::intptr_t number);
// The platform menu, or null.
[[nodiscard]] void* menu_handle(std::intptr_t number);

// Detaches a menu bar from its window, destroys the menu, releases the id;
// PB_Any frees every menu.
void free_menu(std::intptr_t number);
