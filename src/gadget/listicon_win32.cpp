// The list icon gadget: a report-view list with columns, item images, check
// boxes, per-item colours and item data.
#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "gadget/gadget_internal_win32.h"
#include "gadget/list_kinds.h"
#include "system/wide.h"
#include "window/gadget_hooks.h"
#include "window/window_properties_win32.h"

namespace {

constexpr DWORD kListIconStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHAREIMAGELISTS;
static_assert(kListIconStyle == 0x50010041);

struct ItemColours {
    std::int32_t front = -1, back = -1;
};

struct ItemRecord {
    std::intptr_t data = 0;
    std::vector<ItemColours> columns;
};

struct ListIconRecord {
    UniqueImageList images;
    // The check boxes' pictures, which the control makes but, sharing its
    // image lists, never destroys.
    UniqueImageList states;
    std::vector<std::unique_ptr<ItemRecord>> items;
};

ListIconRecord& list_of(GadgetObject& g) {
    return *static_cast<ListIconRecord*>(g.extension);
}

LRESULT send(HWND control, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    return SendMessageW(control, message, wparam, lparam);
}

std::int32_t item_count(HWND control) {
    return static_cast<std::int32_t>(send(control, LVM_GETITEMCOUNT));
}

ItemRecord* item_record(HWND control, std::int32_t item) {
    LVITEMW entry{};
    entry.mask = LVIF_PARAM;
    entry.iItem = item;
    if (item < 0 || !send(control, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry)))
        return nullptr;
    return reinterpret_cast<ItemRecord*>(entry.lParam);
}

void forget(ListIconRecord& list, ItemRecord* record) {
    std::erase_if(list.items, [record](const std::unique_ptr<ItemRecord>& r) { return r.get() == record; });
}

COLORREF system_or(std::int32_t colour, int system_colour) {
    return colour == -1 ? GetSysColor(system_colour) : static_cast<COLORREF>(colour);
}

LRESULT custom_draw(GadgetObject& g, NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            const auto* record = reinterpret_cast<const ItemRecord*>(draw.nmcd.lItemlParam);
            ItemColours colours;
            if (record && draw.iSubItem >= 0 && static_cast<std::size_t>(draw.iSubItem) < record->columns.size())
                colours = record->columns[static_cast<std::size_t>(draw.iSubItem)];
            draw.clrText = system_or(colours.front != -1 ? colours.front : static_cast<std::int32_t>(g.front_colour),
                                     COLOR_WINDOWTEXT);
            draw.clrTextBk =
                system_or(colours.back != -1 ? colours.back : static_cast<std::int32_t>(g.back_colour), COLOR_WINDOW);
            return CDRF_NEWFONT;
        }
    }
    return CDRF_DODEFAULT;
}

std::intptr_t listicon_notification(GadgetObject& g, void*, unsigned message, std::uintptr_t, std::intptr_t lparam) {
    if (message != WM_NOTIFY)
        return NOT_HANDLED;
    const HWND control = gadget_hwnd(g);
    auto* header = reinterpret_cast<NMHDR*>(lparam);
    switch (header->code) {
        case NM_CLICK:
            post_gadget_event(control, ET_LEFT_CLICK);
            return 0;
        case NM_RCLICK:
            post_gadget_event(control, ET_RIGHT_CLICK);
            return 0;
        case NM_DBLCLK:
            post_gadget_event(control, ET_LEFT_DOUBLE_CLICK);
            return 0;
        case LVN_BEGINDRAG:
            post_gadget_event(control, ET_DRAG_START);
            return 0;
        case LVN_ITEMCHANGED: {
            const auto* change = reinterpret_cast<const NMLISTVIEW*>(lparam);
            const UINT changed = (change->uOldState ^ change->uNewState) & (LVIS_SELECTED | LVIS_STATEIMAGEMASK);
            if (!(change->uChanged & LVIF_STATE) || !changed || change->iItem < 0)
                return 0;
            if (change->uNewState & LVIS_SELECTED)
                SetPropW(control, kPropLastSelected,
                         reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(change->iItem)));
            post_gadget_event(control, ET_CHANGE);
            return 0;
        }
        case NM_CUSTOMDRAW:
            return custom_draw(g, *reinterpret_cast<NMLVCUSTOMDRAW*>(lparam));
    }
    return NOT_HANDLED;
}

