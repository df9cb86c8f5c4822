// The main window: opened from the dialog definition, its event loop, and the
// commands behind its link, buttons and file list.
#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "app/busy_flag.h"
#include "app/data_section.h"
#include "app/dpi_values.h"
#include "app/dropped_files.h"
#include "app/file_map.h"
#include "app/largest_files.h"
#include "app/left_out.h"
#include "app/main_dialog.h"
#include "app/path_report.h"
#include "app/program.h"
#include "app/program_state.h"
#include "app/source_files.h"
#include "app/version.h"
#include "dialog/dialog.h"
#include "font/font.h"
#include "gadget/gadget.h"
#include "system/error_text.h"
#include "system/fatal_error.h"
#include "system/message_box.h"
#include "system/run_program.h"
#include "system/threads.h"
#include "system/win32.h"
#include "window/drop_target.h"
#include "window/event_queue.h"
#include "window/posted_events.h"
#include "window/window.h"
#include "xml/xml_document.h"

namespace {

constexpr std::uint32_t kThisFile = kMainWindowSource;
constexpr std::uint32_t kDropFormatFiles = 15;  // the platform's dropped-file list
// Copy and link, never move: the program only reads what is dropped, and a
// source told its files were moved may delete them (Shift+drag, or a source
// that offers only a move, which is then refused).
constexpr std::uint32_t kDropActions = 5;
constexpr std::uint32_t kBoxError = 0x10;    // error icon, OK button
constexpr std::uint32_t kBoxWarning = 0x30;  // warning icon, OK button
// Paths named under each reason in a box, the rest counted; and their length
// at 96 DPI, so that a box of paths without spaces (which cannot wrap) fits a
// screen. A box's lines hold fewer characters as the DPI grows.
constexpr std::size_t kPathsPerReason = 5;
constexpr std::size_t kShownPathLength = 72;
constexpr std::size_t kShortestShownPath = 32;
constexpr std::int32_t kLinkColour = 0xCC6600;  // 0x00BBGGRR: red 0, green 102, blue 204

void free_left_out(void* left_out) {
    delete static_cast<std::vector<LeftOut>*>(left_out);
}

// The generation's thread: its outcome goes back to the GUI thread as an event,
// since only that thread may show a box or touch the window. The files left
// out go with it, owned by the event queue.
void copy_worker(void*) noexcept {
    DataSection result = generate_data_section(1);
    std::vector<LeftOut>* left_out = nullptr;
    if (!result.left_out.empty())
        left_out = new (std::nothrow) std::vector<LeftOut>(std::move(result.left_out));
    if (!post_event(kEventCopyDone, static_cast<std::intptr_t>(result.status), program_state().window, 0, left_out,
                    free_left_out))
        free_left_out(left_out);
}

std::size_t shown_path_length() {
    const float scale = scale_x > 1.0f ? scale_x : 1.0f;
    return std::max(kShortestShownPath, static_cast<std::size_t>(static_cast<float>(kShownPathLength) / scale));
}

// The items' paths under their reasons, for a box.
template <class Item, class Why>
std::u16string named_lines(const std::vector<Item>& items, Why why) {
    std::vector<ReportedPath> reported;
    reported.reserve(items.size());
    for (const Item& item : items)
        reported.push_back({item.path, why(item)});
    return paths_by_reason(std::move(reported), kPathsPerReason, shown_path_length());
}

std::u16string left_out_lines(const std::vector<LeftOut>& left_out) {
    return named_lines(left_out, [](const LeftOut& left) { return left_out_text(left); });
}

// The dialog's error, in the system's 8-bit code page.
std::u16string dialog_error_text(std::intptr_t dialog) {
    const std::string reason = dialog_error(dialog);
    std::wstring wide(reason.size() + 1, L'\0');
    const int units = MultiByteToWideChar(CP_ACP, 0, reason.data(), static_cast<int>(reason.size()), wide.data(),
                                          static_cast<int>(wide.size()));
    return std::u16string(reinterpret_cast<const char16_t*>(wide.data()), units > 0 ? units : 0);
}

// Finds the gadgets the program works with; the name of the first one the
// definition lacks, empty when it has them all. Without the check a missing
// one would be -1, which some calls take for "every gadget".
std::u16string_view find_gadgets(ProgramState& state) {
    const struct {
        std::u16string_view name;
        std::intptr_t& gadget;
    } wanted[] = {
        {u"progress", state.progress},     {u"lstFiles", state.files},      {u"lnkHome", state.home_link},
        {u"cmdSave", state.export_button}, {u"cmdCopy", state.copy_button},
    };
    for (const auto& w : wanted) {
        w.gadget = dialog_gadget(state.dialog, w.name);
        if (w.gadget == -1)
            return w.name;
    }
    return {};
}

}  // namespace

