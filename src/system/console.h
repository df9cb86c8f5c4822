// Standard output and error of a console program, and its arguments: what a
// command-line front end needs of the platform.
#pragma once

#include <string>
#include <string_view>
#include <vector>

enum class StandardStream { Output, Error };

// True when the stream is an interactive terminal (a console window on
// Windows), false when it goes to a file or a pipe.
[[nodiscard]] bool stream_is_terminal(StandardStream stream);

// Writes the bytes unchanged (no line-end translation); false when not all of
// them could be written.
[[nodiscard]] bool write_stream_bytes(StandardStream stream, std::string_view bytes);

// Writes text for a person: UTF-16 to a Windows console, UTF-8 anywhere else.
bool write_stream_text(StandardStream stream, std::u16string_view text);

// Gives a closed standard stream (input, output, error) the null device, so
// that no file the program opens takes its number: messages would go into it.
void keep_standard_streams();

struct ProgramArguments {
    std::vector<std::u16string> texts;
    // The first argument that is not text (on POSIX: not valid UTF-8), which
    // `texts` holds with U+FFFD in place of its bad bytes; 0 when none is.
    std::size_t inexact = 0;
};

// The program's arguments after its own name, as UTF-16 (on Windows from the
// wide command line, so that no character is lost to the ANSI code page).
[[nodiscard]] ProgramArguments program_arguments(int argc, char** argv);

// The path made absolute against the current folder (a relative path as the
// shell would hand it over in a drop); the path itself when that fails. A last
// name that is also a device's ("aux.txt") stays the file's name.
[[nodiscard]] std::u16string absolute_path(std::u16string_view path);
