#include "system/program_command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramCommandLine, QuotesTheProgramOnceAndAppendsParameters) {
    EXPECT_EQ(program_command_line(u"C:\\Program Files\\tool.exe", u"-x \"a b\""),
              u"\"C:\\Program Files\\tool.exe\" -x \"a b\"");
    EXPECT_EQ(program_command_line(u"\"C:\\a b\\tool.exe\" -q", u"more"), u"\"C:\\a b\\tool.exe\" -q more");
    EXPECT_EQ(program_command_line(u"notepad", u""), u"\"notepad\"");
    EXPECT_EQ(program_command_line(u"", u""), u"\"\"");
}

TEST(ProgramCommandLine, ShellDirectoryFallsBackToTheProgramsFolder) {
    EXPECT_EQ(shell_directory(u"C:\\docs\\a b\\readme.txt", u""), u"C:\\docs\\a b\\");
    EXPECT_EQ(shell_directory(u"C:\\docs\\readme.txt", u"D:\\work"), u"D:\\work");
    EXPECT_EQ(shell_directory(u"https://example.org/page", u""), u"");
    EXPECT_EQ(shell_directory(u"readme.txt", u""), u"");
}

}  // namespace
