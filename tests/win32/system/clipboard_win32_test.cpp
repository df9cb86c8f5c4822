// Clipboard text on the real Windows clipboard.
#include "system/clipboard.h"

#include <gtest/gtest.h>

#include "support/clipboard_probe.h"

namespace {

TEST(SetClipboardText, PutsExactlyTheTextThereEvenWhenEmpty) {
    const std::u16string text = u"\tData.q $1,$2\r\n\u00E9\U0001F600";
    ASSERT_TRUE(set_clipboard_text(text));
    EXPECT_EQ(read_clipboard_text(), text);
    ASSERT_TRUE(set_clipboard_text(u""));
    EXPECT_EQ(read_clipboard_text(), u"");
}

TEST(SetClipboardText, LeavesTheClipboardAloneWhileAnotherWindowHoldsIt) {
    ASSERT_TRUE(set_clipboard_text(u"before"));
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.holding());
        EXPECT_FALSE(set_clipboard_text(u"after"));
    }
    EXPECT_EQ(read_clipboard_text(), u"before");
}

}  // namespace
