// Start-up of the component services and the extra control classes.
#include "system/runtime_services.h"

#include "system/win32.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(RuntimeServices, ComponentServicesAndControlClassesAreReady) {
    // A fresh thread: nothing else has initialised its component services.
    HRESULT again = E_FAIL;
    bool ip_address_class = false;
    std::thread([&] {
        init_runtime_services();
        again = CoInitialize(nullptr);
        CoUninitialize();
        CoUninitialize();
        WNDCLASSEXW info{};
        info.cbSize = sizeof info;
        ip_address_class = GetClassInfoExW(nullptr, L"SysIPAddress32", &info) != FALSE;
    }).join();
    EXPECT_EQ(again, S_FALSE);  // already initialised by init_runtime_services
    EXPECT_TRUE(ip_address_class);
}

}  // namespace