std::u16string open_main_window() noexcept {
    ProgramState& state = program_state();
    TRACK_LINE(kThisFile);
    const std::intptr_t xml = parse_xml_text(PB_Any, state.definition.c_str());
    if (is_font(state.font))
        gadget_set_font(-1, static_cast<std::intptr_t>(font_handle(state.font)));

    std::u16string problem;
    if (xml == 0 || open_xml_dialog(state.dialog, xml, u"wndMain") == 0) {
        // No dialog, or its definition not parsed, leaves no error of its own:
        // the failure must still be one.
        problem = dialog_error_text(state.dialog);
        if (problem.empty())
            problem = xml == 0 ? u"Its definition could not be read." : u"Its dialog could not be opened.";
    } else if (const std::u16string_view missing = find_gadgets(state); !missing.empty()) {
        problem = u"Its definition has no gadget named \"" + std::u16string(missing) + u"\".";
    } else if (state.window = dialog_window(state.dialog);
               !enable_window_drop(state.window, kDropFormatFiles, kDropActions)) {
        // Dropping is the only way in: a window that cannot take drops is of no use.
        problem = with_system_reason(u"Files cannot be dropped on it", last_system_error());
    } else {
        // The link starts black, like text: give it a link's blue. Not the
        // system's hot-track colour, which some themes make a pale grey.
        gadget_set_colour(state.home_link, FRONT_COLOR, kLinkColour);
        gadget_bind_event(state.home_link, on_home_link);
        gadget_bind_event(state.export_button, on_export);
        gadget_bind_event(state.copy_button, on_copy);
        gadget_bind_event(state.files, on_file_list_event);
        bind_event(kEventCopyDone, on_copy_done, -1);
        set_message_prefilter(on_window_key);

        set_window_title(state.window, u"Blobsmith v" BLOBSMITH_VERSION);
        // While a Copy runs a drop would be thrown away: the source is told so.
        set_drop_refusal(busy_flag_is_set);
        refresh_dialog(state.dialog);

        // The keys (Delete, the menu key) work from the start.
        if (const auto list = static_cast<HWND>(gadget_handle(state.files)))
            SetFocus(list);
        state.file_list.emplace(state.files);
        state.progress_sink.emplace(state.progress);
        set_generation_progress(&*state.progress_sink);
    }
    if (xml != 0)
        free_xml(xml);
    state.definition.clear();
    if (!problem.empty()) {
        // Its window, if it opened, goes before the box that says why.
        free_dialog(state.dialog);
        state.dialog = 0;
        state.window = -1;
        return u"Blobsmith cannot open its window." + (u"\r\n\r\n" + problem);
    }
    return {};
}

void run_event_loop() noexcept {
    ProgramState& state = program_state();
    for (;;) {
        TRACK_LINE(kThisFile);
        state.last_event = wait_window_event(-1);
        if (state.last_event == EV_CLOSE_WINDOW)
            break;
        if (state.last_event == EV_WINDOW_DROP && !busy_flag_is_set() && state.file_list) {
            TRACK_LINE(kThisFile);
            DropResult drop = collect_dropped_files(file_map(), dropped_files_text(), &*state.file_list);
            // A path that adds nothing would otherwise just not appear. A drop
            // of no names at all (an empty file list) has nothing to name.
            std::erase_if(drop.skipped, [](const SkippedPath& skip) { return skip.path.empty(); });
            if (!drop.skipped.empty())
                message_box(
                    u"Blobsmith",
                    u"Not added:\r\n" +
                        named_lines(drop.skipped, [](const SkippedPath& skip) { return skipped_path_text(skip); }),
                    kBoxWarning);
        }
        // Gadget and menu events were handled by their bound procedures.
    }
}

void on_home_link() noexcept {
    TRACK_LINE(kThisFile);
    if (run_program(kHomePageAddress, u"", u"") != 0)
        return;
    // A click that opens nothing would look like a dead link.
    message_box(u"Blobsmith",
                with_system_reason(u"Cannot open " + std::u16string(kHomePageAddress), last_system_error()),
                kBoxWarning);
}

void on_export() noexcept {
    TRACK_LINE(kThisFile);
    message_box(u"TODO", u"", 0);
}

