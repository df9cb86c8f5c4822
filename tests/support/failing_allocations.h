// Out of memory on demand: the test binaries that link
// failing_allocations.cpp replace the global operator new, so that the
// allocations on the calling thread fail from a chosen one on.
#pragma once

#include <new>

// From the `n`-th allocation on (0 = the next one), every allocation on this
// thread throws std::bad_alloc, as when memory stays exhausted; -1 none.
void fail_allocation(long n);

// Whether an allocation was made to fail since the last fail_allocation.
[[nodiscard]] bool allocation_failed();

// Runs `attempt` again and again with memory running out at its first, second,
// third … allocation, until a run gets all it asks for; after each run, with
// memory back, calls `check(threw)`, `threw` telling whether std::bad_alloc
// came out of `attempt`. Returns how many runs had memory run out.
template <typename Attempt, typename Check>
int each_allocation_failing(Attempt attempt, Check check) {
    for (long n = 0;; ++n) {
        bool threw = false;
        fail_allocation(n);
        try {
            attempt();
        } catch (const std::bad_alloc&) {
            threw = true;
        }
        const bool failed = allocation_failed();
        fail_allocation(-1);
        check(threw);
        if (!failed)
            return static_cast<int>(n);
    }
}
