// Test support: file contents that exercise every shape of Data.q value.
#pragma once

#include <cstddef>
#include <random>
#include <string>

// Random bytes with runs of zero bytes, which give values with leading zeros
// and zero values. The same seed gives the same bytes.
inline std::string random_bytes(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::string s(n, '\0');
    for (char& c : s)
        c = static_cast<char>(random() & 0xFF);
    for (std::size_t i = 0; i + 24 < n; i += 997)
        s.replace(i, (i / 997) % 24, (i / 997) % 24, '\0');
    return s;
}
