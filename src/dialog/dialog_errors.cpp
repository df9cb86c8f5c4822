// Composing dialog error messages safely, and the first-error-wins record.
#include "dialog/dialog_errors.h"

#include <exception>

#include "dialog/ansi_text.h"

DialogErrorMessage format_dialog_error(std::string_view format,
                                       std::initializer_list<std::u16string_view> args) noexcept {
    DialogErrorMessage m{};
    constexpr std::size_t kRoom = sizeof m.text - 1;
    std::size_t n = 0;
    auto next_arg = args.begin();
    for (std::size_t i = 0; i < format.size() && n < kRoom; ++i) {
        if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == 's' || format[i + 1] == '%')) {
            if (format[++i] == '%') {
                m.text[n++] = '%';
                continue;
            }
            if (next_arg == args.end())
                continue;
            std::u16string_view arg = *next_arg++;
            // The message is stored as a C string: an argument ends at its first NUL.
            arg = arg.substr(0, arg.find(u'\0'));
            n += ansi_from_utf16(arg, m.text + n, kRoom - n);
            continue;
        }
        m.text[n++] = format[i];
    }
    m.text[n] = '\0';
    m.length = n;
    return m;
}

void record_dialog_error(DialogErrorSink& sink,
                         std::string_view format,
                         std::initializer_list<std::u16string_view> args) noexcept {
    if (sink.has_error())
        return;  // the first error explains the failure; later ones follow from it
    const DialogErrorMessage m = format_dialog_error(format, args);
    sink.keep_error(m.view());
}

void DialogErrorText::keep_error(std::string_view message) noexcept {
    has_error_ = true;
    try {
        text_.assign(message);
    } catch (const std::exception&) {
        text_.clear();  // out of memory: the error stays, without its text
    }
}

void DialogErrorText::clear() noexcept {
    text_.clear();
    has_error_ = false;
}
