// Hints to the platform about large blocks of memory.
#pragma once

#include <cstddef>

// Asks for large pages behind a block that is about to be written front to
// back: for texts of hundreds of MiB the first touch of fresh memory, one page
// fault per small page, costs more than producing the text. Only a hint; it
// changes no content and may do nothing.
void advise_sequential_fill(void* block, std::size_t bytes) noexcept;
