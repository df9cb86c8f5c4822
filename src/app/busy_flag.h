// The busy flag: set while a generation runs, so that the window neither
// changes the file map nor starts a second generation meanwhile.
#pragma once

// 0 -> 1 by the window just before it starts a generation; false (and no
// change) if a generation is already running.
[[nodiscard]] bool busy_flag_try_set() noexcept;
// 1 -> 0 by the generation as its last step.
void busy_flag_clear() noexcept;
[[nodiscard]] bool busy_flag_is_set() noexcept;
