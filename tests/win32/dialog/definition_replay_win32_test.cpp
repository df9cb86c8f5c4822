// The dialog fuzzer's seeds opened over the real controls: the hostile values
// they hold (ranges, sizes, spans, flags, nesting) reach real gadgets here,
// where the fuzzer only reaches a recording platform.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "dialog_test_support_win32.h"

namespace {

void handler() {}

std::int32_t g_values[4] = {600, 420, 86, 24};

BOOL CALLBACK count_window(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int thread_windows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), count_window, reinterpret_cast<LPARAM>(&count));
    return count;
}

// Each seed is a mode byte (bit 0: open the window named "w", else the unnamed
// one; bit 1: ask for 1000 x 1000; the others steer the recording platform)
// and then the definition, one byte per unit.
TEST_F(DialogTest, FuzzSeedsOpenOrFailCleanlyOverTheRealControls) {
    register_runtime_variable(u"DPIx1", &g_values[0], kRuntimeInteger);
    register_runtime_variable(u"DPIy1", &g_values[1], kRuntimeInteger);
    register_runtime_variable(u"DPIx3", &g_values[2], kRuntimeInteger);
    register_runtime_variable(u"DPIy4", &g_values[3], kRuntimeInteger);
    register_runtime_integer(u"handler", reinterpret_cast<std::intptr_t>(&handler));
    const std::filesystem::path corpus =
        std::filesystem::path(BLOBSMITH_TEST_DATA).parent_path() / "fuzz" / "corpus" / "dialog";
    const int windows_before = thread_windows();
    int seeds = 0, opened = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(data.empty());
        const std::u16string text(data.begin() + 1, data.end());
        const std::intptr_t document = parse_xml_text(PB_Any, text.c_str(), text.size());
        ASSERT_NE(document, 0);
        const std::int32_t asked = (data[0] & 2) ? 1000 : 0;
        const int result = open_xml_dialog(dialog, document, (data[0] & 1) ? u"w" : u"", 0, 0, asked, asked);
        free_xml(document);
        ++seeds;
        if (result) {
            ++opened;
            EXPECT_TRUE(dialog_error(dialog).empty());
            ASSERT_NE(window_hwnd(), nullptr);
            refresh_dialog(dialog);
            pump();
        } else {
            EXPECT_FALSE(dialog_error(dialog).empty());
            EXPECT_EQ(dialog_window(dialog), -1);
        }
        free_dialog(dialog);  // closes the window it opened
        pump();
        // Nothing of the opening outlives it: no window, no binding.
        EXPECT_EQ(thread_windows(), windows_before);
        EXPECT_EQ(binding_entry_count(), 0u);
        dialog = create_dialog(PB_Any);
        ASSERT_NE(dialog, 0);
    }
    EXPECT_GE(seeds, 50) << "the corpus in " << corpus.string() << " is missing";
    EXPECT_GT(opened, 0);
    EXPECT_LT(opened, seeds);
}

}  // namespace
