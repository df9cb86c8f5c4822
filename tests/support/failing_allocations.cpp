// The replacement operator new behind failing_allocations.h.
#include "support/failing_allocations.h"

#include <cstdlib>

namespace {

thread_local long t_countdown = -1;
thread_local bool t_failed = false;

}  // namespace

void fail_allocation(long n) {
    t_countdown = n;
    t_failed = false;
}

bool allocation_failed() {
    return t_failed;
}

void* operator new(std::size_t size) {
    if (t_countdown == 0) {
        t_failed = true;
        throw std::bad_alloc();
    }
    if (t_countdown > 0)
        --t_countdown;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

// Every other form goes through the one above, so that all of them fail on
// demand and each delete meets the allocator its new used.
void* operator new[](std::size_t size) {
    return operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return operator new(size, std::nothrow);
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete[](void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
