// The command line of blobsmith-cli: options and paths, or what is wrong with
// them.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CliOptions {
    std::vector<std::u16string> paths;     // one drop, in order
    std::optional<std::u16string> output;  // -o FILE; none: standard output
    bool utf16 = false;                    // UTF-16 LE instead of UTF-8
    bool list = false;                     // the entries' paths instead of the text
    bool help = false;
};

struct CliParse {
    CliOptions options;
    std::u16string error;  // empty when the command line is usable
};

// "--" ends the options; a lone "-" or anything else not starting with "-" is
// a path. Without paths (and without --help) the command line is not usable.
[[nodiscard]] CliParse parse_cli_arguments(const std::vector<std::u16string>& arguments);
