#include "window/drop_event.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "window/drop_rules.h"
#include "window/event_bindings.h"
#include "window/event_queue.h"

namespace {

// A dropped-file block: the 20-byte header, then the names.
std::vector<unsigned char> file_block(const std::vector<std::u16string>& names, bool terminated = true) {
    std::vector<unsigned char> b(20, 0);
    const std::uint32_t offset = 20, wide = 1;
    std::memcpy(b.data(), &offset, 4);
    std::memcpy(b.data() + 16, &wide, 4);
    auto put = [&b](char16_t u) {
        b.push_back(static_cast<unsigned char>(u & 0xFF));
        b.push_back(static_cast<unsigned char>(u >> 8));
    };
    for (const auto& n : names) {
        for (char16_t u : n)
            put(u);
        put(0);
    }
    if (terminated)
        put(0);
    return b;
}

std::vector<unsigned char> ansi_block(const std::string& names) {
    std::vector<unsigned char> b(20 + names.size(), 0);
    const std::uint32_t offset = 20;
    std::memcpy(b.data(), &offset, 4);
    std::memcpy(b.data() + 20, names.data(), names.size());
    return b;
}

using Names = std::vector<std::u16string>;

TEST(DroppedFileNames, ReadsWideAndAnsiLists) {
    const Names three{u"C:\\a\\one.bin", u"C:\\b c\\two \u00e9.txt", u"Z:\\tmp\\folder"};
    const auto wide = file_block(three);
    EXPECT_EQ(dropped_file_names(wide.data(), wide.size()), three);
    const auto ansi = ansi_block(std::string("C:\\x\0D:\\y\0\0", 10));
    EXPECT_EQ(dropped_file_names(ansi.data(), ansi.size()), (Names{u"C:\\x", u"D:\\y"}));
    // Names may start anywhere after the header, even at an odd offset.
    auto shifted = file_block({u"C:\\z"});
    shifted.insert(shifted.begin() + 20, 3, 0xEE);
    const std::uint32_t offset = 23;
    std::memcpy(shifted.data(), &offset, 4);
    EXPECT_EQ(dropped_file_names(shifted.data(), shifted.size()), (Names{u"C:\\z"}));
}

TEST(DroppedFileNames, MalformedBlocksGiveOnlyCompleteNamesAndNeverReadPastTheEnd) {
    EXPECT_TRUE(dropped_file_names(nullptr, 100).empty());
    const auto ok = file_block({u"C:\\one", u"C:\\two"});
    EXPECT_TRUE(dropped_file_names(ok.data(), 19).empty());  // no room for the header

    // Each block is copied into a buffer of exactly its size, so that the
    // sanitizers see any read past it.
    auto names_of = [](std::vector<unsigned char> b) {
        auto* exact = new unsigned char[b.size()];
        std::memcpy(exact, b.data(), b.size());
        Names n = dropped_file_names(exact, b.size());
        delete[] exact;
        return n;
    };
    // No list terminator: the complete names still count.
    EXPECT_EQ(names_of(file_block({u"C:\\one", u"C:\\two"}, false)), (Names{u"C:\\one", u"C:\\two"}));
    // The last name cut off by the end of the block is left out.
    auto cut = file_block({u"C:\\one", u"C:\\two"}, false);
    cut.resize(cut.size() - 2);
    EXPECT_EQ(names_of(cut), (Names{u"C:\\one"}));
    cut.resize(cut.size() - 1);  // an odd size: half a unit at the end
    EXPECT_EQ(names_of(cut), (Names{u"C:\\one"}));
    // A name with no terminator at all.
    EXPECT_TRUE(names_of(ansi_block("C:\\unterminated")).empty());
    // An offset beyond the block, or into the header.
    auto far = ok;
    const std::uint32_t beyond = static_cast<std::uint32_t>(far.size() + 1), inside = 4;
    std::memcpy(far.data(), &beyond, 4);
    EXPECT_TRUE(names_of(far).empty());
    std::memcpy(far.data(), &inside, 4);
    EXPECT_TRUE(names_of(far).empty());
    // An offset exactly at the end: an empty list.
    auto at_end = file_block({});
    at_end.resize(20);
    const std::uint32_t end = 20;
    std::memcpy(at_end.data(), &end, 4);
    EXPECT_TRUE(names_of(at_end).empty());
}

class DropEventTest : public ::testing::Test {
protected:
    void SetUp() override { init_event_queue(); }
    void TearDown() override { end_event_queue(); }

