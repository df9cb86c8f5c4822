// Points one import of the program's own executable (a slot of its import
// address table) at another function, so that a test can make the system
// refuse the program a call; the system's own callers are not concerned.
#pragma once

#include "system/win32.h"

// The function the slot held, null when the executable imports no function
// of that name. Call it while no other thread may be inside the slot.
inline void* divert_import(const char* function, void* replacement) noexcept {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (!d->OriginalFirstThunk)
            continue;
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<const char*>(name->Name), function) != 0)
                continue;
            DWORD old = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old))
                return nullptr;
            void* const previous = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
            return previous;
        }
    }
    return nullptr;
}

// An import diverted for one scope; the original goes back at its end.
class DivertedImport {
public:
    DivertedImport(const char* function, void* replacement) noexcept
        : function_(function), original_(divert_import(function, replacement)) {}
    ~DivertedImport() {
        if (original_)
            divert_import(function_, original_);
    }
    DivertedImport(const DivertedImport&) = delete;
    DivertedImport& operator=(const DivertedImport&) = delete;

    // The function the slot held; null when there was no such import.
    template <typename Function>
    [[nodiscard]] Function original() const noexcept {
        return reinterpret_cast<Function>(original_);
    }

private:
    const char* function_;
    void* original_;
};
