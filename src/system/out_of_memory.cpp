// The program-wide handler that turns a failed operator new into the end of
// the process.
#include "system/out_of_memory.h"

#include <atomic>
#include <new>

namespace {

std::atomic<BigBlockMalloc> g_big_block_malloc{nullptr};

void failed_new() {
    out_of_memory();
}

}  // namespace

void end_process_on_failed_new() noexcept {
    std::set_new_handler(failed_new);
}

BigBlock big_block(std::size_t bytes) noexcept {
    const BigBlockMalloc custom = g_big_block_malloc.load();
    return BigBlock(static_cast<unsigned char*>(custom ? custom(bytes) : std::malloc(bytes)));
}

void set_big_block_malloc(BigBlockMalloc malloc_function) noexcept {
    g_big_block_malloc.store(malloc_function);
}
