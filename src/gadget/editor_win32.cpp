// The editor gadget: a rich-edit field from the newer rich-edit library, or
// the older one when the newer is missing; items are its lines.
#include <richedit.h>

#include <new>

#include "gadget/editor_kinds.h"
#include "gadget/gadget_internal_win32.h"
#include "system/wide.h"
#include "window/event_queue.h"
#include "window/gadget_hooks.h"
#include "window/window_properties_win32.h"

namespace {

constexpr DWORD kEditorStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_WANTRETURN |
                               ES_NOHIDESEL | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_MULTILINE;
static_assert(kEditorStyle == 0x503111C4);

struct Library {
    const wchar_t* file;
    const wchar_t* window_class;
};
Library g_libraries[2] = {{L"RICHED20.DLL", L"RichEdit20W"}, {L"RICHED32.DLL", L"RichEdit"}};
const wchar_t* g_class = nullptr;  // the class of the library that loaded
bool g_tried = false;

// The first library that loads gives the class; tried once per process.
const wchar_t* editor_class() {
    if (!g_tried) {
        g_tried = true;
        for (const Library& library : g_libraries)
            if (library.file && LoadLibraryW(library.file)) {
                g_class = library.window_class;
                break;
            }
    }
    return g_class;
}

LRESULT send(HWND control, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    return SendMessageW(control, message, wparam, lparam);
}

std::intptr_t editor_notification(GadgetObject& g, void*, unsigned message, std::uintptr_t wparam, std::intptr_t) {
    if (message != WM_COMMAND)
        return NOT_HANDLED;
    const HWND control = gadget_hwnd(g);
    switch (HIWORD(wparam)) {
        case EN_CHANGE:
            post_gadget_event(control, ET_CHANGE);
            break;
        case EN_SETFOCUS:
            post_gadget_event(control, ET_FOCUS);
            break;
        case EN_KILLFOCUS:
            post_gadget_event(control, ET_LOST_FOCUS);
            break;
    }
    return 0;
}

std::u16string editor_get_text(GadgetObject& g) {
    std::u16string text;
    return control_text(gadget_hwnd(g), text) ? text : std::u16string();
}

void editor_set_text(GadgetObject& g, const std::u16string& text) {
    SetWindowTextW(gadget_hwnd(g), wide(text));
}

std::int32_t line_count(HWND control) {
    return static_cast<std::int32_t>(send(control, EM_GETLINECOUNT));
}

// The character range of a line, with its line break when it has one.
CHARRANGE line_range(HWND control, std::int32_t line, bool with_break) {
    const auto start = static_cast<LONG>(send(control, EM_LINEINDEX, static_cast<WPARAM>(line)));
    const auto length = static_cast<LONG>(send(control, EM_LINELENGTH, static_cast<WPARAM>(start)));
    LONG end = start + length;
    if (with_break && line + 1 < line_count(control))
        end = static_cast<LONG>(send(control, EM_LINEINDEX, static_cast<WPARAM>(line + 1)));
    return {start, end};
}

void replace_range(HWND control, CHARRANGE range, const std::u16string& text) {
    send(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    send(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide(text)));
}

std::int32_t editor_add_item(GadgetObject& g, std::int32_t position, const std::u16string& text, std::uintptr_t) {
    const HWND control = gadget_hwnd(g);
    const std::int32_t lines = line_count(control);
    const bool empty = GetWindowTextLengthW(control) == 0;
    if (position < 0 || position >= lines) {
        // A new last line: after a break unless the field is empty.
        const auto end = static_cast<LONG>(GetWindowTextLengthW(control));
        replace_range(control, {end, end}, empty ? text : u"\r" + text);
        return empty ? 0 : lines;
    }
    const CHARRANGE at = line_range(control, position, false);
    replace_range(control, {at.cpMin, at.cpMin}, text + u"\r");
    return position;
}

void editor_remove_item(GadgetObject& g, std::int32_t item) {
    const HWND control = gadget_hwnd(g);
    if (item < 0 || item >= line_count(control))
        return;
    CHARRANGE range = line_range(control, item, true);
    // The last line takes the break before it along.
    if (item > 0 && item + 1 == line_count(control))
        range.cpMin = line_range(control, item - 1, false).cpMax;
    replace_range(control, range, u"");
}

void editor_clear_items(GadgetObject& g) {
    SetWindowTextW(gadget_hwnd(g), L"");
}

std::int32_t editor_count_items(GadgetObject& g) {
    const HWND control = gadget_hwnd(g);
    return GetWindowTextLengthW(control) == 0 ? 0 : line_count(control);
}

std::u16string editor_get_item_text(GadgetObject& g, std::int32_t item, std::int32_t) {
    const HWND control = gadget_hwnd(g);
    if (item < 0 || item >= line_count(control))
        return {};
    const CHARRANGE range = line_range(control, item, false);
    std::u16string text(static_cast<std::size_t>(range.cpMax - range.cpMin) + 1, u'\0');
    TEXTRANGEW request{range, reinterpret_cast<wchar_t*>(text.data())};
    const auto got = send(control, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&request));
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

std::int32_t editor_set_item_text(GadgetObject& g, std::int32_t item, const std::u16string& text, std::int32_t) {
    const HWND control = gadget_hwnd(g);
    if (item < 0 || item >= line_count(control))
        return -1;
    replace_range(control, line_range(control, item, false), text);
    return 0;
}

void set_word_wrap(HWND control, bool wrap) {
    // Target device 0 with width 0 wraps at the window's edge; width 1 does not wrap.
    send(control, EM_SETTARGETDEVICE, 0, wrap ? 0 : 1);
    if (wrap)
        SetPropW(control, kPropWordWrap, reinterpret_cast<HANDLE>(1));
    else
        RemovePropW(control, kPropWordWrap);
}

std::int32_t editor_get_attribute(GadgetObject& g, std::int32_t attribute) {
    const HWND control = gadget_hwnd(g);
    if (attribute == PB_Editor_ReadOnlyState)
        return GetWindowLongW(control, GWL_STYLE) & ES_READONLY ? 1 : 0;
    if (attribute == PB_Editor_WordWrapState)
        return GetPropW(control, kPropWordWrap) ? 1 : 0;
    return 0;
}

void editor_set_attribute(GadgetObject& g, std::int32_t attribute, std::int32_t value) {
    const HWND control = gadget_hwnd(g);
    if (attribute == PB_Editor_ReadOnlyState)
        send(control, EM_SETREADONLY, value != 0);
    else if (attribute == PB_Editor_WordWrapState)
        set_word_wrap(control, value != 0);
}

void editor_set_colour(GadgetObject& g, std::int32_t type, std::int32_t colour) {
    const HWND control = gadget_hwnd(g);
    if (type == BACK_COLOR) {
        g.back_colour = colour;
        send(control, EM_SETBKGNDCOLOR, colour == -1, colour == -1 ? 0 : static_cast<LPARAM>(colour));
    } else if (type == FRONT_COLOR) {
        g.front_colour = colour;
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_COLOR;
        format.dwEffects = colour == -1 ? CFE_AUTOCOLOR : 0;
        format.crTextColor = colour == -1 ? 0 : static_cast<COLORREF>(colour);
        send(control, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    }
}

// Brings the caret into view (the slot the editor alone fills).
void editor_show_caret(GadgetObject& g) {
    send(gadget_hwnd(g), EM_SCROLLCARET);
}

void editor_set_font(GadgetObject& g, std::uintptr_t font) {
    send(gadget_hwnd(g), WM_SETFONT, static_cast<WPARAM>(font), TRUE);
}

constexpr GadgetKindTable kEditorKind{
    .kind = kKindEditor,
    .size = kGadgetKindTableSize,
    .notification_handler = editor_notification,
    .get_text = editor_get_text,
    .set_text = editor_set_text,
    .add_item = editor_add_item,
    .remove_item = editor_remove_item,
    .clear_items = editor_clear_items,
    .count_items = editor_count_items,
    .get_item_text = editor_get_item_text,
    .set_item_text = editor_set_item_text,
    .get_attribute = editor_get_attribute,
    .set_attribute = editor_set_attribute,
    .set_colour = editor_set_colour,
    .get_colour = common_get_colour,
    .editor_hook = editor_show_caret,
    .set_font = editor_set_font,
};

}  // namespace

void set_editor_libraries(const wchar_t* newer, const wchar_t* older) {
    g_libraries[0].file = newer;
    g_libraries[1].file = older;
    g_tried = false;
    g_class = nullptr;
}

std::intptr_t editor_gadget(std::intptr_t id,
                            std::int32_t x,
                            std::int32_t y,
                            std::int32_t width,
                            std::int32_t height,
                            std::uint32_t flags) {
    const wchar_t* window_class = editor_class();
    if (!window_class)
        return 0;
    const bool wrap = flags & PB_Editor_WordWrap;
    DWORD style = (flags & ~PB_Editor_WordWrap) | kEditorStyle;
    if (wrap)
        style &= ~(WS_HSCROLL | ES_AUTOHSCROLL);
    const HWND control = create_gadget_control(WS_EX_CLIENTEDGE, window_class, u"", style, x, y, width, height);
    if (!control)
        return 0;
    GadgetObject* g = allocate_gadget(id, control);
    if (!g)
        return 0;
    g->back_colour = -1;
    g->front_colour = -1;
    const std::intptr_t result = register_gadget(id, g, control, &kEditorKind);
    EventSuppression quiet;
    send(control, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    send(control, EM_SETEVENTMASK, 0, ENM_CHANGE);
    set_word_wrap(control, wrap);
    return result;
}
