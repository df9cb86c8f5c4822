// The explorer list gadget: a folder's entries in a report list with the
// shell's icons, opened by double clicks and refreshed when the folder changes
// on disk (a change notification polled by a timer on the GUI thread).
#include <algorithm>
#include <cwchar>
#include <new>
#include <vector>

#include "gadget/explorer_kinds.h"
#include "gadget/gadget_internal_win32.h"
#include "system/file_time_win32.h"
#include "system/wide.h"
#include "window/event_queue.h"
#include "window/gadget_hooks.h"

#include <shellapi.h>

namespace {

constexpr DWORD kExplorerListStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHAREIMAGELISTS;
constexpr UINT_PTR kWatchTimer = 0x5E7;
constexpr UINT kWatchMs = 300;
constexpr const wchar_t* kColumns[] = {L"Name", L"Size", L"Type", L"Attributes", L"Created", L"Modified", L"Accessed"};
constexpr int kColumnWidths[] = {160, 80, 110, 70, 120, 120, 120};

struct Entry {
    std::u16string name;
    bool folder = false;
};

// What a column of the view shows: one of kColumns, or the program's own.
constexpr std::int8_t kProgramColumn = -1;

struct ExplorerListRecord {
    std::uint32_t flags = 0;
    // By view column: the index in kColumns it shows, or kProgramColumn. The
    // Name column is always first: it is the entry itself.
    std::vector<std::int8_t> columns = {0, 1, 2, 3, 4, 5, 6};
    std::u16string folder;       // with a trailing separator
    std::u16string pattern;      // "*.*" unless the path named one
    std::vector<Entry> entries;  // in the list's order
    HANDLE watch = INVALID_HANDLE_VALUE;
    bool polling = false;  // the timer that looks at watch is set
    WNDPROC previous = nullptr;
};

ExplorerListRecord& list_of(GadgetObject& g) {
    return *static_cast<ExplorerListRecord*>(g.extension);
}

LRESULT send(HWND control, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    return SendMessageW(control, message, wparam, lparam);
}

std::u16string date_text(const FILETIME& utc) {
    SYSTEMTIME t{};
    if (!local_system_time(utc, t))
        return {};
    wchar_t text[32];
    std::swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
    return from_wide(text);
}

std::u16string attribute_text(DWORD attributes) {
    std::u16string text;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        text += u'R';
    if (attributes & FILE_ATTRIBUTE_HIDDEN)
        text += u'H';
    if (attributes & FILE_ATTRIBUTE_SYSTEM)
        text += u'S';
    if (attributes & FILE_ATTRIBUTE_ARCHIVE)
        text += u'A';
    return text;
}

bool is_root(const std::u16string& folder) {
    return folder.size() <= 3;  // "C:\"
}

void set_cell(HWND control, int item, int column, const std::u16string& text) {
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = const_cast<wchar_t*>(wide(text));
    send(control, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
}

void add_row(HWND control, ExplorerListRecord& list, const Entry& entry, const WIN32_FIND_DATAW* data) {
    SHFILEINFOW info{};
    const std::u16string full = list.folder + entry.name;
    SHGetFileInfoW(wide(full), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_TYPENAME);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(list.entries.size());
    item.pszText = const_cast<wchar_t*>(wide(entry.name));
    item.iImage = info.iIcon;
    const int row = static_cast<int>(send(control, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0)
        return;
    list.entries.push_back(entry);
    if (!data)
        return;
    std::u16string cells[std::size(kColumns)];
    if (!entry.folder) {
        const unsigned long long size =
            (static_cast<unsigned long long>(data->nFileSizeHigh) << 32) | data->nFileSizeLow;
        wchar_t text[32];
        std::swprintf(text, 32, L"%llu", size);
        cells[1] = from_wide(text);
    }
    cells[2] = from_wide(info.szTypeName);
    cells[3] = attribute_text(data->dwFileAttributes);
    cells[4] = date_text(data->ftCreationTime);
    cells[5] = date_text(data->ftLastWriteTime);
    cells[6] = date_text(data->ftLastAccessTime);
    for (std::size_t column = 1; column < list.columns.size(); ++column)
        if (list.columns[column] > 0)
            set_cell(control, row, static_cast<int>(column), cells[list.columns[column]]);
}

void watch(HWND control, ExplorerListRecord& list) {
    if (list.watch != INVALID_HANDLE_VALUE)
        FindCloseChangeNotification(list.watch);
    list.watch = FindFirstChangeNotificationW(wide(list.folder), FALSE,
                                              FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                                  FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
    if (list.watch != INVALID_HANDLE_VALUE) {
        list.polling = SetTimer(control, kWatchTimer, kWatchMs, nullptr) != 0;
    } else {
        KillTimer(control, kWatchTimer);
        list.polling = false;
    }
}

struct Found {
    Entry entry;
    WIN32_FIND_DATAW data;
};

void fill(HWND control, ExplorerListRecord& list) {
    send(control, WM_SETREDRAW, FALSE);
    send(control, LVM_DELETEALLITEMS);
    list.entries.clear();
    if (!(list.flags & PB_Explorer_NoParentFolder) && !(list.flags & PB_Explorer_NoFolders) && !is_root(list.folder))
        add_row(control, list, {u"..", true}, nullptr);
    std::vector<Found> found;
    WIN32_FIND_DATAW data;
    // Folders whatever the pattern, files by it.
    HANDLE search = FindFirstFileW(wide(list.folder + u"*"), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::u16string name = from_wide(data.cFileName);
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != u"." && name != u".." &&
                !(list.flags & PB_Explorer_NoFolders))
                found.push_back({{name, true}, data});
        } while (FindNextFileW(search, &data));
        FindClose(search);
    }
    if (!(list.flags & PB_Explorer_NoFiles)) {
        search = FindFirstFileW(wide(list.folder + list.pattern), &data);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    found.push_back({{from_wide(data.cFileName), false}, data});
            } while (FindNextFileW(search, &data));
            FindClose(search);
        }
    }
    if (!(list.flags & PB_Explorer_NoSort))
        std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
            if (a.entry.folder != b.entry.folder)
                return a.entry.folder;
            return lstrcmpiW(wide(a.entry.name), wide(b.entry.name)) < 0;
        });
    for (const Found& f : found)
        add_row(control, list, f.entry, &f.data);
    send(control, WM_SETREDRAW, TRUE);
    InvalidateRect(control, nullptr, TRUE);
}

