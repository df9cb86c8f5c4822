// The program-wide handler that turns a failed operator new into the end of
// the process.
#include "system/out_of_memory.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<BigBlockMalloc> g_big_block_malloc{nullptr};

// Room for the report of the failure: the error routine builds its text and
// shows a box, and without this it would fail for want of memory itself and
// the process would end without a word. Large enough to be a block of its
// own, which goes back to the system when freed and so serves any heap.
constexpr std::size_t kReportReserve = std::size_t{4} << 20;
std::atomic<void*> g_report_reserve{nullptr};

void failed_new() {
    std::free(g_report_reserve.exchange(nullptr));
    out_of_memory();
}

}  // namespace

void end_process_on_failed_new() noexcept {
    if (!g_report_reserve.load())
        g_report_reserve.store(std::malloc(kReportReserve));
    std::set_new_handler(failed_new);
}

BigBlock big_block(std::size_t bytes) noexcept {
    const BigBlockMalloc custom = g_big_block_malloc.load();
    return BigBlock(static_cast<unsigned char*>(custom ? custom(bytes) : std::malloc(bytes)));
}

void set_big_block_malloc(BigBlockMalloc malloc_function) noexcept {
    g_big_block_malloc.store(malloc_function);
}