void listicon_free(GadgetObject& g) {
    RemovePropW(gadget_hwnd(g), kPropLastSelected);
    delete static_cast<ListIconRecord*>(g.extension);
    g.extension = nullptr;
}

std::int32_t first_selected(HWND control) {
    return static_cast<std::int32_t>(send(control, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::int32_t listicon_get_state(GadgetObject& g) {
    return first_selected(gadget_hwnd(g));
}

void set_item_bits(HWND control, std::int32_t item, UINT state, UINT mask) {
    LVITEMW entry{};
    entry.stateMask = mask;
    entry.state = state;
    send(control, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&entry));
}

void listicon_set_state(GadgetObject& g, std::int32_t state) {
    const HWND control = gadget_hwnd(g);
    set_item_bits(control, -1, 0, LVIS_SELECTED);
    if (state >= 0 && state < item_count(control)) {
        set_item_bits(control, state, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        send(control, LVM_ENSUREVISIBLE, static_cast<WPARAM>(state), FALSE);
    }
}

std::u16string listicon_get_item_text(GadgetObject& g, std::int32_t item, std::int32_t column) {
    const HWND control = gadget_hwnd(g);
    if (item < 0 || item >= item_count(control))
        return {};
    wchar_t buffer[1024] = {};
    LVITEMW entry{};
    entry.iSubItem = column;
    entry.pszText = buffer;
    entry.cchTextMax = static_cast<int>(std::size(buffer));
    const auto length = send(control, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&entry));
    return from_wide(buffer, static_cast<std::size_t>(length));
}

std::int32_t listicon_set_item_text(GadgetObject& g,
                                    std::int32_t item,
                                    const std::u16string& text,
                                    std::int32_t column) {
    const HWND control = gadget_hwnd(g);
    if (item < 0 || item >= item_count(control))
        return -1;
    LVITEMW entry{};
    entry.iSubItem = column;
    entry.pszText = const_cast<wchar_t*>(wide(text));
    return send(control, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&entry)) ? 0 : -1;
}

std::u16string listicon_get_text(GadgetObject& g) {
    return listicon_get_item_text(g, first_selected(gadget_hwnd(g)), 0);
}

// Selects the first item whose first column has the text (none if no item has it).
void listicon_set_text(GadgetObject& g, const std::u16string& text) {
    const std::int32_t count = item_count(gadget_hwnd(g));
    std::int32_t found = -1;
    for (std::int32_t i = 0; i < count && found < 0; ++i)
        if (listicon_get_item_text(g, i, 0) == text)
            found = i;
    listicon_set_state(g, found);
}

bool image_index(GadgetObject& g, std::uintptr_t image, int& index) {
    return item_image_index(list_of(g).images, gadget_hwnd(g), LVM_SETIMAGELIST, LVSIL_SMALL, image, index);
}

std::int32_t listicon_add_item(GadgetObject& g,
                               std::int32_t position,
                               const std::u16string& text,
                               std::uintptr_t image) {
    const HWND control = gadget_hwnd(g);
    ListIconRecord& list = list_of(g);
    int image_at = -1;
    if (!image_index(g, image, image_at))
        return -1;
    auto record = std::unique_ptr<ItemRecord>(new (std::nothrow) ItemRecord{});
    if (!record)
        return -1;
    // Columns are separated by LF.
    std::vector<std::u16string> columns(1);
    for (char16_t c : text) {
        if (c == u'\n')
            columns.emplace_back();
        else
            columns.back() += c;
    }
    const std::int32_t count = item_count(control);
    LVITEMW entry{};
    entry.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    entry.iItem = position < 0 || position > count ? count : position;
    entry.pszText = const_cast<wchar_t*>(wide(columns[0]));
    entry.lParam = reinterpret_cast<LPARAM>(record.get());
    entry.iImage = image_at;
    // Kept before the item points at it: the item never holds a record nobody owns.
    ItemRecord* const kept = record.get();
    list.items.push_back(std::move(record));
    const auto index = static_cast<std::int32_t>(send(control, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&entry)));
    if (index < 0) {
        forget(list, kept);
        return -1;
    }
    for (std::size_t c = 1; c < columns.size(); ++c)
        listicon_set_item_text(g, index, columns[c], static_cast<std::int32_t>(c));
    return index;
}

