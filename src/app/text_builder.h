// A growable buffer of UTF-16 code units for assembling long texts: grows by
// 1.28 in place where the heap allows, or is sized once up front.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class TextBuilder {
public:
    static constexpr std::size_t kInitialCapacity = 10240;  // units of a new builder's block

    // Holds no block until the first append or reserve.
    TextBuilder() noexcept = default;
    ~TextBuilder();
    TextBuilder(TextBuilder&& other) noexcept;
    TextBuilder& operator=(TextBuilder&& other) noexcept;
    TextBuilder(const TextBuilder&) = delete;
    TextBuilder& operator=(const TextBuilder&) = delete;

    // Room for at least `units` units in all, if memory allows: false when it
    // does not, and the builder is left as it was, to grow as text comes (a
    // room worked out for the worst case may be far more than the text needs).
    bool reserve(std::size_t units) noexcept;
    void append(std::u16string_view text) noexcept;
    // Room for `extra` more units after the text: where to write them, null
    // when memory runs out. commit() then adds what was written.
    [[nodiscard]] char16_t* prepare(std::size_t extra) noexcept;
    void commit(std::size_t units) noexcept;
    // Cuts the text to its first `units` units.
    void truncate(std::size_t units) noexcept;
    // Gives back the room the text does not use.
    void shrink_to_fit() noexcept;
    // Empties the builder, releases its block and forgets a failure.
    void clear() noexcept;

    // A builder whose memory ran out has dropped its text and ignores appends
    // until clear(): its text is never a silently cut one.
    [[nodiscard]] bool failed() const noexcept { return failed_; }
    [[nodiscard]] bool empty() const noexcept { return size_ == 0; }
    [[nodiscard]] std::size_t size() const noexcept { return size_; }
    [[nodiscard]] std::size_t capacity() const noexcept { return capacity_; }
    // Valid until the next change to the builder.
    [[nodiscard]] std::u16string_view view() const noexcept { return {units_, size_}; }
    [[nodiscard]] std::u16string text() const { return std::u16string(view()); }

private:
    // False without failing the builder when the room cannot be had.
    bool try_grow_to(std::size_t units) noexcept;
    void fail() noexcept;

    char16_t* units_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    bool failed_ = false;
};

// The heap function builders use (std::realloc by default). Tests swap it to
// make allocations fail (blocks are released with std::free); null restores
// the default. Not for use while builders
// are in use on other threads.
using TextBuilderRealloc = void* (*)(void* block, std::size_t bytes);
void set_text_builder_realloc(TextBuilderRealloc realloc_function);

// The builder operations under their documented names. text_builder_new gives
// a builder with room for kInitialCapacity units, or null.
[[nodiscard]] std::unique_ptr<TextBuilder> text_builder_new();
// A length of 0 or less appends up to the text's terminator; no builder or no
// text does nothing.
void text_builder_append(TextBuilder* builder, const char16_t* text, std::int32_t length);
[[nodiscard]] std::u16string text_builder_text(const TextBuilder* builder);
void text_builder_free(std::unique_ptr<TextBuilder> builder);
