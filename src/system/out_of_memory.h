// The end of the process when a small allocation fails. Small allocations
// (records, list entries, names) have no sensible way back; only the big ones
// (text builders, the XML arena, file buffers) report out of memory as a result.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>

// Windows: raises the system's no-memory exception (not continuable), which
// the installed error handler reports; elsewhere a message on standard error
// and abort().
[[noreturn]] void out_of_memory() noexcept;

// From now on every operator new that fails (a record, a container growing, a
// string) ends the process through out_of_memory instead of throwing, so no
// bad_alloc can unwind through a noexcept callback or the system's frames.
// The programs call it first at start-up.
void end_process_on_failed_new() noexcept;

// A big buffer, whose failure stays a result: it comes from malloc, which the
// handler above does not cover. Null when memory runs out.
struct FreeBlock {
    void operator()(void* block) const noexcept { std::free(block); }
};
using BigBlock = std::unique_ptr<unsigned char[], FreeBlock>;
[[nodiscard]] BigBlock big_block(std::size_t bytes) noexcept;

// The function big blocks come from (std::malloc by default; blocks are
// released with std::free). Tests swap it to make them fail; null restores the
// default. Not for use while other threads take big blocks.
using BigBlockMalloc = void* (*)(std::size_t bytes);
void set_big_block_malloc(BigBlockMalloc malloc_function) noexcept;
