// String arena of a document: blocks for small pieces, listed heap pieces for big ones.
#include "xml/string_arena.h"

#include <cstdint>
#include <cstring>

#include "xml/xml_heap.h"

namespace {

constexpr std::size_t kPieceAlign = alignof(void*);  // attribute arrays hold pointers

std::byte* block_begin(ArenaBlock* block) {
    return reinterpret_cast<std::byte*>(block + 1);
}
std::byte* block_end(ArenaBlock* block) {
    return reinterpret_cast<std::byte*>(block) + block->size;
}

void* heap_piece(XmlDocument& document, std::size_t bytes) noexcept {
    if (bytes > SIZE_MAX - sizeof(HeapPiece))
        return nullptr;
    auto* piece = static_cast<HeapPiece*>(xml_malloc(sizeof(HeapPiece) + bytes));
    if (!piece)
        return nullptr;
    piece->capacity = 0;
    piece->length = 0;
    arena_adopt(document, piece);
    return piece_data(piece);
}

}  // namespace

bool arena_add_block(XmlDocument& document, std::size_t bytes) noexcept {
    if (bytes < sizeof(ArenaBlock))
        return false;
    auto* block = static_cast<ArenaBlock*>(xml_malloc(bytes));
    if (!block)
        return false;
    block->next = document.arena_blocks;
    block->size = bytes;
    document.arena_blocks = block;
    document.arena_cursor = block_begin(block);
    document.arena_end = block_end(block);
    return true;
}

void* arena_allocate(XmlDocument& document, std::size_t bytes) noexcept {
    if (bytes > ARENA_PIECE_LIMIT)
        return heap_piece(document, bytes);
    auto fits = [&] {
        if (!document.arena_cursor)
            return false;
        auto cursor = reinterpret_cast<std::uintptr_t>(document.arena_cursor);
        auto aligned = (cursor + kPieceAlign - 1) & ~(kPieceAlign - 1);
        return aligned + bytes <= reinterpret_cast<std::uintptr_t>(document.arena_end);
    };
    // A full block is left behind with its rest unused: pieces are small.
    if (!fits() && !(arena_add_block(document, ARENA_BLOCK_SIZE) && fits()))
        return heap_piece(document, bytes);
    auto cursor = reinterpret_cast<std::uintptr_t>(document.arena_cursor);
    auto* piece = document.arena_cursor + (((cursor + kPieceAlign - 1) & ~(kPieceAlign - 1)) - cursor);
    document.arena_cursor = piece + bytes;
    return piece;
}

char16_t* arena_copy(XmlDocument& document, const char16_t* units, std::size_t length) noexcept {
    if (length >= SIZE_MAX / 2 - 1)
        return nullptr;
    auto* copy = static_cast<char16_t*>(arena_allocate(document, (length + 1) * 2));
    if (!copy)
        return nullptr;
    if (length)
        std::memcpy(copy, units, length * 2);
    copy[length] = 0;
    return copy;
}

void arena_adopt(XmlDocument& document, HeapPiece* piece) noexcept {
    piece->next = document.heap_pieces;
    document.heap_pieces = piece;
}

void arena_free(XmlDocument& document) noexcept {
    while (HeapPiece* piece = document.heap_pieces) {
        document.heap_pieces = piece->next;
        xml_free(piece);
    }
    while (ArenaBlock* block = document.arena_blocks) {
        document.arena_blocks = block->next;
        xml_free(block);
    }
    document.arena_cursor = nullptr;
    document.arena_end = nullptr;
}

bool arena_contains(const XmlDocument& document, const void* piece) noexcept {
    auto p = reinterpret_cast<std::uintptr_t>(piece);
    for (ArenaBlock* block = document.arena_blocks; block; block = block->next) {
        if (p >= reinterpret_cast<std::uintptr_t>(block_begin(block)) &&
            p < reinterpret_cast<std::uintptr_t>(block_end(block)))
            return true;
    }
    return false;
}
