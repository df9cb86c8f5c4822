// The streamed generator: each file read in blocks, each block converted into
// an output block that goes to the sink when full.
#include "app/section_stream.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <new>

#include "app/row_digits.h"
#include "app/section_parts.h"
#include "base/object_id.h"
#include "system/file.h"
#include "system/out_of_memory.h"

namespace {

using namespace section_parts;

constexpr std::size_t kReadBlock = 256 * 1024;  // a multiple of 8 and of a row's 4096 bytes
constexpr std::size_t kOutBlock = 4 * 1024 * 1024;

// The output block and the encoding of units into it.
class Output {
public:
    Output(TextEncoding encoding, ByteSink& sink, unsigned char* block)
        : sink_(sink), block_(block), unit_(encoding == TextEncoding::Utf8 ? 1 : 2) {}

    [[nodiscard]] bool failed() const { return failed_; }

    // ASCII text (every piece of a data section is).
    void text(std::u16string_view units) {
        while (!units.empty() && room(1)) {
            const std::size_t fit = std::min(units.size(), (kOutBlock - used_) / unit_);
            unsigned char* at = block_ + used_;
            if (unit_ == 1) {
                for (std::size_t i = 0; i < fit; ++i)
                    at[i] = static_cast<unsigned char>(units[i]);
            } else {
                std::memcpy(at, units.data(), fit * 2);
            }
            used_ += fit * unit_;
            units.remove_prefix(fit);
        }
    }

    // Rows of `count` bytes; `last` drops the "," after the file's last value.
    void rows(const unsigned char* bytes, std::size_t count, bool last, std::int32_t& in_row) {
        const std::size_t most = static_cast<std::size_t>(row_digits::max_units(count, kValuesPerLine)) * unit_;
        if (!room(most))
            return;
        if (unit_ == 1) {
            char* start = reinterpret_cast<char*>(block_ + used_);
            char* end = row_digits::put_rows(start, bytes, count, kValuesPerLine, in_row);
            if (last && end > start && end[-1] == ',')
                --end;
            used_ += static_cast<std::size_t>(end - start);
        } else {
            char16_t* start = reinterpret_cast<char16_t*>(block_ + used_);
            char16_t* end = row_digits::put_rows(start, bytes, count, kValuesPerLine, in_row);
            if (last && end > start && end[-1] == u',')
                --end;
            used_ += static_cast<std::size_t>(end - start) * 2;
        }
    }

    void flush() {
        if (!failed_ && used_ > 0 && !sink_.write(block_, used_))
            failed_ = true;
        used_ = 0;
    }

private:
    // Makes room for `bytes` more bytes, flushing when needed.
    bool room(std::size_t bytes) {
        if (kOutBlock - used_ < bytes)
            flush();
        return !failed_;
    }

    ByteSink& sink_;
    unsigned char* block_;
    std::size_t unit_;
    std::size_t used_ = 0;
    bool failed_ = false;
};

static_assert(kOutBlock >= 2 * kReadBlock / 8 * row_digits::kMaxValueUnits + 1024,
              "a read block fits one output block");

class Streamer {
public:
    Streamer(TextEncoding encoding, ByteSink& sink, unsigned char* out_block, unsigned char* read_block)
        : out_(encoding, sink, out_block), read_(read_block) {}

