// The busy flag: an atomic, since the window's thread sets it and the worker
// clears it.
#include "app/busy_flag.h"

#include <atomic>
#include <cstdint>

namespace {
std::atomic<std::int32_t> g_busy{0};
}

bool busy_flag_try_set() noexcept {
    std::int32_t idle = 0;
    return g_busy.compare_exchange_strong(idle, 1);
}

void busy_flag_clear() noexcept {
    g_busy.store(0);
}

bool busy_flag_is_set() noexcept {
    return g_busy.load() != 0;
}
