// What the gadget core shares with the kind files: the library state, the
// creation pipeline, the common colour slots and text measurement.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/object_library.h"
#include "gadget/date_format.h"
#include "gadget/gadget.h"
#include "gadget/gadget_kind_table.h"
#include "gadget/gadget_list_stack.h"
#include "gadget/gadget_size_rules.h"
#include "system/handles_win32.h"
#include "system/win32.h"

#include <commctrl.h>

struct GadgetLibraryState {
    GadgetListState lists;
    bool option_run = false;  // an option gadget was created last
    HFONT new_gadget_font = nullptr;
    HBRUSH panel_brush = nullptr;
};

[[nodiscard]] GadgetLibraryState& gadget_library_state();
[[nodiscard]] HFONT gadget_default_font();
// Null before init_gadget_library.
[[nodiscard]] ObjectLibrary<GadgetObject>* gadget_registry();

// A text argument: null counts as empty.
[[nodiscard]] inline std::u16string text_or_empty(const char16_t* text) {
    return text ? std::u16string(text) : std::u16string();
}

// The live record of a gadget id (handles validated), or null.
[[nodiscard]] GadgetObject* gadget_object(std::intptr_t id);
// The gadget of a native control, through its identifier, or null.
[[nodiscard]] GadgetObject* gadget_of_control(HWND control);
[[nodiscard]] inline HWND gadget_hwnd(const GadgetObject& g) {
    return static_cast<HWND>(g.handle);
}

// Creation pipeline: the control in the current gadget list (null on failure),
// its record (null on failure, the control is destroyed then), and the common
// tail that makes it a gadget and gives the create operation its result.
[[nodiscard]] HWND create_gadget_control(DWORD ex_style,
                                         const wchar_t* class_name,
                                         const char16_t* text,
                                         DWORD style,
                                         std::int32_t x,
                                         std::int32_t y,
                                         std::int32_t width,
                                         std::int32_t height,
                                         LONG_PTR control_id = -1);
[[nodiscard]] GadgetObject* allocate_gadget(std::intptr_t id, HWND control);
// allocate_gadget for a kind with a record of its own, which the gadget then
// holds as its extension, with the system's colours. On failure neither the
// control nor the record is left.
template <class Record>
[[nodiscard]] GadgetObject* allocate_gadget_with(std::intptr_t id, HWND control, Record* record) {
    GadgetObject* g = control ? allocate_gadget(id, control) : nullptr;
    if (!g) {
        delete record;
        return nullptr;
    }
    g->back_colour = -1;
    g->front_colour = -1;
    g->extension = record;
    return g;
}
// Undoes allocate_gadget when a kind's own set-up fails after it.
void abandon_gadget(std::intptr_t id, GadgetObject* record, HWND control);
std::intptr_t register_gadget(std::intptr_t id, GadgetObject* record, HWND control, const GadgetKindTable* table);

LRESULT CALLBACK gadget_subclass_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept;
// Releases everything of a gadget whose control is going (or cannot be destroyed).
void tear_down_gadget(HWND control, std::intptr_t id);

// The hooks installed into the window library.
std::intptr_t gadget_route(void* control, void* parent, unsigned message, std::uintptr_t wparam, std::intptr_t lparam);
void* gadget_use_list(void* window);
void end_gadget_lists();

// Colours in words 5 to 7, shared by the kinds with colours.
void common_set_colour(GadgetObject& g, std::int32_t type, std::int32_t colour);
[[nodiscard]] std::int32_t common_get_colour(GadgetObject& g, std::int32_t type);
void common_free_hook(GadgetObject& g);
// gadget_add_items for a list view: one batch straight to the list box.
void listview_append_items(GadgetObject& g, std::span<const char16_t* const> texts);
// The answer to a control-colour message, or NOT_HANDLED for the platform's colours.
[[nodiscard]] std::intptr_t colour_answer(GadgetObject& g, HDC dc, int system_colour);

// Calls measure(dc) with a device context of the control that has the
// control's font (WM_GETFONT) selected; false, and measure not called, when
// the control gives no device context.
template <class Measure>
[[nodiscard]] bool measure_in_control_font(HWND control, Measure&& measure) {
    const WindowDc dc(control);
    if (!dc)
        return false;
    const SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    measure(dc.get());
    return true;
}
// The control's whole window text; false when it cannot be held.
[[nodiscard]] bool control_text(HWND control, std::u16string& text);
// The control's text in its own font: one line (GetTextExtentPoint32W) or as
// DrawTextW lays it out. False when the text cannot be held.
enum class TextMeasure { OneLine, Block };
[[nodiscard]] bool measure_control_text(HWND control, TextMeasure how, GadgetSize& size);
[[nodiscard]] GadgetSize system_edge();
// A required-size slot's common shape: the measured text through rule, or 0
// and 0 when the text cannot be held.
template <class Rule>
void required_size_from_text(GadgetObject& g, TextMeasure how, std::int32_t& width, std::int32_t& height, Rule rule) {
    GadgetSize measured;
    const GadgetSize size =
        measure_control_text(static_cast<HWND>(g.handle), how, measured) ? rule(measured) : GadgetSize{};
    width = size.width;
    height = size.height;
}

