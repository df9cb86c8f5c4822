// The combo box gadget: a drop-down list, editable or not, optionally with an
// image before each item (then an extended combo box over an image list).
#include <algorithm>
#include <new>

#include "gadget/gadget_internal_win32.h"
#include "gadget/input_kinds.h"
#include "system/wide.h"
#include "window/gadget_hooks.h"
#include "window/window.h"

namespace {

constexpr DWORD kComboStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_GROUP;
static_assert(kComboStyle == 0x50A20000);
constexpr DWORD kListOnly = CBS_DROPDOWNLIST | WS_TABSTOP;
static_assert(kListOnly == 0x10003);
static_assert(PB_ComboBox_Editable == (CBS_DROPDOWN | CBS_AUTOHSCROLL) && PB_ComboBox_LowerCase == CBS_LOWERCASE &&
              PB_ComboBox_UpperCase == CBS_UPPERCASE);
constexpr int kListRows = 10;  // rows of room below the field for the dropped list

struct ComboRecord {
    UniqueImageList images;  // extended boxes only
    bool extended = false;
    bool editable = false;
};

ComboRecord& combo_of(GadgetObject& g) {
    return *static_cast<ComboRecord*>(g.extension);
}

LRESULT send(HWND control, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    return SendMessageW(control, message, wparam, lparam);
}

std::intptr_t combo_notification(GadgetObject& g, void*, unsigned message, std::uintptr_t wparam, std::intptr_t) {
    if (message != WM_COMMAND)
        return NOT_HANDLED;
    const HWND control = gadget_hwnd(g);
    switch (HIWORD(wparam)) {
        case CBN_SELCHANGE:
        case CBN_EDITCHANGE:
            post_gadget_event(control, ET_CHANGE);
            break;
        case CBN_SETFOCUS:
            if (combo_of(g).editable)
                post_gadget_event(control, ET_FOCUS);
            break;
        case CBN_KILLFOCUS:
            if (combo_of(g).editable)
                post_gadget_event(control, ET_LOST_FOCUS);
            break;
    }
    return 0;
}

void combo_free(GadgetObject& g) {
    delete static_cast<ComboRecord*>(g.extension);
    g.extension = nullptr;
}

std::int32_t combo_get_state(GadgetObject& g) {
    return static_cast<std::int32_t>(send(gadget_hwnd(g), CB_GETCURSEL));
}

void combo_set_state(GadgetObject& g, std::int32_t state) {
    send(gadget_hwnd(g), CB_SETCURSEL, static_cast<WPARAM>(state));
}

std::u16string ex_item_text(HWND control, std::int32_t item) {
    wchar_t buffer[1024];
    COMBOBOXEXITEMW entry{};
    entry.mask = CBEIF_TEXT;
    entry.iItem = item;
    entry.pszText = buffer;
    entry.cchTextMax = static_cast<int>(std::size(buffer));
    buffer[0] = L'\0';
    if (!send(control, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry)))
        return {};
    return from_wide(entry.pszText);
}

std::u16string combo_get_item_text(GadgetObject& g, std::int32_t item, std::int32_t) {
    const HWND control = gadget_hwnd(g);
    if (combo_of(g).extended)
        return item >= 0 && item < send(control, CB_GETCOUNT) ? ex_item_text(control, item) : std::u16string();
    const LRESULT length = send(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(item));
    if (length == CB_ERR)
        return {};
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const LRESULT got = send(control, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == CB_ERR ? 0 : static_cast<std::size_t>(got));
    return text;
}

// The window whose text is the field's text: the edit of an extended box.
HWND text_window(GadgetObject& g) {
    const HWND control = gadget_hwnd(g);
    if (combo_of(g).extended && combo_of(g).editable)
        return reinterpret_cast<HWND>(send(control, CBEM_GETEDITCONTROL));
    return control;
}

std::u16string combo_get_text(GadgetObject& g) {
    const ComboRecord& combo = combo_of(g);
    if (combo.extended && !combo.editable)
        return combo_get_item_text(g, combo_get_state(g), 0);
    std::u16string text;
    return control_text(text_window(g), text) ? text : std::u16string();
}

