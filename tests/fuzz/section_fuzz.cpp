// Round-trip fuzz target for the data-section text: files of fuzzer-chosen
// names and bytes are collected as one drop and written out, streamed (UTF-8
// or UTF-16 LE) and as the whole text of a Copy; a small parser of its own
// reads both back and every file's bytes, size and label must be there, in key
// order. Any mismatch aborts.
//
// Input: byte 0: bit 0 UTF-16, bits 1-2 file count - 1 (at most 3); then per
// file: a name length n (mod 13), n name bytes (picking from kNameParts), the
// size as the low 14 bits of 16 LE (rows of 4 KiB each; plus 65472 when bit 7
// of the name length is set, to reach past 64 KiB), a chunk length c and c
// bytes that repeat to fill it.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/data_section.h"
#include "app/dropped_files.h"
#include "app/file_map.h"
#include "app/section_stream.h"
#include "system/utf.h"

namespace {

[[noreturn]] void fault(const char* what) {
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}
void check(bool condition, const char* what) {
    if (!condition)
        fault(what);
}

// Pieces that labels must mangle: punctuation (a backslash among it, a letter
// of a name here), digits, letters of either case, a letter outside ASCII and
// one above U+FFFF. No "/": it separates folders.
constexpr std::string_view kNameParts[16] = {
    "a",  "A", "b", "B", "_", "-", ".", " ", "0", "9", "\xC3\xA9", "\xC3\x89", "\xE6\x97\xA5", "\xF0\x9F\x98\x80",
    "\\", "_2"};

struct File {
    std::string name;  // UTF-8
    std::string bytes;
};

struct Input {
    bool utf16 = false;
    std::vector<File> files;
};

Input read_input(const std::uint8_t* data, std::size_t size) {
    Input in;
    std::size_t at = 0;
    const auto next = [&]() -> std::uint8_t { return at < size ? data[at++] : 0; };
    const std::uint8_t flags = next();
    in.utf16 = flags & 1;
    const int count = std::min(((flags >> 1) & 3) + 1, 3);
    for (int i = 0; i < count; ++i) {
        File file;
        const std::uint8_t name_length = next();
        for (int k = 0; k < (name_length & 0x7F) % 13; ++k)
            file.name += kNameParts[next() & 15];
        if (file.name.empty() || file.name == "." || file.name == "..")
            file.name += "n";
        std::size_t bytes = next();
        bytes |= (std::size_t{next()} << 8) & 0x3F00;
        if (name_length & 0x80)
            bytes += 65472;
        const std::size_t chunk_length = next();
        std::string chunk;
        for (std::size_t k = 0; k < chunk_length && at < size; ++k)
            chunk += static_cast<char>(next());
        if (chunk.empty())
            chunk.assign(1, '\0');
        file.bytes.resize(bytes);
        for (std::size_t k = 0; k < bytes; ++k)
            file.bytes[k] = chunk[k % chunk.size()];
        in.files.push_back(std::move(file));
    }
    return in;
}

// One folder for the whole run; each input's files are removed after it.
const std::string& scratch_folder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/blobsmith-section-fuzz-XXXXXX";
        check(mkdtemp(pattern) != nullptr, "mkdtemp");
        static std::string made = pattern;
        std::atexit([] { rmdir(made.c_str()); });
        return made;
    }();
    return folder;
}

// ---- The parser: the text's own rules, nothing taken from the generator.

struct Entry {
    std::u16string label;
    std::uint64_t size = 0;
    std::string bytes;
};

bool is_label_unit(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
}
bool is_digit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Splits at CR LF; the text must end with one and hold no other CR or LF.
std::vector<std::u16string_view> lines_of(std::u16string_view text) {
    check(text.size() >= 2 && text[text.size() - 1] == u'\n', "text ends with CR LF");
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            check(i + 1 < text.size() && text[i + 1] == u'\n', "no lone CR");
            lines.push_back(text.substr(start, i - start));
            start = i + 2;
        } else {
            check(text[i] != u'\n' || (i > 0 && text[i - 1] == u'\r'), "no lone LF");
        }
    }
    return lines;
}

