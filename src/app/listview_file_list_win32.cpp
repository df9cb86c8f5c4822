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

void ListViewFileList::suspend_drawing() {
    HWND control = static_cast<HWND>(gadget_handle(gadget_));
    if (control && !locked_)
        locked_ = LockWindowUpdate(control) != FALSE;
}

void ListViewFileList::resume_drawing() {
    // Only this list's lock is undone: another window's must stay.
    if (locked_) {
        LockWindowUpdate(nullptr);
        locked_ = false;
    }
}
