// A map of UTF-16 keys with 512 chained buckets and a fixed walk order:
// buckets 0 to 511, each chain newest first. Which of several same-named files
// wins a drop depends on that order, so it is part of the contract. Lookups go
// through a hash index beside the chains, so they stay O(1) on average however
// long the chains grow (100 000 files make chains of about 200).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

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
        if (Node* existing = find_node(key)) {
            if (created)
                *created = false;
            return existing->value;
        }
        auto& head = buckets_[bucket_of(key)];
        auto node = std::make_unique<Node>();
        node->key = std::u16string(key);
        Node* added = node.get();
        // The index is updated first: if it cannot grow, the map is unchanged.
        index_.emplace(std::u16string_view(added->key), added);
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
        const auto found = index_.find(key);
        if (found == index_.end())
            return false;
        Node* node = found->second;
        index_.erase(found);
        std::unique_ptr<Node>& link = node->previous ? node->previous->next : buckets_[bucket_of(key)];
        if (node->next)
            node->next->previous = node->previous;
        link = std::move(node->next);  // frees the node
        return true;
    }

    void clear() {
        // Unlinked one at a time: a long chain must not recurse in destructors.
        index_.clear();
        for (auto& head : buckets_) {
            while (head)
                head = std::move(head->next);
        }
    }

    [[nodiscard]] std::size_t size() const { return index_.size(); }
    [[nodiscard]] bool empty() const { return index_.empty(); }

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
    struct KeyHash {
        std::size_t operator()(std::u16string_view key) const { return chained_map_hash(key); }
    };

    Node* find_node(std::u16string_view key) {
        const auto found = index_.find(key);
        return found == index_.end() ? nullptr : found->second;
    }

    std::array<std::unique_ptr<Node>, kBuckets> buckets_{};
    // Every node by its key (a view of the node's own key, which never moves).
    std::unordered_map<std::u16string_view, Node*, KeyHash> index_;
};
