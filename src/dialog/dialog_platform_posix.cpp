// Natively there are no windows: tests install a platform of their own.
#include "dialog/dialog_platform.h"

DialogPlatform* native_dialog_platform() {
    return nullptr;
}