    StreamResult run(FileMap& map, ProgressSink* sink, MapFacts facts) {
        facts_ = facts;
        Progress progress(sink, facts == MapFacts::Refresh ? refresh(map) : total_size(map));
        add_unusable_entries(map, result_.left_out);
        out_.text(kBegin);
        std::int64_t done = 0;
        const std::vector<Emitted> emitted = entries_in_key_order(map);
        Labels labels(emitted);
        for (const Emitted& e : emitted) {
            FileEntry& entry = *e.entry;
            const std::int64_t size = entry.size;
            const std::u16string label = labels.take(entry);
            if (&e != &emitted.front())
                progress.set(done);
            if (!entry.text.empty()) {
                out_.text(entry_head(entry, label));
                out_.text(entry.text.view());
                out_.text(kEntryEnd);
                ++result_.entries;
            } else if (!emit_from_file(entry, label, progress, done)) {
                return finish_failed();
            }
            if (out_.failed())
                return finish_failed();
            done += size;
        }
        out_.text(kEnd);
        if (result_.entries == 0) {
            result_.status = StreamStatus::NothingToWrite;
            return std::move(result_);
        }
        out_.flush();
        if (out_.failed()) {
            result_.status = StreamStatus::OutputFailed;
            return std::move(result_);
        }
        // Only now: the bar is full when the work is done.
        progress.set(done);
        return std::move(result_);
    }

private:
    StreamResult finish_failed() {
        if (out_.failed())
            result_.status = StreamStatus::OutputFailed;
        return std::move(result_);
    }

    // Writes one entry from its file. False when the text cannot go on: the
    // output or the file failed after the entry's lines had begun.
    bool emit_from_file(FileEntry& entry, std::u16string_view label, Progress& progress, std::int64_t done) {
        // Blocks of up to 256 KiB: a buffer would only add a copy. Without a
        // refresh first, a file gone since the collection is found only here.
        EntryFile opened = open_entry_file(entry, FILE_UNBUFFERED, facts_ == MapFacts::JustCollected);
        if (opened.left_out) {
            if (for_want_of_memory(*opened.left_out)) {
                result_.status = StreamStatus::OutOfMemory;
                return false;
            }
            result_.left_out.push_back(std::move(*opened.left_out));
            return true;
        }
        const std::int64_t length = opened.length;
        out_.text(entry_head(entry, label));
        if (length == 0) {
            out_.text(kEmptyRows);
        } else {
            const bool read = read_rows(opened.file.get(), length, progress, done);
            if (read && file_stamp(opened.file.get()) != opened.before)
                result_.changed_while_read = true;
            opened.file.reset();
            if (!read || result_.changed_while_read) {
                if (!out_.failed()) {
                    result_.status = StreamStatus::FileFailed;
                    result_.failed_path = entry.path;
                }
                return false;
            }
        }
        out_.text(kEntryEnd);
        ++result_.entries;
        return !out_.failed();
    }

    // False when the file ends early or a read fails (or the output failed).
    bool read_rows(std::intptr_t file, std::int64_t length, Progress& progress, std::int64_t done) {
        std::int32_t in_row = 0;
        std::int64_t at = 0;
        while (at < length) {
            // Whole blocks, so that every value but the file's last has 8 bytes.
            const std::int64_t want = std::min<std::int64_t>(kReadBlock, length - at);
            std::int64_t got = 0;
            while (got < want) {
                const std::int64_t piece = read_data(file, read_ + got, want - got);
                if (piece <= 0)
                    return false;
                got += piece;
            }
            at += got;
            out_.rows(read_, static_cast<std::size_t>(got), at == length, in_row);
            if (out_.failed())
                return false;
            if (at < length)
                progress.set(done + at);
        }
        return true;
    }

    Output out_;
    unsigned char* read_;
    StreamResult result_;
    MapFacts facts_ = MapFacts::Refresh;
};

}  // namespace

StreamResult stream_data_section(FileMap& map,
                                 TextEncoding encoding,
                                 ByteSink& out,
                                 ProgressSink* progress,
                                 MapFacts facts) noexcept {
    try {
        const BigBlock out_block = big_block(kOutBlock);
        const BigBlock read_block = big_block(kReadBlock);
        if (!out_block || !read_block) {
            StreamResult failed;
            failed.status = StreamStatus::OutOfMemory;
            return failed;
        }
        Streamer streamer(encoding, out, out_block.get(), read_block.get());
        return streamer.run(map, progress, facts);
    } catch (const std::exception&) {
        // Only the small bookkeeping (keys, heads, messages) can throw.
        StreamResult failed;
        failed.status = StreamStatus::OutOfMemory;
        return failed;
    }
}