    static void queue_files(const Names& names, std::int32_t window = 1) {
        const auto block = file_block(names);
        DropEventData* d = make_drop_event_data(DROP_FORMAT_FILES, 0, DROP_COPY, 5, 6, block.data(), block.size());
        ASSERT_NE(d, nullptr);
        queue_event(EV_WINDOW_DROP, 0, window, 0, d, free_drop_event_data);
    }
};

TEST_F(DropEventTest, FilesTextJoinsPathsWithSingleLineFeedsAndLivesUntilTheNextEventIsTaken) {
    queue_files({u"C:\\a.bin", u"C:\\dir", u"C:\\c d\\e.txt"});
    queue_files({u"C:\\second"});
    queue_event(EV_GADGET, 3, 1, 0);

    ASSERT_EQ(take_next_event(), EV_WINDOW_DROP);
    const DropEventData* d = current_drop_event_data();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->action, DROP_COPY);
    EXPECT_EQ(d->x, 5);
    EXPECT_EQ(d->y, 6);
    EXPECT_EQ(dropped_files_text(), u"C:\\a.bin\nC:\\dir\nC:\\c d\\e.txt");
    // Still readable while the event is current, however often it is asked.
    EXPECT_EQ(dropped_files_text(), u"C:\\a.bin\nC:\\dir\nC:\\c d\\e.txt");

    // Two drops in a row are two events, each with its own files.
    ASSERT_EQ(take_next_event(), EV_WINDOW_DROP);
    EXPECT_EQ(dropped_files_text(), u"C:\\second");
    ASSERT_EQ(take_next_event(), EV_GADGET);
    EXPECT_EQ(current_drop_event_data(), nullptr);
    EXPECT_EQ(dropped_files_text(), u"");
}

TEST_F(DropEventTest, OtherDataAndOtherFormatsGiveEmptyText) {
    // Data that is not a drop record is never read as one.
    int foreign[8] = {15, 0, 1, 0, 0, 0, 0, 0};
    queue_event(EV_WINDOW_DROP, 0, 1, 0, foreign, nullptr);
    const auto text = file_block({u"x"});
    queue_event(EV_WINDOW_DROP, 0, 1, 0,
                make_drop_event_data(DROP_FORMAT_UNICODE_TEXT, 0, DROP_COPY, 0, 0, text.data(), text.size()),
                free_drop_event_data);
    queue_event(EV_GADGET_DROP, 4, 1, 0, make_drop_event_data(DROP_FORMAT_PRIVATE, 9, DROP_MOVE, 0, 0, nullptr, 0),
                free_drop_event_data);
    ASSERT_EQ(take_next_event(), EV_WINDOW_DROP);
    EXPECT_EQ(current_drop_event_data(), nullptr);
    EXPECT_EQ(dropped_files_text(), u"");
    ASSERT_EQ(take_next_event(), EV_WINDOW_DROP);
    EXPECT_EQ(dropped_files_text(), u"");
    ASSERT_EQ(take_next_event(), EV_GADGET_DROP);
    ASSERT_NE(current_drop_event_data(), nullptr);
    EXPECT_EQ(current_drop_event_data()->private_type, 9u);
    EXPECT_EQ(current_drop_event_data()->data, nullptr);
    EXPECT_EQ(dropped_files_text(), u"");
}

std::u16string g_seen_in_callback;
void read_drop_in_callback() {
    g_seen_in_callback = dropped_files_text();
}

TEST_F(DropEventTest, BoundCallbacksReadTheFilesWhileTheEventIsQueued) {
    bind_event(EV_WINDOW_DROP, read_drop_in_callback, 2);
    queue_files({u"C:\\p", u"C:\\q"}, 2);
    EXPECT_EQ(g_seen_in_callback, u"C:\\p\nC:\\q");
    // A suppressed drop is freed at once; the sanitizers check it is not leaked.
    suppress_events(true);
    queue_files({u"C:\\lost"}, 2);
    suppress_events(false);
    EXPECT_EQ(queued_event_count(), 1u);
}

}  // namespace
