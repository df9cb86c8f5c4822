// A map of UTF-16 keys with 512 chained buckets and a fixed walk order:
// buckets 0 to 511, each chain newest first. Which of several same-named files
// wins a drop depends on that order, so it is part of the contract.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
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
    };

    ChainedMap() = default;
    ~ChainedMap() { clear(); }
    ChainedMap(const ChainedMap&) = delete;
    ChainedMap& operator=(const ChainedMap&) = delete;

    [[nodiscard]] static std::size_t bucket_of(std::u16string_view key) { return chained_map_hash(key) % kBuckets; }

    // Keys are compared exactly, unit by unit.
    [[nodiscard]] Value* find(std::u16string_view key) {
        for (Node* node = buckets_[bucket_of(key)].get(); node; node = node->next.get()) {
            if (node->key == key)
                return &node->value;
        }
        return nullptr;
    }

    // The value under `key`; a new one (value-initialised) goes to the head of
    // its bucket's chain. `created` tells which happened.
    Value& insert(std::u16string_view key, bool* created = nullptr) {
        if (Value* existing = find(key)) {
            if (created)
                *created = false;
            return *existing;
        }
        auto& head = buckets_[bucket_of(key)];
        auto node = std::make_unique<Node>();
        node->key = std::u16string(key);
        node->next = std::move(head);
        head = std::move(node);
        ++count_;
        if (created)
            *created = true;
        return head->value;
    }

    // Removes the key's entry; the others keep their order.
    bool erase(std::u16string_view key) {
        std::unique_ptr<Node>* link = &buckets_[bucket_of(key)];
        while (*link) {
            if ((*link)->key == key) {
                *link = std::move((*link)->next);
                --count_;
                return true;
            }
            link = &(*link)->next;
        }
        return false;
    }

    void clear() {
        // Unlinked one at a time: a long chain must not recurse in destructors.
        for (auto& head : buckets_) {
            while (head)
                head = std::move(head->next);
        }
        count_ = 0;
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
    std::array<std::unique_ptr<Node>, kBuckets> buckets_{};
    std::size_t count_ = 0;
};
