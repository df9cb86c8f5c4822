// Font sizes and style flags turned into what the platform font is asked for.
#include "font/font_request.h"

#include <limits>

std::int32_t mul_div(std::int32_t number, std::int32_t numerator, std::int32_t denominator) {
    if (denominator == 0)
        return -1;
    const std::int64_t product = std::int64_t{number} * numerator;
    std::int64_t divisor = denominator;
    std::int64_t dividend = product;
    if (divisor < 0) {
        divisor = -divisor;
        dividend = -dividend;
    }
    // Add or subtract half the divisor before truncating, so halves round away from zero.
    const std::int64_t half = divisor / 2;
    const std::int64_t result = (dividend < 0 ? dividend - half : dividend + half) / divisor;
    // The platform's range is symmetric: -2^31 counts as overflow too.
    constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
    if (result > kLimit || result < -kLimit)
        return -1;
    return static_cast<std::int32_t>(result);
}

std::int32_t font_pixel_height(std::int32_t size, std::int32_t dpi) {
    return -mul_div(size, dpi, 72);
}

FontRequest font_request(std::int32_t size, std::int32_t dpi, std::uint32_t flags) {
    FontRequest request{};
    request.height = font_pixel_height(size, dpi);
    request.weight = (flags & PB_Font_Bold) ? 700 : 400;
    request.italic = (flags & PB_Font_Italic) ? 1 : 0;
    request.underline = (flags & PB_Font_Underline) ? 1 : 0;
    request.strike_out = (flags & PB_Font_StrikeOut) ? 1 : 0;
    request.quality = (flags & PB_Font_HighQuality) ? 2 : 0;
    return request;
}