bool take(std::u16string_view& s, std::u16string_view prefix) {
    if (s.substr(0, prefix.size()) != prefix)
        return false;
    s.remove_prefix(prefix.size());
    return true;
}

std::u16string take_label(std::u16string_view& s) {
    std::size_t n = 0;
    while (n < s.size() && is_label_unit(s[n]))
        ++n;
    check(n > 0, "label not empty");
    std::u16string label(s.substr(0, n));
    s.remove_prefix(n);
    return label;
}

// "yyyy/mm/dd hh:ii:ss"
void check_date(std::u16string_view s) {
    constexpr std::u16string_view shape = u"0000/00/00 00:00:00";
    check(s.size() == shape.size(), "date length");
    for (std::size_t i = 0; i < s.size(); ++i)
        check(shape[i] == u'0' ? is_digit(s[i]) : s[i] == shape[i], "date shape");
}

std::uint64_t parse_value(std::u16string_view s) {
    check(take(s, u"$") && !s.empty() && s.size() <= 16, "value is $ and 1 to 16 digits");
    check(s.size() == 1 || s[0] != u'0', "no leading zero");
    std::uint64_t value = 0;
    for (char16_t c : s) {
        const int digit = is_digit(c) ? c - u'0' : (c >= u'A' && c <= u'F') ? c - u'A' + 10 : -1;
        check(digit >= 0, "capital hex digit");
        value = value << 4 | static_cast<std::uint64_t>(digit);
    }
    return value;
}

