// Starting external programs, or opening documents and addresses with the
// platform's default handler when they are not programs.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// run_program flags.
inline constexpr std::uint32_t PB_Program_Wait = 1;         // wait until the program has ended
inline constexpr std::uint32_t PB_Program_Hide = 2;         // hidden, in a new console
inline constexpr std::uint32_t PB_Program_Keep = 4;         // return a ProgramRecord instead of 1
inline constexpr std::uint32_t PB_Program_ReadOutput = 8;   // with Keep: pipe from its standard output
inline constexpr std::uint32_t PB_Program_WriteInput = 16;  // with Keep: pipe to its standard input
inline constexpr std::uint32_t PB_Program_ReadError = 32;   // with Keep: pipe from its standard error
inline constexpr std::uint32_t PB_Program_Connect = 64;     // standard input from the sender's output pipe

// A kept program. Handles are the platform's (0 when absent) and belong to the
// record until close_program.
struct ProgramRecord {
    std::uintptr_t process;    // process handle (may be 0 when the shell reused a running program)
    std::intptr_t process_id;  // -1 when opened through the shell
    std::uintptr_t input;      // write end of the pipe to its standard input
    std::uintptr_t output;     // read end of the pipe from its standard output
    std::uintptr_t error;      // read end of the pipe from its standard error
    std::uint32_t flags;
};

// Starts the program (quoted for the command line by this function) with the
// parameters in the directory (empty: the caller's). When no process can be
// made and no pipe was asked for, opens it through the shell instead. Returns
// 1, the id of a ProgramRecord with PB_Program_Keep, or 0 on failure.
[[nodiscard]] std::intptr_t run_program(std::u16string_view program,
                                        std::u16string_view parameters = {},
                                        std::u16string_view directory = {},
                                        std::uint32_t flags = 0,
                                        std::intptr_t sender = 0);

// A copy of a kept program's record, taken under the list's lock; nothing
// if the id names none.
[[nodiscard]] std::optional<ProgramRecord> program_record(std::intptr_t program);

// Closes the write end of a kept program's standard input (it then reads the
// end of its input); the other handles stay.
void close_program_input(std::intptr_t program);

// Closes a kept program's handles and forgets it (the program goes on running).
void close_program(std::intptr_t program);

// Closes every kept program's handles (program end).
void end_programs();
