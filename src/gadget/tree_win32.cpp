// The tree gadget: items with sublevels, numbered in display order from the
// top, with check boxes, images and item data.
#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_map>
#include <vector>

#include "gadget/gadget_internal_win32.h"
#include "gadget/list_kinds.h"
#include "system/wide.h"
#include "window/gadget_hooks.h"
#include "window/window_properties_win32.h"

namespace {

constexpr DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
static_assert(kTreeStyle == 0x50010000);

struct ItemColours {
    std::int32_t front = -1, back = -1;  // -1: the tree's own
};

struct TreeRecord {
    UniqueImageList images;
    // By item handle, so that colours follow their item when others come and
    // go; an item's entry goes with it (TVN_DELETEITEM).
    std::unordered_map<HTREEITEM, ItemColours> colours;
};

LRESULT send(HWND control, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    return SendMessageW(control, message, wparam, lparam);
}

WNDPROC g_tree_proc = nullptr;

// The check boxes' pictures are the control's own state list, which by the
// platform's rules the program destroys. Taken out while the control still
// stands, so that a control that destroys it itself finds none.
LRESULT CALLBACK tree_proc(HWND control, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_DESTROY && (GetWindowLongW(control, GWL_STYLE) & TVS_CHECKBOXES)) {
        if (const auto states =
                reinterpret_cast<HIMAGELIST>(CallWindowProcW(g_tree_proc, control, TVM_SETIMAGELIST, TVSIL_STATE, 0)))
            ImageList_Destroy(states);
    }
    return CallWindowProcW(g_tree_proc, control, message, wparam, lparam);
}

HTREEITEM next_in_order(HWND control, HTREEITEM item) {
    if (auto child =
            reinterpret_cast<HTREEITEM>(send(control, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item))))
        return child;
    for (HTREEITEM at = item; at;) {
        if (auto next =
                reinterpret_cast<HTREEITEM>(send(control, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(at))))
            return next;
        at = reinterpret_cast<HTREEITEM>(send(control, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(at)));
    }
    return nullptr;
}

// Every item in display order, folded ones included.
std::vector<HTREEITEM> items_in_order(HWND control) {
    std::vector<HTREEITEM> items;
    for (auto item = reinterpret_cast<HTREEITEM>(send(control, TVM_GETNEXTITEM, TVGN_ROOT)); item;
         item = next_in_order(control, item))
        items.push_back(item);
    return items;
}

HTREEITEM item_at(HWND control, std::int32_t index) {
    if (index < 0)
        return nullptr;
    auto item = reinterpret_cast<HTREEITEM>(send(control, TVM_GETNEXTITEM, TVGN_ROOT));
    for (std::int32_t i = 0; item && i < index; ++i)
        item = next_in_order(control, item);
    return item;
}

std::int32_t index_of(HWND control, HTREEITEM wanted) {
    std::int32_t i = 0;
    for (auto item = reinterpret_cast<HTREEITEM>(send(control, TVM_GETNEXTITEM, TVGN_ROOT)); item;
         item = next_in_order(control, item), ++i)
        if (item == wanted)
            return i;
    return -1;
}

std::int32_t level_of(HWND control, HTREEITEM item) {
    std::int32_t level = -1;
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     send(control, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item))))
        ++level;
    return level;
}

TreeRecord& tree_of(GadgetObject& g) {
    return *static_cast<TreeRecord*>(g.extension);
}

LRESULT custom_draw(TreeRecord& tree, NMTVCUSTOMDRAW& draw) {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
        return tree.colours.empty() ? CDRF_DODEFAULT : CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT)
        return CDRF_DODEFAULT;
    const auto found = tree.colours.find(reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec));
    // A selected item keeps the selection's colours, so that it shows.
    if (found == tree.colours.end() || (draw.nmcd.uItemState & CDIS_SELECTED))
        return CDRF_DODEFAULT;
    if (found->second.front != -1)
        draw.clrText = static_cast<COLORREF>(found->second.front);
    if (found->second.back != -1)
        draw.clrTextBk = static_cast<COLORREF>(found->second.back);
    return CDRF_NEWFONT;
}

