// Which paths go to the platform in their verbatim form, and how.
#include "system/verbatim_path.h"

#include <gtest/gtest.h>

namespace {

TEST(VerbatimPath, OnlyWholeFullPathsThatNeedItChange) {
    // Names ending in a dot or a space, on a drive or a share.
    EXPECT_EQ(verbatim_path(u"C:\\odd\\end."), u"\\\\?\\C:\\odd\\end.");
    EXPECT_EQ(verbatim_path(u"c:\\dir.\\x.bin"), u"\\\\?\\c:\\dir.\\x.bin");
    EXPECT_EQ(verbatim_path(u"C:\\dir \\"), u"\\\\?\\C:\\dir \\");
    EXPECT_EQ(verbatim_path(u"\\\\server\\share\\end."), u"\\\\?\\UNC\\server\\share\\end.");
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
