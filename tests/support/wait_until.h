// Test support: repeats a step (pumping messages, say) until a condition holds
// or a deadline passes, instead of sleeping a fixed time and hoping.
#pragma once

#include <chrono>

// True as soon as `done()` holds; false when `ms` milliseconds passed first.
// `step` should itself wait a little, for example for the next message.
template <class Done, class Step>
bool wait_until(Done&& done, Step&& step, int ms = 5000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        step();
    }
    return true;
}
