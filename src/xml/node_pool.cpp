// Pool of node records: chunks of growing size, free nodes chained through their parent field.
#include "xml/node_pool.h"

#include <algorithm>
#include <cstring>

#include "xml/xml_heap.h"

namespace {

struct alignas(std::max_align_t) Chunk {
    Chunk* next;
    std::size_t count;
};

constexpr std::size_t kFirstChunk = 64;
constexpr std::size_t kLargestChunk = 16384;

struct Pool {
    Chunk* chunks = nullptr;
    XmlNode* free_list = nullptr;
    std::size_t in_use = 0;
    std::size_t next_chunk = kFirstChunk;
};

Pool pool;

XmlNode* nodes_of(Chunk* chunk) {
    return reinterpret_cast<XmlNode*>(chunk + 1);
}

bool grow() noexcept {
    const std::size_t count = pool.next_chunk;
    auto* chunk = static_cast<Chunk*>(xml_malloc(sizeof(Chunk) + count * sizeof(XmlNode)));
    if (!chunk)
        return false;
    chunk->next = pool.chunks;
    chunk->count = count;
    pool.chunks = chunk;
    XmlNode* nodes = nodes_of(chunk);
    for (std::size_t i = count; i-- > 0;) {
        nodes[i].parent = pool.free_list;
        pool.free_list = &nodes[i];
    }
    // Doubling keeps the number of chunks small for big documents.
    pool.next_chunk = std::min(count * 2, kLargestChunk);
    return true;
}

void release_all() noexcept {
    while (Chunk* chunk = pool.chunks) {
        pool.chunks = chunk->next;
        xml_free(chunk);
    }
    pool = Pool{};
}

}  // namespace

XmlNode* node_take() noexcept {
    if (!pool.free_list && !grow())
        return nullptr;
    XmlNode* node = pool.free_list;
    pool.free_list = node->parent;
    std::memset(node, 0, sizeof(XmlNode));
    ++pool.in_use;
    return node;
}

void node_give_back(XmlNode* node) noexcept {
    node->parent = pool.free_list;
    pool.free_list = node;
    if (--pool.in_use == 0)
        release_all();
}

std::size_t node_pool_in_use() noexcept {
    return pool.in_use;
}