std::vector<Entry> parse(std::u16string_view text) {
    constexpr std::size_t kPerRow = 512;
    const auto lines = lines_of(text);
    check(lines.size() >= 3 && lines[0] == u"DataSection" && lines[1].empty(), "opening lines");
    check(lines.back() == u"EndDataSection", "closing line");
    std::vector<Entry> entries;
    std::size_t i = 2;
    const std::size_t end = lines.size() - 1;
    while (i < end) {
        Entry entry;
        std::u16string_view line = lines[i++];
        check(take(line, u"\t#size_"), "size line");
        entry.label = take_label(line);
        check(take(line, u" = ") && !line.empty() && is_digit(line[0]), "size");
        check(line[0] != u'0' || line.size() < 2 || !is_digit(line[1]), "size without leading zero");
        while (!line.empty() && is_digit(line[0])) {
            entry.size = entry.size * 10 + (line[0] - u'0');
            check(entry.size < (std::uint64_t{1} << 31), "size below 2 GiB");
            line.remove_prefix(1);
        }
        check(take(line, u" ; "), "date follows size");
        check_date(line);

        check(i < end, "label line");
        line = lines[i++];
        check(take(line, u"\tfile_") && take_label(line) == entry.label && line == u":", "label line matches");

        std::size_t in_last_row = 0;
        for (bool first = true; i < end && lines[i].substr(0, 8) == u"\tData.q "; first = false) {
            check(first || in_last_row == kPerRow, "only full rows go before another");
            line = lines[i++].substr(8);
            in_last_row = 0;
            for (;;) {
                const std::size_t comma = line.find(u',');
                std::uint64_t value = parse_value(line.substr(0, comma));
                const std::size_t at = entry.bytes.size();
                entry.bytes.resize(at + 8);
                for (int b = 0; b < 8; ++b, value >>= 8)
                    entry.bytes[at + static_cast<std::size_t>(b)] = static_cast<char>(value & 0xFF);
                ++in_last_row;
                if (comma == std::u16string_view::npos)
                    break;
                line.remove_prefix(comma + 1);
            }
            check(in_last_row <= kPerRow, "at most 512 values a row");
        }
        check(in_last_row > 0, "rows present");
        // One empty line ends an entry; a full last row brings its own line end too.
        for (std::size_t blank = in_last_row == kPerRow ? 2 : 1; blank > 0; --blank)
            check(i < end && lines[i++].empty(), "empty line after the rows");

        check(entry.bytes.size() == std::max<std::uint64_t>(8, (entry.size + 7) / 8 * 8), "value count fits the size");
        check(entry.bytes.find_first_not_of('\0', entry.size) == std::string::npos, "padding is zero");
        entry.bytes.resize(entry.size);
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::u16string widen_ascii(const std::string& bytes) {
    std::u16string text;
    for (char c : bytes) {
        check(static_cast<unsigned char>(c) < 0x80, "UTF-8 text is ASCII");
        text += static_cast<char16_t>(c);
    }
    return text;
}

std::u16string from_utf16le(const std::string& bytes) {
    check(bytes.size() % 2 == 0, "whole UTF-16 units");
    std::u16string text;
    for (std::size_t i = 0; i < bytes.size(); i += 2)
        text +=
            static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    return text;
}

// The label a name gives: its UTF-16 units, all but ASCII letters, digits
// and "_" as "_".
std::u16string name_label(std::u16string_view name) {
    std::u16string label(name);
    for (char16_t& c : label)
        if (!is_label_unit(c))
            c = u'_';
    return label;
}

struct Collect : ByteSink {
    std::string bytes;
    bool write(const void* data, std::size_t count) noexcept override {
        bytes.append(static_cast<const char*>(data), count);
        return true;
    }
};

void check_entries(const std::vector<Entry>& entries, const std::vector<const File*>& expected) {
    check(entries.size() == expected.size(), "one entry per kept file");
    std::vector<std::u16string> labels;
    std::vector<std::u16string> name_labels;
    for (const File* file : expected)
        name_labels.push_back(ascii_lower(name_label(utf16_from_utf8(file->name))));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const File& file = *expected[i];
        check(entries[i].size == file.bytes.size(), "size line states the size");
        check(entries[i].bytes == file.bytes, "bytes come back");
        // The name's label, or that label with "_<number>" when names collide.
        const std::u16string base = name_label(utf16_from_utf8(file.name));
        const std::u16string& label = entries[i].label;
        check(label.substr(0, base.size()) == base, "label made from the name");
        if (label.size() > base.size()) {
            check(label[base.size()] == u'_' && label.size() > base.size() + 1, "suffix is _<number>");
            check(std::all_of(label.begin() + static_cast<std::ptrdiff_t>(base.size()) + 1, label.end(), is_digit),
                  "suffix is _<number>");
            check(std::find(name_labels.begin(), name_labels.end(), ascii_lower(label)) == name_labels.end(),
                  "a suffixed label is no name's label");
        }
        const std::u16string folded = ascii_lower(label);
        check(std::find(labels.begin(), labels.end(), folded) == labels.end(), "labels unique, case ignored");
        labels.push_back(folded);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Input in = read_input(data, size);
    const std::string& folder = scratch_folder();

    std::vector<std::u16string> paths;
    for (const File& file : in.files) {
        const std::string path = folder + "/" + file.name;
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
        paths.push_back(utf16_from_utf8(path));
    }
    // Of names equal but for letter case the last one stays; the text lists
    // entries by key, ascending code units.
    std::vector<std::pair<std::u16string, const File*>> kept;
    for (std::size_t i = 0; i < in.files.size(); ++i) {
        const std::u16string key = file_map_key(paths[i]);
        const auto same = std::find_if(kept.begin(), kept.end(), [&](const auto& k) { return k.first == key; });
        if (same != kept.end())
            same->second = &in.files[i];
        else
            kept.emplace_back(key, &in.files[i]);
    }
    std::sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const File*> expected;
    for (const auto& k : kept)
        expected.push_back(k.second);

    FileMap map;
    const DropResult drop = collect_dropped_paths(map, paths, nullptr);
    check(drop.skipped.empty(), "every file collected");

    Collect out;
    const StreamResult streamed = stream_data_section(map, in.utf16 ? TextEncoding::Utf16Le : TextEncoding::Utf8, out,
                                                      nullptr, MapFacts::JustCollected);
    check(streamed.status == StreamStatus::Ok && streamed.left_out.empty(), "stream complete");
    const std::u16string streamed_text = in.utf16 ? from_utf16le(out.bytes) : widen_ascii(out.bytes);
    check_entries(parse(streamed_text), expected);

    const DataSection copied = build_data_section(map, nullptr);
    check(copied.status == GenerationStatus::Ok && copied.left_out.empty(), "copy complete");
    check(copied.text.view() == streamed_text, "copy and stream give one text");

    for (const File& file : in.files)
        unlink((folder + "/" + file.name).c_str());
    return 0;
}
