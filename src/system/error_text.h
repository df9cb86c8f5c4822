// The system's own words for an error number (errno on POSIX, GetLastError
// on Windows), for messages to the user.
#pragma once

#include <string>
#include <string_view>

[[nodiscard]] std::u16string system_error_text(unsigned long error);

// The same without the system's full stop, for use inside a sentence of ours.
[[nodiscard]] std::u16string system_reason(unsigned long error);

// "<what> (<the system's reason>)." ; "<what>." for error 0, which gives no reason.
[[nodiscard]] std::u16string with_system_reason(std::u16string_view what, unsigned long error);

// The calling thread's last error number (errno, GetLastError): read it right
// after the call that failed.
[[nodiscard]] unsigned long last_system_error();

// Makes "not enough memory" the calling thread's last error, for a call of
// ours that failed for want of it; and whether an error number says that.
void set_last_system_error_out_of_memory();
[[nodiscard]] bool is_out_of_memory_error(unsigned long error);
