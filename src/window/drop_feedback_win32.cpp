// What a drag shows inside list boxes, list-view and tree-view controls.
#include "window/drop_target.h"
#include "window/drop_target_internal_win32.h"

#include <commctrl.h>

namespace {

// ---------------------------------------------------------------- list box

int list_box_item_at(HWND list, POINT p) {
    RECT client;
    GetClientRect(list, &client);
    if (!PtInRect(&client, p))
        return -1;
    const LRESULT r = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(p.x, p.y));
    // The high word says the point lies below the last item (the index is then the nearest one).
    return HIWORD(r) ? -1 : static_cast<int>(LOWORD(r));
}

void redraw_now(HWND hwnd, const RECT* area) {
    RedrawWindow(hwnd, area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void list_box_accepting(HWND list, std::int32_t& outlined, POINT p) {
    const int item = list_box_item_at(list, p);
    if (item == outlined)
        return;
    RECT old;
    if (outlined >= 0 &&
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(outlined), reinterpret_cast<LPARAM>(&old)) != LB_ERR)
        redraw_now(list, &old);
    else
        redraw_now(list, nullptr);
    outlined = item;
    RECT r, client;
    if (item < 0 ||
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r)) == LB_ERR)
        return;
    GetClientRect(list, &client);
    IntersectRect(&r, &r, &client);
    if (HDC dc = GetDC(list)) {
        DrawFocusRect(dc, &r);
        ReleaseDC(list, dc);
    }
}

void list_box_forget(HWND list, std::int32_t& outlined) {
    if (outlined < 0)
        return;
    redraw_now(list, nullptr);
    outlined = -1;
}

void list_box_dropped(HWND list, std::int32_t& outlined, POINT p) {
    redraw_now(list, nullptr);
    outlined = -1;
    const int item = list_box_item_at(list, p);
    if (GetWindowLongW(list, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
        SendMessageW(list, LB_SETSEL, FALSE, -1);
        if (item >= 0)
            SendMessageW(list, LB_SETSEL, TRUE, item);
    } else {
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(item), 0);
    }
}

// ---------------------------------------------------------------- list-view control

int list_view_item_at(HWND list, POINT p) {
    LVHITTESTINFO hit{};
    hit.pt = p;
    return static_cast<int>(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

void list_view_set_state(HWND list, int item, UINT state, UINT mask) {
    LVITEMW it{};
    it.stateMask = mask;
    it.state = state;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it));
}

void list_view_feedback(HWND list, DropFeedback what, POINT p) {
    list_view_set_state(list, -1, 0, LVIS_DROPHILITED);
    if (what == DropFeedback::Accepting) {
        const int item = list_view_item_at(list, p);
        if (item >= 0)
            list_view_set_state(list, item, LVIS_DROPHILITED, LVIS_DROPHILITED);
    } else if (what == DropFeedback::Dropped) {
        const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
        const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i)
            if ((SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(i), both) & both) == both)
                list_view_set_state(list, i, 0, both);
        const int item = list_view_item_at(list, p);
        if (item >= 0)
            list_view_set_state(list, item, both, both);
    }
}

// ---------------------------------------------------------------- tree-view control

void tree_feedback(HWND tree, DropFeedback what, POINT p) {
    TVHITTESTINFO hit{};
    hit.pt = p;
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    switch (what) {
        case DropFeedback::Accepting:
            SendMessageW(tree, TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(item));
            break;
        case DropFeedback::Refusing:
        case DropFeedback::Removed:
            SendMessageW(tree, TVM_SELECTITEM, TVGN_DROPHILITE, 0);
            break;
        case DropFeedback::Dropped:
            // Wine: selecting an item leaves the drop highlight on it, so the
            // highlight is removed once more after the selection.
            SendMessageW(tree, TVM_SELECTITEM, TVGN_DROPHILITE, 0);
            SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
            SendMessageW(tree, TVM_SELECTITEM, TVGN_DROPHILITE, 0);
            break;
    }
}

}  // namespace

void show_drop_feedback(HWND hwnd, std::int32_t owner_kind, std::int32_t& feedback_item, DropFeedback what, POINT p) {
    switch (owner_kind) {
        case DROP_OWNER_LIST_BOX:
            if (what == DropFeedback::Accepting)
                list_box_accepting(hwnd, feedback_item, p);
            else if (what == DropFeedback::Dropped)
                list_box_dropped(hwnd, feedback_item, p);
            else
                list_box_forget(hwnd, feedback_item);
            break;
        case DROP_OWNER_LIST_ICON:
        case DROP_OWNER_EXPLORER_LIST:
            list_view_feedback(hwnd, what, p);
            break;
        case DROP_OWNER_EXPLORER_TREE:
        case DROP_OWNER_TREE:
            tree_feedback(hwnd, what, p);
            break;
        default:
            break;  // windows and other controls show none
    }
}
