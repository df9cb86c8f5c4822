// Paths as messages show them, and the boxes' lists of paths under reasons.
#include "app/path_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ShownPath, NoNameCanDisguiseItselfOrTheTextAfterIt) {
    EXPECT_EQ(shown_path(u"C:\\a\\b.txt"), u"C:\\a\\b.txt");
    EXPECT_EQ(shown_path(u"two\nlines\r.bin"), u"two\\nlines\\r.bin");
    // U+202E would turn "report\u202Efdp.exe: reason" round from there on.
    EXPECT_EQ(shown_path(u"report\u202Efdp.exe"), u"report<U+202E>fdp.exe");
    EXPECT_EQ(shown_path(u"a\u2066b\u200Fc\x01\td"), u"a<U+2066>b<U+200F>c<U+0001><U+0009>d");
    EXPECT_EQ(shown_path(u"a\u0085b\u009Bc\u2028d\u2029e\u00A0f"), u"a<U+0085>b<U+009B>c<U+2028>d<U+2029>e\u00A0f");
    EXPECT_EQ(shown_path(u"caf\u00E9 \U0001F600.bin"), u"caf\u00E9 \U0001F600.bin");
}

TEST(ShownPath, ALongPathLosesItsMiddleNeverItsNameOrHalfACharacter) {
    const std::u16string path = u"C:\\" + std::u16string(200, u'd') + u"\\the name.bin";
    const std::u16string shown = shown_path(path, 60);
    EXPECT_EQ(shown.size(), 60u);
    EXPECT_EQ(shown.rfind(u"C:\\ddd", 0), 0u);
    EXPECT_EQ(shown.substr(shown.size() - 13), u"\\the name.bin");
    EXPECT_NE(shown.find(u"…"), std::u16string::npos);
    EXPECT_EQ(shown_path(path, 0), path);
    EXPECT_EQ(shown_path(u"short", 60), u"short");

    // Cut points that fall inside a pair of surrogates move out of it.
    const std::u16string emoji = u"\U0001F600";
    std::u16string wide;
    for (int i = 0; i < 50; ++i)
        wide += emoji;
    for (std::size_t limit : {9u, 10u, 11u, 12u}) {
        const std::u16string cut = shown_path(wide, limit);
        const std::size_t mark = cut.find(u"…");
        ASSERT_NE(mark, std::u16string::npos) << limit;
        EXPECT_EQ(mark % 2, 0u) << limit;
        EXPECT_EQ((cut.size() - mark - 1) % 2, 0u) << limit;
    }
}

TEST(PathsByReason, GroupsSortsCountsAndShortens) {
    std::vector<ReportedPath> items;
    for (int i = 12; i >= 1; --i)
        items.push_back({u"C:\\big\\h" + std::u16string(1, static_cast<char16_t>(u'a' + i)) + u".bin", u"too large"});
    items.push_back({u"C:\\gone.txt", u"no such file"});
    const std::u16string text = paths_by_reason(items, 3, 0);
    EXPECT_EQ(text,
              u"\r\ntoo large (12):\r\n    C:\\big\\hb.bin\r\n    C:\\big\\hc.bin\r\n    C:\\big\\hd.bin"
              u"\r\n    … and 9 more"
              u"\r\nno such file:\r\n    C:\\gone.txt");
    EXPECT_EQ(paths_by_reason({}, 3, 0), u"");
}

}  // namespace
