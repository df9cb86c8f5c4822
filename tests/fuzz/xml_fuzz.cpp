// Fuzz target for the document tree (libFuzzer): a failed check aborts, which
// the fuzzer reports with the input that did it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/xml_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const char* fault = run_xml_fuzz_input(data, size)) {
        std::fprintf(stderr, "check failed: %s\n", fault);
        std::abort();
    }
    return 0;
}
