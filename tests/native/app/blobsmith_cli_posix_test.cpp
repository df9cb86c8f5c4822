// blobsmith-cli end to end: the built program on real files, its output,
// messages and exit status.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

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
    CliRun run(const std::string& arguments) { return run_as("", arguments); }

    // The same with a command before the program's (another user, for one).
    CliRun run_as(const std::string& prefix, const std::string& arguments) {
        const std::filesystem::path out = root / "stdout.bin", err = root / "stderr.txt";
        const std::string command = "cd '" + root.string() + "' && " + prefix +
                                    "'" BLOBSMITH_BIN_DIR "/blobsmith-cli' " + arguments + " >'" + out.string() +
                                    "' 2>'" + err.string() + "'";
        const int raw = std::system(command.c_str());
        CliRun result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
        std::filesystem::remove(out);
        std::filesystem::remove(err);
        return result;
    }

    std::string path(const char* relative) const { return (root / relative).string(); }

    // Names of the folder's entries that are not in `expected`: what a run left behind.
    std::vector<std::string> strays(const std::filesystem::path& folder, std::vector<std::string> expected) const {
        expected.insert(expected.end(), {"tree", "other"});
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (std::find(expected.begin(), expected.end(), name) == expected.end())
                found.push_back(name);
        }
        return found;
    }
};

// Runs `run` with the program as an unprivileged user when this test runs as
// root (which permissions do not stop); false when that is impossible here.
bool as_unprivileged(std::string& prefix) {
    if (geteuid() != 0) {
        prefix.clear();
        return true;
    }
    if (std::system("command -v setpriv >/dev/null 2>&1") != 0)
        return false;
    prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    return true;
}

TEST_F(BlobsmithCli, WritesTheExactTextOfTheDrop) {
    const CliRun r = run("tree other/ABC.BIN");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, CliFixture::expected_text());
    // No progress when standard error is not a terminal; the file that gave
    // way to another of its name is named.
    EXPECT_EQ(r.err, "blobsmith-cli: " + path("tree/sub/abc.bin") + ": left out: " + path("other/ABC.BIN") +
                         " has the same name\n");
}

TEST_F(BlobsmithCli, TheSameFileMetTwiceHasNotGivenWay) {
    std::filesystem::create_directory_symlink(root / "tree", root / "link");
    const CliRun r = run("tree ./tree/../tree link other/ABC.BIN");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, CliFixture::expected_text());
    EXPECT_EQ(r.err, "blobsmith-cli: " + path("tree/sub/abc.bin") + ": left out: " + path("other/ABC.BIN") +
                         " has the same name\n");
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

TEST_F(BlobsmithCli, NeverReadsItsOwnOutput) {
    // Named as an input too, however spelled: refused before anything is lost.
    const std::string before = slurp(root / "other/ABC.BIN");
    CliRun r = run("-o other/ABC.BIN tree ./other/../other/ABC.BIN");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("ABC.BIN: is also the output; nothing is written"), std::string::npos) << r.err;
    EXPECT_EQ(slurp(root / "other/ABC.BIN"), before);

    // Found in a folder it is made from: an earlier run's output is left out,
    // so running again gives the same text.
    r = run("-o tree/out.inc tree other/ABC.BIN");
    EXPECT_EQ(r.status, 0);
    const std::string first = slurp(root / "tree/out.inc");
    EXPECT_EQ(first, CliFixture::expected_text());
    r = run("-o tree/out.inc tree other/ABC.BIN");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find(path("tree/out.inc") + ": left out: it is the output"), std::string::npos) << r.err;
    EXPECT_EQ(slurp(root / "tree/out.inc"), first);

    // Met after an input of its name, the output does not push that input out.
    files.dir.write(u"a/out.inc", "input");
    r = run("-o tree/out.inc a tree");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.find("has the same name"), std::string::npos) << r.err;
    EXPECT_NE(slurp(root / "tree/out.inc").find("#size_out_inc = 5 ;"), std::string::npos);
}

TEST_F(BlobsmithCli, NeverReplacesAFileOfTheInputsThatNoRunMade) {
    const std::string before = slurp(root / "tree/Hello World.txt");
    CliRun r = run("-o 'tree/Hello World.txt' tree other/ABC.BIN");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Hello World.txt: is one of the files read, not an earlier output; nothing is written"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(slurp(root / "tree/Hello World.txt"), before);
    // An earlier output in either encoding is still replaced.
    for (const char* encoding : {"", "--utf16 "}) {
        r = run(std::string(encoding) + "-o tree/out.inc tree other/ABC.BIN");
        ASSERT_EQ(r.status, 0) << r.err;
        r = run(std::string(encoding) + "-o tree/out.inc tree other/ABC.BIN");
        EXPECT_EQ(r.status, 0) << encoding << r.err;
        std::filesystem::remove(root / "tree/out.inc");
    }
}

