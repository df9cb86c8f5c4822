// Fuzz target for opening dialog definitions: arbitrary markup goes through
// open_xml_dialog, the layout runs and the lookups over a recording platform.
// Whatever the definition, nothing may crash, overflow or leak, a failure
// leaves no window and no binding, and sizes stay within the layout range.
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "../native/dialog/fake_dialog_platform.h"
#include "dialog/dialog.h"
#include "dialog/runtime_names.h"
#include "window/event_bindings.h"
#include "window/event_queue.h"
#include "xml/xml_document.h"

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

void handler() {}

std::int32_t g_values[4] = {600, 420, 86, 24};

void start() {
    init_event_queue();
    init_xml_library();
    create_runtime_registry();
    init_dialog_library();
    register_runtime_variable(u"DPIx1", &g_values[0], kRuntimeInteger);
    register_runtime_variable(u"DPIy1", &g_values[1], kRuntimeInteger);
    register_runtime_variable(u"DPIx3", &g_values[2], kRuntimeInteger);
    register_runtime_variable(u"DPIy4", &g_values[3], kRuntimeInteger);
    register_runtime_integer(u"handler", reinterpret_cast<std::intptr_t>(&handler));
    register_runtime_integer(u"#GADGET", 7);
    // One name of every other kind and width, with values at their edges: a
    // real or variable must be read and clamped, never overflow.
    static const std::int8_t small8 = -128;
    static const std::int16_t small16 = -32768;
    static const std::uint8_t byte8 = 255;
    static const std::uint16_t word16 = 65535;
    static const float inf32 = std::numeric_limits<float>::infinity();
    static const double nan64 = std::numeric_limits<double>::quiet_NaN();
    register_runtime_variable(u"small8", &small8, kRuntimeInt8);
    register_runtime_variable(u"small16", &small16, kRuntimeInt16);
    register_runtime_variable(u"byte8", &byte8, kRuntimeUInt8);
    register_runtime_variable(u"word16", &word16, kRuntimeUInt16);
    register_runtime_variable(u"inf32", &inf32, kRuntimeFloat);
    register_runtime_variable(u"nan64", &nan64, kRuntimeDouble);
    register_runtime_real(u"huge", 1e300);
    register_runtime_pointer(u"pointer", &g_values[0]);
}

}  // namespace

// First byte: bit 0 opens the window named "w" (else the unnamed one); bit 1
// asks for a window of 1000 x 1000; bit 2 makes every gadget report a huge
// required size; bits 3 and 4 refuse windows or gadgets; bit 5 opens the
// definition a second time in the same dialog; bit 6 frees the dialog from
// inside its third gadget resize, as a handler may; bit 7 refuses lists. The
// rest is the definition, one byte per unit.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool started = (start(), true);
    (void)started;
    const std::uint8_t mode = size ? data[0] : 0;
    if (size)
        ++data, --size;
    const std::u16string text(data, data + size);

    FakeDialogPlatform fake;
    fake.refuse_windows = mode & 8;
    fake.refuse_gadgets = mode & 16;
    fake.item_height = (mode & 4) ? 2'000'000'000 : 13;
    fake.refuse_lists = mode & 128;
    set_dialog_platform(&fake);
    for (const char16_t* t : {u"", u"x", u"Copy", u"a"})
        fake.required[t] = (mode & 4) ? LayoutSize{2'000'000'000, 2'000'000'000} : LayoutSize{40, 20};

    const std::intptr_t document = parse_xml_text(PB_Any, text.c_str(), text.size());
    check(document != 0);
    const std::intptr_t dialog = create_dialog(PB_Any);
    check(dialog != 0);
    int resizes = 0;
    if (mode & 64)
        fake.on_resize = [&](std::intptr_t) {
            if (++resizes == 3)
                free_dialog(dialog);
        };
    const std::int32_t asked = (mode & 2) ? 1000 : 0;
    const std::u16string_view name = (mode & 1) ? u"w" : u"";
    int opened = open_xml_dialog(dialog, document, name, 0, 0, asked, asked);
    const bool first_opened = opened;
    // Every list a container opened is closed again, and none more, whether
    // the opening succeeded or failed.
    check(fake.unbalanced_closes == 0);
    check(fake.lists.empty());
    // A second opening replaces the tree; the first window stays (closed below).
    if ((mode & 32) && is_dialog(dialog)) {
        opened = open_xml_dialog(dialog, document, name, 0, 0, asked, asked);
        check(fake.unbalanced_closes == 0);
        check(fake.lists.empty());
    }
    free_xml(document);

    if (opened) {
        const std::intptr_t window = dialog_window(dialog);
        check(window != -1 && fake.is_window(window));
        check(dialog_error(dialog).empty());
        for (const auto& [id, w] : fake.windows) {
            check(w.size.width >= -kLayoutLimit && w.size.width <= kLayoutLimit);
            check(w.size.height >= -kLayoutLimit && w.size.height <= kLayoutLimit);
        }
        const auto in_range = [](std::int32_t v) { return v >= -kLayoutLimit && v <= kLayoutLimit; };
        for (const auto& [id, g] : fake.gadgets)
            check(in_range(g.rect.x) && in_range(g.rect.y) && in_range(g.rect.width) && in_range(g.rect.height));
        (void)dialog_gadget(dialog, u"a");
        (void)dialog_gadget(dialog, u"");
        refresh_dialog(dialog);
        // The window goes once a handler freed the dialog.
        for (const LayoutSize size : {LayoutSize{7, 3}, LayoutSize{5000, 5000}}) {
            if (!fake.is_window(window))
                break;
            fake.windows.at(window).size = size;
            queue_event(EV_SIZE_WINDOW, 0, window, 0);
        }
        check(is_dialog(dialog) == fake.is_window(window));
    } else {
        check(dialog_window(dialog) == -1);
        check(first_opened || fake.windows.empty());
    }
    free_dialog(dialog);
    fake.on_resize = nullptr;
    // A first opening's window outlives its tree; closing it drops its bindings.
    if (mode & 32)
        while (!fake.windows.empty())
            fake.close_window(fake.windows.begin()->first);
    // Every window the opening made is closed with it, and no binding stays.
    check(fake.windows.empty());
    check(binding_entry_count() == 0);
    while (take_next_event() != 0) {
    }
    set_dialog_platform(nullptr);
    return 0;
}
