// The dropped-file collection's list, on a list view gadget.
#include "app/listview_file_list.h"

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