void listicon_remove_item(GadgetObject& g, std::int32_t item) {
    const HWND control = gadget_hwnd(g);
    ItemRecord* record = item_record(control, item);
    if (record && send(control, LVM_DELETEITEM, static_cast<WPARAM>(item)))
        forget(list_of(g), record);
}

void listicon_clear_items(GadgetObject& g) {
    send(gadget_hwnd(g), LVM_DELETEALLITEMS);
    list_of(g).items.clear();
    if (list_of(g).images)
        ImageList_RemoveAll(list_of(g).images.get());
}

std::int32_t listicon_count_items(GadgetObject& g) {
    return item_count(gadget_hwnd(g));
}

std::int32_t listicon_get_item_state(GadgetObject& g, std::int32_t item) {
    const HWND control = gadget_hwnd(g);
    if (item < 0 || item >= item_count(control))
        return 0;
    const auto state = static_cast<UINT>(
        send(control, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED | LVIS_STATEIMAGEMASK));
    std::int32_t result = state & LVIS_SELECTED ? PB_ListIcon_Selected : 0;
    const UINT check = (state & LVIS_STATEIMAGEMASK) >> 12;  // 1 unchecked, 2 checked, 3 in between
    if (check == 2)
        result |= PB_ListIcon_Checked;
    else if (check == 3)
        result |= PB_ListIcon_Inbetween;
    return result;
}

void listicon_set_item_state(GadgetObject& g, std::int32_t item, std::int32_t state) {
    const HWND control = gadget_hwnd(g);
    if (item < 0 || item >= item_count(control))
        return;
    set_item_bits(control, item, state & PB_ListIcon_Selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
    if (send(control, LVM_GETEXTENDEDLISTVIEWSTYLE) & LVS_EX_CHECKBOXES) {
        const UINT check = state & PB_ListIcon_Inbetween ? 3 : state & PB_ListIcon_Checked ? 2 : 1;
        set_item_bits(control, item, INDEXTOSTATEIMAGEMASK(check), LVIS_STATEIMAGEMASK);
    }
}

std::int32_t listicon_add_column(GadgetObject& g,
                                 std::int32_t position,
                                 const std::u16string& title,
                                 std::int32_t width) {
    const HWND control = gadget_hwnd(g);
    const auto header = reinterpret_cast<HWND>(send(control, LVM_GETHEADER));
    const auto count = static_cast<std::int32_t>(header ? send(header, HDM_GETITEMCOUNT) : 0);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(wide(title));
    column.cx = width;
    const std::int32_t at = position < 0 || position > count ? count : position;
    column.iSubItem = at;
    return static_cast<std::int32_t>(
        send(control, LVM_INSERTCOLUMNW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&column)));
}

std::int32_t column_count(HWND control) {
    const auto header = reinterpret_cast<HWND>(send(control, LVM_GETHEADER));
    return header ? static_cast<std::int32_t>(send(header, HDM_GETITEMCOUNT)) : 0;
}

