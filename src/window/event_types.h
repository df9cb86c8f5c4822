// Event numbers of the event stream and the flags that go with queued events.
#pragma once

#include <cstdint>

inline constexpr std::int32_t EV_GADGET = 13100;
inline constexpr std::int32_t EV_MENU = 13101;
inline constexpr std::int32_t EV_SYSTRAY = 13102;
inline constexpr std::int32_t EV_ACTIVATE = 13104;
inline constexpr std::int32_t EV_WINDOW_DROP = 13105;
inline constexpr std::int32_t EV_GADGET_DROP = 13106;
inline constexpr std::int32_t EV_MINIMIZE = 13107;
inline constexpr std::int32_t EV_MAXIMIZE = 13108;
inline constexpr std::int32_t EV_RESTORE = 13109;
inline constexpr std::int32_t EV_TIMER = 13110;
inline constexpr std::int32_t EV_RIGHT_CLICK = 13111;
inline constexpr std::int32_t EV_LEFT_CLICK = 13112;
inline constexpr std::int32_t EV_LEFT_DOUBLE_CLICK = 13113;
inline constexpr std::int32_t EV_DEACTIVATE = 13114;
inline constexpr std::int32_t EV_REPAINT = 13115;
inline constexpr std::int32_t EV_CLOSE_WINDOW = 13116;
inline constexpr std::int32_t EV_MOVE_WINDOW = 13117;
inline constexpr std::int32_t EV_SIZE_WINDOW = 13118;

// Event types of EV_GADGET events (current_event_type).
inline constexpr std::int32_t ET_LEFT_CLICK = 0;
inline constexpr std::int32_t ET_RIGHT_CLICK = 1;
inline constexpr std::int32_t ET_LEFT_DOUBLE_CLICK = 2;
inline constexpr std::int32_t ET_RIGHT_DOUBLE_CLICK = 3;
inline constexpr std::int32_t ET_CHANGE = 768;
inline constexpr std::int32_t ET_FOCUS = 14000;
inline constexpr std::int32_t ET_LOST_FOCUS = 14001;
inline constexpr std::int32_t ET_DRAG_START = 14002;

// Events above this number are the callers' own (posted events) and never merge.
inline constexpr std::int32_t kLastMergeableEvent = 0xFFFF;

// queue_event flag: queue even while events are suppressed (events posted from
// another thread, forced gadget events).
inline constexpr std::uint32_t kQueueAlways = 1;

// Frees the data of an event; the queue calls it when the data's event is done.
using EventDataFree = void (*)(void* data);