TEST_F(BlobsmithCli, WritesAnOutputWhoseNameIsAsLongAsNamesGo) {
    const std::string name(255, 'n');  // no room left for a temporary file's suffix
    const CliRun r = run("-o " + name + " tree other/ABC.BIN");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(slurp(root / name), CliFixture::expected_text());
    EXPECT_EQ(strays(root, {name}), std::vector<std::string>{});
}

TEST_F(BlobsmithCli, RefusesArgumentsThatAreNotText) {
    // Read with a stand-in for the bad byte, the name would be another file's.
    for (const char* arguments : {"-o \"$(printf 'out\\377.inc')\" tree", "tree \"$(printf 'x\\377')\""}) {
        const CliRun r = run(arguments);
        EXPECT_EQ(r.status, 2) << arguments;
        EXPECT_NE(r.err.find("is not valid UTF-8"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(strays(root, {}), std::vector<std::string>{}) << arguments;
    }
}

TEST_F(BlobsmithCli, AnOutputThatCannotBeWrittenFailsAndLeavesNothingBehind) {
    std::filesystem::create_directory(root / "taken");
    std::ofstream(root / "taken" / "keep.txt") << "keep";
    CliRun r = run("-o taken tree");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("taken: it is a folder"), std::string::npos) << r.err;
    r = run("-o taken/ tree");
    EXPECT_NE(r.err.find("taken/: it is a folder"), std::string::npos) << r.err;
    EXPECT_EQ(slurp(root / "taken" / "keep.txt"), "keep");
    for (const auto& entry : std::filesystem::directory_iterator(root))
        EXPECT_EQ(entry.path().filename().string().find("taken."), std::string::npos) << entry.path();

    r = run("-o no/such/folder.inc tree");
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(std::filesystem::exists(root / "no"));
}

TEST_F(BlobsmithCli, UsageErrorsWriteNothing) {
    for (const char* arguments :
         {"", "--bogus tree", "tree -o", "-o a -o b tree", "-o - -o b tree", "--output= tree"}) {
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
    // Help that cannot be written says why.
    const std::string to_full =
        "cd '" + root.string() + "' && '" BLOBSMITH_BIN_DIR "/blobsmith-cli' --help >/dev/full 2>err.txt";
    const int raw = std::system(to_full.c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 2);
    EXPECT_NE(slurp(root / "err.txt").find("No space left on device"), std::string::npos);
}

TEST_F(BlobsmithCli, AnOutputOfADashIsStandardOutput) {
    const CliRun r = run("-o - tree other/ABC.BIN");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, CliFixture::expected_text());
    EXPECT_FALSE(std::filesystem::exists(root / "-"));
}

// Standard output redirected to a file is an output like -o's: written in
// place when -o names it, never read as an input. A closed standard error
// changes nothing in the output.
TEST_F(BlobsmithCli, StandardOutputToAFileIsAnOutputToo) {
    const std::string program = "'" BLOBSMITH_BIN_DIR "/blobsmith-cli'";
    const std::string in_root = "cd '" + root.string() + "' && ";
    EXPECT_EQ(std::system((in_root + "{ echo header; " + program +
                           " -o /dev/stdout tree other/ABC.BIN; echo footer; } >combined.txt 2>/dev/null")
                              .c_str()),
              0);
    EXPECT_EQ(slurp(root / "combined.txt"), "header\n" + CliFixture::expected_text() + "footer\n");

    EXPECT_EQ(std::system((in_root + program + " tree other/ABC.BIN >tree/out.inc 2>err.txt").c_str()), 0);
    EXPECT_EQ(slurp(root / "tree/out.inc"), CliFixture::expected_text());
    EXPECT_NE(slurp(root / "err.txt").find("out.inc: left out: it is the output"), std::string::npos);
    std::filesystem::remove(root / "tree/out.inc");

    const int raw = std::system((in_root + program + " -o out.inc tree other/ABC.BIN missing 2>&-").c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1);
    EXPECT_EQ(slurp(root / "out.inc"), CliFixture::expected_text());
}

// Replacing another user's file (as root) keeps it theirs, with its mode.
TEST_F(BlobsmithCli, AReplacedOutputKeepsItsOwner) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    const std::filesystem::path output = root / "theirs.inc";
    std::ofstream(output) << "old";
    ASSERT_EQ(chown(output.c_str(), 65534, 65534), 0);
    ASSERT_EQ(chmod(output.c_str(), 0640), 0);
    EXPECT_EQ(run("-o theirs.inc tree other/ABC.BIN").status, 0);
    struct stat st {};
    ASSERT_EQ(stat(output.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(slurp(output), CliFixture::expected_text());
}

TEST_F(BlobsmithCli, ADoubleDashMakesOptionLikeNamesPaths) {
    files.dir.write(u"--list", "z");
    const CliRun r = run("--list -- --list");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, path("--list") + "\n");
}

TEST_F(BlobsmithCli, WritesThroughLinksToTheFileTheyLeadTo) {
    std::filesystem::create_directory(root / "real");
    std::ofstream(root / "real" / "target.inc") << "old";
    std::filesystem::create_symlink("real/target.inc", root / "link.inc");
    std::filesystem::create_symlink("link.inc", root / "chain.inc");
    std::filesystem::create_symlink("real/new.inc", root / "dangling.inc");

    for (const char* output : {"link.inc", "chain.inc"}) {
        std::ofstream(root / "real" / "target.inc") << "old";
        const CliRun r = run(std::string("-o ") + output + " tree other/ABC.BIN");
        EXPECT_EQ(r.status, 0) << output << r.err;
        EXPECT_EQ(slurp(root / "real" / "target.inc"), CliFixture::expected_text()) << output;
    }
    EXPECT_TRUE(std::filesystem::is_symlink(root / "link.inc"));
    EXPECT_TRUE(std::filesystem::is_symlink(root / "chain.inc"));

    const CliRun r = run("-o dangling.inc tree other/ABC.BIN");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::filesystem::is_symlink(root / "dangling.inc"));
    EXPECT_EQ(slurp(root / "real" / "new.inc"), CliFixture::expected_text());

    EXPECT_EQ(strays(root, {"real", "link.inc", "chain.inc", "dangling.inc"}), std::vector<std::string>{});
    EXPECT_EQ(strays(root / "real", {"target.inc", "new.inc"}), std::vector<std::string>{});
}

