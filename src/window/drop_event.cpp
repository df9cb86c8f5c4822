// Drop event records: allocation, the queue's free routine, and reading the
// dropped-file list of the current event without trusting the block.
#include "window/drop_event.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "window/drop_rules.h"
#include "window/event_queue.h"

namespace {

// Live records are linked, so that the current event's data pointer is only
// read as a drop record when it is one (any event may carry data).
struct DropEventBlock {
    DropEventData data;  // first: the record's address is the block's
    DropEventBlock* prev;
    DropEventBlock* next;
};
DropEventBlock* g_live = nullptr;

constexpr std::size_t kHeaderSize = 20;
constexpr std::size_t kWideFlagOffset = 16;

std::uint32_t read_u32(const unsigned char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

}  // namespace

DropEventData* make_drop_event_data(std::uint32_t format,
                                    std::uint32_t private_type,
                                    std::uint32_t action,
                                    std::int32_t x,
                                    std::int32_t y,
                                    const void* block,
                                    std::size_t size) {
    void* copy = nullptr;
    if (block) {
        copy = std::malloc(size ? size : 1);
        if (!copy)
            return nullptr;
        if (size)
            std::memcpy(copy, block, size);
    } else {
        size = 0;
    }
    auto* b = new (std::nothrow) DropEventBlock{{format, private_type, action, x, y, copy, size}, nullptr, g_live};
    if (!b) {
        std::free(copy);
        return nullptr;
    }
    if (g_live)
        g_live->prev = b;
    g_live = b;
    return &b->data;
}

void free_drop_event_data(void* data) {
    if (!data)
        return;
    auto* b = reinterpret_cast<DropEventBlock*>(static_cast<DropEventData*>(data));
    if (b->prev)
        b->prev->next = b->next;
    else
        g_live = b->next;
    if (b->next)
        b->next->prev = b->prev;
    std::free(b->data.data);
    delete b;
}

const DropEventData* current_drop_event_data() {
    const void* data = current_event_data();
    if (!data)
        return nullptr;
    for (const DropEventBlock* b = g_live; b; b = b->next)
        if (&b->data == data)
            return &b->data;
    return nullptr;
}

std::vector<std::u16string> dropped_file_names(const void* block, std::size_t size) {
    std::vector<std::u16string> names;
    if (!block || size < kHeaderSize)
        return names;
    const auto* bytes = static_cast<const unsigned char*>(block);
    const std::size_t offset = read_u32(bytes);
    const bool wide = read_u32(bytes + kWideFlagOffset) != 0;
    if (offset < kHeaderSize || offset > size)
        return names;
    const unsigned char* p = bytes + offset;
    const unsigned char* end = bytes + size;
    if (wide) {
        const std::size_t units = static_cast<std::size_t>(end - p) / 2;
        std::u16string name;
        for (std::size_t i = 0; i < units; ++i) {
            char16_t unit;
            std::memcpy(&unit, p + 2 * i, 2);
            if (unit != 0) {
                name.push_back(unit);
                continue;
            }
            if (name.empty())
                break;  // the empty name ends the list
            names.push_back(std::move(name));
            name.clear();
        }
    } else {
        const unsigned char* start = p;
        for (; p < end; ++p) {
            if (*p != 0)
                continue;
            if (p == start)
                break;
            names.push_back(drop_ansi_to_utf16(
                std::string_view(reinterpret_cast<const char*>(start), static_cast<std::size_t>(p - start))));
            start = p + 1;
        }
    }
    return names;
}

std::u16string dropped_files_text() {
    const DropEventData* d = current_drop_event_data();
    if (!d || d->format != DROP_FORMAT_FILES || !d->data)
        return {};
    std::u16string text;
    for (const std::u16string& name : dropped_file_names(d->data, d->size)) {
        if (!text.empty())
            text.push_back(u'\n');
        text += name;
    }
    return text;
}
