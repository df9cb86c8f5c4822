// Error texts on Windows: the system's message, without its line end.
#include "system/win32.h"

#include "system/error_text.h"
#include "system/utf.h"
#include "system/wide.h"

std::u16string system_error_text(unsigned long error) {
    wchar_t* text = nullptr;
    if (FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr) == 0 ||
        !text)
        return u"error " + utf16_from_utf8(std::to_string(error));
    std::u16string message = from_wide(text);
    LocalFree(text);
    while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r' || message.back() == u' '))
        message.pop_back();
    return message;
}

unsigned long last_system_error() {
    return GetLastError();
}

void set_last_system_error_out_of_memory() {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
}

bool is_out_of_memory_error(unsigned long error) {
    return error == ERROR_NOT_ENOUGH_MEMORY || error == ERROR_OUTOFMEMORY;
}
