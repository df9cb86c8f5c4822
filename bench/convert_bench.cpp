// Times one full generation of a file (rows plus the final text), or the floor
// pass for it, in this process. Used by bench/run.sh.
//   blobsmith_convert_bench generate FILE   -> "<seconds> <bytes written>"
//   blobsmith_convert_bench floor FILE BYTES [small-pages] -> "<seconds> <checksum>"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/data_section.h"
#include "bench_support.h"
#include "system/utf.h"

namespace {

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s generate FILE | floor FILE BYTES\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1], path = argv[2];
    if (mode == "generate") {
        FileMap map;
        const std::u16string wide_path = utf16_from_utf8(path);
        map.insert(file_map_key(wide_path)).path = wide_path;
        const auto start = std::chrono::steady_clock::now();
        DataSection section = build_data_section(map, nullptr);
        const double took = seconds_since(start);
        if (section.status != GenerationStatus::Ok) {
            std::fprintf(stderr, "generation failed: %d\n", static_cast<int>(section.status));
            return 1;
        }
        // The rows are written once, straight into the text (the map caches
        // pieces of it), so the text is all the output memory written.
        std::printf("%.6f %zu\n", took, section.text.size() * sizeof(char16_t));
        return 0;
    }
    if (mode == "floor" && argc >= 4) {
        const std::size_t bytes = std::strtoull(argv[3], nullptr, 10);
        const auto start = std::chrono::steady_clock::now();
        const bool small_pages = argc >= 5 && std::string(argv[4]) == "small-pages";
        const std::uint64_t sum = floor_pass(path, bytes, !small_pages);
        std::printf("%.6f %llu\n", seconds_since(start), static_cast<unsigned long long>(sum));
        return sum ? 0 : 1;
    }
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
}
