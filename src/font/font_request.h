// What a font is asked of the platform: the pixel height a point size takes at
// a screen DPI, and the weight, styles and quality its flag bits select.
#pragma once

#include <cstdint>

// Style flags of load_font; other bits are ignored.
inline constexpr std::uint32_t PB_Font_Bold = 0x100;
inline constexpr std::uint32_t PB_Font_Italic = 0x200;
inline constexpr std::uint32_t PB_Font_Underline = 0x4;
inline constexpr std::uint32_t PB_Font_StrikeOut = 0x8;
inline constexpr std::uint32_t PB_Font_HighQuality = 0x10;

// The platform's MulDiv: number × numerator / denominator with a 64-bit
// product, rounded half away from zero; -1 when the denominator is 0 or the
// result lies outside ±(2^31 − 1).
[[nodiscard]] std::int32_t mul_div(std::int32_t number, std::int32_t numerator, std::int32_t denominator);

// The font height for a size in points: negative, so that the platform matches
// the character height (not the cell height) in pixels.
[[nodiscard]] std::int32_t font_pixel_height(std::int32_t size, std::int32_t dpi);

struct FontRequest {
    std::int32_t height;
    std::int32_t weight;  // 700 bold, else 400
    std::uint8_t italic;
    std::uint8_t underline;
    std::uint8_t strike_out;
    std::uint8_t quality;  // 2 proof quality, else 0 default
};

[[nodiscard]] FontRequest font_request(std::int32_t size, std::int32_t dpi, std::uint32_t flags);