TEST_F(BlobsmithCli, WritesDevicesAndPipesDirectlyAndFailsOnAFullDevice) {
    const std::filesystem::path fifo = root / "out.fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string piped;
    std::thread reader([&] {
        std::ifstream in(fifo, std::ios::binary);
        piped.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    });
    CliRun r = run("-o out.fifo tree other/ABC.BIN");
    // A program that never opened the pipe would leave the reader waiting for
    // a writer forever: be one that writes nothing, so the test fails instead.
    if (const int unblock = open(fifo.c_str(), O_WRONLY | O_NONBLOCK); unblock >= 0)
        close(unblock);
    reader.join();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(piped, CliFixture::expected_text());
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));

    // /dev/stdout on a pipe: a link to a name that is no path ("pipe:[…]").
    const std::string through_pipe = "cd '" + root.string() +
                                     "' && '" BLOBSMITH_BIN_DIR
                                     "/blobsmith-cli' -o /dev/stdout tree other/ABC.BIN | cat >piped.bin";
    EXPECT_EQ(std::system(through_pipe.c_str()), 0);
    EXPECT_EQ(slurp(root / "piped.bin"), CliFixture::expected_text());
    std::filesystem::remove(root / "piped.bin");

    // Device nodes of the test's own: the null device and the always-full one.
    if (mknod((root / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
        mknod((root / "full").c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) {
        GTEST_SKIP() << "device nodes cannot be made here: " << std::strerror(errno);
    }
    r = run("-o null tree other/ABC.BIN");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::filesystem::is_character_file(root / "null"));

    r = run("-o full tree other/ABC.BIN");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("full: cannot write"), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::is_character_file(root / "full"));
    EXPECT_EQ(strays(root, {"out.fifo", "null", "full"}), std::vector<std::string>{});

    // Standard output on the full device says why it took nothing.
    for (const char* list : {"", "--list "}) {
        const std::string to_full = "cd '" + root.string() + "' && '" BLOBSMITH_BIN_DIR "/blobsmith-cli' " + list +
                                    "tree other/ABC.BIN >full 2>err.txt";
        const int raw = std::system(to_full.c_str());
        EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 2) << list;
        EXPECT_NE(slurp(root / "err.txt").find("cannot write to standard output: No space left on device"),
                  std::string::npos)
            << list << slurp(root / "err.txt");
    }
}