std::intptr_t tree_notification(GadgetObject& g, void*, unsigned message, std::uintptr_t, std::intptr_t lparam) {
    if (message != WM_NOTIFY)
        return NOT_HANDLED;
    const HWND control = gadget_hwnd(g);
    switch (reinterpret_cast<const NMHDR*>(lparam)->code) {
        case NM_CUSTOMDRAW:
            if (!g.extension)
                return NOT_HANDLED;
            return custom_draw(tree_of(g), *reinterpret_cast<NMTVCUSTOMDRAW*>(lparam));
        case TVN_DELETEITEMW:
            if (g.extension)
                tree_of(g).colours.erase(reinterpret_cast<const NMTREEVIEWW*>(lparam)->itemOld.hItem);
            return 0;
        case NM_CLICK:
            post_gadget_event(control, ET_LEFT_CLICK);
            return 0;
        case NM_DBLCLK:
            post_gadget_event(control, ET_LEFT_DOUBLE_CLICK);
            return 0;
        case NM_RCLICK:
            post_gadget_event(control, ET_RIGHT_CLICK);
            return 0;
        case NM_RDBLCLK:
            post_gadget_event(control, ET_RIGHT_DOUBLE_CLICK);
            return 0;
        case TVN_SELCHANGEDW:
            post_gadget_event(control, ET_CHANGE);
            return 0;
        case TVN_BEGINDRAGW:
        case TVN_BEGINRDRAGW:
            post_gadget_event(control, ET_DRAG_START);
            return 0;
    }
    return NOT_HANDLED;
}

void tree_free(GadgetObject& g) {
    common_free_hook(g);
    RemovePropW(gadget_hwnd(g), kPropThreeState);
    delete static_cast<TreeRecord*>(g.extension);
    g.extension = nullptr;
}

std::int32_t tree_get_state(GadgetObject& g) {
    const HWND control = gadget_hwnd(g);
    const auto selected = reinterpret_cast<HTREEITEM>(send(control, TVM_GETNEXTITEM, TVGN_CARET));
    return selected ? index_of(control, selected) : -1;
}

void tree_set_state(GadgetObject& g, std::int32_t state) {
    const HWND control = gadget_hwnd(g);
    send(control, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item_at(control, state)));
}