std::int32_t find_item(GadgetObject& g, const std::u16string& text) {
    const HWND control = gadget_hwnd(g);
    if (!combo_of(g).extended)
        return static_cast<std::int32_t>(
            send(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide(text))));
    const auto count = static_cast<std::int32_t>(send(control, CB_GETCOUNT));
    for (std::int32_t i = 0; i < count; ++i)
        if (ex_item_text(control, i) == text)
            return i;
    return -1;
}

// An editable box takes any text; a list selects the item with that text (none if no item has it).
void combo_set_text(GadgetObject& g, const std::u16string& text) {
    if (combo_of(g).editable)
        SetWindowTextW(text_window(g), wide(text));
    else
        combo_set_state(g, find_item(g, text));
}

// An extended box has its image list from the start.
bool image_index(GadgetObject& g, std::uintptr_t image, int& index) {
    return item_image_index(combo_of(g).images, gadget_hwnd(g), CBEM_SETIMAGELIST, 0, image, index);
}

std::int32_t combo_add_item(GadgetObject& g, std::int32_t position, const std::u16string& text, std::uintptr_t image) {
    const HWND control = gadget_hwnd(g);
    if (!combo_of(g).extended)
        return static_cast<std::int32_t>(
            send(control, CB_INSERTSTRING, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(wide(text))));
    COMBOBOXEXITEMW entry{};
    entry.mask = CBEIF_TEXT;
    entry.iItem = position < 0 ? send(control, CB_GETCOUNT) : position;
    entry.pszText = const_cast<wchar_t*>(wide(text));
    // Always with the mask bits: without them the box asks its parent for the
    // image; -1 shows none.
    entry.mask |= CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
    if (!image_index(g, image, entry.iImage))
        return -1;
    entry.iSelectedImage = entry.iImage;
    return static_cast<std::int32_t>(send(control, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&entry)));
}

void combo_remove_item(GadgetObject& g, std::int32_t item) {
    send(gadget_hwnd(g), combo_of(g).extended ? CBEM_DELETEITEM : CB_DELETESTRING, static_cast<WPARAM>(item));
}

void combo_clear_items(GadgetObject& g) {
    send(gadget_hwnd(g), CB_RESETCONTENT);
    if (combo_of(g).images)
        ImageList_RemoveAll(combo_of(g).images.get());
}

std::int32_t combo_count_items(GadgetObject& g) {
    return static_cast<std::int32_t>(send(gadget_hwnd(g), CB_GETCOUNT));
}

std::int32_t combo_set_item_text(GadgetObject& g, std::int32_t item, const std::u16string& text, std::int32_t) {
    const HWND control = gadget_hwnd(g);
    if (item < 0 || item >= send(control, CB_GETCOUNT))
        return -1;
    if (combo_of(g).extended) {
        COMBOBOXEXITEMW entry{};
        entry.mask = CBEIF_TEXT;
        entry.iItem = item;
        entry.pszText = const_cast<wchar_t*>(wide(text));
        return send(control, CBEM_SETITEMW, 0, reinterpret_cast<LPARAM>(&entry)) ? 0 : -1;
    }
    // A list item's text cannot change in place: replace it, keeping its data and the selection.
    const LRESULT data = send(control, CB_GETITEMDATA, static_cast<WPARAM>(item));
    const LRESULT selected = send(control, CB_GETCURSEL);
    send(control, CB_DELETESTRING, static_cast<WPARAM>(item));
    send(control, CB_INSERTSTRING, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(wide(text)));
    send(control, CB_SETITEMDATA, static_cast<WPARAM>(item), data);
    if (selected == item)
        send(control, CB_SETCURSEL, static_cast<WPARAM>(item));
    return 0;
}

// The height given is the field's; the window gets room below it for the dropped list.
void combo_resize(GadgetObject& g, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    const HWND control = gadget_hwnd(g);
    if (height == kIgnore) {
        const RECT r = control_rect(control);
        height = r.bottom - r.top;
    }
    const auto row = static_cast<std::int32_t>(send(control, CB_GETITEMHEIGHT, 0));
    height += std::max(row, 1) * kListRows + 2;
    gadget_default_resize(g, x, y, width, height);
}

