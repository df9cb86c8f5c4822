// Shared fixture of the window tests: a fresh window library and event queue
// per test, and helpers that pump real messages.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "support/wait_until.h"
#include "system/win32.h"
#include "window/event_bindings.h"
#include "window/posted_events.h"
#include "window/window.h"

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        init_posted_events();
        init_windows();
    }
    void TearDown() override {
        end_windows();
        end_posted_events();
    }

    static bool is_window_event(std::int32_t n) { return n >= EV_GADGET && n <= EV_SIZE_WINDOW; }

    // Runs the loop until nothing is pending; returns the events it handed out.
    static std::vector<std::int32_t> drain() {
        std::vector<std::int32_t> events;
        for (int i = 0; i < 10000; ++i) {
            std::int32_t n = wait_window_event(0);
            if (n == 0)
                break;
            if (is_window_event(n))
                events.push_back(n);
        }
        return events;
    }

    // Only the events in keep, in order.
    static std::vector<std::int32_t> drain_only(std::initializer_list<std::int32_t> keep) {
        std::vector<std::int32_t> out;
        for (std::int32_t n : drain())
            for (std::int32_t k : keep)
                if (n == k)
                    out.push_back(n);
        return out;
    }

    // The events queued so far, in keep, without taking any platform message:
    // what synchronous messages produced, free of Wine's later X11 updates.
    static std::vector<std::int32_t> queued_only(std::initializer_list<std::int32_t> keep) {
        std::vector<std::int32_t> out;
        while (queued_event_count() > 0) {
            std::int32_t n = wait_window_event(0);
            for (std::int32_t k : keep)
                if (n == k)
                    out.push_back(n);
        }
        return out;
    }

    // Wine: without a window manager, X11 answers a show or a state change with
    // configure events some time later; let them arrive before looking. Done
    // when the loop has been quiet for 100 ms (at most 3 s).
    static void settle() {
        using Clock = std::chrono::steady_clock;
        Clock::time_point last = Clock::now();
        wait_until([&] { return Clock::now() - last >= std::chrono::milliseconds(100); },
                   [&] {
                       if (wait_window_event(10) != 0)
                           last = Clock::now();
                   },
                   3000);
    }

    // Runs the loop until `done()` holds; false when 3 s passed first.
    template <class Done>
    static bool pump_until(Done&& done) {
        return wait_until(done, [] { (void)wait_window_event(10); }, 3000);
    }

    static HWND hwnd_of(std::intptr_t number) { return static_cast<HWND>(window_handle(number)); }

    static RECT client_rect(HWND hwnd) {
        RECT r;
        GetClientRect(hwnd, &r);
        return r;
    }
};
