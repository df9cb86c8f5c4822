// Start-up in its fixed order, the fatal-error box and the end of the program.
#include <string>

#include "app/busy_flag.h"
#include "app/clipboard_out.h"
#include "app/dpi_values.h"
#include "app/fatal_report.h"
#include "app/file_map.h"
#include "app/main_dialog.h"
#include "app/program.h"
#include "app/program_state.h"
#include "app/source_files.h"
#include "dialog/dialog.h"
#include "dialog/runtime_names.h"
#include "font/font.h"
#include "gadget/gadget.h"
#include "system/error_text.h"
#include "system/fatal_error.h"
#include "system/file.h"
#include "system/message_box.h"
#include "system/out_of_memory.h"
#include "system/run_program.h"
#include "system/runtime_services.h"
#include "system/threads.h"
#include "system/win32.h"
#include "window/drop_target.h"
#include "window/menu.h"
#include "window/posted_events.h"
#include "window/window.h"
#include "xml/xml_document.h"

namespace {

constexpr std::uint32_t kThisFile = kStartupSource;

bool g_drop_started = false;
// Why the program cannot run, found while starting; empty when nothing is wrong.
std::u16string g_start_problem;

void start_services() {
    init_xml_library();
    init_fonts();
    // A Copy's outcome comes back through it: without it every Copy would end
    // without a word.
    if (!init_posted_events())
        g_start_problem =
            u"Blobsmith cannot start.\r\n\r\n" +
            with_system_reason(u"Its window for messages between threads could not be made", last_system_error());
    init_windows();
    init_gadget_library();
    create_runtime_registry();
    init_dialog_library();
    g_drop_started = init_drop();
    init_menus();
    init_runtime_services();
}

}  // namespace

ProgramState& program_state() noexcept {
    static ProgramState state;
    return state;
}

void start_program() noexcept {
    // Window procedures and callbacks are noexcept: a failed small allocation
    // anywhere ends the program through the fatal-error box instead.
    end_process_on_failed_new();
    ProgramState& state = program_state();  // starts cleared
    state.module = GetModuleHandleW(nullptr);
    state.heap = HeapCreate(0, 4096, 0);

    start_services();
    register_dpi_variables();

    set_source_files(kSourceFileNames, std::size(kSourceFileNames));
    set_error_handler([] { fatal_error_handler(); });
    TRACK_LINE(kThisFile);

    scale_x = 1.0f;
    scale_y = 1.0f;
    compute_dpi_scale();
    set_dpi_sizes();

    state.definition = main_dialog_definition();
    (void)file_map();  // 512 buckets, made here rather than at the first drop
    state.dialog = create_dialog(PB_Any);
    // Without Consolas the gadgets keep the default font.
    state.font = load_font(PB_Any, u"Consolas", 10, 0);
}

void program_main() noexcept {
    start_program();
    TRACK_LINE(kThisFile);
    const std::u16string problem = g_start_problem.empty() ? open_main_window() : g_start_problem;
    if (!problem.empty()) {
        message_box(u"Blobsmith", problem, MB_ICONERROR);
        end_program(1);
    }
    run_event_loop();
    end_program(0);
}

void fatal_error_handler() noexcept {
    const std::u16string text = fatal_error_text(error_file(), error_line(), error_message());
    message_box(kFatalErrorCaption, text, MB_ICONERROR | MB_OK);
}

void end_program(std::uint32_t exit_code) noexcept {
    ProgramState& state = program_state();
    // Closed during a Copy: the clipboard keeps what it had, or gets the whole
    // text if the worker was already setting it, never nothing.
    close_clipboard_output();
    if (busy_flag_is_set()) {
        // The generation's thread may be anywhere, holding any lock (the
        // heap's, the loader's), and would have the ends below and
        // ExitProcess's own clean-up wait for it. The process ends here; the
        // system takes back what it holds.
        TerminateProcess(GetCurrentProcess(), exit_code);
    }

    end_threads();
    restore_error_filter();
    end_files();
    // The window's drop target goes before OLE ends, not with the window.
    if (void* hwnd = window_handle(state.window))
        remove_drop_target(hwnd);
    if (g_drop_started)
        end_drop();
    end_dialog_library();
    end_menus();
    end_gadget_library();
    end_windows();
    end_posted_events();
    end_fonts();
    end_xml_library();
    end_programs();
    if (state.heap)
        HeapDestroy(state.heap);
    ExitProcess(exit_code);
}
