// Out of memory on Windows: the fatal-error path with the system's own code.
#include "system/out_of_memory.h"

#include <cstdlib>

#include "system/win32.h"

void out_of_memory() noexcept {
    RaiseException(static_cast<DWORD>(STATUS_NO_MEMORY), EXCEPTION_NONCONTINUABLE, 0, nullptr);
    std::abort();  // not reached: a non-continuable exception never returns
}
