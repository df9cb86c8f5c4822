// Runs this test program again as a child process in one of the modes of
// child_modes_win32_test.cpp, which take over before the tests start.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct ChildResult {
    bool finished;  // ended within the time limit
    std::uint32_t exit_code;
    std::string output;  // its standard output, UTF-8
};

// The full path of this test program.
[[nodiscard]] std::u16string this_program();

// Runs this program with "--child=MODE ARGUMENTS" and collects its output.
[[nodiscard]] ChildResult run_child(std::u16string_view mode_and_arguments);

// Reads a pipe until its writers have all closed it.
[[nodiscard]] std::string read_pipe(std::uintptr_t pipe);
