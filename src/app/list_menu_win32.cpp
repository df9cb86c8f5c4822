// The file list's popup menu: "Remove selected" and "Remove ALL", made anew at
// each right-click with only the usable items enabled and bound.
#include "app/busy_flag.h"
#include "app/dropped_files.h"
#include "app/file_map.h"
#include "app/program.h"
#include "app/program_state.h"
#include "app/source_files.h"
#include "gadget/gadget.h"
#include "system/fatal_error.h"
#include "window/event_queue.h"
#include "window/menu.h"

namespace {

constexpr std::uint32_t kThisFile = kListMenuSource;
constexpr std::uint32_t kRemoveSelected = 1;
constexpr std::uint32_t kRemoveAll = 2;

// Menu 0 made anew with its two items; false when it could not be made.
bool build_list_menu() noexcept {
    TRACK_LINE(kThisFile);
    ProgramState& state = program_state();
    if (is_menu(0))
        free_menu(0);
    if (!create_list_menu(0, on_list_menu))
        return false;
    const bool has_entries = file_map().size() != 0;
    add_list_menu_item(kRemoveSelected, u"Remove selected", has_entries && gadget_get_state(state.files) != -1);
    add_list_menu_item(kRemoveAll, u"Remove ALL", has_entries);
    return true;
}

}  // namespace

void show_list_menu(void* window) noexcept {
    if (build_list_menu())
        show_popup_menu_at_cursor(0, window);
}

void show_list_menu_at(void* window, std::int32_t x, std::int32_t y) noexcept {
    if (build_list_menu())
        show_popup_menu(0, window, x, y);
}

int create_list_menu(std::intptr_t menu, EventCallback procedure) noexcept {
    ProgramState& state = program_state();
    if (create_popup_menu(menu) == 0) {
        state.menu = 0;
        state.menu_procedure = nullptr;
        return 0;
    }
    state.menu = menu;
    state.menu_procedure = procedure;
    return 1;
}

void add_list_menu_item(std::uint32_t item, const char16_t* text, bool enabled) noexcept {
    ProgramState& state = program_state();
    if (!is_menu(state.menu))
        return;
    // Never bound twice, and a disabled item has nothing bound at all.
    unbind_menu_event(state.menu, item, state.menu_procedure);
    add_menu_item(item, text);
    disable_menu_item(state.menu, item, enabled ? 0 : 1);
    set_menu_item_checked(state.menu, item, 0);
    if (enabled)
        bind_menu_event(state.menu, item, state.menu_procedure);
}

void on_list_menu() noexcept {
    TRACK_LINE(kThisFile);
    ProgramState& state = program_state();
    // Checked again here, not only when the menu opened: a Copy started while
    // it was open (by another program's click) reads the file map.
    if (!state.file_list || busy_flag_is_set())
        return;
    switch (current_event_object()) {
        case kRemoveSelected:
            remove_selected_entries(file_map(), *state.file_list);
            break;
        case kRemoveAll:
            remove_all_entries(file_map(), *state.file_list);
            break;
        default:
            break;
    }
}
