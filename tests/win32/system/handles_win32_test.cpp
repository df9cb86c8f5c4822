// The Win32 owners and guards with real handles: per-kind invalid values, the
// last error kept across a close, and guards that put back what they changed.
#include "system/handles_win32.h"

#include <gtest/gtest.h>

namespace {

TEST(HandlesWin32, EachKindKnowsItsOwnInvalidValue) {
    // CreateFileW fails with INVALID_HANDLE_VALUE; a kernel owner would take
    // that for a handle and close it.
    UniqueFile file(CreateFileW(L"Z:\\no such folder\\x", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(file);
    EXPECT_FALSE(UniqueKernelHandle());
    UniqueKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    EXPECT_TRUE(event);
}

TEST(HandlesWin32, ClosingKeepsTheLastError) {
    UniqueKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    SetLastError(ERROR_FILE_NOT_FOUND);
    event.reset();
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(HandlesWin32, GuardsPutBackTheSelectedObjectAndTheLock) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    const HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
    {
        UniqueHfont font(CreateFontW(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
        ASSERT_TRUE(font);
        SelectedObject selected(dc, font.get());
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font.get());
    }  // deselected before it is deleted
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), before);
    DeleteDC(dc);

    UniqueHglobal memory(GlobalAlloc(GMEM_MOVEABLE, 16));
    ASSERT_TRUE(memory);
    {
        LockedGlobal<char> locked(memory.get());
        ASSERT_NE(locked.get(), nullptr);
        EXPECT_EQ(GlobalFlags(memory.get()) & GMEM_LOCKCOUNT, 1u);
    }
    EXPECT_EQ(GlobalFlags(memory.get()) & GMEM_LOCKCOUNT, 0u);
}

}  // namespace
