#include "system/gui_thread.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(GuiThread, OnceSetOnlyThatThreadIsTheGuiThread) {
    set_gui_thread();
    EXPECT_TRUE(on_gui_thread());
    bool other = true;
    std::thread([&] { other = on_gui_thread(); }).join();
    EXPECT_FALSE(other);
}

}  // namespace
