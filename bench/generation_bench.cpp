// Where the time of a generation goes: hex conversion into warm or fresh
// memory, the ways a builder can grow, whole files read value by value or in
// blocks, a full generation and its floor.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/data_rows.h"
#include "app/data_section.h"
#include "app/section_format.h"
#include "base/object_id.h"
#include "bench_support.h"
#include "system/file.h"
#include "system/utf.h"

namespace {

constexpr std::size_t kBytes = 64 << 20;
constexpr std::size_t kSmallBytes = 8 << 20;  // for the value-by-value reading

const std::vector<unsigned char>& random_bytes() {
    static const std::vector<unsigned char> bytes = [] {
        std::vector<unsigned char> b(kBytes);
        std::mt19937_64 random(42);
        for (std::size_t i = 0; i < b.size(); i += 8) {
            const std::uint64_t word = random();
            std::memcpy(&b[i], &word, 8);
        }
        return b;
    }();
    return bytes;
}

std::string random_file(std::size_t bytes) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("blobsmith-bench-" + std::to_string(bytes) + ".bin")).string();
    if (!std::filesystem::exists(path) || std::filesystem::file_size(path) != bytes)
        write_random_file(path, bytes, 7);
    return path;
}

void convert_all(TextBuilder& text) {
    DataRowsWriter writer(text, 512);
    writer.write(random_bytes().data(), random_bytes().size());
    writer.finish();
}

// Conversion alone: the output block is reused, its pages already mapped.
void BM_RowsIntoWarmMemory(benchmark::State& state) {
    TextBuilder text;
    text.reserve(data_rows_capacity(kBytes, 512));
    convert_all(text);
    for (auto _ : state) {
        text.truncate(0);
        convert_all(text);
        benchmark::DoNotOptimize(text.view().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_RowsIntoWarmMemory)->Unit(benchmark::kMillisecond);

void* copying_realloc(void* block, std::size_t bytes) {
    // Grows the way a vector does: a new block, a copy, the old one freed.
    void* fresh = std::malloc(bytes);
    if (fresh && block) {
        std::memcpy(fresh, block, std::min(bytes, malloc_usable_size(block)));
        std::free(block);
    }
    return fresh;
}

// Fresh output memory each time: 0 sized up front, 1 grown by 1.28 in place
// (realloc), 2 grown by 1.28 through copies.
void BM_RowsIntoFreshMemory(benchmark::State& state) {
    const int how = static_cast<int>(state.range(0));
    if (how == 2)
        set_text_builder_realloc(copying_realloc);
    for (auto _ : state) {
        TextBuilder text;
        if (how == 0)
            text.reserve(data_rows_capacity(kBytes, 512));
        // Appended in file-sized blocks, as a reader would.
        DataRowsWriter writer(text, 512);
        for (std::size_t at = 0; at < kBytes; at += 64 * 1024)
            writer.write(random_bytes().data() + at, 64 * 1024);
        writer.finish();
        benchmark::DoNotOptimize(text.view().data());
    }
    set_text_builder_realloc(nullptr);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_RowsIntoFreshMemory)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The rows read one value at a time, asking position and length before each.
void BM_FileRowsValueByValue(benchmark::State& state) {
    const std::u16string path = utf16_from_utf8(random_file(kSmallBytes));
    for (auto _ : state) {
        const std::intptr_t f = open_file_for_reading(PB_Any, path);
        TextBuilder text;
        std::int32_t counter = 0;
        char16_t digits[17];
        while (file_position(f) < file_length(f)) {
            std::uint64_t value = read_quad(f);
            if (counter == 512) {
                text.append(u"\tData.q ");
                counter = 0;
            }
            int n = 0;
            do {
                digits[16 - n++] = u"0123456789ABCDEF"[value & 15];
                value >>= 4;
            } while (value);
            digits[16 - n] = u'$';
            text.append(std::u16string_view(digits + 16 - n, n + 1));
            text.append(++counter == 512 ? u"\r\n" : u",");
        }
        close_file(f);
        benchmark::DoNotOptimize(text.view().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSmallBytes));
}
BENCHMARK(BM_FileRowsValueByValue)->Unit(benchmark::kMillisecond);

void BM_FileRowsInBlocks(benchmark::State& state) {
    const std::u16string path = utf16_from_utf8(random_file(kBytes));
    for (auto _ : state) {
        DataRows rows = file_to_data_rows(path, 512);
        benchmark::DoNotOptimize(rows.text.view().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_FileRowsInBlocks)->Unit(benchmark::kMillisecond);

std::size_t g_generation_output = 0;  // bytes a generation writes (the text, rows included)

// A full generation without cached rows: refresh, rows, final text.
void BM_Generation(benchmark::State& state) {
    const std::u16string path = utf16_from_utf8(random_file(kBytes));
    FileMap map;
    FileEntry& entry = map.insert(file_map_key(path));
    entry.path = path;
    for (auto _ : state) {
        entry.text.clear();
        DataSection section = build_data_section(map, nullptr);
        g_generation_output = section.text.size() * sizeof(char16_t);
        benchmark::DoNotOptimize(section.text.view().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_Generation)->Unit(benchmark::kMillisecond);

// Reading the file and writing as many bytes as a generation into fresh memory.
void BM_GenerationFloor(benchmark::State& state) {
    const std::string path = random_file(kBytes);
    const std::size_t output = g_generation_output ? g_generation_output : kBytes / 8 * 36;
    for (auto _ : state)
        benchmark::DoNotOptimize(floor_pass(path, output));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_GenerationFloor)->Unit(benchmark::kMillisecond);

}  // namespace