void listicon_remove_column(GadgetObject& g, std::int32_t column) {
    const HWND control = gadget_hwnd(g);
    if (column == -1) {
        for (std::int32_t c = column_count(control); c > 0; --c)
            send(control, LVM_DELETECOLUMN, static_cast<WPARAM>(c - 1));
        return;
    }
    send(control, LVM_DELETECOLUMN, static_cast<WPARAM>(column));
}

constexpr DWORD kModes[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};

std::int32_t listicon_get_attribute(GadgetObject& g, std::int32_t attribute) {
    const HWND control = gadget_hwnd(g);
    if (attribute == PB_ListIcon_DisplayMode) {
        const DWORD type = GetWindowLongW(control, GWL_STYLE) & LVS_TYPEMASK;
        return static_cast<std::int32_t>(std::find(std::begin(kModes), std::end(kModes), type) - std::begin(kModes));
    }
    if (attribute == PB_ListIcon_ColumnCount)
        return column_count(control);
    return 0;
}

void listicon_set_attribute(GadgetObject& g, std::int32_t attribute, std::int32_t value) {
    if (attribute != PB_ListIcon_DisplayMode || value < 0 || value > 3)
        return;
    const HWND control = gadget_hwnd(g);
    const LONG style = GetWindowLongW(control, GWL_STYLE) & ~LVS_TYPEMASK;
    SetWindowLongW(control, GWL_STYLE, style | static_cast<LONG>(kModes[value]));
}

