// The program-wide handler that turns a failed operator new into the end of
// the process.
#include "system/out_of_memory.h"

#include <new>

namespace {

void failed_new() {
    out_of_memory();
}

}  // namespace

void end_process_on_failed_new() noexcept {
    std::set_new_handler(failed_new);
}
