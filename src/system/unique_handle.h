// One move-only owner for the platform's handles: a traits struct names the
// handle type, its invalid value and how it is closed (system/handles_win32.h,
// system/handles_posix.h).
#pragma once

#include <utility>

template <class Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    explicit operator bool() const noexcept { return handle_ != Traits::invalid(); }
    Handle get() const noexcept { return handle_; }
    // Hands the handle over (to the system, to a record); this owner is empty after.
    [[nodiscard]] Handle release() noexcept { return std::exchange(handle_, Traits::invalid()); }
    // Closes what is held (the traits keep the caller's last error) and takes `handle`.
    void reset(Handle handle = Traits::invalid()) noexcept {
        const Handle old = std::exchange(handle_, handle);
        if (old != Traits::invalid())
            Traits::close(old);
    }
    // For out-parameters: closes what is held and returns where the new handle goes.
    Handle* put() noexcept {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::invalid();
};
