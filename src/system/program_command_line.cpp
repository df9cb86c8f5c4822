// Command line and working directory of external programs.
#include "system/program_command_line.h"

std::u16string program_command_line(std::u16string_view program, std::u16string_view parameters) {
    std::u16string line;
    line.reserve(program.size() + parameters.size() + 3);
    // Quoting the whole path keeps blanks in it from splitting the program name.
    if (program.starts_with(u'"')) {
        line = program;
    } else {
        line.append(1, u'"').append(program).append(1, u'"');
    }
    if (!parameters.empty())
        line.append(1, u' ').append(parameters);
    return line;
}

std::u16string shell_directory(std::u16string_view program, std::u16string_view directory) {
    if (!directory.empty())
        return std::u16string(directory);
    const std::size_t slash = program.rfind(u'\\');
    return slash == std::u16string_view::npos ? std::u16string() : std::u16string(program.substr(0, slash + 1));
}
