// The dropped-file collection's list, on a list view gadget.
#include "app/listview_file_list.h"

#include <algorithm>

#include "gadget/gadget.h"
#include "system/win32.h"

ListViewFileList::~ListViewFileList() {
    resume_drawing();
}

void ListViewFileList::clear_items() {
    gadget_clear_items(gadget_);
}

void ListViewFileList::add_item(std::u16string_view text) {
    const std::u16string item(text);
    gadget_add_item(gadget_, -1, item.c_str());
}

void ListViewFileList::add_items(const std::vector<const std::u16string*>& texts) {
    std::vector<const char16_t*> items;
    items.reserve(texts.size());
    for (const std::u16string* text : texts)
        items.push_back(text->c_str());
    gadget_add_items(gadget_, items);
}

std::int32_t ListViewFileList::count_items() const {
    return gadget_count_items(gadget_);
}

std::int32_t ListViewFileList::item_state(std::int32_t position) const {
    // A list that is gone has no items: out of range, not "not selected".
    return gadget_handle(gadget_) ? gadget_get_item_state(gadget_, position) : -1;
}

std::u16string ListViewFileList::item_text(std::int32_t position) const {
    return gadget_get_item_text(gadget_, position);
}

std::int32_t ListViewFileList::current_item() const {
    return gadget_handle(gadget_) ? gadget_get_state(gadget_) : -1;
}

void ListViewFileList::select_only(std::int32_t position) {
    HWND control = static_cast<HWND>(gadget_handle(gadget_));
    if (!control || position < 0 || position >= count_items())
        return;
    // The list is a multi-selection one: -1 stands for every row.
    SendMessageW(control, LB_SETSEL, FALSE, -1);
    SendMessageW(control, LB_SETSEL, TRUE, position);
    SendMessageW(control, LB_SETANCHORINDEX, static_cast<WPARAM>(position), 0);
    SendMessageW(control, LB_SETCARETINDEX, static_cast<WPARAM>(position), FALSE);
}

void ListViewFileList::select_all() {
    if (HWND control = static_cast<HWND>(gadget_handle(gadget_)))
        SendMessageW(control, LB_SETSEL, TRUE, -1);  // -1: every row
}

std::int32_t ListViewFileList::top_item() const {
    HWND control = static_cast<HWND>(gadget_handle(gadget_));
    const LRESULT top = control ? SendMessageW(control, LB_GETTOPINDEX, 0, 0) : 0;
    return top > 0 ? static_cast<std::int32_t>(top) : 0;
}

void ListViewFileList::show_from(std::int32_t position) {
    if (HWND control = static_cast<HWND>(gadget_handle(gadget_)))
        SendMessageW(control, LB_SETTOPINDEX, static_cast<WPARAM>(position), 0);
}

// The list itself stops drawing, not just the screen: a list box that may
// redraw updates its scroll bar on every insertion, which under Wine costs a
// round trip to the display each time (10 000 files took 90 s).
void ListViewFileList::suspend_drawing() {
    HWND control = static_cast<HWND>(gadget_handle(gadget_));
    if (control && !suspended_) {
        SendMessageW(control, WM_SETREDRAW, FALSE, 0);
        suspended_ = true;
    }
}

void ListViewFileList::resume_drawing() {
    if (!suspended_)
        return;
    suspended_ = false;
    HWND control = static_cast<HWND>(gadget_handle(gadget_));
    if (!control)
        return;
    SendMessageW(control, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(control, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void ListViewFileList::select_row_at_cursor() {
    HWND control = static_cast<HWND>(gadget_handle(gadget_));
    // Where the click was, not where the pointer has gone since (the window
    // may have been busy when the button went up).
    const DWORD clicked = GetMessagePos();
    POINT at{static_cast<short>(LOWORD(clicked)), static_cast<short>(HIWORD(clicked))};
    RECT client{};
    if (!control || !ScreenToClient(control, &at) || !GetClientRect(control, &client) || !PtInRect(&client, at))
        return;
    // From the top row and the row height: LB_ITEMFROMPOINT gives only 16 bits
    // of index, and the list may hold more rows.
    const auto height = static_cast<std::int32_t>(SendMessageW(control, LB_GETITEMHEIGHT, 0, 0));
    if (height <= 0)
        return;
    const auto row = static_cast<std::int32_t>(SendMessageW(control, LB_GETTOPINDEX, 0, 0)) + at.y / height;
    if (row >= count_items() || item_state(row) != 0)
        return;
    select_only(row);
}

ScreenPoint ListViewFileList::caret_point() const {
    HWND control = static_cast<HWND>(gadget_handle(gadget_));
    RECT client{};
    if (!control || !GetClientRect(control, &client))
        return {};
    POINT at{client.left, client.top};
    RECT row{};
    const LRESULT caret = SendMessageW(control, LB_GETCARETINDEX, 0, 0);
    if (caret >= 0 && caret < count_items() &&
        SendMessageW(control, LB_GETITEMRECT, static_cast<WPARAM>(caret), reinterpret_cast<LPARAM>(&row)) != LB_ERR) {
        at.x = std::clamp<LONG>(row.left, client.left, client.right);
        at.y = std::clamp<LONG>(row.bottom, client.top, client.bottom);
    }
    ClientToScreen(control, &at);
    return {at.x, at.y};
}
