// A map of UTF-16 keys with 512 chained buckets and a fixed walk order:
// buckets 0 to 511, each chain newest first. Which of several same-named files
// wins a drop depends on that order, so it is part of the contract. Lookups go
// through a hash index beside the chains, so they stay O(1) on average however
// long the chains grow (100 000 files make chains of about 200). The index is
// open addressing over node pointers: one block, no allocation per key. Nodes
// come from blocks the map owns, not one heap allocation each: a drop of a
// large folder fills two maps, and under Wine each allocation and free costs.
#pragma once

#include <algorithm>
#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Bucket hash: h = h * 65599 + unit over the key's code units, wrapping at 32
// bits; the bucket is h modulo 512.
[[nodiscard]] constexpr std::uint32_t chained_map_hash(std::u16string_view key) {
    std::uint32_t hash = 0;
    for (char16_t unit : key)
        hash = hash * 65599u + unit;
    return hash;
}

template <class Value>
class ChainedMap {
public:
    static constexpr std::size_t kBuckets = 512;

    struct Node {
        std::u16string key;
        Value value{};
        Node* next = nullptr;
        Node* previous = nullptr;  // null at the head of the chain
        std::uint32_t hash = 0;    // chained_map_hash(key)
    };

    ChainedMap() = default;
    ~ChainedMap() { clear(); }
    ChainedMap(const ChainedMap&) = delete;
    ChainedMap& operator=(const ChainedMap&) = delete;

    [[nodiscard]] static std::size_t bucket_of(std::u16string_view key) { return chained_map_hash(key) % kBuckets; }

    // Keys are compared exactly, unit by unit.
    [[nodiscard]] Value* find(std::u16string_view key) {
        Node* node = find_node(key);
        return node ? &node->value : nullptr;
    }

    // The value under `key`; a new one (value-initialised) goes to the head of
    // its bucket's chain. `created` tells which happened.
    Value& insert(std::u16string_view key, bool* created = nullptr) { return insert_key(key, created); }
    // As above; a new node takes the key itself instead of a copy. (A template,
    // so that a literal key still picks the overload above.)
    template <class Key>
    requires std::same_as<Key, std::u16string> Value& insert(Key&& key, bool* created = nullptr) {
        return insert_key(std::move(key), created);
    }

    // Removes the key's entry; the others keep their order.
    bool erase(std::u16string_view key) {
        Node* node = find_node(key, chained_map_hash(key));
        if (!node)
            return false;
        unplace(node);
        --count_;
        Node*& link = node->previous ? node->previous->next : buckets_[bucket_of(key)];
        if (node->next)
            node->next->previous = node->previous;
        link = node->next;
        nodes_.unmake(node);
        return true;
    }

    void clear() {
        std::vector<Node*>().swap(slots_);
        count_ = 0;
        for (Node*& head : buckets_) {
            for (Node* node = head; node;) {
                Node* next = node->next;
                nodes_.unmake(node);
                node = next;
            }
            head = nullptr;
        }
        nodes_.release();
    }

    [[nodiscard]] std::size_t size() const { return count_; }
    [[nodiscard]] bool empty() const { return count_ == 0; }

    // Calls visit(const std::u16string& key, Value& value) in walk order. The
    // visitor must not insert or erase.
    template <class Visit>
    void walk(Visit&& visit) {
        for (Node* head : buckets_) {
            for (Node* node = head; node; node = node->next)
                visit(std::as_const(node->key), node->value);
        }
    }

private:
    template <class Key>
    Value& insert_key(Key&& key, bool* created) {
        const std::uint32_t hash = chained_map_hash(key);
        if (Node* existing = find_node(key, hash)) {
            if (created)
                *created = false;
            return existing->value;
        }
        // The index grows first: if it cannot, the map is unchanged.
        reserve_one_more();
        Node* added = nodes_.make(std::u16string(std::forward<Key>(key)));
        added->hash = hash;
        place(added);
        ++count_;
        Node*& head = buckets_[hash % kBuckets];
        if (head)
            head->previous = added;
        added->next = head;
        head = added;
        if (created)
            *created = true;
        return added->value;
    }

