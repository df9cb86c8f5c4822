// The portable half of fatal error reporting: the message table, the current
// line and the getters over the recorded error.
#include "system/fatal_error.h"

#include <array>
#include <atomic>

#include "system/fatal_error_internal.h"

volatile std::int32_t current_line_value = kLineTrackingOff;

namespace {

struct CodeMessage {
    std::uint32_t code;
    std::u16string_view message;
};

// Searched in this order. The texts are shown to the user as they are,
// including the blank after "Division by zero" and "to great".
constexpr std::array<CodeMessage, 20> kMessages{{
    {0xC0000005, u"Invalid memory access"},
    {0xC000008C, u"Array bounds exceeded"},
    {0x80000003, u"Debugger breakpoint reached"},
    {0x80000002, u"Misaligned data access"},
    {0xC000008D, u"Denormal floating-point operand"},
    {0xC000008E, u"Division by zero (floating-point)"},
    {0xC000008F, u"Inexact floating-point result"},
    {0xC0000090, u"Invalid floating-point operation"},
    {0xC0000091, u"Floating-point overflow (exponent to great)"},
    {0xC0000092, u"Floating-point stack overflow or underflow"},
    {0xC0000093, u"Floating-point underflow (exponent too small)"},
    {0xC000001D, u"Illegal instruction"},
    {0xC0000006, u"Memory page error"},
    {0xC0000094, u"Division by zero "},
    {0xC0000095, u"Integer overflow"},
    {0xC0000026, u"Exception handler returned unknown value"},
    {0xC0000025, u"Exception handler tried to continue after non-continuable exception"},
    {0xC0000096, u"Privileged instruction"},
    {0x80000004, u"Single step trap"},
    {0xC00000FD, u"Stack overflow"},
}};

constexpr std::u16string_view kMainFile[] = {u"Main"};

const std::u16string_view* g_source_files = kMainFile;
std::size_t g_source_file_count = 1;

ErrorRecord g_record{};
std::atomic<bool> g_reporting{false};

}  // namespace

void set_source_files(const std::u16string_view* names, std::size_t count) noexcept {
    if (!names || count == 0) {
        names = kMainFile;
        count = 1;
    }
    g_source_files = names;
    g_source_file_count = count;
}

std::u16string_view error_message_for_code(std::uint32_t code) noexcept {
    for (const CodeMessage& row : kMessages) {
        if (row.code == code)
            return row.message;
    }
    return u"Unknown error code";
}

std::int32_t error_line_of(std::int32_t line) noexcept {
    if (line == kLineTrackingOff)
        return -1;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(line) & 0xFFFFFFu);
}

std::u16string_view error_file_of(std::int32_t line) noexcept {
    if (line == kLineTrackingOff)
        return u"OnError line support disabled";
    const std::size_t index = static_cast<std::uint32_t>(line) >> 24;
    return index < g_source_file_count ? g_source_files[index] : std::u16string_view();
}

void mark_fatal_error_reporting(bool reporting) noexcept {
    g_reporting = reporting;
}
bool fatal_error_reporting() noexcept {
    return g_reporting;
}

ErrorRecord& error_record_storage() noexcept {
    return g_record;
}
const ErrorRecord& error_record() noexcept {
    return g_record;
}
std::u16string_view error_message() noexcept {
    return error_message_for_code(g_record.code);
}
std::int32_t error_line() noexcept {
    return error_line_of(g_record.line);
}
std::u16string_view error_file() noexcept {
    return error_file_of(g_record.line);
}
