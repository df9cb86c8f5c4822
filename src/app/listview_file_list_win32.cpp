// The dropped-file collection's list, on a list view gadget.
#include "app/listview_file_list.h"

#include "gadget/gadget.h"
#include "system/wide.h"
#include "system/win32.h"
#include "window/event_queue.h"

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

// Straight to the control: a gadget call per item looks the gadget up and
// copies its text each time, which for 10 000 files cost more than the list
// box itself. The box is told the total first so it grows its storage once.
void ListViewFileList::add_items(const std::vector<std::u16string>& texts) {
    HWND control = static_cast<HWND>(gadget_handle(gadget_));
    if (!control || texts.empty())
        return;
    std::size_t units = 0;
    for (const std::u16string& text : texts)
        units += text.size() + 1;
    SendMessageW(control, LB_INITSTORAGE, static_cast<WPARAM>(texts.size()),
                 static_cast<LPARAM>(units * sizeof(char16_t)));
    EventSuppression quiet;  // as the gadget's own insertion
    for (const std::u16string& text : texts)
        SendMessageW(control, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide(text)));
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
