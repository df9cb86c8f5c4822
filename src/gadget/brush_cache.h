// The process-wide cache of solid background brushes: one brush per colour,
// shared by reference count. The caller holds the lock around each call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class BrushCache {
public:
    using CreateBrush = std::uintptr_t (*)(std::int32_t colour);  // 0 on failure
    using DeleteBrush = void (*)(std::uintptr_t brush);

    BrushCache(CreateBrush create, DeleteBrush destroy) : create_(create), destroy_(destroy) {}

    // The colour's brush with one more reference; 0 if none can be made.
    [[nodiscard]] std::uintptr_t acquire(std::int32_t colour);
    // Drops one reference; the last deletes the brush. Unknown brushes are ignored.
    void release(std::uintptr_t brush);

    [[nodiscard]] std::size_t size() const { return entries_.size(); }
    // References held on the colour's brush (0 when it has none).
    [[nodiscard]] std::int32_t references(std::int32_t colour) const;

private:
    struct Entry {
        std::int32_t colour;
        std::uintptr_t brush;
        std::int32_t count;
    };
    CreateBrush create_;
    DeleteBrush destroy_;
    std::vector<Entry> entries_;  // newest first
};
