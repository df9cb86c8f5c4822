// Fatal error reporting: which processor exception ended the program, where
// (the current line the program recorded last) and the program's error routine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// ---------------------------------------------------------------- current line
// The program records its place before the statements it wants reported:
// bits 0-23 the line, bits 24-31 the index of the source file (0 = the main
// file). kLineTrackingOff (the initial value) means no place is known.
inline constexpr std::int32_t kLineTrackingOff = -1;

// Volatile: a store just before a faulting statement must not be dropped or sunk.
extern volatile std::int32_t current_line_value;

inline void set_current_line(std::int32_t line, std::uint32_t file_index = 0) noexcept {
    current_line_value =
        static_cast<std::int32_t>((static_cast<std::uint32_t>(line) & 0xFFFFFFu) | ((file_index & 0xFFu) << 24));
}
inline void stop_line_tracking() noexcept {
    current_line_value = kLineTrackingOff;
}
[[nodiscard]] inline std::int32_t current_line() noexcept {
    return current_line_value;
}

// One cheap store of this source line; use it at the statements worth reporting.
#define TRACK_LINE(file_index) set_current_line(__LINE__, (file_index))

// Names of the source files by index, reported by error_file. The default table
// is {u"Main"}. The caller keeps the names alive for the rest of the process
// (the routine reads them while the process is failing).
void set_source_files(const std::u16string_view* names, std::size_t count) noexcept;

// ---------------------------------------------------------------- the recorded error
struct ErrorRecord {
    std::uint32_t code;      // exception code
    std::uintptr_t address;  // where it was raised
    std::int32_t line;       // current line at the failure
    std::uintptr_t target;   // address accessed by an access violation, else 0
    std::uint32_t eax, ebx, ecx, edx, ebp, esi, edi, esp, eflags;
};

// The message for an exception code; "Unknown error code" for codes not listed.
[[nodiscard]] std::u16string_view error_message_for_code(std::uint32_t code) noexcept;
// The line part of a current-line value, -1 when tracking was off.
[[nodiscard]] std::int32_t error_line_of(std::int32_t line) noexcept;
// The source file of a current-line value, "OnError line support disabled" when
// tracking was off, empty for an index the table does not name.
[[nodiscard]] std::u16string_view error_file_of(std::int32_t line) noexcept;

// The record the exception filter filled (zero before any error).
[[nodiscard]] const ErrorRecord& error_record() noexcept;
[[nodiscard]] std::u16string_view error_message() noexcept;
[[nodiscard]] std::int32_t error_line() noexcept;
[[nodiscard]] std::u16string_view error_file() noexcept;

// ---------------------------------------------------------------- handler (Windows build)
using ErrorRoutine = void (*)();

// Installs the process-wide exception filter that records the error, calls the
// routine and ends the process with the exception code as its exit code. The
// filter installed before is remembered by the first call only; later calls
// replace the routine.
void set_error_handler(ErrorRoutine routine) noexcept;

// Puts the remembered earlier filter back and forgets it (program end).
void restore_error_filter() noexcept;

// True from the moment a fatal error is reported until the process ends. The
// box the routine shows runs a message loop on the failed thread, whose state
// may be broken: the program's events and callbacks stand still meanwhile.
[[nodiscard]] bool fatal_error_reporting() noexcept;
