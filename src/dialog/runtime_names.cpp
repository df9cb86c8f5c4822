// The process-wide runtime name registry and the reading of its values.
#include "dialog/runtime_names.h"

#include <cmath>
#include <cstring>
#include <exception>
#include <limits>
#include <string>
#include <unordered_map>

#include "system/gui_thread.h"
#include "system/utf.h"

namespace {

enum class Kind : std::uint8_t { integer = 0, real = 1, pointer = 2, variable = 3 };

struct Entry {
    Kind kind = Kind::integer;
    std::uint8_t type_code = 0;
    std::intptr_t integer = 0;
    double real = 0;
    const void* address = nullptr;  // the pointer (kind 2) or the variable (kind 3)
};

// The same hash whatever the case of ASCII letters, so that equal names under
// AsciiEqual land in the same bucket.
struct AsciiHash {
    using is_transparent = void;
    std::size_t operator()(std::u16string_view name) const noexcept {
        std::uint32_t h = 0;
        for (char16_t c : name)
            h = h * 65599u + ascii_lower(c);
        return h;
    }
};

struct AsciiEqual {
    using is_transparent = void;
    bool operator()(std::u16string_view a, std::u16string_view b) const noexcept {
        return ascii_equal_ignore_case(a, b);
    }
};

// The key is the spelling the name was first registered with; reusing the
// entry only replaces the mapped value.
using Table = std::unordered_map<std::u16string, Entry, AsciiHash, AsciiEqual>;

// Lives until the process ends: dialogs may ask for values from anywhere up to
// the last moment, so no exit-time destructor may run before them.
Table& table() {
    ASSERT_GUI_THREAD();
    static Table* const registry = [] {
        auto* t = new Table;
        t->reserve(1024);
        return t;
    }();
    return *registry;
}

void put(std::u16string_view name, const Entry& entry) noexcept {
    Table& t = table();
    if (auto it = t.find(name); it != t.end()) {
        it->second = entry;
        return;
    }
    try {
        t.emplace(std::u16string(name), entry);
    } catch (const std::exception&) {
        // Out of memory: nothing registered; start-up code has no way to report it.
    }
}

const Entry* find(std::u16string_view name) noexcept {
    const Table& t = table();
    auto it = t.find(name);
    return it == t.end() ? nullptr : &it->second;
}

// Truncation toward zero without the undefined behaviour of an out-of-range
// conversion: large values saturate, NaN reads as 0.
std::int32_t truncate_real(double value) noexcept {
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

template <class T>
T load(const void* address) noexcept {
    T value;
    std::memcpy(&value, address, sizeof value);  // the program's variable may be unaligned
    return value;
}

std::int32_t read_variable(const void* address, std::uint8_t type_code) noexcept {
    if (!address)
        return 0;
    switch (type_code) {
        case kRuntimeInt8:
            return load<std::int8_t>(address);
        case kRuntimeInt16:
            return load<std::int16_t>(address);
        case kRuntimeInt32:
        case kRuntimeInteger:
            return load<std::int32_t>(address);
        case kRuntimeFloat:
            return truncate_real(load<float>(address));
        case kRuntimeUInt8:
            return load<std::uint8_t>(address);
        case kRuntimeDouble:
            return truncate_real(load<double>(address));
        case kRuntimeUInt16:
            return load<std::uint16_t>(address);
        default:
            return 0;
    }
}

bool is_blank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

}  // namespace

void create_runtime_registry() {
    (void)table();
}

void register_runtime_variable(std::u16string_view name, const void* address, std::uint8_t type_code) noexcept {
    Entry e;
    e.kind = Kind::variable;
    e.type_code = type_code;
    e.address = address;
    put(name, e);
}

void register_runtime_integer(std::u16string_view name, std::intptr_t value) noexcept {
    Entry e;
    e.kind = Kind::integer;
    e.integer = value;
    put(name, e);
}

void register_runtime_real(std::u16string_view name, double value) noexcept {
    Entry e;
    e.kind = Kind::real;
    e.real = value;
    put(name, e);
}

void register_runtime_pointer(std::u16string_view name, const void* pointer) noexcept {
    Entry e;
    e.kind = Kind::pointer;
    e.address = pointer;
    put(name, e);
}

bool is_runtime_name(std::u16string_view name) noexcept {
    return find(name) != nullptr;
}

std::intptr_t runtime_address(std::u16string_view name) noexcept {
    const Entry* e = find(name);
    if (!e)
        return 0;
    switch (e->kind) {
        case Kind::integer:
            return e->integer;
        case Kind::real:
            return truncate_real(e->real);
        case Kind::pointer:
            return 0;
        case Kind::variable:
            return read_variable(e->address, e->type_code);
    }
    return 0;
}

std::int32_t runtime_value(std::u16string_view name) noexcept {
    // On the 32-bit target this is the whole value; elsewhere an address keeps
    // its low half, which is what a 32-bit field can hold.
    return static_cast<std::int32_t>(runtime_address(name));
}

std::u16string_view runtime_name_spelling(std::u16string_view name) noexcept {
    const Table& t = table();
    auto it = t.find(name);
    return it == t.end() ? std::u16string_view() : std::u16string_view(it->first);
}

std::int32_t leading_decimal(std::u16string_view text) noexcept {
    std::size_t i = 0;
    while (i < text.size() && is_blank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    // Saturates at 2^31, enough for INT32_MIN and to clamp the positive side.
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > kLimit)
            value = kLimit;
    }
    if (negative)
        return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(value >= kLimit ? kLimit - 1 : value);
}

std::int32_t dialog_value(std::u16string_view text) noexcept {
    if (is_runtime_name(text))
        return runtime_value(text);
    return leading_decimal(text);
}
