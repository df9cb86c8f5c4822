// Random files and the floor pass for the benchmarks.
#include "bench_support.h"

#include "system/memory_advice.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

bool write_random_file(const std::string& path, std::size_t bytes, unsigned seed) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    std::mt19937_64 random(seed);
    std::vector<std::uint64_t> block(8192);
    for (std::size_t written = 0; written < bytes;) {
        for (auto& word : block)
            word = random();
        const std::size_t n = std::min(bytes - written, block.size() * sizeof(std::uint64_t));
        if (std::fwrite(block.data(), 1, n, out) != n)
            break;
        written += n;
    }
    return std::fclose(out) == 0;
}

std::uint64_t floor_pass(const std::string& path, std::size_t output_bytes, bool large_page_hint) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in)
        return 0;
    std::fseek(in, 0, SEEK_END);
    const long length = std::ftell(in);
    std::fseek(in, 0, SEEK_SET);
    constexpr std::size_t kBlock = 64 * 1024;
    std::unique_ptr<unsigned char[]> block(new unsigned char[kBlock]);
    auto* out = static_cast<unsigned char*>(std::malloc(output_bytes ? output_bytes : 1));
    // The same large-page hint the generator's text gets, so both write the same kind of memory.
    if (large_page_hint)
        advise_sequential_fill(out, output_bytes);
    std::size_t written = 0;
    std::uint64_t sum = 0;
    for (long done = 0; done < length;) {
        const std::size_t got = std::fread(block.get(), 1, kBlock, in);
        if (got == 0)
            break;
        done += static_cast<long>(got);
        sum += block[0];
        // The share of the output this block stands for.
        const std::size_t target =
            static_cast<std::size_t>(static_cast<double>(output_bytes) * static_cast<double>(done) / length);
        std::memset(out + written, static_cast<int>(sum | 1), target - written);
        written = target;
    }
    std::memset(out + written, 1, output_bytes - written);
    sum += out[output_bytes / 2];
    std::free(out);
    std::fclose(in);
    return sum;
}
