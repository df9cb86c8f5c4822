// The heap of the document library, with a countdown that tests use to fail
// allocations one after the other.
#include "xml/xml_heap.h"

#include <cstdlib>

namespace {

std::int64_t successes_left = -1;  // negative: no failures

bool allowed() noexcept {
    if (successes_left < 0)
        return true;
    if (successes_left == 0)
        return false;
    --successes_left;
    return true;
}

}  // namespace

void* xml_malloc(std::size_t bytes) noexcept {
    return allowed() ? std::malloc(bytes) : nullptr;
}

void* xml_realloc(void* block, std::size_t bytes) noexcept {
    return allowed() ? std::realloc(block, bytes) : nullptr;
}

void xml_free(void* block) noexcept {
    std::free(block);
}

void xml_heap_fail_after(std::int64_t successes) noexcept {
    successes_left = successes;
}
