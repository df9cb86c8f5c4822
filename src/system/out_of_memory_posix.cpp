// Out of memory natively: a line on standard error, then abort().
#include "system/out_of_memory.h"

#include <unistd.h>

#include <cstdlib>

void out_of_memory() noexcept {
    static const char message[] = "out of memory\n";
    (void)!write(STDERR_FILENO, message, sizeof message - 1);
    std::abort();
}