void combo_set_item_data(GadgetObject& g, std::int32_t item, std::intptr_t value) {
    send(gadget_hwnd(g), CB_SETITEMDATA, static_cast<WPARAM>(item), value);
}

std::intptr_t combo_get_item_data(GadgetObject& g, std::int32_t item) {
    return send(gadget_hwnd(g), CB_GETITEMDATA, static_cast<WPARAM>(item));
}

// Height: the closed field as the control sizes it; width: the widest item beside the arrow.
void combo_required_size(GadgetObject& g, std::int32_t& width, std::int32_t& height) {
    const HWND control = gadget_hwnd(g);
    RECT r{};
    GetWindowRect(control, &r);
    height = r.bottom - r.top;
    std::int32_t widest = 0;
    (void)measure_in_control_font(control, [&](HDC dc) {
        const std::int32_t count = combo_count_items(g);
        for (std::int32_t i = 0; i < count; ++i) {
            const std::u16string text = combo_get_item_text(g, i, 0);
            SIZE extent{};
            GetTextExtentPoint32W(dc, wide(text), static_cast<int>(text.size()), &extent);
            widest = std::max<std::int32_t>(widest, extent.cx);
        }
    });  // without a device context: the width of no text
    const std::int32_t image = combo_of(g).extended ? kItemImageSize + 4 : 0;
    width = widest + image + GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE) + 8;
}

void combo_set_font(GadgetObject& g, std::uintptr_t font) {
    const HWND control = gadget_hwnd(g);
    send(control, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    // The extended box's field keeps its own font otherwise.
    if (combo_of(g).extended && combo_of(g).editable)
        if (HWND edit = text_window(g))
            send(edit, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
}

void combo_set_item_image(GadgetObject& g, std::int32_t item, std::uintptr_t image) {
    if (!combo_of(g).extended)
        return;
    COMBOBOXEXITEMW entry{};
    entry.mask = CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
    entry.iItem = item;
    if (!image_index(g, image, entry.iImage))
        return;
    entry.iSelectedImage = entry.iImage;
    send(gadget_hwnd(g), CBEM_SETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
    InvalidateRect(gadget_hwnd(g), nullptr, TRUE);
}

constexpr GadgetKindTable kComboBoxKind{
    .kind = kKindComboBox,
    .size = kGadgetKindTableSize,
    .notification_handler = combo_notification,
    .free_hook = combo_free,
    .get_state = combo_get_state,
    .set_state = combo_set_state,
    .get_text = combo_get_text,
    .set_text = combo_set_text,
    .add_item = combo_add_item,
    .remove_item = combo_remove_item,
    .clear_items = combo_clear_items,
    .resize = combo_resize,
    .count_items = combo_count_items,
    .get_item_text = combo_get_item_text,
    .set_item_text = combo_set_item_text,
    .set_item_data = combo_set_item_data,
    .get_item_data = combo_get_item_data,
    .required_size = combo_required_size,
    .set_font = combo_set_font,
    .set_item_image = combo_set_item_image,
};

}  // namespace

std::intptr_t combobox_gadget(std::intptr_t id,
                              std::int32_t x,
                              std::int32_t y,
                              std::int32_t width,
                              std::int32_t height,
                              std::uint32_t flags) {
    const bool extended = flags & PB_ComboBox_Image;
    const bool editable = (flags & PB_ComboBox_Editable) == PB_ComboBox_Editable;
    auto* combo = new (std::nothrow) ComboRecord{{}, extended, editable};
    if (!combo)
        return 0;
    if (extended) {
        combo->images = make_item_image_list();
        if (!combo->images) {
            delete combo;
            return 0;
        }
    }
    const DWORD style = flags | kComboStyle | (editable ? 0 : kListOnly);
    const HWND control =
        create_gadget_control(0, extended ? WC_COMBOBOXEXW : L"ComboBox", u"", style, x, y, width, height);
    GadgetObject* g = control ? allocate_gadget(id, control) : nullptr;
    if (!g) {
        delete combo;
        return 0;
    }
    g->extension = combo;
    if (extended)
        send(control, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(combo->images.get()));
    return register_gadget(id, g, control, &kComboBoxKind);
}
