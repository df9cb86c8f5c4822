// The data-section text written out piece by piece as it is made, for the
// command line: the same bytes as the whole text of a generation (the text a
// Copy puts on the clipboard), in UTF-8 or UTF-16 LE, in a few MiB of memory
// whatever the size of the files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/file_map.h"
#include "app/left_out.h"

class ProgressSink;

enum class TextEncoding { Utf8, Utf16Le };

// Where the bytes go, in order.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    // False when the output failed: the stream stops there.
    [[nodiscard]] virtual bool write(const void* bytes, std::size_t count) noexcept = 0;
};

enum class StreamStatus {
    Ok,
    NothingToWrite,  // no entry could be written, so nothing was written at all
    OutputFailed,    // the sink refused bytes; the output is incomplete
    FileFailed,      // a file could not be read to its end, or was written to while
                     // it was read, after its lines had begun; the output is incomplete
    OutOfMemory,     // the output is incomplete (or empty)
};

struct StreamResult {
    StreamStatus status = StreamStatus::Ok;
    std::size_t entries = 0;        // entries written in full
    std::vector<LeftOut> left_out;  // entries the text is complete without
    std::u16string failed_path;     // the file of FileFailed
    bool changed_while_read = false;
};

// How current the sizes and dates in the map are.
enum class MapFacts {
    Refresh,        // ask every file again first (the map may be old)
    JustCollected,  // the map was just filled by a collection: each file's size
                    // is checked when it is opened, and a changed one described anew
};

// Refreshes sizes and dates (as `facts` says) and writes the text of `map` to
// `out` in blocks, entry by entry in ascending key order, converting each file
// as it is read. Cached rows are used where the map has them; no rows are
// cached. Progress counts the input bytes done, per block, and reaches the
// total only at the end. Never throws.
[[nodiscard]] StreamResult stream_data_section(FileMap& map,
                                               TextEncoding encoding,
                                               ByteSink& out,
                                               ProgressSink* progress,
                                               MapFacts facts = MapFacts::Refresh) noexcept;
