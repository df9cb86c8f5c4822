// The pieces both generators share.
#include "app/section_parts.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "app/progress.h"
#include "app/section_format.h"
#include "system/file.h"

namespace section_parts {

namespace {

std::u16string decimal(std::int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::u16string(digits, end);
}

}  // namespace

// Four units at a time: most keys of a large drop share a long
// start, and this sort is a good part of the work for many small files.
bool key_less(const std::u16string& a, const std::u16string& b) {
    const std::size_t common = std::min(a.size(), b.size());
    std::size_t i = 0;
    for (; i + 4 <= common; i += 4) {
        std::uint64_t x = 0;
        std::uint64_t y = 0;
        std::memcpy(&x, a.data() + i, sizeof x);
        std::memcpy(&y, b.data() + i, sizeof y);
        if (x != y)
            break;
    }
    for (; i < common; ++i) {
        if (a[i] != b[i])
            return a[i] < b[i];
    }
    return a.size() < b.size();
}

std::int64_t refresh(FileMap& map) {
    std::int64_t total = 0;
    map.walk([&total](const std::u16string&, FileEntry& entry) {
        const FileFacts facts = file_facts(entry.path);
        const std::int32_t size = entry_size_from_length(facts.size);
        if (size != entry.size || facts.date != entry.date || facts.modified != entry.modified)
            entry.text.clear();
        entry.size = size;
        entry.date = facts.date;
        entry.modified = facts.modified;
        if (size >= 0)
            total += size;
    });
    return total;
}

std::int64_t total_size(FileMap& map) {
    std::int64_t total = 0;
    map.walk([&total](const std::u16string&, const FileEntry& entry) {
        if (entry.size >= 0)
            total += entry.size;
    });
    return total;
}

std::vector<Emitted> entries_in_key_order(FileMap& map) {
    std::vector<Emitted> emitted;
    emitted.reserve(map.size());
    map.walk([&emitted](const std::u16string& key, FileEntry& entry) {
        if (entry.size < 0)
            entry.text.clear();
        else
            emitted.push_back({&key, &entry});
    });
    std::sort(emitted.begin(), emitted.end(),
              [](const Emitted& a, const Emitted& b) { return key_less(*a.key, *b.key); });
    return emitted;
}

namespace {

// Labels hold ASCII letters, digits and "_" only.
std::u16string lower_label(std::u16string label) {
    for (char16_t& c : label) {
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return label;
}

// The hash of a name's label in lower case, without making the label.
std::uint64_t label_hash(std::u16string_view name) {
    std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
    for (char16_t c : name) {
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
        else if (!((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')))
            c = u'_';
        hash = (hash ^ c) * 1099511628211ULL;
    }
    return hash;
}

}  // namespace

Labels::Labels(const std::vector<Emitted>& emitted) {
    // Distinct labels, the usual case, are told by their hashes alone.
    std::vector<std::uint64_t> hashes;
    hashes.reserve(emitted.size());
    for (const Emitted& e : emitted)
        hashes.push_back(label_hash(path_name(e.entry->path)));
    std::sort(hashes.begin(), hashes.end());
    all_distinct_ = std::adjacent_find(hashes.begin(), hashes.end()) == hashes.end();
    if (all_distinct_)
        return;
    named_.reserve(emitted.size());
    for (const Emitted& e : emitted)
        named_.insert(lower_label(make_label(path_name(e.entry->path))));
}

std::u16string Labels::take(const FileEntry& entry) {
    std::u16string label = make_label(path_name(entry.path));
    if (all_distinct_)
        return label;
    const std::u16string lower = lower_label(label);
    if (taken_.insert(lower).second)
        return label;
    int& suffix = next_suffix_.try_emplace(lower, 2).first->second;
    for (;; ++suffix) {
        const std::u16string ending = u"_" + decimal(suffix);
        if (!named_.contains(lower + ending) && taken_.insert(lower + ending).second) {
            ++suffix;
            return label + ending;
        }
    }
}

std::u16string entry_head(const FileEntry& entry, std::u16string_view label) {
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

EntryFile open_entry_file(FileEntry& entry, int flags, bool check_gone) {
    EntryFile opened;
    if (entry.size <= 0)
        return opened;
    opened.file.reset(open_file_for_reading(PB_Any, entry.path, flags));
    if (!opened.file) {
        opened.left_out = not_opened(entry.path, check_gone);
        return opened;
    }
    opened.before = file_stamp_at_open(opened.file.get());
    opened.length = opened.before.length;
    if (opened.length < 0 || opened.length > INT32_MAX) {
        if (opened.length > INT32_MAX)
            entry.size = FILE_ENTRY_TOO_LARGE;
        opened.left_out = LeftOut{entry.path, opened.length < 0 ? LeftOutReason::ReadFailed : LeftOutReason::TooLarge};
        opened.file.reset();
        return opened;
    }
    if (opened.length != entry.size) {
        entry.size = static_cast<std::int32_t>(opened.length);
        const FileFacts now = file_facts(entry.path);
        entry.date = now.date;
        entry.modified = now.modified;
    }
    return opened;
}

Progress::Progress(ProgressSink* sink, std::int64_t total) : sink_(sink) {
    while ((total >> shift_) > INT32_MAX)
        ++shift_;
    if (!sink_)
        return;
    sink_->set_progress_maximum(static_cast<std::int32_t>(total >> shift_));
    sink_->set_progress_value(0);
}

void Progress::set(std::int64_t value) noexcept {
    if (!sink_ || value == last_)
        return;
    last_ = value;
    sink_->set_progress_value(static_cast<std::int32_t>(value >> shift_));
}

}  // namespace section_parts
