// Console streams and arguments on POSIX: UTF-8 everywhere.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include "system/console.h"
#include "system/posix_write.h"
#include "system/utf.h"

namespace {

int descriptor(StandardStream stream) {
    return stream == StandardStream::Output ? STDOUT_FILENO : STDERR_FILENO;
}

}  // namespace

bool stream_is_terminal(StandardStream stream) {
    return isatty(descriptor(stream)) == 1;
}

bool write_stream_bytes(StandardStream stream, std::string_view bytes) {
    return write_all(descriptor(stream), bytes);
}

bool write_stream_text(StandardStream stream, std::u16string_view text) {
    return write_stream_bytes(stream, utf8_from_utf16(text));
}

void keep_standard_streams() {
    for (int stream = 0; stream <= 2; ++stream) {
        if (fcntl(stream, F_GETFD) == -1 && errno == EBADF) {
            // The lowest free number: this one.
            const int opened = open("/dev/null", stream == 0 ? O_RDONLY : O_WRONLY);
            if (opened != stream && opened >= 0)
                close(opened);
        }
    }
}

ProgramArguments program_arguments(int argc, char** argv) {
    ProgramArguments arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.texts.push_back(utf16_from_utf8(argv[i]));
        if (arguments.inexact == 0 && utf8_from_utf16(arguments.texts.back()) != argv[i])
            arguments.inexact = static_cast<std::size_t>(i);
    }
    return arguments;
}

std::u16string absolute_path(std::u16string_view path) {
    if (path.empty() || path.front() == u'/')
        return std::u16string(path);
    // Lexical only, like a file manager's paths: links are not resolved.
    std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), &std::free);
    if (!cwd)
        return std::u16string(path);
    std::u16string full = utf16_from_utf8(cwd.get());
    if (full.empty() || full.back() != u'/')
        full += u'/';
    full += path;
    return full;
}
