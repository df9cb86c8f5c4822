// The conversion at the heart of Data.q rows, for any unit type: char16_t for
// text kept in memory, char for UTF-8 output (the rows are ASCII, so each unit
// is one byte either way). Internal to the row writers.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace row_digits {

inline constexpr std::size_t kMaxValueUnits = 19;  // "$", 16 digits and "," or, ending a row, "\r\n"
inline constexpr std::size_t kRowStartUnits = 8;   // "\tData.q "

// Two hex digits per byte, as the two units of one word in memory.
template <class Unit>
using Pair = std::conditional_t<sizeof(Unit) == 1, std::uint16_t, std::uint32_t>;

template <class Unit>
constexpr std::array<Pair<Unit>, 256> make_hex_pairs() {
    static_assert(std::endian::native == std::endian::little, "the high digit is the pair's low unit");
    std::array<Pair<Unit>, 256> pairs{};
    constexpr char digits[] = "0123456789ABCDEF";
    for (unsigned b = 0; b < 256; ++b) {
        const Pair<Unit> high = static_cast<Pair<Unit>>(digits[b >> 4]), low = static_cast<Pair<Unit>>(digits[b & 15]);
        pairs[b] = static_cast<Pair<Unit>>(high | (low << (8 * sizeof(Unit))));
    }
    return pairs;
}
template <class Unit>
inline constexpr std::array<Pair<Unit>, 256> kHexPairs = make_hex_pairs<Unit>();

template <class Unit>
inline void put_pair(Unit* out, std::uint64_t value, int shift) {
    const Pair<Unit> pair = kHexPairs<Unit>[(value >> shift) & 0xFF];
    std::memcpy(out, &pair, sizeof pair);
}

inline int hex_digit_count(std::uint64_t value) {
    return value == 0 ? 1 : (64 - __builtin_clzll(value) + 3) / 4;
}

// Writes "$" and the value's digits at `out`; returns the units used. Digits
// go straight to the output: staging them elsewhere first costs a stalled
// reload for every value.
template <class Unit>
inline std::size_t put_value(Unit* out, std::uint64_t value) {
    out[0] = static_cast<Unit>('$');
    if (value >> 60) {  // all 16 digits: nearly every value of random data
        for (int i = 0; i < 8; ++i)
            put_pair(out + 1 + 2 * i, value, 56 - 8 * i);
        return 17;
    }
    const int count = hex_digit_count(value);
    Unit* p = out + 1;
    int shift = (count - 1) / 2 * 8;  // the highest byte with a significant digit
    if (count & 1) {
        *p++ = static_cast<Unit>("0123456789ABCDEF"[(value >> shift) & 0xF]);
        shift -= 8;
    }
    for (; shift >= 0; shift -= 8, p += 2)
        put_pair(p, value, shift);
    return 1 + static_cast<std::size_t>(count);
}

// Eight bytes as a value, first byte lowest.
inline std::uint64_t load_value(const unsigned char* bytes) {
    std::uint64_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

// The most units the rows of `bytes` bytes can take.
inline std::uint64_t max_units(std::uint64_t bytes, std::int32_t values_per_line) {
    const std::uint64_t values = (bytes + 7) / 8;
    std::uint64_t units = values * kMaxValueUnits;
    if (values_per_line > 0)
        units += (values / static_cast<std::uint64_t>(values_per_line) + 1) * kRowStartUnits;
    return units;
}

// One value with what surrounds it: "\tData.q " when a full row came before,
// then "," or, when the value completes a row, "\r\n". `in_row` counts the
// values of the current row.
template <class Unit>
inline Unit* put_row_value(Unit* out, std::uint64_t value, std::int32_t values_per_line, std::int32_t& in_row) {
    if (values_per_line > 0 && in_row == values_per_line) {
        constexpr char kRowStart[] = "\tData.q ";
        for (std::size_t i = 0; i < kRowStartUnits; ++i)
            out[i] = static_cast<Unit>(kRowStart[i]);
        out += kRowStartUnits;
        in_row = 0;
    }
    out += put_value(out, value);
    if (++in_row == values_per_line) {
        out[0] = static_cast<Unit>('\r');
        out[1] = static_cast<Unit>('\n');
        return out + 2;
    }
    *out = static_cast<Unit>(',');
    return out + 1;
}

// Converts `count` bytes (a multiple of 8 unless they end the file; missing
// high bytes of the last value are 0) to `out`, which has room for
// max_units(count). Returns the end of what was written; a "," may end it.
template <class Unit>
inline Unit* put_rows(Unit* out,
                      const unsigned char* bytes,
                      std::size_t count,
                      std::int32_t values_per_line,
                      std::int32_t& in_row) {
    std::size_t at = 0;
    for (; at + 8 <= count; at += 8)
        out = put_row_value(out, load_value(bytes + at), values_per_line, in_row);
    if (at < count) {
        unsigned char group[8] = {};
        std::memcpy(group, bytes + at, count - at);
        out = put_row_value(out, load_value(group), values_per_line, in_row);
    }
    return out;
}

}  // namespace row_digits
