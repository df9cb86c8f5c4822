// Whole-file replacement on POSIX: links followed to the real file, mkstemp
// beside it, fsync, rename; devices and pipes written directly.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "system/error_text.h"
#include "system/file_replace.h"
#include "system/handles_posix.h"
#include "system/name_cut.h"
#include "system/posix_write.h"
#include "system/utf.h"

namespace {

std::u16string reason(const char* what, int error) {
    return utf16_from_utf8(std::string(what) + ": ") + system_error_text(static_cast<unsigned long>(error));
}

// The temporary file an interruption must remove; null when there is none.
// Read by the signal handler, so only a lock-free pointer.
std::atomic<const char*> g_interrupted_cleanup{nullptr};
static_assert(std::atomic<const char*>::is_always_lock_free);

extern "C" void remove_temporary_and_end(int signal_number) {
    if (const char* path = g_interrupted_cleanup.exchange(nullptr))
        unlink(path);
    // Ends the process as the signal would have, so the caller sees how.
    ::signal(signal_number, SIG_DFL);
    raise(signal_number);
}

void install_interrupt_cleanup() {
    static const bool installed = [] {
        for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
            struct sigaction action {};
            struct sigaction old {};
            if (sigaction(signal_number, nullptr, &old) == 0 && old.sa_handler == SIG_IGN)
                continue;  // ignored by whoever started us: keep it so
            action.sa_handler = remove_temporary_and_end;
            sigemptyset(&action.sa_mask);
            sigaction(signal_number, &action, nullptr);
        }
        return true;
    }();
    (void)installed;
}

// Follows links to the file they lead to (or would create); false for a loop.
bool follow_links(std::string& path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size())
            return false;
        target.resize(static_cast<std::size_t>(length));
        if (target.empty() || target.front() != '/') {
            const std::size_t slash = path.rfind('/');
            target = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + target;
        }
        path = std::move(target);
    }
    errno = ELOOP;
    return false;
}

}  // namespace

struct FileReplacement::State {
    std::string target;     // the file that gets the content, links followed
    std::string temporary;  // empty when writing to the target directly
    UniqueFd fd;
};

bool FileReplacement::replaces() const noexcept {
    return state_ && !state_->temporary.empty();
}

FileReplacement::FileReplacement() = default;

FileReplacement::~FileReplacement() {
    abandon();
}

bool FileReplacement::begin(std::u16string_view path, std::u16string& problem) {
    abandon();
    auto state = std::make_unique<State>();
    state->target = utf8_from_utf16(path);
    // What the path leads to decides first: links such as /dev/stdout lead
    // to a pipe or terminal through names that are no paths ("pipe:[…]").
    struct stat st {};
    const bool found = stat(state->target.c_str(), &st) == 0;
    if (found && S_ISDIR(st.st_mode)) {
        problem = u"it is a folder";  // said now, before any work is done for it
        return false;
    }
    const bool special = found && !S_ISREG(st.st_mode);
    if (!special && !follow_links(state->target)) {
        problem = reason("cannot follow the link", errno);
        return false;
    }
    if (special) {
        // A device or a pipe: what is written goes straight to it.
        state->fd.reset(open(state->target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
        if (!state->fd) {
            problem = reason("cannot open it for writing", errno);
            return false;
        }
        state_ = std::move(state);
        return true;
    }
    install_interrupt_cleanup();
    // Cut short where the target's name leaves no room for the suffix.
    state->temporary = cut_last_name(state->target, 7) + ".XXXXXX";
    // The name is published before the file exists, so that an interruption
    // right after mkstemp still finds it.
    g_interrupted_cleanup.store(state->temporary.c_str());
    state->fd.reset(mkstemp(state->temporary.data()));
    if (!state->fd) {
        const int error = errno;
        g_interrupted_cleanup.store(nullptr);
        problem = reason("cannot create a temporary file beside it", error);
        return false;
    }
    fcntl(state->fd.get(), F_SETFD, FD_CLOEXEC);
    state_ = std::move(state);
    return true;
}

bool FileReplacement::write(const void* bytes, std::size_t count, std::u16string& problem) {
    if (!state_) {
        problem = u"cannot write: not open";
        return false;
    }
    if (!write_all(state_->fd.get(), std::string_view(static_cast<const char*>(bytes), count))) {
        problem = reason("cannot write", errno ? errno : EIO);
        return false;
    }
    return true;
}

bool FileReplacement::commit(std::u16string& problem) {
    if (!state_) {
        problem = u"cannot write: not open";
        return false;
    }
    State& s = *state_;
    if (s.temporary.empty()) {
        // Closed here, not by the owner: a device may report a write error only now.
        const int closed = close(s.fd.release());
        const int error = errno;
        state_.reset();
        if (closed != 0 && error != EINTR) {
            problem = reason("cannot write", error);
            return false;
        }
        return true;
    }
    // mkstemp makes the file private; give it the mode of the file it
    // replaces, or the mode a new file would get.
    struct stat old {};
    mode_t mode = 0;
    if (stat(s.target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
        // And its owner, where we may give it (as root): a file of another
        // user's would otherwise become ours, and with its mode closed to them.
        if (fchown(s.fd.get(), old.st_uid, old.st_gid) != 0) {
        }
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    int error = 0;
    if (fchmod(s.fd.get(), mode) != 0 || fsync(s.fd.get()) != 0)
        error = errno;
    if (close(s.fd.release()) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        abandon();
        problem = reason("cannot write", error);
        return false;
    }
    if (rename(s.temporary.c_str(), s.target.c_str()) != 0) {
        error = errno;
        abandon();
        problem = reason("cannot replace it", error);
        return false;
    }
    g_interrupted_cleanup.store(nullptr);
    state_.reset();
    return true;
}

void FileReplacement::abandon() noexcept {
    if (!state_)
        return;
    state_->fd.reset();
    if (!state_->temporary.empty()) {
        unlink(state_->temporary.c_str());
        g_interrupted_cleanup.store(nullptr);
    }
    state_.reset();
}