std::int32_t listicon_get_item_attribute(GadgetObject& g, std::int32_t, std::int32_t attribute, std::int32_t column) {
    if (attribute != PB_ListIcon_ColumnWidth)
        return 0;
    return static_cast<std::int32_t>(send(gadget_hwnd(g), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
}

void listicon_set_item_attribute(GadgetObject& g,
                                 std::int32_t,
                                 std::int32_t attribute,
                                 std::int32_t value,
                                 std::int32_t column) {
    if (attribute == PB_ListIcon_ColumnWidth)
        send(gadget_hwnd(g), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), value);
}

void listicon_set_colour(GadgetObject& g, std::int32_t type, std::int32_t colour) {
    const HWND control = gadget_hwnd(g);
    if (type == FRONT_COLOR) {
        g.front_colour = colour;
        send(control, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(system_or(colour, COLOR_WINDOWTEXT)));
    } else if (type == BACK_COLOR) {
        g.back_colour = colour;
        send(control, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(system_or(colour, COLOR_WINDOW)));
        send(control, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(system_or(colour, COLOR_WINDOW)));
    }
    InvalidateRect(control, nullptr, TRUE);
}

ItemColours* colours_of(HWND control, std::int32_t item, std::int32_t column, bool grow) {
    ItemRecord* record = item_record(control, item);
    if (!record || column < 0 || column > 255)
        return nullptr;
    if (static_cast<std::size_t>(column) >= record->columns.size()) {
        if (!grow)
            return nullptr;
        record->columns.resize(static_cast<std::size_t>(column) + 1);
    }
    return &record->columns[static_cast<std::size_t>(column)];
}

void listicon_set_item_colour(GadgetObject& g,
                              std::int32_t item,
                              std::int32_t type,
                              std::int32_t colour,
                              std::int32_t column) {
    const HWND control = gadget_hwnd(g);
    if (ItemColours* colours = colours_of(control, item, column, true)) {
        if (type == FRONT_COLOR)
            colours->front = colour;
        else if (type == BACK_COLOR)
            colours->back = colour;
        send(control, LVM_REDRAWITEMS, static_cast<WPARAM>(item), item);
    }
}

std::int32_t listicon_get_item_colour(GadgetObject& g, std::int32_t item, std::int32_t type, std::int32_t column) {
    const ItemColours* colours = colours_of(gadget_hwnd(g), item, column, false);
    if (!colours)
        return -1;
    return type == FRONT_COLOR ? colours->front : type == BACK_COLOR ? colours->back : -1;
}

void listicon_set_item_data(GadgetObject& g, std::int32_t item, std::intptr_t value) {
    if (ItemRecord* record = item_record(gadget_hwnd(g), item))
        record->data = value;
}

std::intptr_t listicon_get_item_data(GadgetObject& g, std::int32_t item) {
    const ItemRecord* record = item_record(gadget_hwnd(g), item);
    return record ? record->data : 0;
}

void listicon_set_item_image(GadgetObject& g, std::int32_t item, std::uintptr_t image) {
    LVITEMW entry{};
    entry.mask = LVIF_IMAGE;
    entry.iItem = item;
    if (!image_index(g, image, entry.iImage))
        return;
    send(gadget_hwnd(g), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
}

constexpr GadgetKindTable kListIconKind{
    .kind = kKindListIcon,
    .size = kGadgetKindTableSize,
    .notification_handler = listicon_notification,
    .free_hook = listicon_free,
    .get_state = listicon_get_state,
    .set_state = listicon_set_state,
    .get_text = listicon_get_text,
    .set_text = listicon_set_text,
    .add_item = listicon_add_item,
    .remove_item = listicon_remove_item,
    .clear_items = listicon_clear_items,
    .count_items = listicon_count_items,
    .get_item_state = listicon_get_item_state,
    .set_item_state = listicon_set_item_state,
    .get_item_text = listicon_get_item_text,
    .set_item_text = listicon_set_item_text,
    .add_column = listicon_add_column,
    .remove_column = listicon_remove_column,
    .get_attribute = listicon_get_attribute,
    .set_attribute = listicon_set_attribute,
    .get_item_attribute = listicon_get_item_attribute,
    .set_item_attribute = listicon_set_item_attribute,
    .set_colour = listicon_set_colour,
    .get_colour = common_get_colour,
    .set_item_colour = listicon_set_item_colour,
    .get_item_colour = listicon_get_item_colour,
    .set_item_data = listicon_set_item_data,
    .get_item_data = listicon_get_item_data,
    .set_item_image = listicon_set_item_image,
};

}  // namespace

std::intptr_t listicon_gadget(std::intptr_t id,
                              std::int32_t x,
                              std::int32_t y,
                              std::int32_t width,
                              std::int32_t height,
                              const char16_t* title,
                              std::int32_t title_width,
                              std::uint32_t flags) {
    auto* list = new (std::nothrow) ListIconRecord{};
    if (!list)
        return 0;
    const DWORD style = kListIconStyle | (flags & PB_ListIcon_MultiSelect ? 0 : LVS_SINGLESEL) |
                        (flags & PB_ListIcon_AlwaysShowSelection ? LVS_SHOWSELALWAYS : 0);
    const HWND control = create_gadget_control(WS_EX_CLIENTEDGE, WC_LISTVIEWW, u"", style, x, y, width, height, 0);
    GadgetObject* g = allocate_gadget_with(id, control, list);
    if (!g)
        return 0;
    DWORD extended = 0;
    if (flags & (PB_ListIcon_CheckBoxes | PB_ListIcon_ThreeState))
        extended |= LVS_EX_CHECKBOXES;
    if (flags & PB_ListIcon_GridLines)
        extended |= LVS_EX_GRIDLINES;
    if (flags & PB_ListIcon_FullRowSelect)
        extended |= LVS_EX_FULLROWSELECT;
    if (flags & PB_ListIcon_HeaderDragDrop)
        extended |= LVS_EX_HEADERDRAGDROP;
    send(control, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    if (extended & LVS_EX_CHECKBOXES)
        list->states.reset(reinterpret_cast<HIMAGELIST>(send(control, LVM_GETIMAGELIST, LVSIL_STATE)));
    const std::intptr_t result = register_gadget(id, g, control, &kListIconKind);
    listicon_add_column(*g, 0, text_or_empty(title), title_width);
    return result;
}
