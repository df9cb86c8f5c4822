// The data-section generator: refresh, convert, sort, assemble.
#include "app/data_section.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <string>
#include <vector>

#include "app/busy_flag.h"
#include "app/clipboard_out.h"
#include "app/data_rows.h"
#include "app/progress.h"
#include "app/section_parts.h"
#include "base/object_id.h"
#include "system/file.h"

namespace {

using namespace section_parts;

std::atomic<ProgressSink*> g_progress{nullptr};

// Where an entry's rows went in the new text; the entry points there once the
// text is complete.
struct Placed {
    FileEntry* entry;
    std::size_t offset, length;
};

// Reads the entry's file and appends its section. False only when memory ran
// out; a file that cannot be read adds nothing, keeps no rows and is named in
// left_out.
bool emit_from_file(TextBuilder& text,
                    FileEntry& entry,
                    std::u16string_view label,
                    std::vector<Placed>& placed,
                    std::vector<LeftOut>& left_out,
                    ReadProgress& reading) {
    EntryFile opened = open_entry_file(entry, 0, true);
    if (opened.left_out) {
        if (for_want_of_memory(*opened.left_out))
            return false;
        left_out.push_back(std::move(*opened.left_out));
        return true;
    }
    const std::intptr_t file = opened.file.get();
    const std::int64_t length = opened.length;
    const std::size_t start = text.size();
    text.append(entry_head(entry, label));
    const std::size_t offset = text.size();
    DataRowsStatus status = DataRowsStatus::Ok;
    bool changed = false;
    if (length == 0) {
        text.append(kEmptyRows);
    } else {
        status = append_file_rows(text, file, length, kValuesPerLine, &reading);
        // Written while it was read: the rows may mix old and new bytes.
        changed = status == DataRowsStatus::Ok && file_stamp(file) != opened.before;
    }
    opened.file.reset();
    if (status == DataRowsStatus::OutOfMemory || text.failed())
        return false;
    if (status != DataRowsStatus::Ok || changed) {
        text.truncate(start);
        left_out.push_back({entry.path, changed ? LeftOutReason::ChangedWhileRead : LeftOutReason::ReadFailed});
        return true;
    }
    placed.push_back({&entry, offset, text.size() - offset});
    text.append(kEntryEnd);
    return true;
}

// The bar while one file is read: the bytes before it and those read of it,
// at most its size as counted in the total (a file that grew since must not
// take the bar past its end and back).
class EntryProgress final : public ReadProgress {
public:
    EntryProgress(Progress& progress, std::int64_t before, std::int64_t counted)
        : progress_(progress), before_(before), counted_(counted) {}
    void bytes_read(std::int64_t done) noexcept override { progress_.set(before_ + std::min(done, counted_)); }

private:
    Progress& progress_;
    std::int64_t before_;
    std::int64_t counted_;
};

// The text of the last generation, when it is exactly the text this one would
// build: every entry's rows cached in it, in this order, with the same lines.
SharedTextBlock unchanged_text(const std::vector<Emitted>& emitted) {
    if (emitted.empty())
        return nullptr;
    const SharedTextBlock& block = emitted.front().entry->text.block();
    if (!block)
        return nullptr;
    const std::u16string_view all = block->view();
    std::size_t at = kBegin.size();
    if (all.substr(0, at) != kBegin)
        return nullptr;
    Labels labels(emitted);
    for (const Emitted& e : emitted) {
        const TextSlice& rows = e.entry->text;
        const std::u16string head = entry_head(*e.entry, labels.take(*e.entry));
        if (rows.block() != block || all.substr(at, head.size()) != head)
            return nullptr;
        at += head.size();
        if (rows.offset() != at)
            return nullptr;
        at += rows.size();
        if (all.substr(at, kEntryEnd.size()) != kEntryEnd)
            return nullptr;
        at += kEntryEnd.size();
    }
    return all.substr(at) == kEnd ? block : nullptr;
}

DataSection build(FileMap& map, ProgressSink* sink) {
    DataSection result;
    Progress progress(sink, refresh(map));
    add_unusable_entries(map, result.left_out);
    const std::vector<Emitted> emitted = entries_in_key_order(map);

    if (SharedTextBlock same = unchanged_text(emitted)) {
        std::int64_t sum = 0;
        for (const Emitted& e : emitted) {
            if (e.entry->size > 0)
                progress.set(sum += e.entry->size);
        }
        result.text = TextSlice(same, 0, same->size());
        result.entries = emitted.size();
        return result;
    }

    // Room for the whole text, taken once: exact for cached rows, the most that
    // new rows can take. The new rows are written straight into it, so each
    // byte of output memory is touched once.
    std::size_t room = kBegin.size() + kEnd.size();
    for (const Emitted& e : emitted) {
        const FileEntry& entry = *e.entry;
        const std::size_t rows = entry.text.empty()
                                     ? data_rows_capacity(static_cast<std::uint64_t>(entry.size), kValuesPerLine)
                                     : entry.text.size();
        room += 64 + 2 * entry.path.size() + rows + kEntryEnd.size();
    }
    auto block = std::make_shared<TextBuilder>();
    TextBuilder& text = *block;
    std::vector<Placed> placed;
    placed.reserve(emitted.size());
    text.reserve(room);
    text.append(kBegin);
    std::int64_t sum = 0;
    Labels labels(emitted);
    for (const Emitted& e : emitted) {
        FileEntry& entry = *e.entry;
        const std::u16string label = labels.take(entry);
        // As counted in the total, whatever the file's size turns out to be.
        const std::int64_t size = entry.size > 0 ? entry.size : 0;
        if (entry.text.empty()) {
            // The bar moves while a large file is read, and is full only once
            // the last one has been. A text without this entry's rows, or
            // without the entries after it, must not pass for the whole one.
            EntryProgress reading(progress, sum, size);
            if (!emit_from_file(text, entry, label, placed, result.left_out, reading)) {
                result.status = GenerationStatus::OutOfMemory;
                return result;
            }
        } else {
            text.append(entry_head(entry, label));
            placed.push_back({&entry, text.size(), entry.text.size()});
            text.append(entry.text.view());
            text.append(kEntryEnd);
        }
        progress.set(sum += size);
    }
    text.append(kEnd);
    if (text.failed()) {
        // The entries still point at the rows they had: nothing cached is lost.
        result.status = GenerationStatus::OutOfMemory;
        return result;
    }
    if (text.capacity() - text.size() > text.size() / 8)
        text.shrink_to_fit();

    SharedTextBlock shared = std::move(block);
    for (const Placed& p : placed)
        p.entry->text = TextSlice(shared, p.offset, p.length);
    result.text = TextSlice(shared, 0, shared->size());
    result.entries = placed.size();
    return result;
}

}  // namespace

DataSection build_data_section(FileMap& map, ProgressSink* progress) noexcept {
    try {
        return build(map, progress);
    } catch (const std::exception&) {
        // Only the small bookkeeping (keys, heads) can throw: out of memory.
        DataSection failed;
        failed.status = GenerationStatus::OutOfMemory;
        return failed;
    }
}

void set_generation_progress(ProgressSink* progress) noexcept {
    g_progress.store(progress);
}

DataSection generate_data_section(std::int32_t copy_to_clipboard) noexcept {
    DataSection section = build_data_section(file_map(), g_progress.load());
    if (section.status == GenerationStatus::Ok && section.entries == 0 && !section.left_out.empty())
        section.status = GenerationStatus::NothingCopied;
    if (section.status == GenerationStatus::Ok && copy_to_clipboard != 0)
        section.status = put_on_clipboard(section.text.view());
    busy_flag_clear();
    return section;
}