void on_copy() noexcept {
    TRACK_LINE(kThisFile);
    if (busy_flag_is_set())
        return;
    // The text of an empty list holds nothing, and would only take the place
    // of what the user had on the clipboard. No Copy runs, so the map is still.
    if (file_map().empty()) {
        message_box(u"Blobsmith",
                    u"There is nothing to copy: drop files on the list first. The clipboard is unchanged.",
                    kBoxWarning);
        return;
    }
    if (!busy_flag_try_set())
        return;
    if (create_thread(copy_worker, nullptr) == 0) {
        // Nothing will clear the flag for us.
        busy_flag_clear();
        message_box(u"Blobsmith",
                    u"Copy could not start: no new thread could be made. The clipboard is unchanged; try again.",
                    kBoxError);
    }
}

void on_copy_done() noexcept {
    TRACK_LINE(kThisFile);
    const auto status = static_cast<GenerationStatus>(current_event_object());
    const auto* left_out = static_cast<const std::vector<LeftOut>*>(current_event_data());
    const char16_t* why = nullptr;
    switch (status) {
        case GenerationStatus::OutOfMemory: {
            // Which files to remove: the largest weigh most. Not while a newer
            // Copy (clicked before this news arrived) has the map.
            std::u16string text =
                u"The clipboard is unchanged: there is not enough memory for the text of these files "
                u"(a 32-bit program can hold little more than 1 GiB of it). Remove some files and try again.";
            if (const std::u16string largest =
                    busy_flag_is_set() ? std::u16string()
                                       : largest_files_lines(file_map(), kPathsPerReason, shown_path_length());
                !largest.empty())
                text += u"\r\n\r\nThe largest:\r\n" + largest;
            message_box(u"Blobsmith", text, kBoxError);
            return;
        }
        case GenerationStatus::ClipboardRefused:
            why =
                u"The clipboard is unchanged: it could not be opened (another program may be holding it). "
                u"Try Copy again.";
            break;
        case GenerationStatus::ClipboardEmptied:
            why =
                u"The clipboard did not take the text and is now empty "
                u"(another program may have been holding it). Try Copy again.";
            break;
        case GenerationStatus::ClipboardEmptiedNoMemory:
            why =
                u"The clipboard did not take the text and is now empty: there was not enough memory for "
                u"its copy of the text. Remove some files and try again.";
            break;
        case GenerationStatus::NoClipboard:
            why = u"The clipboard is unchanged: this system has no clipboard.";
            break;
        case GenerationStatus::NothingCopied:
            if (left_out)
                message_box(
                    u"Blobsmith",
                    u"The clipboard is unchanged: none of the files could be read.\r\n" + left_out_lines(*left_out),
                    kBoxError);
            return;
        case GenerationStatus::Ok:
            // Left out without a word, a file would be missed only where the
            // text is used.
            if (left_out)
                message_box(u"Blobsmith",
                            u"The text is on the clipboard, but without these files:\r\n" + left_out_lines(*left_out),
                            kBoxWarning);
            return;
    }
    if (why)
        message_box(u"Blobsmith", why, kBoxError);
}

int on_window_key(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) noexcept {
    if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN)
        return 0;
    ProgramState& state = program_state();
    const HWND focus = GetFocus();
    if (!focus)
        return 0;
    // Outside a dialog box a push button takes only the space bar. Enter held
    // down presses it once, as the space bar does.
    if (message == WM_KEYDOWN && wparam == VK_RETURN &&
        (focus == gadget_handle(state.copy_button) || focus == gadget_handle(state.export_button))) {
        constexpr std::intptr_t kWasDown = 1 << 30;
        if (!(lparam & kWasDown))
            SendMessageW(focus, BM_CLICK, 0, 0);
        return 1;
    }
    const auto list = static_cast<HWND>(gadget_handle(state.files));
    if (!list || focus != list || !state.file_list || busy_flag_is_set())
        return 0;
    TRACK_LINE(kThisFile);
    if (message == WM_KEYDOWN && wparam == VK_DELETE) {
        remove_selected_entries(file_map(), *state.file_list);
        return 1;
    }
    // A list box of many selections has no key for all of them.
    if (message == WM_KEYDOWN && wparam == 'A' && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0) {
        state.file_list->select_all();
        return 1;
    }
    if (wparam == VK_APPS || (wparam == VK_F10 && GetKeyState(VK_SHIFT) < 0)) {
        const ScreenPoint at = state.file_list->caret_point();
        show_list_menu_at(window_handle(state.window), at.x, at.y);
        return 1;
    }
    return 0;
}

void on_file_list_event() noexcept {
    TRACK_LINE(kThisFile);
    if (busy_flag_is_set() || current_event_type() != ET_RIGHT_CLICK)
        return;
    ProgramState& state = program_state();
    if (state.file_list)
        state.file_list->select_row_at_cursor();
    show_list_menu(window_handle(state.window));
}