// Splits a path into its folder (with a trailing separator) and a pattern.
void show_path(HWND control, ExplorerListRecord& list, std::u16string path) {
    std::replace(path.begin(), path.end(), u'/', u'\\');
    std::u16string pattern = u"*.*";
    const DWORD attributes = GetFileAttributesW(wide(path));
    if (!path.empty() && path.back() != u'\\' &&
        (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))) {
        const std::size_t cut = path.find_last_of(u'\\');
        pattern = path.substr(cut == std::u16string::npos ? 0 : cut + 1);
        path = cut == std::u16string::npos ? std::u16string() : path.substr(0, cut + 1);
    }
    if (path.empty()) {
        wchar_t current[MAX_PATH];
        const DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
        path = from_wide(current, length < MAX_PATH ? length : 0);
    }
    if (!path.empty() && path.back() != u'\\')
        path += u'\\';
    list.folder = path;
    list.pattern = pattern.empty() ? u"*.*" : pattern;
    fill(control, list);
    watch(control, list);
}

void open_entry(HWND control, ExplorerListRecord& list, int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= list.entries.size() || !list.entries[row].folder ||
        (list.flags & PB_Explorer_NoDirectoryChange))
        return;
    std::u16string folder = list.folder;
    if (list.entries[row].name == u"..") {
        folder.pop_back();
        folder = folder.substr(0, folder.find_last_of(u'\\') + 1);
    } else {
        folder += list.entries[row].name + u"\\";
    }
    list.folder = folder;
    fill(control, list);
    watch(control, list);
    post_gadget_event(control, ET_CHANGE);
}

