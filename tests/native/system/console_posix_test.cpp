// A program started with a standard stream closed must not let the next file
// it opens take that number: its messages would go into the file.
#include "system/console.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

TEST(ConsolePosix, AClosedStandardStreamGetsTheNullDevice) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // In the child, whose descriptors the test may close.
        close(0);
        close(2);
        keep_standard_streams();
        const int file = open("/dev/zero", O_RDONLY);
        const bool kept = fcntl(0, F_GETFD) != -1 && fcntl(2, F_GETFD) != -1 && file > 2;
        _exit(kept ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
