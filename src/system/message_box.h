// Modal message boxes that keep the calling thread's other windows out of reach.
#pragma once

#include <cstdint>
#include <string_view>

// Shows a box with the platform's flags (0: a single OK button) and returns
// the button chosen (0 if no box could be shown). While it is open the
// thread's other visible windows are disabled and none of them is topmost;
// afterwards each gets back exactly the state it had.
int message_box(std::u16string_view title, std::u16string_view text, std::uint32_t flags = 0);