std::u16string item_text(HWND control, HTREEITEM item) {
    if (!item)
        return {};
    wchar_t buffer[1024] = {};
    TVITEMW entry{};
    entry.mask = TVIF_TEXT;
    entry.hItem = item;
    entry.pszText = buffer;
    entry.cchTextMax = static_cast<int>(std::size(buffer));
    send(control, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
    return from_wide(buffer);
}

std::u16string tree_get_text(GadgetObject& g) {
    const HWND control = gadget_hwnd(g);
    return item_text(control, reinterpret_cast<HTREEITEM>(send(control, TVM_GETNEXTITEM, TVGN_CARET)));
}

void tree_set_text(GadgetObject& g, const std::u16string& text) {
    const HWND control = gadget_hwnd(g);
    const auto selected = reinterpret_cast<HTREEITEM>(send(control, TVM_GETNEXTITEM, TVGN_CARET));
    if (!selected)
        return;
    TVITEMW entry{};
    entry.mask = TVIF_TEXT;
    entry.hItem = selected;
    entry.pszText = const_cast<wchar_t*>(wide(text));
    send(control, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
}

bool image_index(GadgetObject& g, std::uintptr_t image, int& index) {
    return item_image_index(tree_of(g).images, gadget_hwnd(g), TVM_SETIMAGELIST, TVSIL_NORMAL, image, index);
}

// Appended (position -1) or put before the item at position: the new item's
// parent is the nearest earlier item one level up, so a sublevel deeper than
// the item before it allows is cut down to one below that item.
std::int32_t tree_add_item_flags(GadgetObject& g,
                                 std::int32_t position,
                                 const std::u16string& text,
                                 std::uintptr_t image,
                                 std::int32_t flags) {
    const HWND control = gadget_hwnd(g);
    int index = -1;
    if (!image_index(g, image, index))
        return -1;
    const std::vector<HTREEITEM> items = items_in_order(control);
    const auto count = static_cast<std::int32_t>(items.size());
    const std::int32_t at = position < 0 || position > count ? count : position;
    std::int32_t level = std::max(flags, 0);
    HTREEITEM parent = TVI_ROOT, after = TVI_FIRST;
    if (at > 0) {
        const HTREEITEM before = items[static_cast<std::size_t>(at - 1)];
        level = std::min(level, level_of(control, before) + 1);
        // Walk up from the item before to find the parent and the sibling to follow.
        HTREEITEM walk = before;
        std::int32_t walk_level = level_of(control, before);
        if (walk_level >= level) {
            while (walk_level > level) {
                walk = reinterpret_cast<HTREEITEM>(
                    send(control, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(walk)));
                --walk_level;
            }
            after = walk;
            auto up = reinterpret_cast<HTREEITEM>(
                send(control, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(walk)));
            parent = up ? up : TVI_ROOT;
        } else {
            parent = before;
            after = TVI_FIRST;
        }
    } else {
        level = 0;
    }
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(wide(text));
    if (index >= 0) {
        insert.item.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.iImage = insert.item.iSelectedImage = index;
    }
    const auto item = reinterpret_cast<HTREEITEM>(send(control, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    return item ? index_of(control, item) : -1;
}

void tree_remove_item(GadgetObject& g, std::int32_t item) {
    const HWND control = gadget_hwnd(g);
    if (HTREEITEM found = item_at(control, item))
        send(control, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(found));
}

void tree_clear_items(GadgetObject& g) {
    send(gadget_hwnd(g), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    if (tree_of(g).images)
        ImageList_RemoveAll(tree_of(g).images.get());
}

std::int32_t tree_count_items(GadgetObject& g) {
    return static_cast<std::int32_t>(send(gadget_hwnd(g), TVM_GETCOUNT));
}

std::int32_t tree_get_item_state(GadgetObject& g, std::int32_t item) {
    const HWND control = gadget_hwnd(g);
    const HTREEITEM found = item_at(control, item);
    if (!found)
        return 0;
    const auto state = static_cast<UINT>(send(control, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(found),
                                              TVIS_SELECTED | TVIS_EXPANDED | TVIS_STATEIMAGEMASK));
    std::int32_t result = state & TVIS_SELECTED ? PB_Tree_Selected : 0;
    if (send(control, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(found)))
        result |= state & TVIS_EXPANDED ? PB_Tree_Expanded : PB_Tree_Collapsed;
    const UINT check = (state & TVIS_STATEIMAGEMASK) >> 12;
    if (check == 2)
        result |= PB_Tree_Checked;
    else if (check == 3)
        result |= PB_Tree_Inbetween;
    return result;
}

void tree_set_item_state(GadgetObject& g, std::int32_t item, std::int32_t state) {
    const HWND control = gadget_hwnd(g);
    const HTREEITEM found = item_at(control, item);
    if (!found)
        return;
    if (state & PB_Tree_Selected)
        send(control, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(found));
    if (state & (PB_Tree_Expanded | PB_Tree_Collapsed))
        send(control, TVM_EXPAND, state & PB_Tree_Expanded ? TVE_EXPAND : TVE_COLLAPSE,
             reinterpret_cast<LPARAM>(found));
    if (GetWindowLongW(control, GWL_STYLE) & TVS_CHECKBOXES) {
        TVITEMW entry{};
        entry.mask = TVIF_STATE;
        entry.hItem = found;
        entry.stateMask = TVIS_STATEIMAGEMASK;
        entry.state = INDEXTOSTATEIMAGEMASK(state & PB_Tree_Inbetween ? 3 : state & PB_Tree_Checked ? 2 : 1);
        send(control, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
    }
}

std::u16string tree_get_item_text(GadgetObject& g, std::int32_t item, std::int32_t) {
    const HWND control = gadget_hwnd(g);
    return item_text(control, item_at(control, item));
}

std::int32_t tree_set_item_text(GadgetObject& g, std::int32_t item, const std::u16string& text, std::int32_t) {
    const HWND control = gadget_hwnd(g);
    const HTREEITEM found = item_at(control, item);
    if (!found)
        return -1;
    TVITEMW entry{};
    entry.mask = TVIF_TEXT;
    entry.hItem = found;
    entry.pszText = const_cast<wchar_t*>(wide(text));
    return send(control, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&entry)) ? 0 : -1;
}

std::int32_t tree_get_item_attribute(GadgetObject& g, std::int32_t item, std::int32_t attribute, std::int32_t) {
    const HWND control = gadget_hwnd(g);
    const HTREEITEM found = item_at(control, item);
    return found && attribute == PB_Tree_SubLevel ? level_of(control, found) : 0;
}

void tree_set_item_data(GadgetObject& g, std::int32_t item, std::intptr_t value) {
    const HWND control = gadget_hwnd(g);
    TVITEMW entry{};
    entry.mask = TVIF_PARAM;
    entry.hItem = item_at(control, item);
    entry.lParam = value;
    if (entry.hItem)
        send(control, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
}

std::intptr_t tree_get_item_data(GadgetObject& g, std::int32_t item) {
    const HWND control = gadget_hwnd(g);
    TVITEMW entry{};
    entry.mask = TVIF_PARAM;
    entry.hItem = item_at(control, item);
    if (!entry.hItem || !send(control, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry)))
        return 0;
    return entry.lParam;
}

void tree_set_colour(GadgetObject& g, std::int32_t type, std::int32_t colour) {
    const HWND control = gadget_hwnd(g);
    const auto value = static_cast<LPARAM>(colour == -1 ? CLR_DEFAULT : static_cast<COLORREF>(colour));
    if (type == FRONT_COLOR) {
        g.front_colour = colour;
        send(control, TVM_SETTEXTCOLOR, 0, value);
    } else if (type == BACK_COLOR) {
        g.back_colour = colour;
        send(control, TVM_SETBKCOLOR, 0, value);
    }
    InvalidateRect(control, nullptr, TRUE);
}

void tree_set_item_image(GadgetObject& g, std::int32_t item, std::uintptr_t image) {
    const HWND control = gadget_hwnd(g);
    TVITEMW entry{};
    entry.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    entry.hItem = item_at(control, item);
    if (!entry.hItem || !image_index(g, image, entry.iImage))
        return;
    entry.iSelectedImage = entry.iImage;
    send(control, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
}

void tree_set_item_colour(GadgetObject& g, std::int32_t item, std::int32_t type, std::int32_t colour, std::int32_t) {
    const HWND control = gadget_hwnd(g);
    const HTREEITEM found = item_at(control, item);
    if (!found || (type != FRONT_COLOR && type != BACK_COLOR))
        return;
    ItemColours& colours = tree_of(g).colours[found];
    (type == FRONT_COLOR ? colours.front : colours.back) = colour;
    RECT r{};
    std::memcpy(&r, &found, sizeof found);  // the item goes in, its rectangle comes out
    if (send(control, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&r)))
        InvalidateRect(control, &r, TRUE);
}

std::int32_t tree_get_item_colour(GadgetObject& g, std::int32_t item, std::int32_t type, std::int32_t) {
    const auto found = tree_of(g).colours.find(item_at(gadget_hwnd(g), item));
    if (found == tree_of(g).colours.end())
        return -1;
    return type == FRONT_COLOR ? found->second.front : type == BACK_COLOR ? found->second.back : -1;
}

// Slot 8 adds; the plain add (slot 7) is not needed beside it.
constexpr GadgetKindTable kTreeKind{
    .kind = kKindTree,
    .size = kGadgetKindTableSize,
    .notification_handler = tree_notification,
    .free_hook = tree_free,
    .get_state = tree_get_state,
    .set_state = tree_set_state,
    .get_text = tree_get_text,
    .set_text = tree_set_text,
    .add_item_flags = tree_add_item_flags,
    .remove_item = tree_remove_item,
    .clear_items = tree_clear_items,
    .count_items = tree_count_items,
    .get_item_state = tree_get_item_state,
    .set_item_state = tree_set_item_state,
    .get_item_text = tree_get_item_text,
    .set_item_text = tree_set_item_text,
    .get_item_attribute = tree_get_item_attribute,
    .set_colour = tree_set_colour,
    .get_colour = common_get_colour,
    .set_item_colour = tree_set_item_colour,
    .get_item_colour = tree_get_item_colour,
    .set_item_data = tree_set_item_data,
    .get_item_data = tree_get_item_data,
    .set_item_image = tree_set_item_image,
};

}  // namespace

std::intptr_t tree_gadget(std::intptr_t id,
                          std::int32_t x,
                          std::int32_t y,
                          std::int32_t width,
                          std::int32_t height,
                          std::uint32_t flags) {
    auto* tree = new (std::nothrow) TreeRecord{};
    if (!tree)
        return 0;
    DWORD style = kTreeStyle;
    if (!(flags & PB_Tree_NoLines))
        style |= TVS_HASLINES | TVS_LINESATROOT;
    if (!(flags & PB_Tree_NoButtons))
        style |= TVS_HASBUTTONS;
    if (flags & PB_Tree_AlwaysShowSelection)
        style |= TVS_SHOWSELALWAYS;
    if (flags & (PB_Tree_CheckBoxes | PB_Tree_ThreeState))
        style |= TVS_CHECKBOXES;
    const HWND control = create_gadget_control(WS_EX_CLIENTEDGE, WC_TREEVIEWW, u"", style, x, y, width, height);
    // tree_proc before anything can destroy the control: a check-box tree's
    // state list goes with the control only through it.
    if (control) {
        const auto class_proc =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(tree_proc)));
        if (!g_tree_proc)
            g_tree_proc = class_proc;
    }
    GadgetObject* g = allocate_gadget_with(id, control, tree);
    if (!g)
        return 0;
    if (flags & PB_Tree_ThreeState)
        SetPropW(control, kPropThreeState, reinterpret_cast<HANDLE>(1));
    return register_gadget(id, g, control, &kTreeKind);
}