std::intptr_t explorerlist_notification(GadgetObject& g,
                                        void*,
                                        unsigned message,
                                        std::uintptr_t,
                                        std::intptr_t lparam) {
    if (message != WM_NOTIFY)
        return NOT_HANDLED;
    const HWND control = gadget_hwnd(g);
    switch (reinterpret_cast<const NMHDR*>(lparam)->code) {
        case NM_CLICK:
            post_gadget_event(control, ET_LEFT_CLICK);
            return 0;
        case NM_RCLICK:
            post_gadget_event(control, ET_RIGHT_CLICK);
            return 0;
        case NM_DBLCLK: {
            const int item = reinterpret_cast<const NMITEMACTIVATE*>(lparam)->iItem;
            post_gadget_event(control, ET_LEFT_DOUBLE_CLICK);
            // The event's callbacks may have freed the gadget (a picker that
            // closes its window on a double-click).
            if (GadgetObject* live = gadget_of_control(control))
                open_entry(control, list_of(*live), item);
            return 0;
        }
        case LVN_BEGINDRAG:
            post_gadget_event(control, ET_DRAG_START);
            return 0;
    }
    return NOT_HANDLED;
}

void explorerlist_free(GadgetObject& g) {
    if (auto* list = static_cast<ExplorerListRecord*>(g.extension)) {
        KillTimer(gadget_hwnd(g), kWatchTimer);
        if (list->watch != INVALID_HANDLE_VALUE)
            FindCloseChangeNotification(list->watch);
        delete list;
        g.extension = nullptr;
    }
}

