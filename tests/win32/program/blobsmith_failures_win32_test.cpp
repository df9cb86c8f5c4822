// Blobsmith.exe when the system refuses it something, arranged from outside
// its process by the hooks of blobsmith-refusals.dll: its window, a thread,
// the clipboard, the shell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_driver_win32.h"
#include "support/refusal_hooks_win32.h"
#include "support/scratch_dir.h"

namespace {

using driver::Control;
using driver::Program;

// A list of one file: Copy has something to put on the clipboard.
void drop_one_file(const Program& program, const ScratchDir& dir) {
    const HWND list = driver::find_control(program.window(), L"ListBox").hwnd;
    ASSERT_TRUE(driver::drag_files({dir.write(u"one.bin", "one")}, driver::centre_on_screen(list)));
    ASSERT_TRUE(driver::wait_until([&] { return driver::list_count(list) == 1; }));
}

void press_ok(const Program& program, HWND box, const wchar_t* title) {
    driver::click(driver::centre_on_screen(driver::find_control(box, L"Button").hwnd));
    EXPECT_TRUE(driver::wait_until([&] { return program.find_own_window(title) == nullptr; }, 3000));
}

// True once the process has loaded a module of that file name.
bool has_module(DWORD process_id, const wchar_t* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process_id);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Module32FirstW(snapshot, &entry); more && !found; more = Module32NextW(snapshot, &entry))
        found = lstrcmpiW(entry.szModule, name) == 0;
    CloseHandle(snapshot);
    return found;
}

// A session-wide hook of blobsmith-refusals.dll, removed when it goes.
class RefusalHook {
public:
    explicit RefusalHook(const char* name) {
        module_ = LoadLibraryW(L"" BLOBSMITH_BIN_DIR L"\\blobsmith-refusals.dll");
        // Through void*: the address is of a hook procedure, not of FARPROC's type.
        void* address = module_ ? reinterpret_cast<void*>(GetProcAddress(module_, name)) : nullptr;
        const auto procedure = reinterpret_cast<HOOKPROC>(address);
        if (procedure)
            hook_ = SetWindowsHookExW(WH_CBT, procedure, module_, 0);
    }
    ~RefusalHook() {
        if (hook_)
            UnhookWindowsHookEx(hook_);
        if (module_)
            FreeLibrary(module_);
    }
    RefusalHook(const RefusalHook&) = delete;
    RefusalHook& operator=(const RefusalHook&) = delete;
    bool installed() const { return hook_ != nullptr; }

private:
    HMODULE module_ = nullptr;
    HHOOK hook_ = nullptr;
};

TEST(BlobsmithFailures, AWindowThatCannotOpenIsReportedAndTheProgramEndsWithOne) {
    HWND box = nullptr;
    {
        RefusalHook hook("refuse_window_hook");
        ASSERT_TRUE(hook.installed());
        Program program(false);
        ASSERT_TRUE(
            driver::wait_until([&] { return (box = program.find_own_window(L"Blobsmith")) != nullptr; }, 15000));
        EXPECT_EQ(program.find_own_window(driver::kTitle), nullptr);
        const std::wstring text = driver::box_text(box, L"cannot open its window");
        EXPECT_EQ(text.rfind(L"Blobsmith cannot open its window.\r\n\r\n", 0), 0u)
            << std::string(text.begin(), text.end());
        EXPECT_GT(text.size(), 36u) << "no reason given";
        press_ok(program, box, L"Blobsmith");
        EXPECT_EQ(program.wait_exit(), 1u);
    }
}

// Without the window that carries a Copy's outcome back, or a window that
// takes drops, the program would run without being of use: it says why and ends.
TEST(BlobsmithFailures, AStartWithoutPostingOrDroppingIsReportedAndTheProgramEndsWithOne) {
    const struct {
        const char* hook;
        const wchar_t* text;
    } cases[] = {
        {"refuse_posting_window_hook",
         L"Blobsmith cannot start.\r\n\r\nIts window for messages between threads could not be made"},
        {"refuse_drop_hook", L"Blobsmith cannot open its window.\r\n\r\nFiles cannot be dropped on it ("},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hook);
        RefusalHook hook(c.hook);
        ASSERT_TRUE(hook.installed());
        Program program(false);
        // The main window, also called "Blobsmith" until its title is set,
        // may open and go again first.
        HWND box = nullptr;
        std::wstring text;
        ASSERT_TRUE(driver::wait_until(
            [&] {
                box = program.find_own_window(L"Blobsmith");
                return box && !(text = driver::box_text(box, L"Blobsmith cannot")).empty();
            },
            15000));
        EXPECT_EQ(program.find_own_window(driver::kTitle), nullptr);
        EXPECT_EQ(text.rfind(c.text, 0), 0u) << std::string(text.begin(), text.end());
        press_ok(program, box, L"Blobsmith");
        EXPECT_EQ(program.wait_exit(), 1u);
    }
}

