// Callbacks bound to events: run by queue_event for every matching event, on the
// thread that owns the windows. Unbinding is safe while callbacks run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A bound callback reads its event through the current-event getters.
using EventCallback = void (*)();

// Binds callback to (event, window, object, type); -1 in window, object or type
// matches any. The callback bound last runs first; binding twice runs it twice.
void bind_event(std::int32_t event,
                EventCallback callback,
                std::intptr_t window,
                std::intptr_t object = -1,
                std::int32_t type = -1);

// Deactivates the newest binding of callback under exactly this key; false if none.
bool unbind_event(std::int32_t event,
                  EventCallback callback,
                  std::intptr_t window,
                  std::intptr_t object = -1,
                  std::int32_t type = -1);

// Runs the callbacks of the five patterns, in this order: (e,w,o,t), (e,w,o,-1),
// (e,w,-1,-1), (e,-1,-1,-1), (e,-1,o,t). A pattern equal to an earlier one runs once.
void dispatch_bound_callbacks(std::int32_t event, std::intptr_t window, std::intptr_t object, std::int32_t type);

// Drops every binding made for this window number (not the -1 "any window" ones).
void remove_window_bindings(std::intptr_t window);

// Drops every binding of this event, window and object, whatever its type: a
// freed object's number may be given to a new one, which must not inherit them.
void remove_object_bindings(std::int32_t event, std::intptr_t window, std::intptr_t object);

// Drops every binding (start-up and program end).
void clear_bindings();

// The table key: "event:window:object:type" as signed decimals.
[[nodiscard]] std::string binding_key(std::int32_t event,
                                      std::intptr_t window,
                                      std::intptr_t object,
                                      std::int32_t type);

// Keys that still hold at least one callback node (for tests and diagnostics).
[[nodiscard]] std::size_t binding_entry_count();
