// Error texts on POSIX: strerror's.
#include "system/error_text.h"

#include <cerrno>
#include <cstring>

#include "system/utf.h"

std::u16string system_error_text(unsigned long error) {
    return utf16_from_utf8(std::strerror(static_cast<int>(error)));
}

unsigned long last_system_error() {
    return static_cast<unsigned long>(errno);
}

void set_last_system_error_out_of_memory() {
    errno = ENOMEM;
}

bool is_out_of_memory_error(unsigned long error) {
    return error == ENOMEM;
}
