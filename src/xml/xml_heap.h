// The heap of the document library: every allocation of the tree, the arena,
// the node pool and the parser goes through here, so tests can make one fail.
#pragma once

#include <cstddef>
#include <cstdint>

[[nodiscard]] void* xml_malloc(std::size_t bytes) noexcept;
[[nodiscard]] void* xml_realloc(void* block, std::size_t bytes) noexcept;
void xml_free(void* block) noexcept;

// Tests only: after `successes` more allocations every further one fails;
// a negative count lets all succeed again.
void xml_heap_fail_after(std::int64_t successes) noexcept;