TEST_F(BlobsmithCli, KeepsTheOldOutputWhenNothingIsCollected) {
    std::ofstream(root / "out.inc") << "old";
    std::filesystem::create_directory(root / "nothing");
    for (const char* paths : {"missing.bin", "nothing", "missing.bin ''"}) {
        CliRun r = run(std::string("-o out.inc ") + paths);
        EXPECT_EQ(r.status, 2) << paths;
        EXPECT_NE(r.err.find("nothing to convert"), std::string::npos) << r.err;
        EXPECT_EQ(slurp(root / "out.inc"), "old") << paths;
        r = run(paths);
        EXPECT_EQ(r.status, 2) << paths;
        EXPECT_EQ(r.out, "") << paths;
    }
    EXPECT_EQ(strays(root, {"out.inc", "nothing"}), std::vector<std::string>{});
}

TEST_F(BlobsmithCli, AnInterruptedRunRemovesItsTemporaryFile) {
    // Large enough to take a while: a sparse file just under 2 GiB.
    { std::ofstream(root / "big.bin") << "x"; }
    std::error_code error;
    std::filesystem::resize_file(root / "big.bin", (2ULL << 30) - 8, error);
    if (error)
        GTEST_SKIP() << "no sparse files here: " << error.message();
    // SIGQUIT would leave a core file beside the output.
    const rlimit no_core{0, 0};
    ASSERT_EQ(setrlimit(RLIMIT_CORE, &no_core), 0);
    for (int signal_number : {SIGINT, SIGTERM, SIGQUIT}) {
        std::ofstream(root / "out.inc") << "old";
        const std::string program = BLOBSMITH_BIN_DIR "/blobsmith-cli";
        const std::string output = (root / "out.inc").string(), input = (root / "big.bin").string();
        char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("-o"), const_cast<char*>(output.c_str()),
                        const_cast<char*>(input.c_str()), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        pid_t child = 0;
        ASSERT_EQ(posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        // Interrupted once the temporary file holds some of the text.
        bool started = false;
        for (int wait = 0; wait < 2000 && !started; ++wait) {
            for (const std::string& name : strays(root, {"out.inc", "big.bin"}))
                started = started || (name.starts_with("out.inc.") && std::filesystem::file_size(root / name) > 0);
            if (!started)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        EXPECT_TRUE(started) << "no temporary file appeared";
        kill(child, signal_number);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << status;
        EXPECT_EQ(slurp(root / "out.inc"), "old");
        EXPECT_EQ(strays(root, {"out.inc", "big.bin"}), std::vector<std::string>{});
    }
}

TEST_F(BlobsmithCli, SaysWhyAPathCannotBeUsed) {
    // A folder that may be listed but not searched, and a pipe.
    files.dir.write(u"locked/inner.bin", "i");
    std::filesystem::permissions(root / "locked", std::filesystem::perms::owner_read |
                                                      std::filesystem::perms::group_read |
                                                      std::filesystem::perms::others_read);
    ASSERT_EQ(mkfifo((root / "pipe").c_str(), 0644), 0);
    std::filesystem::create_symlink("round", root / "round");  // a link to itself
    files.dir.write(u"closed/hidden.bin", "h");                // a folder that cannot be listed
    std::filesystem::permissions(root / "closed", std::filesystem::perms::owner_exec);
    std::string prefix;
    if (!as_unprivileged(prefix))
        GTEST_SKIP() << "running as root without setpriv: permissions cannot be tested";
    const CliRun r = run_as(prefix, "locked/inner.bin locked pipe round closed tree");
    std::filesystem::permissions(root / "locked", std::filesystem::perms::owner_all);
    std::filesystem::permissions(root / "closed", std::filesystem::perms::owner_all);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out.find("DataSection"), 0u);
    const std::string denied = ": skipped: a folder on its path cannot be searched";
    EXPECT_NE(r.err.find(path("locked/inner.bin") + denied), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(path("locked") + "/inner.bin" + denied), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(path("pipe") + ": skipped: not a plain file"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(path("round") + ": skipped: its links lead round in a circle"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(path("closed") + "/: skipped: folder cannot be listed (Permission denied)"), std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("no such file"), std::string::npos) << r.err;
}

TEST_F(BlobsmithCli, ReportsEveryNameItCannotHoldAndEveryPathItCannotList) {
    // Two names that are not UTF-8 and would both read as "a\uFFFD.bin".
    for (const char* name : {"a\xFF.bin", "a\xFE.bin"})
        std::ofstream(root / "tree" / name) << "bad";
    files.dir.write(u"lines/two\nlines.bin", "2");
    CliRun r = run("tree");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(path("tree") + "/a\\xFF.bin: skipped: its name is not valid UTF-8"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find(path("tree") + "/a\\xFE.bin: skipped: its name is not valid UTF-8"), std::string::npos)
        << r.err;
    EXPECT_EQ(r.out.find("\tfile_a__bin:"), std::string::npos) << "no entry stands for either";

    r = run("--list lines tree/empty.dat");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, path("tree/empty.dat") + "\n");
    EXPECT_NE(r.err.find(path("lines") + "/two\\nlines.bin: not listed: its name holds a line break"),
              std::string::npos)
        << r.err;

    // Every message about such a path stays on one line.
    r = run("tree/empty.dat 'gone\nname.bin'");
    EXPECT_EQ(r.err, "blobsmith-cli: " + path("gone") + "\\nname.bin: skipped: no such file or folder\n");
}

struct TerminalRun {
    int status = -1;    // the wait status
    std::string shown;  // what reached the terminal
};

// Runs the program with one of its standard streams (STDOUT_FILENO or
// STDERR_FILENO) on a pseudo-terminal and the other to /dev/null.
TerminalRun run_on_terminal(int stream, const std::vector<std::string>& arguments) {
    TerminalRun result;
    const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    if (terminal < 0 || grantpt(terminal) != 0 || unlockpt(terminal) != 0)
        return result;
    const std::string other_end = ptsname(terminal);
    const std::string program = BLOBSMITH_BIN_DIR "/blobsmith-cli";
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, stream, other_end.c_str(), O_RDWR | O_NOCTTY, 0);
    posix_spawn_file_actions_addopen(&actions, stream == STDOUT_FILENO ? STDERR_FILENO : STDOUT_FILENO, "/dev/null",
                                     O_WRONLY, 0);
    pid_t child = 0;
    const bool started = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (started) {
        char buffer[4096];
        // EIO once the program has closed the other end.
        for (ssize_t got; (got = read(terminal, buffer, sizeof buffer)) > 0;)
            result.shown.append(buffer, static_cast<std::size_t>(got));
        waitpid(child, &result.status, 0);
    }
    close(terminal);
    return result;
}

// On a terminal --list shows names as messages do: control characters in a
// name (an escape sequence) are shown, not sent to the terminal.
TEST_F(BlobsmithCli, ListsNamesOnATerminalWithoutTheirControlCharacters) {
    std::ofstream(root / "a\x1b[2Jb.bin") << "x";
    const TerminalRun t = run_on_terminal(STDOUT_FILENO, {"--list", (root / "a\x1b[2Jb.bin").string()});
    EXPECT_TRUE(WIFEXITED(t.status) && WEXITSTATUS(t.status) == 0) << t.status;
    EXPECT_NE(t.shown.find("a<U+001B>[2Jb.bin"), std::string::npos) << t.shown;
    EXPECT_EQ(t.shown.find('\x1b'), std::string::npos);
    // Into a file or a pipe the name goes as it is.
    const CliRun r = run("--list 'a\x1b[2Jb.bin'");
    EXPECT_NE(r.out.find("a\x1b[2Jb.bin"), std::string::npos);
}

TEST_F(BlobsmithCli, MovesTheBarOnATerminalWhileOneLargeFileIsConverted) {
    { std::ofstream(root / "big.bin") << "x"; }
    std::error_code error;
    std::filesystem::resize_file(root / "big.bin", 1536ULL << 20, error);
    if (error)
        GTEST_SKIP() << "no sparse files here: " << error.message();
    const TerminalRun t = run_on_terminal(STDERR_FILENO, {(root / "big.bin").string()});
    EXPECT_TRUE(WIFEXITED(t.status) && WEXITSTATUS(t.status) == 0) << t.status;
    const std::string& shown = t.shown;

    // Each bar begins with "\r["; count the filled cells of each.
    std::vector<std::size_t> filled;
    for (std::size_t at = shown.find("\r["); at != std::string::npos; at = shown.find("\r[", at + 1)) {
        const std::size_t end = shown.find(']', at);
        ASSERT_NE(end, std::string::npos) << shown;
        filled.push_back(static_cast<std::size_t>(std::count(shown.begin() + at, shown.begin() + end, '#')));
    }
    ASSERT_GE(filled.size(), 2u) << shown;
    EXPECT_GT(filled.size() - std::count(filled.begin(), filled.end(), 30u), 0u) << "a bar inside the file: " << shown;
    EXPECT_TRUE(std::is_sorted(filled.begin(), filled.end())) << shown;
    EXPECT_EQ(filled.back(), 30u);
    EXPECT_NE(shown.find("1.5 GiB of 1.5 GiB"), std::string::npos) << shown;
    EXPECT_EQ(shown.back(), '\n');
    // Full only at the end: one full bar (or two: the last value and the end).
    EXPECT_LE(std::count(filled.begin(), filled.end(), 30u), 2) << shown;
}

}  // namespace
