// The progress control's range and position messages.
#pragma once

#include <cstdint>

#include "system/win32.h"

[[nodiscard]] std::int32_t progress_range_limit(HWND control, bool low);
void progress_set_range(HWND control, std::int32_t low, std::int32_t high);

// Shows value at once (no animation towards it) within the range low..high,
// which stays as it was. Posted (post = true), the messages are safe from any
// thread and arrive in order on the control's thread.
void progress_show_value(HWND control, std::int32_t low, std::int32_t high, std::int32_t value, bool post = false);
