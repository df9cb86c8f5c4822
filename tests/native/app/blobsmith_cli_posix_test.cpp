// blobsmith-cli end to end: the built program on real files, its output,
// messages and exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/cli_fixture.h"
#include "system/utf.h"

namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

std::string slurp(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class BlobsmithCli : public ::testing::Test {
protected:
    CliFixture files;
    std::filesystem::path root{files.dir.folder()};

    // Runs the program in the fixture's folder with standard output and error
    // going to files (so neither is a terminal).
    CliRun run(const std::string& arguments) {
        const std::filesystem::path out = root / "stdout.bin", err = root / "stderr.txt";
        const std::string command = "cd '" + root.string() + "' && '" BLOBSMITH_BIN_DIR "/blobsmith-cli' " + arguments +
                                    " >'" + out.string() + "' 2>'" + err.string() + "'";
        const int raw = std::system(command.c_str());
        CliRun result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
        std::filesystem::remove(out);
        std::filesystem::remove(err);
        return result;
    }

    std::string path(const char* relative) const { return (root / relative).string(); }
};

TEST_F(BlobsmithCli, WritesTheExactTextOfTheDrop) {
    const CliRun r = run("tree other/ABC.BIN");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, CliFixture::expected_text());
    EXPECT_EQ(r.err, "") << "no progress when standard error is not a terminal";
}

TEST_F(BlobsmithCli, NamesUnusablePathsAndStillWritesTheRest) {
    const CliRun r = run("missing.bin tree other/ABC.BIN ''");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, CliFixture::expected_text());
    EXPECT_NE(r.err.find(path("missing.bin") + ": skipped: no such file"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("(empty path): skipped"), std::string::npos) << r.err;
}

TEST_F(BlobsmithCli, ListsFullPathsInTheWindowsOrder) {
    const CliRun r = run("--list tree other/ABC.BIN");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              path("other/ABC.BIN") + "\n" + path("tree/Hello World.txt") + "\n" + path("tree/empty.dat") + "\n");
}

TEST_F(BlobsmithCli, ReplacesTheOutputFileWholeInUtf16) {
    std::ofstream(root / "out.inc") << std::string(5000, 'x');
    const CliRun r = run("--utf16 -o out.inc tree other/ABC.BIN");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(slurp(root / "out.inc"), CliFixture::utf16le(CliFixture::expected_text()));
    std::size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(root))
        entries += entry.is_regular_file();
    EXPECT_EQ(entries, 1u) << "no temporary file is left beside the output";
}

TEST_F(BlobsmithCli, AnOutputThatCannotBeWrittenFailsAndLeavesNothingBehind) {
    std::filesystem::create_directory(root / "taken");
    std::ofstream(root / "taken" / "keep.txt") << "keep";
    CliRun r = run("-o taken tree");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("taken: cannot replace it"), std::string::npos) << r.err;
    EXPECT_EQ(slurp(root / "taken" / "keep.txt"), "keep");
    for (const auto& entry : std::filesystem::directory_iterator(root))
        EXPECT_EQ(entry.path().filename().string().find("taken."), std::string::npos) << entry.path();

    r = run("-o no/such/folder.inc tree");
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(std::filesystem::exists(root / "no"));
}

TEST_F(BlobsmithCli, UsageErrorsWriteNothing) {
    for (const char* arguments : {"", "--bogus tree", "tree -o", "-o a -o b tree", "--output= tree"}) {
        const CliRun r = run(arguments);
        EXPECT_EQ(r.status, 2) << arguments;
        EXPECT_EQ(r.out, "") << arguments;
        EXPECT_NE(r.err.find("--help"), std::string::npos) << arguments;
    }
    EXPECT_FALSE(std::filesystem::exists(root / "a"));
}

TEST_F(BlobsmithCli, HelpNamesEveryOptionAndTheExitStatus) {
    const CliRun r = run("--help");
    EXPECT_EQ(r.status, 0);
    for (const char* word : {"-o FILE", "--utf16", "--list", "--help", "Exit status", "CR LF"})
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
}

TEST_F(BlobsmithCli, ADoubleDashMakesOptionLikeNamesPaths) {
    files.dir.write(u"--list", "z");
    const CliRun r = run("--list -- --list");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, path("--list") + "\n");
}

}  // namespace
