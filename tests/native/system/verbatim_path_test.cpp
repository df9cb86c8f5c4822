// Which paths go to the platform in their verbatim form, and how.
#include "system/verbatim_path.h"

#include <gtest/gtest.h>

#include "system/utf.h"

namespace {

TEST(VerbatimPath, OnlyWholeFullPathsThatNeedItChange) {
    // Names ending in a dot or a space, on a drive or a share.
    EXPECT_EQ(verbatim_path(u"C:\\odd\\end."), u"\\\\?\\C:\\odd\\end.");
    EXPECT_EQ(verbatim_path(u"c:\\dir.\\x.bin"), u"\\\\?\\c:\\dir.\\x.bin");
    EXPECT_EQ(verbatim_path(u"C:\\dir \\"), u"\\\\?\\C:\\dir \\");
    EXPECT_EQ(verbatim_path(u"\\\\server\\share\\end."), u"\\\\?\\UNC\\server\\share\\end.");
    // Names the plain form takes for devices, in any case and with any extension.
    for (const std::u16string name :
         {u"aux.txt", u"CON", u"nul.tar.gz", u"Com1", u"lpt9.log", u"prn .x", u"COM\u00B9", u"conout$", u"COM0"}) {
        EXPECT_EQ(verbatim_path(u"C:\\d\\" + name), u"\\\\?\\C:\\d\\" + name) << utf8_from_utf16(name);
        EXPECT_EQ(verbatim_path(u"C:\\" + name + u"\\x.bin"), u"\\\\?\\C:\\" + name + u"\\x.bin");
    }
    for (const std::u16string name : {u"auxiliary.txt", u"com10", u"lpt", u"xcon", u"nul_"})
        EXPECT_EQ(verbatim_path(u"C:\\d\\" + name), u"C:\\d\\" + name);
    // Long ones.
    const std::u16string deep = u"C:\\" + std::u16string(300, u'd') + u"\\f.bin";
    EXPECT_EQ(verbatim_path(deep), u"\\\\?\\" + deep);

    // Everything else stays as it is.
    for (const std::u16string& path :
         {std::u16string(u"C:\\plain\\file.bin"), std::u16string(u"C:\\dir\\"), std::u16string(u"C:\\"),
          std::u16string(u"C:\\a\\..\\end."), std::u16string(u"C:\\a\\.\\end."), std::u16string(u"C:/a/end."),
          std::u16string(u"C:\\a\\\\end."), std::u16string(u"rel\\end."), std::u16string(u"\\\\?\\C:\\end."),
          std::u16string(u"\\\\.\\pipe\\x."), std::u16string(u"")}) {
        EXPECT_EQ(verbatim_path(path), path);
    }
}

}  // namespace
