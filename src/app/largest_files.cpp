#include "app/largest_files.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/byte_size.h"
#include "app/path_report.h"

std::u16string size_text(std::int64_t bytes) {
    // A no-break space: a box must not part the number from its unit.
    return byte_size_text(static_cast<double>(bytes), u"\u00A0", u"byte", u"bytes");
}

std::u16string largest_files_lines(FileMap& map, std::size_t count, std::size_t limit) {
    std::vector<const FileEntry*> files;
    map.walk([&files](const std::u16string&, FileEntry& entry) {
        if (entry.size > 0)
            files.push_back(&entry);
    });
    const std::size_t shown = std::min(count, files.size());
    // Equal sizes by path, so that the lines do not depend on the map's order.
    std::partial_sort(files.begin(), files.begin() + static_cast<std::ptrdiff_t>(shown), files.end(),
                      [](const FileEntry* a, const FileEntry* b) {
                          return a->size != b->size ? a->size > b->size : a->path < b->path;
                      });
    std::u16string lines;
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0)
            lines += u"\r\n";
        lines += u"    " + shown_path(files[i]->path, limit) + u" (" + size_text(files[i]->size) + u")";
    }
    return lines;
}
