// The data-section generator: refresh, convert, sort, assemble.
#include "app/data_section.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <exception>
#include <string>
#include <vector>

#include "app/busy_flag.h"
#include "app/clipboard_out.h"
#include "app/data_rows.h"
#include "app/progress.h"
#include "app/section_format.h"
#include "system/file.h"

namespace {

constexpr std::int32_t kValuesPerLine = 512;
constexpr std::u16string_view kBegin = u"DataSection\r\n\r\n";
constexpr std::u16string_view kEnd = u"EndDataSection\r\n";
constexpr std::u16string_view kEntryEnd = u"\r\n\r\n";
// The rows of an empty file: one zero value, so its label exists in the text.
constexpr std::u16string_view kEmptyRows = u"$0";

std::atomic<ProgressSink*> g_progress{nullptr};

// Byte counts to the sink, halved together until they fit 32 bits.
class Progress {
public:
    Progress(ProgressSink* sink, std::int64_t total) : sink_(sink) {
        while ((total >> shift_) > INT32_MAX) ++shift_;
        if (!sink_) return;
        sink_->set_progress_maximum(static_cast<std::int32_t>(total >> shift_));
        sink_->set_progress_value(0);
    }
    void set(std::int64_t value) {
        if (sink_) sink_->set_progress_value(static_cast<std::int32_t>(value >> shift_));
    }

private:
    ProgressSink* sink_;
    int shift_ = 0;
};

std::u16string decimal(std::int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::u16string(digits, end);
}

// Step 1: sizes and dates as they are now; a change drops the cached rows.
// Returns the total of the sizes.
std::int64_t refresh(FileMap& map) {
    std::int64_t total = 0;
    map.walk([&total](const std::u16string&, FileEntry& entry) {
        const std::int32_t date = file_date(entry.path, FILE_DATE_MODIFIED);
        const std::int32_t size = entry_size_from_length(file_size(entry.path));
        if (size != entry.size || date != entry.date) entry.text.clear();
        entry.size = size;
        entry.date = date;
        if (size >= 0) total += size;
    });
    return total;
}

// Converts the entry's file when its rows are not cached. False when memory
// ran out; a file that cannot be read keeps empty rows and is left out.
bool convert(FileEntry& entry) {
    if (!entry.text.empty()) return true;
    if (entry.size > 0) {
        DataRows rows = file_to_data_rows(entry.path, kValuesPerLine);
        switch (rows.status) {
            case DataRowsStatus::Ok: break;
            case DataRowsStatus::OutOfMemory: return false;
            case DataRowsStatus::TooLarge: entry.size = FILE_ENTRY_TOO_LARGE; return true;
            case DataRowsStatus::CannotOpen:
            case DataRowsStatus::ReadFailed: return true;
        }
        if (rows.bytes != entry.size) {
            // Changed since the refresh: the size line must describe the rows.
            entry.size = static_cast<std::int32_t>(rows.bytes);
            entry.date = file_date(entry.path, FILE_DATE_MODIFIED);
        }
        entry.text = std::move(rows.text);
    }
    if (entry.size == 0 && entry.text.empty()) entry.text.append(kEmptyRows);
    return !entry.text.failed();
}

struct Emitted {
    const std::u16string* key;
    FileEntry* entry;
};

// The entry's lines up to its rows: size constant, label, "Data.q ".
std::u16string entry_head(const FileEntry& entry) {
    const std::u16string label = make_label(file_part(entry.path));
    std::u16string head;
    head.reserve(64 + 2 * label.size());
    head += u"\t#size_";
    head += label;
    head += u" = ";
    head += decimal(entry.size);
    head += u" ; ";
    head += format_date(entry.date);
    head += u"\r\n\tfile_";
    head += label;
    head += u":\r\n\tData.q ";
    return head;
}

DataSection build(FileMap& map, ProgressSink* sink) {
    DataSection result;
    Progress progress(sink, refresh(map));

    std::vector<Emitted> emitted;
    emitted.reserve(map.size());
    std::int64_t sum = 0;
    bool out_of_memory = false;
    map.walk([&](const std::u16string& key, FileEntry& entry) {
        if (out_of_memory) return;
        if (entry.size < 0) {
            entry.text.clear();
            return;
        }
        if (entry.size > 0) {
            // Before the file is read, so the bar already includes it.
            sum += entry.size;
            progress.set(sum);
        }
        if (!convert(entry)) {
            out_of_memory = true;
            return;
        }
        if (entry.size >= 0 && !entry.text.empty()) emitted.push_back({&key, &entry});
    });
    if (out_of_memory) {
        result.status = GenerationStatus::OutOfMemory;
        return result;
    }
    std::sort(emitted.begin(), emitted.end(), [](const Emitted& a, const Emitted& b) { return *a.key < *b.key; });

    std::vector<std::u16string> heads;
    heads.reserve(emitted.size());
    std::size_t length = kBegin.size() + kEnd.size();
    for (const Emitted& e : emitted) {
        heads.push_back(entry_head(*e.entry));
        length += heads.back().size() + e.entry->text.size() + kEntryEnd.size();
    }
    // Sized once: the text is the largest block of the run, and growing it
    // would copy it.
    TextBuilder& text = result.text;
    text.reserve(length);
    text.append(kBegin);
    for (std::size_t i = 0; i < emitted.size(); ++i) {
        text.append(heads[i]);
        text.append(emitted[i].entry->text.view());
        text.append(kEntryEnd);
    }
    text.append(kEnd);
    if (text.failed()) {
        text.clear();
        result.status = GenerationStatus::OutOfMemory;
    }
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

void set_generation_progress(ProgressSink* progress) noexcept { g_progress.store(progress); }

DataSection generate_data_section(std::int32_t copy_to_clipboard) noexcept {
    DataSection section = build_data_section(file_map(), g_progress.load());
    if (section.status == GenerationStatus::Ok && copy_to_clipboard != 0)
        section.status = put_on_clipboard(section.text.view());
    busy_flag_clear();
    return section;
}