    // Node storage: blocks of growing size, freed nodes reused before a block
    // is cut further. Blocks go back to the heap only with clear().
    class NodeBlocks {
    public:
        NodeBlocks() = default;
        NodeBlocks(const NodeBlocks&) = delete;
        NodeBlocks& operator=(const NodeBlocks&) = delete;
        ~NodeBlocks() { release(); }

        Node* make(std::u16string&& key) {
            void* room = take();
            try {
                return ::new (room) Node{std::move(key)};
            } catch (...) {
                give_back(room);
                throw;
            }
        }

        void unmake(Node* node) {
            node->~Node();
            give_back(node);
        }

        // Every node must have been unmade.
        void release() {
            for (Block& block : blocks_)
                ::operator delete(block.room);
            blocks_.clear();
            free_ = nullptr;
        }

    private:
        struct Block {
            void* room;
            std::size_t capacity;  // nodes
            std::size_t used;      // nodes cut from it so far
        };
        union Free {
            Free* next;
            alignas(Node) unsigned char room[sizeof(Node)];
        };
        static_assert(alignof(Free) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);

        void* take() {
            if (free_) {
                Free* slot = free_;
                free_ = slot->next;
                return slot;
            }
            if (blocks_.empty() || blocks_.back().used == blocks_.back().capacity) {
                const std::size_t capacity =
                    blocks_.empty() ? 16 : std::min<std::size_t>(blocks_.back().capacity * 2, 4096);
                blocks_.reserve(blocks_.size() + 1);  // before the block, so that nothing leaks
                void* room = ::operator new(capacity * sizeof(Free));
                blocks_.push_back({room, capacity, 0});
            }
            Block& block = blocks_.back();
            return static_cast<Free*>(block.room) + block.used++;
        }

        void give_back(void* room) {
            Free* slot = ::new (room) Free;
            slot->next = free_;
            free_ = slot;
        }

        std::vector<Block> blocks_;
        Free* free_ = nullptr;
    };

    Node* find_node(std::u16string_view key) { return find_node(key, chained_map_hash(key)); }

    // Linear probing from the hash's home slot; an empty slot ends the run.
    Node* find_node(std::u16string_view key, std::uint32_t hash) const {
        if (slots_.empty())
            return nullptr;
        for (std::size_t i = home(hash);; i = (i + 1) & mask()) {
            Node* node = slots_[i];
            if (!node)
                return nullptr;
            if (node->hash == hash && node->key == key)
                return node;
        }
    }

    // Similar keys differ little in the hash's low bits: spread it (Fibonacci
    // hashing) and take the top bits.
    [[nodiscard]] std::size_t home(std::uint32_t hash) const {
        return static_cast<std::uint32_t>(hash * 2654435769u) >> shift_;
    }
    [[nodiscard]] std::size_t mask() const { return slots_.size() - 1; }

    // At most three quarters full, so runs stay short.
    void reserve_one_more() {
        if ((count_ + 1) * 4 <= slots_.size() * 3)
            return;
        std::vector<Node*> old(slots_.empty() ? 16 : slots_.size() * 2, nullptr);
        old.swap(slots_);
        shift_ = 32;
        for (std::size_t n = slots_.size(); n > 1; n >>= 1)
            --shift_;
        for (Node* node : old) {
            if (node)
                place(node);
        }
    }

    void place(Node* node) {
        std::size_t i = home(node->hash);
        while (slots_[i])
            i = (i + 1) & mask();
        slots_[i] = node;
    }

    // Backward-shift deletion: later nodes of the run move up into the hole
    // unless that would put them before their home slot.
    void unplace(const Node* node) {
        std::size_t hole = home(node->hash);
        while (slots_[hole] != node)
            hole = (hole + 1) & mask();
        for (std::size_t i = (hole + 1) & mask(); slots_[i]; i = (i + 1) & mask()) {
            const std::size_t at = home(slots_[i]->hash);
            const bool home_after_hole = hole <= i ? (hole < at && at <= i) : (hole < at || at <= i);
            if (!home_after_hole) {
                slots_[hole] = slots_[i];
                hole = i;
            }
        }
        slots_[hole] = nullptr;
    }

    NodeBlocks nodes_;
    std::array<Node*, kBuckets> buckets_{};
    // Every node, by its hash (slots_.size() is 0 or a power of two).
    std::vector<Node*> slots_;
    int shift_ = 32;
    std::size_t count_ = 0;
};
