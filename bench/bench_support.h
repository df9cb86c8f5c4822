// Shared by the benchmarks: random files and the floor a generation is
// measured against.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Writes `bytes` random bytes to `path` (overwriting it).
bool write_random_file(const std::string& path, std::size_t bytes, unsigned seed);

// The floor of a generation: reads the file in 64 KiB blocks and writes
// `output_bytes` bytes into fresh memory as it goes. Returns a checksum so the
// work cannot be optimised away; 0 when the file cannot be read.
std::uint64_t floor_pass(const std::string& path, std::size_t output_bytes, bool large_page_hint = true);