TEST(BlobsmithFailures, ACopyWhoseThreadCannotStartSaysSoAndTheNextCopyWorks) {
    ScratchDir dir;
    Program program;
    ASSERT_NE(program.window(), nullptr);
    drop_one_file(program, dir);
    const HWND copy = driver::find_control(program.window(), L"Button", L"Copy").hwnd;
    ASSERT_TRUE(driver::set_clipboard(u"before"));

    // The hook reaches the program with its next window event (Tab moves the
    // focus) and diverts CreateThread there, on the GUI thread; the next
    // Copy's thread is refused, later ones not.
    RefusalHook hook("refuse_thread_hook");
    ASSERT_TRUE(hook.installed());
    driver::key(VK_TAB);
    ASSERT_TRUE(driver::wait_until([&] { return has_module(program.id(), L"blobsmith-refusals.dll"); }, 5000));
    driver::click(driver::centre_on_screen(copy));
    HWND box = nullptr;
    ASSERT_TRUE(driver::wait_until([&] { return (box = program.find_own_window(L"Blobsmith")) != nullptr; }));
    const std::wstring text = driver::box_text(box, L"no new thread");
    EXPECT_NE(text.find(L"The clipboard is unchanged"), std::wstring::npos) << std::string(text.begin(), text.end());
    EXPECT_EQ(driver::clipboard_text(), u"before");
    press_ok(program, box, L"Blobsmith");

    // The busy flag was cleared: the next Copy works.
    const DWORD sequence = driver::settled_clipboard_sequence();
    driver::click(driver::centre_on_screen(copy));
    EXPECT_TRUE(driver::wait_clipboard_change(sequence));
    EXPECT_EQ(driver::clipboard_text().rfind(u"DataSection\r\n", 0), 0u);

    PostMessageW(program.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.wait_exit(), 0u);
}

// Installs the hook and waits until the program has it: Tab moves the focus,
// a window event, which brings the library in.
void bring_in(const Program& program, const RefusalHook& hook) {
    ASSERT_TRUE(hook.installed());
    driver::key(VK_TAB);
    ASSERT_TRUE(driver::wait_until([&] { return has_module(program.id(), L"blobsmith-refusals.dll"); }, 5000));
}

// A Copy of one file over "before" on the clipboard, with the hook in the program.
void copy_with(const Program& program, const RefusalHook& hook, const ScratchDir& dir) {
    drop_one_file(program, dir);
    ASSERT_TRUE(driver::set_clipboard(u"before"));
    bring_in(program, hook);
    driver::click(driver::centre_on_screen(driver::find_control(program.window(), L"Button", L"Copy").hwnd));
}

