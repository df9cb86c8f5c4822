// Common controls and component services at start-up.
#include "system/runtime_services.h"

#include "system/win32.h"

#include <commctrl.h>
#include <objbase.h>

namespace {
constexpr DWORD kControlClasses =
    ICC_TAB_CLASSES | ICC_HOTKEY_CLASS | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_INTERNET_CLASSES;
static_assert(kControlClasses == 0xB48);
}  // namespace

void init_runtime_services() {
    INITCOMMONCONTROLSEX controls{sizeof controls, kControlClasses};
    InitCommonControlsEx(&controls);
    // The shell and drag and drop need the component services; a second call
    // on the same thread is harmless.
    CoInitialize(nullptr);
}