std::int32_t explorerlist_get_state(GadgetObject& g) {
    return static_cast<std::int32_t>(send(gadget_hwnd(g), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::u16string explorerlist_get_text(GadgetObject& g) {
    return list_of(g).folder;
}

void explorerlist_set_text(GadgetObject& g, const std::u16string& text) {
    show_path(gadget_hwnd(g), list_of(g), text);
}

void explorerlist_remove_item(GadgetObject& g, std::int32_t item) {
    ExplorerListRecord& list = list_of(g);
    if (item < 0 || static_cast<std::size_t>(item) >= list.entries.size())
        return;
    if (send(gadget_hwnd(g), LVM_DELETEITEM, static_cast<WPARAM>(item)))
        list.entries.erase(list.entries.begin() + item);
}

std::int32_t explorerlist_count_items(GadgetObject& g) {
    return static_cast<std::int32_t>(send(gadget_hwnd(g), LVM_GETITEMCOUNT));
}

std::int32_t explorerlist_get_item_state(GadgetObject& g, std::int32_t item) {
    const ExplorerListRecord& list = list_of(g);
    if (item < 0 || static_cast<std::size_t>(item) >= list.entries.size())
        return 0;
    std::int32_t state = list.entries[item].folder ? PB_Explorer_Directory : PB_Explorer_File;
    if (send(gadget_hwnd(g), LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED))
        state |= PB_Explorer_Selected;
    return state;
}

void explorerlist_set_item_state(GadgetObject& g, std::int32_t item, std::int32_t state) {
    LVITEMW entry{};
    entry.stateMask = LVIS_SELECTED;
    entry.state = state & PB_Explorer_Selected ? LVIS_SELECTED : 0;
    send(gadget_hwnd(g), LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&entry));
}

std::u16string explorerlist_get_item_text(GadgetObject& g, std::int32_t item, std::int32_t column) {
    wchar_t buffer[MAX_PATH] = {};
    LVITEMW entry{};
    entry.iSubItem = column;
    entry.pszText = buffer;
    entry.cchTextMax = MAX_PATH;
    if (item < 0 || item >= explorerlist_count_items(g))
        return {};
    const auto length =
        send(gadget_hwnd(g), LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&entry));
    return from_wide(buffer, static_cast<std::size_t>(length));
}

std::int32_t explorerlist_get_attribute(GadgetObject& g, std::int32_t attribute) {
    if (attribute != PB_Explorer_DisplayMode)
        return 0;
    switch (GetWindowLongW(gadget_hwnd(g), GWL_STYLE) & LVS_TYPEMASK) {
        case LVS_ICON:
            return 0;
        case LVS_SMALLICON:
            return 1;
        case LVS_LIST:
            return 2;
    }
    return 3;
}

void explorerlist_set_attribute(GadgetObject& g, std::int32_t attribute, std::int32_t value) {
    constexpr DWORD kModes[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    if (attribute != PB_Explorer_DisplayMode || value < 0 || value > 3)
        return;
    const HWND control = gadget_hwnd(g);
    SetWindowLongW(control, GWL_STYLE, (GetWindowLongW(control, GWL_STYLE) & ~LVS_TYPEMASK) | kModes[value]);
}

void explorerlist_set_colour(GadgetObject& g, std::int32_t type, std::int32_t colour) {
    const HWND control = gadget_hwnd(g);
    const COLORREF value = colour == -1 ? CLR_DEFAULT : static_cast<COLORREF>(colour);
    if (type == FRONT_COLOR) {
        g.front_colour = colour;
        send(control, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(colour == -1 ? GetSysColor(COLOR_WINDOWTEXT) : value));
    } else if (type == BACK_COLOR) {
        g.back_colour = colour;
        const COLORREF back = colour == -1 ? GetSysColor(COLOR_WINDOW) : value;
        send(control, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(back));
        send(control, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(back));
    }
    InvalidateRect(control, nullptr, TRUE);
}

// A cell of a column after Name; the program's cells last until the listing is
// filled again (another folder, or a change on disk).
std::int32_t explorerlist_set_item_text(GadgetObject& g,
                                        std::int32_t item,
                                        const std::u16string& text,
                                        std::int32_t column) {
    const ExplorerListRecord& list = list_of(g);
    if (item < 0 || static_cast<std::size_t>(item) >= list.entries.size() || column < 1 ||
        static_cast<std::size_t>(column) >= list.columns.size())
        return -1;
    set_cell(gadget_hwnd(g), item, column, text);
    return 0;
}

// A column of the program's own, anywhere after Name.
std::int32_t explorerlist_add_column(GadgetObject& g,
                                     std::int32_t position,
                                     const std::u16string& title,
                                     std::int32_t width) {
    ExplorerListRecord& list = list_of(g);
    const auto count = static_cast<std::int32_t>(list.columns.size());
    const std::int32_t at = position < 1 || position > count ? count : position;
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(wide(title));
    column.cx = width;
    column.iSubItem = at;
    const auto index = static_cast<std::int32_t>(
        send(gadget_hwnd(g), LVM_INSERTCOLUMNW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&column)));
    if (index >= 0)
        list.columns.insert(list.columns.begin() + index, kProgramColumn);
    return index;
}

// Any column but Name; -1 removes all the others.
void explorerlist_remove_column(GadgetObject& g, std::int32_t column) {
    ExplorerListRecord& list = list_of(g);
    const HWND control = gadget_hwnd(g);
    if (column == -1) {
        while (list.columns.size() > 1 && send(control, LVM_DELETECOLUMN, static_cast<WPARAM>(list.columns.size() - 1)))
            list.columns.pop_back();
        return;
    }
    if (column < 1 || static_cast<std::size_t>(column) >= list.columns.size())
        return;
    if (send(control, LVM_DELETECOLUMN, static_cast<WPARAM>(column)))
        list.columns.erase(list.columns.begin() + column);
}

std::int32_t explorerlist_get_item_attribute(GadgetObject& g,
                                             std::int32_t,
                                             std::int32_t attribute,
                                             std::int32_t column) {
    if (attribute != PB_Explorer_ColumnWidth || column < 0 ||
        static_cast<std::size_t>(column) >= list_of(g).columns.size())
        return 0;
    return static_cast<std::int32_t>(send(gadget_hwnd(g), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
}

void explorerlist_set_item_attribute(GadgetObject& g,
                                     std::int32_t,
                                     std::int32_t attribute,
                                     std::int32_t value,
                                     std::int32_t column) {
    if (attribute == PB_Explorer_ColumnWidth && column >= 0 &&
        static_cast<std::size_t>(column) < list_of(g).columns.size())
        send(gadget_hwnd(g), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), value);
}

constexpr GadgetKindTable kExplorerListKind{
    .kind = kKindExplorerList,
    .size = kGadgetKindTableSize,
    .notification_handler = explorerlist_notification,
    .free_hook = explorerlist_free,
    .get_state = explorerlist_get_state,
    .get_text = explorerlist_get_text,
    .set_text = explorerlist_set_text,
    .remove_item = explorerlist_remove_item,
    .count_items = explorerlist_count_items,
    .get_item_state = explorerlist_get_item_state,
    .set_item_state = explorerlist_set_item_state,
    .get_item_text = explorerlist_get_item_text,
    .set_item_text = explorerlist_set_item_text,
    .add_column = explorerlist_add_column,
    .remove_column = explorerlist_remove_column,
    .get_attribute = explorerlist_get_attribute,
    .set_attribute = explorerlist_set_attribute,
    .get_item_attribute = explorerlist_get_item_attribute,
    .set_item_attribute = explorerlist_set_item_attribute,
    .set_colour = explorerlist_set_colour,
    .get_colour = common_get_colour,
};

// The timer looks at the folder's change notification; a change refreshes the
// listing. A timer the system refused is asked for again when the list is next
// painted, pointed at or focused.
LRESULT CALLBACK explorerlist_proc(HWND control, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    GadgetObject* g = gadget_of_control(control);
    ExplorerListRecord* list = g ? static_cast<ExplorerListRecord*>(g->extension) : nullptr;
    if (list && !list->polling && list->watch != INVALID_HANDLE_VALUE &&
        (message == WM_PAINT || message == WM_MOUSEMOVE || message == WM_SETFOCUS))
        list->polling = SetTimer(control, kWatchTimer, kWatchMs, nullptr) != 0;
    if (list && message == WM_TIMER && wparam == kWatchTimer) {
        if (list->watch != INVALID_HANDLE_VALUE && WaitForSingleObject(list->watch, 0) == WAIT_OBJECT_0) {
            fill(control, *list);
            FindNextChangeNotification(list->watch);
        }
        return 0;
    }
    return CallWindowProcW(list ? list->previous : DefWindowProcW, control, message, wparam, lparam);
}

}  // namespace

std::intptr_t explorerlist_gadget(std::intptr_t id,
                                  std::int32_t x,
                                  std::int32_t y,
                                  std::int32_t width,
                                  std::int32_t height,
                                  const char16_t* path,
                                  std::uint32_t flags) {
    auto* list = new (std::nothrow) ExplorerListRecord{};
    if (!list)
        return 0;
    list->flags = flags;
    const DWORD style = kExplorerListStyle | (flags & PB_Explorer_MultiSelect ? 0 : LVS_SINGLESEL) |
                        (flags & PB_Explorer_AlwaysShowSelection ? LVS_SHOWSELALWAYS : 0);
    const DWORD ex_style = flags & PB_Explorer_BorderLess ? 0 : WS_EX_CLIENTEDGE;
    const HWND control = create_gadget_control(ex_style, WC_LISTVIEWW, u"", style, x, y, width, height);
    GadgetObject* g = allocate_gadget_with(id, control, list);
    if (!g)
        return 0;
    DWORD extended = 0;
    if (flags & PB_Explorer_GridLines)
        extended |= LVS_EX_GRIDLINES;
    if (flags & PB_Explorer_HeaderDragDrop)
        extended |= LVS_EX_HEADERDRAGDROP;
    if (flags & PB_Explorer_FullRowSelect)
        extended |= LVS_EX_FULLROWSELECT;
    send(control, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    for (int c = 0; c < 7; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
        column.fmt = c == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.pszText = const_cast<wchar_t*>(kColumns[c]);
        column.cx = kColumnWidths[c];
        column.iSubItem = c;
        send(control, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
    }
    // The shell's list of small icons, shared: the control must not destroy it.
    SHFILEINFOW info{};
    const auto icons = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    send(control, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(icons));
    list->previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(explorerlist_proc)));
    const std::intptr_t result = register_gadget(id, g, control, &kExplorerListKind);
    EventSuppression quiet;
    show_path(control, *list, text_or_empty(path));
    return result;
}
