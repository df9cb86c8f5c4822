// Reference-counted sharing of one brush per colour.
#include "gadget/brush_cache.h"

std::uintptr_t BrushCache::acquire(std::int32_t colour) {
    for (Entry& e : entries_) {
        if (e.colour == colour) {
            ++e.count;
            return e.brush;
        }
    }
    const std::uintptr_t brush = create_(colour);
    // A brush that cannot be made is not remembered, so a later call tries again
    // and nobody holds a reference to nothing.
    if (brush)
        entries_.insert(entries_.begin(), Entry{colour, brush, 1});
    return brush;
}

void BrushCache::release(std::uintptr_t brush) {
    if (!brush)
        return;
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->brush != brush)
            continue;
        if (--it->count <= 0) {
            destroy_(brush);
            entries_.erase(it);
        }
        return;
    }
}

std::int32_t BrushCache::references(std::int32_t colour) const {
    for (const Entry& e : entries_)
        if (e.colour == colour)
            return e.count;
    return 0;
}
