// Directory listings on real folders.
#include "system/directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "base/object_id.h"
#include "support/scratch_dir.h"
#include "system/file.h"
#include "system/folder_identity.h"
#include "system/text_case.h"

namespace {

std::map<std::u16string, int> list(std::intptr_t scan) {
    std::map<std::u16string, int> seen;
    while (next_directory_entry(scan)) {
        const std::u16string name = directory_entry_name(scan);
        if (name != u"." && name != u"..")
            seen[name] = directory_entry_type(scan);
    }
    return seen;
}

TEST(Directory, ListsFilesAndFoldersWithTheirKinds) {
    ScratchDir dir;
    dir.write(u"a.txt", "a");
    dir.write(u"b.BIN", "b");
    dir.write(u"no_dot", "c");
    dir.write(u"sub/inner.txt", "d");
    const std::intptr_t scan = examine_directory(PB_Any, dir.folder(), u"*.*");
    ASSERT_NE(scan, 0);
    const std::map<std::u16string, int> expected = {{u"a.txt", DIRECTORY_ENTRY_FILE},
                                                    {u"b.BIN", DIRECTORY_ENTRY_FILE},
                                                    {u"no_dot", DIRECTORY_ENTRY_FILE},
                                                    {u"sub", DIRECTORY_ENTRY_FOLDER}};
    EXPECT_EQ(list(scan), expected);
    EXPECT_EQ(next_directory_entry(scan), 0);
    finish_directory(scan);
    EXPECT_EQ(directory_entry_name(scan), u"");
    EXPECT_EQ(directory_entry_type(scan), 0);

    // A trailing separator and an empty pattern list the same.
    ASSERT_NE(examine_directory(2, dir.folder() + ScratchDir::kSeparator, u""), 0);
    EXPECT_EQ(list(2), expected);
    finish_directory(2);
}

// Where a listing can tell an entry's size and date itself, they are what
// the full path gives, links followed.
TEST(Directory, EntryFactsAreThoseOfTheFullPath) {
    ScratchDir dir;
    const std::u16string dated = dir.write(u"dated.bin", "12345");
    ASSERT_TRUE(ScratchDir::set_modified(dated, 2001, 2, 3, 4, 5, 6));
    dir.write(u"empty.txt", "");
#ifndef _WIN32
    std::filesystem::create_symlink(std::filesystem::path(dated), std::filesystem::path(dir.path(u"link.bin")));
    std::filesystem::create_symlink(std::filesystem::path(dir.path(u"none")),
                                    std::filesystem::path(dir.path(u"dangling.bin")));
#endif
    const std::intptr_t scan = examine_directory(PB_Any, dir.folder(), u"*.*");
    ASSERT_NE(scan, 0);
    int answered = 0;
    while (next_directory_entry(scan)) {
        const std::u16string full = dir.path(directory_entry_name(scan));
        FileFacts facts{};
        if (directory_entry_type(scan) == DIRECTORY_ENTRY_FOLDER || !directory_entry_facts(scan, facts))
            continue;
        ++answered;
        const FileFacts expected = file_facts(full);
        EXPECT_EQ(facts.size, expected.size) << std::string(full.begin(), full.end());
        EXPECT_EQ(facts.date, expected.date) << std::string(full.begin(), full.end());
    }
    finish_directory(scan);
#ifdef _WIN32
    EXPECT_EQ(answered, 2);  // the listing holds them: no link here
#else
    EXPECT_EQ(answered, 4);
#endif
    FileFacts none{};
    EXPECT_FALSE(directory_entry_facts(scan, none));
}

TEST(Directory, PatternsSelectByNameIgnoringCase) {
    ScratchDir dir;
    dir.write(u"a.txt", "a");
    dir.write(u"B.TXT", "b");
    dir.write(u"c.bin", "c");
    ASSERT_NE(examine_directory(1, dir.folder(), u"*.txt"), 0);
    EXPECT_EQ(list(1), (std::map<std::u16string, int>{{u"B.TXT", 1}, {u"a.txt", 1}}));
    ASSERT_NE(examine_directory(1, dir.folder(), u"*.none"), 0);  // replaces the first listing
    EXPECT_EQ(next_directory_entry(1), 0);
    finish_directory(1);
}

TEST(Directory, AMissingFolderGivesNoListing) {
    ScratchDir dir;
    EXPECT_EQ(examine_directory(PB_Any, dir.path(u"missing"), u"*.*"), 0);
    ASSERT_NE(examine_directory(4, dir.folder(), u"*.*"), 0);
    EXPECT_EQ(examine_directory(4, dir.path(u"missing"), u"*.*"), 0);  // and frees the number
    EXPECT_EQ(next_directory_entry(4), 0);
}

struct Seen {
    int type;
    bool facts_known;
    std::int64_t size;
    std::int32_t date;
    bool operator==(const Seen&) const = default;
};

// What a listing tells of an entry. The parent's date is left out: it is the
// folder above the test's own, where other tests make and remove their
// folders meanwhile.
Seen seen(std::u16string_view name, int type, bool known, const FileFacts& facts) {
    return {type, known, facts.size, name == u".." ? 0 : facts.date};
}

std::map<std::u16string, Seen> numbered_listing(const std::u16string& folder) {
    std::map<std::u16string, Seen> numbered;
    const std::intptr_t scan = examine_directory(PB_Any, folder, u"*.*");
    EXPECT_NE(scan, 0);
    while (next_directory_entry(scan)) {
        FileFacts facts{-1, 0};
        const bool known = directory_entry_facts(scan, facts);
        const std::u16string name = directory_entry_name(scan);
        numbered[name] = seen(name, directory_entry_type(scan), known, facts);
    }
    finish_directory(scan);
    return numbered;
}

std::map<std::u16string, Seen> whole_listing(const std::u16string& folder, std::u16string_view pattern) {
    std::map<std::u16string, Seen> whole;
    std::size_t visits = 0;
    EXPECT_TRUE(list_directory(folder, pattern, [&](const DirectoryEntry& entry) {
        EXPECT_TRUE(entry.name_exact);
        whole[std::u16string(entry.name)] = seen(entry.name, entry.type, entry.facts_known, entry.facts);
        ++visits;
    }));
    EXPECT_EQ(visits, whole.size()) << "an entry came twice";
    return whole;
}

// The whole-folder listing gives what the numbered one gives, entry for entry,
// however the folder and the pattern for every entry are written.
TEST(Directory, AWholeListingMatchesTheNumberedOne) {
    ScratchDir dir;
    dir.write(u"a.txt", "abc");
    dir.write(u"B.bin", "");
    dir.write(u"no_dot", "xy");
    dir.write(u"sub/inner.txt", "d");
    const auto numbered = numbered_listing(dir.folder());
    const auto whole = whole_listing(dir.folder(), u"*.*");
    EXPECT_EQ(whole, numbered);
    EXPECT_EQ(whole.count(u"sub"), 1u);
    EXPECT_EQ(whole.at(u"a.txt").size, 3);
    EXPECT_EQ(whole_listing(dir.folder() + ScratchDir::kSeparator, u"*.*"), numbered);
    EXPECT_EQ(whole_listing(dir.folder(), u"*"), numbered);
    EXPECT_EQ(whole_listing(dir.folder(), u""), numbered);

    int none = 0;
    EXPECT_TRUE(list_directory(dir.folder(), u"*.none", [&](const DirectoryEntry&) { ++none; }));
    EXPECT_EQ(none, 0);
    EXPECT_FALSE(list_directory(dir.path(u"missing"), u"*.*", [&](const DirectoryEntry&) { ++none; }));
    EXPECT_FALSE(list_directory(dir.path(u"a.txt"), u"*.*", [&](const DirectoryEntry&) { ++none; }));
    EXPECT_EQ(none, 0);
}

// More entries than one read of the folder returns: none lost or repeated
// where one read ends and the next begins.
TEST(Directory, AWholeListingOfALargeFolderMatchesTheNumberedOne) {
    ScratchDir dir;
    const std::u16string padding(110, u'n');
    for (int i = 0; i < 700; ++i) {
        const std::string number = std::to_string(i);
        dir.write(padding + u"-" + std::u16string(number.begin(), number.end()),
                  std::string(static_cast<std::size_t>(i % 5), 'x'));
    }
    const auto numbered = numbered_listing(dir.folder());
    EXPECT_EQ(numbered.size(), 702u);  // with "." and ".."
    EXPECT_EQ(whole_listing(dir.folder(), u"*.*"), numbered);
}

// A walk takes a folder's number from its parent's listing instead of opening
// the folder: the two must agree.
TEST(Directory, AWholeListingTellsAFoldersNumberAsItsIdentityDoes) {
    ScratchDir dir;
    dir.make_folder(u"one");
    dir.make_folder(u"two");
    dir.write(u"file.txt", "f");
    std::map<std::u16string, std::uint64_t> numbers;
    ASSERT_TRUE(list_directory(dir.folder(), u"*.*", [&](const DirectoryEntry& entry) {
        numbers[std::u16string(entry.name)] = entry.number;
    }));
    for (const char16_t* folder : {u"one", u"two"}) {
        const auto identity = folder_identity(dir.path(folder), false);
        ASSERT_TRUE(identity.has_value());
        EXPECT_NE(numbers.at(folder), 0u);
        EXPECT_EQ(numbers.at(folder), identity->index) << std::string(folder, folder + 3);
    }
    EXPECT_NE(numbers.at(u"one"), numbers.at(u"two"));
}

TEST(LowerCase, LowersEveryLetterTheTablesKnowUnitForUnit) {
    EXPECT_EQ(lower_case(u"README.TXT"), u"readme.txt");
    EXPECT_EQ(lower_case(u"\u00C4\u00D6\u00DC\u0391\u0416"), u"\u00E4\u00F6\u00FC\u03B1\u0436");
    const std::u16string astral = u"A\U0001F600B";  // a pair stays as it is
    EXPECT_EQ(lower_case(astral), u"a\U0001F600b");
    EXPECT_EQ(lower_case(u"123_-."), u"123_-.");
}

}  // namespace
