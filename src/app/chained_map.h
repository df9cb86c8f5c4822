// A map of UTF-16 keys with 512 chained buckets and a fixed walk order:
// buckets 0 to 511, each chain newest first. Which of several same-named files
// wins a drop depends on that order, so it is part of the contract. Lookups go
// through a hash index beside the chains, so they stay O(1) on average however
// long the chains grow (100 000 files make chains of about 200). The index is
// open addressing over node pointers: one block, no allocation per key.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
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
        std::unique_ptr<Node> next;
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
    Value& insert(std::u16string_view key, bool* created = nullptr) {
        const std::uint32_t hash = chained_map_hash(key);
        if (Node* existing = find_node(key, hash)) {
            if (created)
                *created = false;
            return existing->value;
        }
        // The index grows first: if it cannot, the map is unchanged.
        reserve_one_more();
        auto& head = buckets_[hash % kBuckets];
        auto node = std::make_unique<Node>();
        node->key = std::u16string(key);
        node->hash = hash;
        Node* added = node.get();
        place(added);
        ++count_;
        if (head)
            head->previous = added;
        node->next = std::move(head);
        head = std::move(node);
        if (created)
            *created = true;
        return added->value;
    }

    // Removes the key's entry; the others keep their order.
    bool erase(std::u16string_view key) {
        Node* node = find_node(key, chained_map_hash(key));
        if (!node)
            return false;
        unplace(node);
        --count_;
        std::unique_ptr<Node>& link = node->previous ? node->previous->next : buckets_[bucket_of(key)];
        if (node->next)
            node->next->previous = node->previous;
        link = std::move(node->next);  // frees the node
        return true;
    }

    void clear() {
        // Unlinked one at a time: a long chain must not recurse in destructors.
        std::vector<Node*>().swap(slots_);
        count_ = 0;
        for (auto& head : buckets_) {
            while (head)
                head = std::move(head->next);
        }
    }

    [[nodiscard]] std::size_t size() const { return count_; }
    [[nodiscard]] bool empty() const { return count_ == 0; }

    // Calls visit(const std::u16string& key, Value& value) in walk order. The
    // visitor must not insert or erase.
    template <class Visit>
    void walk(Visit&& visit) {
        for (auto& head : buckets_) {
            for (Node* node = head.get(); node; node = node->next.get())
                visit(std::as_const(node->key), node->value);
        }
    }

private:
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

    std::array<std::unique_ptr<Node>, kBuckets> buckets_{};
    // Every node, by its hash (slots_.size() is 0 or a power of two).
    std::vector<Node*> slots_;
    int shift_ = 32;
    std::size_t count_ = 0;
};
