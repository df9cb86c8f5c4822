// String arena of a document: small strings and arrays are bump-allocated from
// big blocks, bigger ones come from the heap; all of it goes with the document.
#pragma once

#include <cstddef>

#include "xml/xml_document.h"

// Pieces up to this size (in bytes) come from the arena blocks.
inline constexpr std::size_t ARENA_PIECE_LIMIT = 1024;
// Size of the blocks taken when the first one is full.
inline constexpr std::size_t ARENA_BLOCK_SIZE = 0x80000;

// Header of an arena block; the pieces follow it.
struct alignas(std::max_align_t) ArenaBlock {
    ArenaBlock* next;
    std::size_t size;  // bytes, header included
};

// Header of a heap piece. The document keeps its pieces in a list, so freeing
// the document frees exactly them; open node texts grow in unlinked pieces.
struct alignas(std::max_align_t) HeapPiece {
    HeapPiece* next;
    std::size_t capacity;  // units, for growable texts
    std::size_t length;    // units in use, for growable texts
};

// Takes a new block of `bytes` (header included) and makes it the newest.
// False if the heap refused it; later requests then take a standard block or
// the heap.
bool arena_add_block(XmlDocument& document, std::size_t bytes) noexcept;

// A piece of `bytes` aligned for pointers; null when memory is exhausted.
[[nodiscard]] void* arena_allocate(XmlDocument& document, std::size_t bytes) noexcept;

// A NUL-terminated copy of `units` code units; null when memory is exhausted.
[[nodiscard]] char16_t* arena_copy(XmlDocument& document, const char16_t* units, std::size_t length) noexcept;

// Links a heap piece into the document, which then owns it.
void arena_adopt(XmlDocument& document, HeapPiece* piece) noexcept;

// Frees every block and every heap piece of the document.
void arena_free(XmlDocument& document) noexcept;

// Whether a piece lies inside one of the document's arena blocks.
[[nodiscard]] bool arena_contains(const XmlDocument& document, const void* piece) noexcept;

// The data of a heap piece, and back.
[[nodiscard]] inline void* piece_data(HeapPiece* piece) {
    return piece + 1;
}
[[nodiscard]] inline HeapPiece* piece_of(void* data) {
    return static_cast<HeapPiece*>(data) - 1;
}
