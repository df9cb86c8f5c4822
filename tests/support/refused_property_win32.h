// Makes the program's SetPropW refuse window properties whose names begin
// with a given text, as when the system's atom table is full, for one scope.
#pragma once

#include <cwchar>

#include "support/import_slot_win32.h"
#include "system/win32.h"

class RefusedProperty {
public:
    explicit RefusedProperty(const wchar_t* prefix) noexcept
        : diverted_("SetPropW", reinterpret_cast<void*>(&set_prop)) {
        original_ = diverted_.original<SetProp>();
        prefix_ = prefix;
        refusals_ = 0;
    }
    ~RefusedProperty() { prefix_ = nullptr; }
    RefusedProperty(const RefusedProperty&) = delete;
    RefusedProperty& operator=(const RefusedProperty&) = delete;

    // Whether SetPropW was diverted at all, and how often it refused.
    [[nodiscard]] bool diverted() const { return original_ != nullptr; }
    [[nodiscard]] static int refusals() { return refusals_; }

private:
    using SetProp = BOOL(WINAPI*)(HWND, LPCWSTR, HANDLE);

    static BOOL WINAPI set_prop(HWND hwnd, LPCWSTR name, HANDLE data) noexcept {
        if (prefix_ && !IS_INTRESOURCE(name) && std::wcsncmp(name, prefix_, std::wcslen(prefix_)) == 0) {
            ++refusals_;
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return FALSE;
        }
        return original_(hwnd, name, data);
    }

    DivertedImport diverted_;
    static inline SetProp original_ = nullptr;
    static inline const wchar_t* prefix_ = nullptr;
    static inline int refusals_ = 0;
};