// Replaces the current gadget list without nesting (a panel's new page).
void set_current_gadget_list(void* window);
// push_gadget_list for the kinds that hold gadgets: false, and the lists as
// they were, when the nesting stack cannot grow.
[[nodiscard]] inline bool nest_gadget_list(void* window) {
    return gadget_list_push(gadget_library_state().lists, window);
}
// The last step of creating a kind that holds gadgets (result is what
// register_gadget gave): list becomes the current gadget list. When it cannot,
// the new gadget is freed and the result is 0, so that the caller's
// gadget_close_list does not close the list around it.
[[nodiscard]] std::intptr_t nest_new_gadget_list(std::intptr_t id, std::intptr_t result, HWND list);

// The default of gadget_resize, for kinds whose own resize adds to it.
void gadget_default_resize(GadgetObject& g, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
// The control's window rectangle in its parent's client coordinates.
[[nodiscard]] RECT control_rect(HWND control);

// A helper control of a gadget (the spin's up-down): its notifications reach
// the notification handler of the gadget whose control is owner.
void set_helper_control(HWND helper, HWND owner);

// Registers a window class of the kinds once per process; false on failure.
[[nodiscard]] bool register_kind_class(const wchar_t* name, WNDPROC proc, int extra_bytes, HBRUSH background);

// The height of "Hg" in the control's font (one text line).
[[nodiscard]] std::int32_t line_height(HWND control);

// Required size of the check box and option kinds: the box beside the text.
void check_kind_required_size(GadgetObject& g, std::int32_t& width, std::int32_t& height);

// Adds a copy of a native bitmap (scaled to the list's size) or icon to an
// image list; returns its index, -1 for no image or on failure.
int add_to_image_list(HIMAGELIST list, std::uintptr_t image);

namespace handle_traits {
inline void destroy_image_list(HIMAGELIST list) {
    ImageList_Destroy(list);
}
struct ImageList : Closer<HIMAGELIST, destroy_image_list> {
    using Handle = HIMAGELIST;
    static Handle invalid() noexcept { return nullptr; }
};
}  // namespace handle_traits
using UniqueImageList = UniqueHandle<handle_traits::ImageList>;

// The size of the items' images in the kinds with images.
inline constexpr int kItemImageSize = 16;
// An empty list for the items' images; null on failure.
[[nodiscard]] UniqueImageList make_item_image_list();
// An item image's index in a kind's image list, -1 for no image. A list not
// made yet is made and handed to the control with set_list (wparam which).
// False when an image was given but the list cannot hold it.
[[nodiscard]] bool item_image_index(UniqueImageList& list,
                                    HWND control,
                                    UINT set_list,
                                    WPARAM which,
                                    std::uintptr_t image,
                                    int& index);

// A gadget's own copy of a native bitmap or icon (icon tells which), null for
// none or on failure; deleted with delete_picture. Its size in pixels.
[[nodiscard]] HANDLE copy_picture(std::uintptr_t image, bool& icon);
void delete_picture(HANDLE picture, bool icon);
[[nodiscard]] GadgetSize picture_size(HANDLE picture, bool icon);

// Date values of the date gadgets and the platform's time record.
[[nodiscard]] std::int32_t date_from_system_time(const SYSTEMTIME& time);
[[nodiscard]] SYSTEMTIME system_time_from_date(std::int32_t date);

// The rich-edit libraries the editor kind tries, newer first (null: none);
// the next editor loads again. For tests of the fallback.
void set_editor_libraries(const wchar_t* newer, const wchar_t* older);

// The class of object the web kind hosts (a CLSID; null: the system's web
// browser). For tests of a system without one.
void set_web_browser_class(const void* clsid);

// The roots of the drives ("C:\\" …), as the system lists them.
[[nodiscard]] std::vector<std::u16string> drive_roots();

// The colour a hyperlink paints its text in now: -1 while disabled (grey), 0 for no hyperlink.
[[nodiscard]] std::int32_t hyperlink_paint_colour(std::intptr_t gadget);
