// TextBuilder: one realloc'd block, so large texts can grow without a copy.
#include "app/text_builder.h"

#include "system/memory_advice.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

namespace {

std::atomic<TextBuilderRealloc> g_realloc{nullptr};

void* reallocate(void* block, std::size_t bytes) {
    const TextBuilderRealloc custom = g_realloc.load(std::memory_order_relaxed);
    return custom ? custom(block, bytes) : std::realloc(block, bytes);
}

// Blocks from this size on get the large-page hint.
constexpr std::size_t kLargeBlockBytes = std::size_t{32} << 20;

constexpr std::size_t kMaxUnits = std::numeric_limits<std::ptrdiff_t>::max() / sizeof(char16_t);

}  // namespace

void set_text_builder_realloc(TextBuilderRealloc realloc_function) {
    g_realloc.store(realloc_function);
}

TextBuilder::~TextBuilder() {
    std::free(units_);
}

TextBuilder::TextBuilder(TextBuilder&& other) noexcept
    : units_(std::exchange(other.units_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)),
      failed_(std::exchange(other.failed_, false)) {}

TextBuilder& TextBuilder::operator=(TextBuilder&& other) noexcept {
    if (this != &other) {
        std::free(units_);
        units_ = std::exchange(other.units_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        failed_ = std::exchange(other.failed_, false);
    }
    return *this;
}

void TextBuilder::fail() noexcept {
    std::free(units_);
    units_ = nullptr;
    size_ = capacity_ = 0;
    failed_ = true;
}

bool TextBuilder::try_grow_to(std::size_t units) noexcept {
    if (failed_)
        return false;
    if (units <= capacity_)
        return true;
    if (units > kMaxUnits)
        return false;
    void* block = reallocate(units_, units * sizeof(char16_t));
    if (!block)
        return false;
    if (units * sizeof(char16_t) >= kLargeBlockBytes)
        advise_sequential_fill(block, units * sizeof(char16_t));
    units_ = static_cast<char16_t*>(block);
    capacity_ = units;
    return true;
}

bool TextBuilder::reserve(std::size_t units) noexcept {
    return try_grow_to(units);
}

char16_t* TextBuilder::prepare(std::size_t extra) noexcept {
    if (failed_)
        return nullptr;
    if (extra > kMaxUnits - size_) {
        fail();
        return nullptr;
    }
    const std::size_t needed = size_ + extra;
    if (needed > capacity_) {
        // Growth by a constant factor keeps appends amortised O(1); a block
        // that is never grown starts with room for kInitialCapacity units.
        const double grown = std::round(static_cast<double>(needed) * 1.28);
        std::size_t target = grown >= static_cast<double>(kMaxUnits) ? kMaxUnits : static_cast<std::size_t>(grown);
        if (target < kInitialCapacity)
            target = kInitialCapacity;
        // Near the end of the address space the margin may not fit where the
        // text itself still does.
        if (!try_grow_to(target) && !try_grow_to(needed)) {
            fail();
            return nullptr;
        }
    }
    return units_ + size_;
}

void TextBuilder::commit(std::size_t units) noexcept {
    if (!failed_ && size_ + units <= capacity_)
        size_ += units;
}

void TextBuilder::append(std::u16string_view text) noexcept {
    if (text.empty())
        return;
    if (char16_t* out = prepare(text.size())) {
        std::memcpy(out, text.data(), text.size() * sizeof(char16_t));
        size_ += text.size();
    }
}

void TextBuilder::truncate(std::size_t units) noexcept {
    if (units < size_)
        size_ = units;
}

void TextBuilder::shrink_to_fit() noexcept {
    if (failed_ || capacity_ == size_)
        return;
    if (size_ == 0) {
        clear();
        return;
    }
    // Shrinking in place never fails in practice; if it does, keep the block.
    if (void* block = reallocate(units_, size_ * sizeof(char16_t))) {
        units_ = static_cast<char16_t*>(block);
        capacity_ = size_;
    }
}

void TextBuilder::clear() noexcept {
    std::free(units_);
    units_ = nullptr;
    size_ = capacity_ = 0;
    failed_ = false;
}

std::unique_ptr<TextBuilder> text_builder_new() {
    auto builder = std::unique_ptr<TextBuilder>(new (std::nothrow) TextBuilder());
    if (builder && !builder->reserve(TextBuilder::kInitialCapacity))
        builder.reset();
    return builder;
}

void text_builder_append(TextBuilder* builder, const char16_t* text, std::int32_t length) {
    if (!builder || !text)
        return;
    const std::size_t units = length > 0 ? static_cast<std::size_t>(length) : std::char_traits<char16_t>::length(text);
    builder->append(std::u16string_view(text, units));
}

std::u16string text_builder_text(const TextBuilder* builder) {
    return builder ? builder->text() : std::u16string();
}

void text_builder_free(std::unique_ptr<TextBuilder> builder) {
    builder.reset();
}
