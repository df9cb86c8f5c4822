// Folder identities from the real file system, on every platform: a walk
// compares numbers read the cheap way and whole identities read the full way,
// so the two must agree.
#include "system/folder_identity.h"

#include <gtest/gtest.h>

#include "support/scratch_dir.h"

namespace {

TEST(FolderIdentity, TheNumberAloneAgreesWithTheWholeIdentity) {
    ScratchDir dir;
    dir.write(u"a/x.txt", "x");
    dir.write(u"b/y.txt", "y");
    const std::u16string a = dir.path(u"a") + ScratchDir::kSeparator;
    const std::u16string b = dir.path(u"b") + ScratchDir::kSeparator;
    const std::u16string a_again = b + u".." + ScratchDir::kSeparator + u"a" + ScratchDir::kSeparator;

    const auto a_number = folder_identity(a, false);
    const auto a_whole = folder_identity(a);
    const auto a_again_whole = folder_identity(a_again);
    const auto b_number = folder_identity(b, false);
    const auto b_whole = folder_identity(b);
    ASSERT_TRUE(a_number && a_whole && a_again_whole && b_number && b_whole);
    EXPECT_EQ(a_number->index, a_whole->index);
    EXPECT_EQ(a_number->index_high, a_whole->index_high);
    EXPECT_EQ(*a_whole, *a_again_whole);
    EXPECT_NE(a_number->index, b_number->index);
    EXPECT_NE(*a_whole, *b_whole);

    for (const bool with_volume : {false, true}) {
        EXPECT_FALSE(folder_identity(dir.path(u"a/x.txt"), with_volume)) << "a file";
        EXPECT_FALSE(folder_identity(dir.path(u"missing"), with_volume));
        EXPECT_FALSE(folder_identity(u"", with_volume));
    }
}

}  // namespace
