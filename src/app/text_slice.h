// A read-only piece of a text block that several owners share: the generated
// text and the rows cached from it live in one block, written once.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "app/text_builder.h"

using SharedTextBlock = std::shared_ptr<const TextBuilder>;

class TextSlice {
public:
    TextSlice() = default;
    TextSlice(SharedTextBlock block, std::size_t offset, std::size_t length) noexcept
        : block_(std::move(block)), offset_(offset), length_(length) {}

    [[nodiscard]] std::u16string_view view() const noexcept {
        return block_ ? block_->view().substr(offset_, length_) : std::u16string_view();
    }
    [[nodiscard]] std::u16string text() const { return std::u16string(view()); }
    [[nodiscard]] bool empty() const noexcept { return length_ == 0; }
    [[nodiscard]] std::size_t size() const noexcept { return length_; }
    // Gives up this share of the block (the block goes with its last share).
    void clear() noexcept {
        block_.reset();
        offset_ = length_ = 0;
    }
    [[nodiscard]] const SharedTextBlock& block() const noexcept { return block_; }
    [[nodiscard]] std::size_t offset() const noexcept { return offset_; }

private:
    SharedTextBlock block_;
    std::size_t offset_ = 0;
    std::size_t length_ = 0;
};