TEST(BlobsmithFailures, AClipboardEmptiedButNotSetIsNotCalledUnchangedAndSaysWhy) {
    // Refused, then refused for want of memory: retrying helps only the first.
    const std::pair<const char*, const wchar_t*> cases[] = {
        {"refuse_clipboard_hook", L"(another program may have been holding it). Try Copy again."},
        {"full_clipboard_hook", L"not enough memory for its copy of the text. Remove some files"},
    };
    for (const auto& [hook_name, why] : cases) {
        ScratchDir dir;
        Program program;
        ASSERT_NE(program.window(), nullptr);
        const RefusalHook hook(hook_name);
        copy_with(program, hook, dir);
        HWND box = nullptr;
        ASSERT_TRUE(driver::wait_until([&] { return (box = program.find_own_window(L"Blobsmith")) != nullptr; }));
        const std::wstring text = driver::box_text(box, L"clipboard");
        EXPECT_EQ(text.rfind(L"The clipboard did not take the text and is now empty", 0), 0u)
            << std::string(text.begin(), text.end());
        EXPECT_NE(text.find(why), std::wstring::npos) << std::string(text.begin(), text.end());
        EXPECT_EQ(driver::clipboard_text(), u"<none>");  // no text at all
        press_ok(program, box, L"Blobsmith");
        PostMessageW(program.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(program.wait_exit(), 0u);
    }
}

TEST(BlobsmithFailures, NoMemoryForTheClipboardsCopyIsCalledThatNotABusyClipboard) {
    ScratchDir dir;
    Program program;
    ASSERT_NE(program.window(), nullptr);
    const RefusalHook hook("refuse_clipboard_memory_hook");
    copy_with(program, hook, dir);
    HWND box = nullptr;
    ASSERT_TRUE(driver::wait_until([&] { return (box = program.find_own_window(L"Blobsmith")) != nullptr; }));
    const std::wstring text = driver::box_text(box, L"clipboard");
    EXPECT_NE(text.find(L"The clipboard is unchanged: there is not enough memory"), std::wstring::npos)
        << std::string(text.begin(), text.end());
    EXPECT_EQ(driver::clipboard_text(), u"before");
    press_ok(program, box, L"Blobsmith");
    PostMessageW(program.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.wait_exit(), 0u);
}

TEST(BlobsmithFailures, ClosedWhileSettingTheClipboardItEndsWithTheTextThere) {
    const HANDLE setting = CreateEventW(nullptr, TRUE, FALSE, kClipboardSettingEvent);
    ASSERT_NE(setting, nullptr);
    ScratchDir dir;
    Program program;
    ASSERT_NE(program.window(), nullptr);
    const RefusalHook hook("slow_clipboard_hook");
    copy_with(program, hook, dir);
    // The clipboard is emptied by now, the text not yet given.
    ASSERT_EQ(WaitForSingleObject(setting, 10000), WAIT_OBJECT_0);
    PostMessageW(program.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.wait_exit(), 0u);
    EXPECT_EQ(driver::clipboard_text().rfind(u"DataSection\r\n", 0), 0u);
    CloseHandle(setting);
}

TEST(BlobsmithFailures, TheListMenuRemovesNothingWhileACopyRuns) {
    ScratchDir dir;
    const std::u16string file = dir.write(u"kept.bin", "kept");
    const HANDLE setting = CreateEventW(nullptr, TRUE, FALSE, kClipboardSettingEvent);
    ASSERT_NE(setting, nullptr);
    Program program;
    ASSERT_NE(program.window(), nullptr);
    const HWND list = driver::find_control(program.window(), L"ListBox").hwnd;
    const POINT on_list = driver::centre_on_screen(list);
    ASSERT_TRUE(driver::drag_files({file}, on_list));
    ASSERT_TRUE(driver::wait_until([&] { return driver::list_count(list) == 1; }));
    const RefusalHook hook("slow_clipboard_hook");
    bring_in(program, hook);

    // The menu opens while nothing runs; a Copy starts behind it (another
    // program's click) and holds on in its clipboard set; then "Remove ALL".
    driver::click(on_list, true);
    HWND menu = nullptr;
    ASSERT_TRUE(driver::wait_until([&] { return (menu = program.find_menu()) != nullptr; }, 3000));
    PostMessageW(driver::find_control(program.window(), L"Button", L"Copy").hwnd, BM_CLICK, 0, 0);
    ASSERT_EQ(WaitForSingleObject(setting, 10000), WAIT_OBJECT_0);
    RECT r{};
    GetWindowRect(menu, &r);
    driver::click({(r.left + r.right) / 2, r.top + (r.bottom - r.top) * 3 / 4});
    EXPECT_TRUE(driver::wait_until([&] { return program.find_menu() == nullptr; }, 3000));
    Sleep(200);
    EXPECT_EQ(driver::list_count(list), 1);

    // Not looked at while the set is under way: under Wine, another opener
    // without a window would take the open clipboard over, and the set fail.
    // The set emptied the clipboard before it was held up, so text there again
    // is the set's own; asking opens nothing.
    EXPECT_TRUE(driver::wait_until([] { return IsClipboardFormatAvailable(CF_UNICODETEXT) != 0; }, 10000));
    EXPECT_NE(driver::clipboard_text().find(u"kept_bin"), std::u16string::npos);
    PostMessageW(program.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.wait_exit(), 0u);
    CloseHandle(setting);
}

TEST(BlobsmithFailures, AHomeLinkThatNothingOpensSaysSo) {
    Program program;
    ASSERT_NE(program.window(), nullptr);
    const RefusalHook hook("refuse_shell_hook");
    bring_in(program, hook);
    driver::click(
        driver::centre_on_screen(driver::find_control(program.window(), L"Static", L"https://blobsmith.dev/").hwnd));
    HWND box = nullptr;
    ASSERT_TRUE(driver::wait_until([&] { return (box = program.find_own_window(L"Blobsmith")) != nullptr; }));
    const std::wstring text = driver::box_text(box, L"Cannot open");
    EXPECT_EQ(text.rfind(L"Cannot open https://blobsmith.dev/ (", 0), 0u) << std::string(text.begin(), text.end());
    press_ok(program, box, L"Blobsmith");
    PostMessageW(program.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.wait_exit(), 0u);
}

}  // namespace
