// The generator's way to the real clipboard, and files held open elsewhere.
#include "app/data_section.h"

#include <gtest/gtest.h>

#include <atomic>

#include "app/busy_flag.h"
#include "app/progress.h"
#include "support/clipboard_probe.h"
#include "support/scratch_dir.h"
#include "system/threads.h"

namespace {

const std::u16string kHelloText =
    u"DataSection\r\n\r\n"
    u"\t#size_Hello_World_txt = 11 ; 2021/03/04 05:06:07\r\n"
    u"\tfile_Hello_World_txt:\r\n"
    u"\tData.q $6F77206F6C6C6568,$646C72\r\n\r\n"
    u"EndDataSection\r\n";

struct HelloMap : ::testing::Test {
    ScratchDir dir;
    std::u16string path;
    void SetUp() override {
        path = dir.write(u"Hello World.txt", "hello world");
        ASSERT_TRUE(ScratchDir::set_modified(path, 2021, 3, 4, 5, 6, 7));
        file_map().clear();
        file_map().insert(file_map_key(path)).path = path;
        ASSERT_TRUE(busy_flag_try_set());
    }
    void TearDown() override { file_map().clear(); }
};

TEST_F(HelloMap, PutsTheSevenLinesOnTheClipboard) {
    EXPECT_EQ(generate_data_section(1).status, GenerationStatus::Ok);
    EXPECT_FALSE(busy_flag_is_set());
    EXPECT_EQ(read_clipboard_text(), kHelloText);
}

TEST_F(HelloMap, ReportsARefusedClipboardAndLeavesItAsItWas) {
    ClipboardHolder holder;
    ASSERT_TRUE(holder.holding());
    const DataSection section = generate_data_section(1);
    EXPECT_EQ(section.status, GenerationStatus::ClipboardRefused);
    EXPECT_EQ(section.text.view(), kHelloText);  // still there for the caller
    EXPECT_FALSE(busy_flag_is_set());
}

TEST_F(HelloMap, LeavesOutAFileOpenElsewhereAndTriesItAgainNextTime) {
    HANDLE other = CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(generate_data_section(0).text.view(), u"DataSection\r\n\r\nEndDataSection\r\n");
    CloseHandle(other);
    EXPECT_EQ(generate_data_section(0).text.view(), kHelloText);
}

TEST_F(HelloMap, SecondGenerationReadsNoFile) {
    EXPECT_EQ(generate_data_section(0).status, GenerationStatus::Ok);
    // Held open without sharing now: only cached rows can still produce the text.
    HANDLE other = CreateFileW(wide(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(generate_data_section(0).text.view(), kHelloText);
    CloseHandle(other);
}

// As the Copy command runs it: on a worker thread, progress going to a sink
// from that thread, the busy flag the only sign of the end.
TEST_F(HelloMap, RunsOnAWorkerThreadAndReportsProgressFromThere) {
    struct Sink : ProgressSink {
        std::atomic<DWORD> thread{0};
        std::atomic<std::int32_t> maximum{-1}, value{-1};
        void set_progress_maximum(std::int32_t m) noexcept override {
            thread = GetCurrentThreadId();
            maximum = m;
        }
        void set_progress_value(std::int32_t v) noexcept override { value = v; }
    } sink;
    set_generation_progress(&sink);
    std::atomic<int> status{-1};
    ASSERT_NE(create_thread(
                  [](void* result) {
                      static_cast<std::atomic<int>*>(result)->store(static_cast<int>(generate_data_section(1).status));
                  },
                  &status),
              0);
    for (int i = 0; i < 1000 && (busy_flag_is_set() || status.load() < 0); ++i)
        Sleep(10);
    set_generation_progress(nullptr);
    EXPECT_EQ(status.load(), 0);
    EXPECT_EQ(read_clipboard_text(), kHelloText);
    EXPECT_NE(sink.thread.load(), GetCurrentThreadId());
    EXPECT_EQ(sink.maximum.load(), 11);
    EXPECT_EQ(sink.value.load(), 11);
}

}  // namespace
