// The explorer tree gadget: "My Documents" and "My Computer" with the drives,
// each folder's subfolders read when it is first expanded.
#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "gadget/explorer_kinds.h"
#include "gadget/gadget_internal_win32.h"
#include "system/wide.h"
#include "window/event_queue.h"
#include "window/gadget_hooks.h"

#include <shellapi.h>
#include <shlobj.h>

namespace {

constexpr DWORD kExplorerTreeStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

struct ExplorerTreeRecord {
    std::uint32_t flags = 0;
    std::vector<std::unique_ptr<std::u16string>> paths;  // item data: the folder of each item ("" for My Computer)
};

ExplorerTreeRecord& tree_of(GadgetObject& g) {
    return *static_cast<ExplorerTreeRecord*>(g.extension);
}

LRESULT send(HWND control, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    return SendMessageW(control, message, wparam, lparam);
}

const std::u16string* path_of(HWND control, HTREEITEM item) {
    TVITEMW entry{};
    entry.mask = TVIF_PARAM;
    entry.hItem = item;
    if (!item || !send(control, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry)))
        return nullptr;
    return reinterpret_cast<const std::u16string*>(entry.lParam);
}

bool has_subfolder(const std::u16string& folder) {
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(wide(folder + u"*"), &data);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool found = false;
    do {
        found = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && lstrcmpW(data.cFileName, L".") != 0 &&
                lstrcmpW(data.cFileName, L"..") != 0;
    } while (!found && FindNextFileW(search, &data));
    FindClose(search);
    return found;
}

HTREEITEM add(HWND control,
              ExplorerTreeRecord& tree,
              HTREEITEM parent,
              const std::u16string& label,
              std::u16string path,
              bool children) {
    auto owned = std::unique_ptr<std::u16string>(new (std::nothrow) std::u16string(std::move(path)));
    if (!owned)
        return nullptr;
    // Kept before the item points at it: the item never holds a path nobody owns.
    const std::u16string* kept = owned.get();
    tree.paths.push_back(std::move(owned));
    SHFILEINFOW info{};
    if (!kept->empty())
        SHGetFileInfoW(wide(*kept), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<wchar_t*>(wide(label));
    insert.item.lParam = reinterpret_cast<LPARAM>(kept);
    insert.item.cChildren = children ? 1 : 0;
    insert.item.iImage = insert.item.iSelectedImage = info.iIcon;
    const auto item = reinterpret_cast<HTREEITEM>(send(control, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (!item)
        std::erase_if(tree.paths, [kept](const std::unique_ptr<std::u16string>& p) { return p.get() == kept; });
    return item;
}

// The subfolders of a folder item, read once (when it has no children yet).
void expand_folder(HWND control, ExplorerTreeRecord& tree, HTREEITEM item) {
    const std::u16string* folder = path_of(control, item);
    if (!folder || folder->empty() || send(control, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)))
        return;
    std::vector<std::u16string> names;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(wide(*folder + u"*"), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && lstrcmpW(data.cFileName, L".") != 0 &&
                lstrcmpW(data.cFileName, L"..") != 0)
                names.push_back(from_wide(data.cFileName));
        } while (FindNextFileW(search, &data));
        FindClose(search);
    }
    std::sort(names.begin(), names.end(),
              [](const std::u16string& a, const std::u16string& b) { return lstrcmpiW(wide(a), wide(b)) < 0; });
    for (const std::u16string& name : names) {
        const std::u16string path = *folder + name + u"\\";
        add(control, tree, item, name, path, has_subfolder(path));
    }
    if (names.empty()) {
        TVITEMW none{};
        none.mask = TVIF_CHILDREN;
        none.hItem = item;
        send(control, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&none));
    }
}

std::intptr_t explorertree_notification(GadgetObject& g,
                                        void*,
                                        unsigned message,
                                        std::uintptr_t,
                                        std::intptr_t lparam) {
    if (message != WM_NOTIFY)
        return NOT_HANDLED;
    const HWND control = gadget_hwnd(g);
    switch (reinterpret_cast<const NMHDR*>(lparam)->code) {
        case TVN_ITEMEXPANDINGW: {
            const auto* change = reinterpret_cast<const NMTREEVIEWW*>(lparam);
            if (change->action & TVE_EXPAND)
                expand_folder(control, tree_of(g), change->itemNew.hItem);
            return FALSE;
        }
        case TVN_SELCHANGEDW:
            post_gadget_event(control, ET_CHANGE);
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
        case TVN_BEGINDRAGW:
            post_gadget_event(control, ET_DRAG_START);
            return 0;
    }
    return NOT_HANDLED;
}

void explorertree_free(GadgetObject& g) {
    common_free_hook(g);
    delete static_cast<ExplorerTreeRecord*>(g.extension);
    g.extension = nullptr;
}

HTREEITEM selected(HWND control) {
    return reinterpret_cast<HTREEITEM>(send(control, TVM_GETNEXTITEM, TVGN_CARET));
}

