// The one place that includes <windows.h>; Windows-only files include this.
#pragma once

#ifndef _WIN32
#error "system/win32.h is for *_win32.cpp files only"
#endif

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// winbase.h defines IGNORE as 0; the system's own "keep this value" is
// -65535 (kIgnore). Drop the macro so a bare IGNORE cannot compile.
#undef IGNORE
#undef ERROR
#undef TRANSPARENT
#undef DELETE
#undef small
#undef interface
