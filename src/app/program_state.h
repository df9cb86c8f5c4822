// The program's process-wide values, shared by start-up and the main window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/listview_file_list.h"
#include "app/progressbar_sink.h"
#include "window/event_bindings.h"

struct ProgramState {
    void* module = nullptr;  // the program's module handle
    void* heap = nullptr;    // the private heap, destroyed at the end
    std::intptr_t dialog = 0;
    std::intptr_t font = 0;     // 0 when Consolas could not be loaded
    std::u16string definition;  // the dialog definition until the window is open

    std::intptr_t window = -1;
    std::intptr_t progress = -1;
    std::intptr_t files = -1;
    std::intptr_t home_link = -1;
    std::intptr_t export_button = -1;
    std::intptr_t copy_button = -1;
    std::int32_t last_event = 0;

    // Menu number and item procedure of the popup menu; both 0 after a failed creation.
    std::intptr_t menu = 0;
    EventCallback menu_procedure = nullptr;

    std::optional<ListViewFileList> file_list;
    std::optional<ProgressBarSink> progress_sink;
};

[[nodiscard]] ProgramState& program_state() noexcept;
