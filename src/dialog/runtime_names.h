// Runtime name registry: names the dialog definitions use for values that exist
// only at run time (layout variables, constants, event procedures).
#pragma once

#include <cstdint>
#include <string_view>

// How register_runtime_variable reads the variable behind an address.
enum RuntimeType : std::uint8_t {
    kRuntimeInt8 = 1,      // sign-extended
    kRuntimeInt16 = 3,     // sign-extended
    kRuntimeInt32 = 5,     // as is
    kRuntimeFloat = 9,     // 32-bit real, truncated toward zero
    kRuntimeUInt8 = 11,    // zero-extended
    kRuntimeDouble = 12,   // 64-bit real, truncated toward zero
    kRuntimeInteger = 21,  // signed 32-bit, as the program's layout variables are
    kRuntimeUInt16 = 25,   // zero-extended
};

// The registry serves the user-interface thread only; it has no lock.

// Makes the process-wide registry (empty). Further calls do nothing; the
// registry is also made on first use, so a missed call loses nothing.
void create_runtime_registry();

// Registration: an existing entry with the name (ASCII case ignored) is reused
// and keeps the spelling it was first registered with; otherwise a new one is
// made. Without memory for a new entry nothing happens.
// A variable is read through its address each time a value is asked for, so it
// may be registered before it is assigned; it must outlive the registry's use.
void register_runtime_variable(std::u16string_view name, const void* address, std::uint8_t type_code) noexcept;
// Constants and procedure addresses (for event attributes).
void register_runtime_integer(std::u16string_view name, std::intptr_t value) noexcept;
void register_runtime_real(std::u16string_view name, double value) noexcept;
// Stored only: its runtime_value is 0.
void register_runtime_pointer(std::u16string_view name, const void* pointer) noexcept;

// Names match whole, ignoring ASCII case; blanks and '#' are ordinary characters.
[[nodiscard]] bool is_runtime_name(std::u16string_view name) noexcept;

// The entry's value as a 32-bit integer: 0 for no entry or a pointer; reals
// truncated toward zero (saturated at the int32 limits, NaN gives 0); variables
// read now by their type code (unknown codes and null addresses give 0).
[[nodiscard]] std::int32_t runtime_value(std::u16string_view name) noexcept;

// As runtime_value, but an integer entry comes back whole: a procedure address
// survives on 64-bit builds too.
[[nodiscard]] std::intptr_t runtime_address(std::u16string_view name) noexcept;

// An attribute value: the whole text as a registered name, otherwise the
// decimal integer it begins with (leading white space, optional sign; no
// digits gives 0; saturated at the int32 limits).
[[nodiscard]] std::int32_t dialog_value(std::u16string_view text) noexcept;

// The decimal integer the text begins with, as dialog_value reads numbers.
[[nodiscard]] std::int32_t leading_decimal(std::u16string_view text) noexcept;

// The stored spelling of a registered name (empty when there is none).
[[nodiscard]] std::u16string_view runtime_name_spelling(std::u16string_view name) noexcept;
