// Large pages on Windows need a privilege users do not have: no hint.
#include "system/memory_advice.h"

void advise_sequential_fill(void*, std::size_t) noexcept {}