// 1 while a folder is selected, 0 otherwise ("My Computer" or nothing).
std::int32_t explorertree_get_state(GadgetObject& g) {
    const std::u16string* path = path_of(gadget_hwnd(g), selected(gadget_hwnd(g)));
    return path && !path->empty() ? 1 : 0;
}

std::u16string explorertree_get_text(GadgetObject& g) {
    const std::u16string* path = path_of(gadget_hwnd(g), selected(gadget_hwnd(g)));
    return path ? *path : std::u16string();
}

// Opens the tree along the path (compared ignoring case) and selects the
// deepest folder of it that exists.
void explorertree_set_text(GadgetObject& g, const std::u16string& text) {
    const HWND control = gadget_hwnd(g);
    std::u16string wanted = text;
    std::replace(wanted.begin(), wanted.end(), u'/', u'\\');
    if (!wanted.empty() && wanted.back() != u'\\')
        wanted += u'\\';
    const auto starts = [&wanted](const std::u16string& path) {
        return !path.empty() && path.size() <= wanted.size() &&
               CompareStringOrdinal(wide(path), static_cast<int>(path.size()), wide(wanted),
                                    static_cast<int>(path.size()), TRUE) == CSTR_EQUAL;
    };
    HTREEITEM best = nullptr;
    std::size_t best_length = 0;
    std::vector<HTREEITEM> level{reinterpret_cast<HTREEITEM>(send(control, TVM_GETNEXTITEM, TVGN_ROOT))};
    while (!level.empty()) {
        std::vector<HTREEITEM> next;
        for (HTREEITEM first : level)
            for (HTREEITEM item = first; item;
                 item = reinterpret_cast<HTREEITEM>(
                     send(control, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
                const std::u16string* path = path_of(control, item);
                if (path && (path->empty() || starts(*path))) {
                    if (path && !path->empty() && path->size() > best_length) {
                        best = item;
                        best_length = path->size();
                    }
                    send(control, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
                    if (auto child = reinterpret_cast<HTREEITEM>(
                            send(control, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item))))
                        next.push_back(child);
                }
            }
        level = std::move(next);
    }
    if (best)
        send(control, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(best));
}

void explorertree_set_colour(GadgetObject& g, std::int32_t type, std::int32_t colour) {
    const auto value = static_cast<LPARAM>(colour == -1 ? CLR_DEFAULT : static_cast<COLORREF>(colour));
    if (type == FRONT_COLOR) {
        g.front_colour = colour;
        send(gadget_hwnd(g), TVM_SETTEXTCOLOR, 0, value);
    } else if (type == BACK_COLOR) {
        g.back_colour = colour;
        send(gadget_hwnd(g), TVM_SETBKCOLOR, 0, value);
    }
}

constexpr GadgetKindTable kExplorerTreeKind{
    .kind = kKindExplorerTree,
    .size = kGadgetKindTableSize,
    .notification_handler = explorertree_notification,
    .free_hook = explorertree_free,
    .get_state = explorertree_get_state,
    .get_text = explorertree_get_text,
    .set_text = explorertree_set_text,
    .set_colour = explorertree_set_colour,
    .get_colour = common_get_colour,
};

}  // namespace

std::intptr_t explorertree_gadget(std::intptr_t id,
                                  std::int32_t x,
                                  std::int32_t y,
                                  std::int32_t width,
                                  std::int32_t height,
                                  const char16_t* path,
                                  std::uint32_t flags) {
    auto* tree = new (std::nothrow) ExplorerTreeRecord{};
    if (!tree)
        return 0;
    tree->flags = flags;
    DWORD style = kExplorerTreeStyle;
    if (!(flags & PB_Explorer_NoLines))
        style |= TVS_HASLINES | TVS_LINESATROOT;
    if (!(flags & PB_Explorer_NoButtons))
        style |= TVS_HASBUTTONS;
    if (flags & PB_Explorer_AlwaysShowSelection)
        style |= TVS_SHOWSELALWAYS;
    const DWORD ex_style = flags & PB_Explorer_BorderLess ? 0 : WS_EX_CLIENTEDGE;
    const HWND control = create_gadget_control(ex_style, WC_TREEVIEWW, u"", style, x, y, width, height);
    GadgetObject* g = allocate_gadget_with(id, control, tree);
    if (!g)
        return 0;
    SHFILEINFOW info{};
    const auto icons = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    send(control, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(icons));
    const std::intptr_t result = register_gadget(id, g, control, &kExplorerTreeKind);
    EventSuppression quiet;
    if (!(flags & PB_Explorer_NoMyDocuments)) {
        wchar_t documents[MAX_PATH] = {};
        if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, documents))) {
            std::u16string folder = from_wide(documents);
            if (!folder.empty() && folder.back() != u'\\')
                folder += u'\\';
            add(control, *tree, TVI_ROOT, u"My Documents", folder, true);
        }
    }
    if (HTREEITEM computer = add(control, *tree, TVI_ROOT, u"My Computer", u"", true)) {
        for (const std::u16string& root : drive_roots())
            add(control, *tree, computer, root.substr(0, 2), root, true);
        send(control, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(computer));
    }
    if (path && *path)
        explorertree_set_text(*g, path);
    return result;
}
