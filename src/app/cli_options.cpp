// Command-line parsing for blobsmith-cli.
#include "app/cli_options.h"

CliParse parse_cli_arguments(const std::vector<std::u16string>& arguments) {
    CliParse parse;
    CliOptions& options = parse.options;
    bool options_ended = false;
    bool output_given = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        if (options_ended || argument.size() < 2 || argument[0] != u'-') {
            options.paths.push_back(argument);
            continue;
        }
        if (argument == u"--") {
            options_ended = true;
        } else if (argument == u"-h" || argument == u"--help") {
            options.help = true;
        } else if (argument == u"--utf16") {
            options.utf16 = true;
        } else if (argument == u"--list") {
            options.list = true;
        } else if (argument == u"-o" || argument == u"--output" || argument.starts_with(u"--output=")) {
            std::u16string file;
            if (argument.starts_with(u"--output=")) {
                file = argument.substr(9);
            } else if (i + 1 < arguments.size()) {
                file = arguments[++i];
            } else {
                parse.error = argument + u" needs a file name";
                return parse;
            }
            if (file.empty()) {
                parse.error = u"the output file name is empty";
                return parse;
            }
            if (output_given) {
                parse.error = u"only one output file can be given";
                return parse;
            }
            output_given = true;
            if (file != u"-")  // "-": standard output, as usual
                options.output = std::move(file);
        } else {
            parse.error = u"unknown option " + argument;
            return parse;
        }
    }
    if (!options.help && options.paths.empty())
        parse.error = u"no files or folders given";
    return parse;
}
