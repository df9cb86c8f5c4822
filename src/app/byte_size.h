// Sizes for people to read, in boxes and on the progress line.
#pragma once

#include <string>
#include <string_view>

// Whole bytes below 1 KiB ("12", `space` and `bytes_word`, or `one_byte` for
// 1), then KiB, MiB, GiB or TiB to one decimal, in the largest unit that does
// not show as 1024.0: "1.0 MiB" for 1 MiB less one byte.
[[nodiscard]] std::u16string byte_size_text(double bytes,
                                            std::u16string_view space,
                                            std::u16string_view one_byte,
                                            std::u16string_view bytes_word);
