// Proves the chain on a fresh machine: a real window, the real clipboard and
// the 16-bit Expat, all under Wine.
#include "system/win32.h"
#include "system/wide.h"


#include <expat.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(Toolchain, CreatesARealWindowAndReadsItsTitleBack) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"BlobsmithChainTest";
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Chain \u00e9\u20ac", WS_OVERLAPPEDWINDOW, 10, 10, 200,
                                100, nullptr, nullptr, instance, nullptr);
    ASSERT_NE(hwnd, nullptr);
    wchar_t title[64] = {};
    GetWindowTextW(hwnd, title, 64);
    EXPECT_EQ(from_wide(title), u"Chain \u00e9\u20ac");
    EXPECT_TRUE(DestroyWindow(hwnd));
    UnregisterClassW(wc.lpszClassName, instance);
}

TEST(Toolchain, PutsUnicodeTextOnTheClipboardAndReadsItBack) {
    const std::u16string text = u"Data.q $0102030405060708\r\n\u00fc\U0001F600";
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    const SIZE_T bytes = (text.size() + 1) * sizeof(char16_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    ASSERT_NE(memory, nullptr);
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    ASSERT_NE(SetClipboardData(CF_UNICODETEXT, memory), nullptr);
    CloseClipboard();

    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    std::u16string back = from_wide(static_cast<const wchar_t*>(GlobalLock(data)));
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(back, text);
}

TEST(Toolchain, ParsesUtf16TextWithSixteenBitExpat) {
    static_assert(sizeof(XML_Char) == 2, "Expat must be built for 16-bit characters");
    struct Seen {
        std::u16string names;
        std::u16string attribute;
    } seen;
    XML_Parser parser = XML_ParserCreate(L"UTF-16");
    ASSERT_NE(parser, nullptr);
    XML_SetUserData(parser, &seen);
    XML_SetStartElementHandler(parser, [](void* user, const XML_Char* name, const XML_Char** attributes) {
        auto* s = static_cast<Seen*>(user);
        s->names += from_wide(name) + u";";
        if (attributes[0]) s->attribute = from_wide(attributes[1]);
    });
    const std::u16string xml = u"<dialogs><window name=\"wnd\u00e9\"><vbox/></window></dialogs>";
    const auto status = XML_Parse(parser, reinterpret_cast<const char*>(xml.data()),
                                  static_cast<int>(xml.size() * sizeof(char16_t)), XML_TRUE);
    EXPECT_EQ(status, XML_STATUS_OK) << XML_GetErrorCode(parser);
    XML_ParserFree(parser);
    EXPECT_EQ(seen.names, u"dialogs;window;vbox;");
    EXPECT_EQ(seen.attribute, u"wnd\u00e9");
}

}  // namespace
