// The explorer combo gadget: an editable path over the list of drives, with
// the shell's completion of paths as they are typed.
#include "gadget/explorer_kinds.h"
#include "gadget/gadget_internal_win32.h"
#include "system/wide.h"
#include "window/event_queue.h"
#include "window/gadget_hooks.h"
#include "window/window.h"

#include <shellapi.h>

namespace {

constexpr DWORD kExplorerComboStyle = WS_CHILD | WS_VISIBLE | CBS_DROPDOWN;
static_assert(kExplorerComboStyle == 0x50000002);
constexpr std::int32_t kDroppedHeight = 350;
constexpr DWORD kCompleteFileSystem = 0x1;  // SHACF_FILESYSTEM

using AutoCompleteFn = HRESULT(WINAPI*)(HWND, DWORD);

LRESULT send(HWND control, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    return SendMessageW(control, message, wparam, lparam);
}

HWND edit_of(HWND control) {
    return reinterpret_cast<HWND>(send(control, CBEM_GETEDITCONTROL));
}

std::u16string item_text(HWND control, int item) {
    wchar_t buffer[MAX_PATH] = {};
    COMBOBOXEXITEMW entry{};
    entry.mask = CBEIF_TEXT;
    entry.iItem = item;
    entry.pszText = buffer;
    entry.cchTextMax = MAX_PATH;
    send(control, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
    return from_wide(buffer);
}

std::intptr_t explorercombo_notification(GadgetObject& g,
                                         void*,
                                         unsigned message,
                                         std::uintptr_t wparam,
                                         std::intptr_t lparam) {
    const HWND control = gadget_hwnd(g);
    if (message == WM_COMMAND) {
        if (HIWORD(wparam) == CBN_SELCHANGE) {
            const auto item = static_cast<int>(send(control, CB_GETCURSEL));
            if (item >= 0)
                SetWindowTextW(edit_of(control), wide(item_text(control, item)));
            post_gadget_event(control, ET_LEFT_CLICK);
        }
        return 0;
    }
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lparam)->code == CBEN_ENDEDITW &&
        reinterpret_cast<const NMCBEENDEDITW*>(lparam)->iWhy == CBENF_RETURN) {
        post_gadget_event(control, ET_LEFT_CLICK);
        return FALSE;
    }
    return NOT_HANDLED;
}

std::u16string explorercombo_get_text(GadgetObject& g) {
    std::u16string text;
    return control_text(edit_of(gadget_hwnd(g)), text) ? text : std::u16string();
}

void explorercombo_set_text(GadgetObject& g, const std::u16string& text) {
    SetWindowTextW(edit_of(gadget_hwnd(g)), wide(text));
}

// Nothing to free: the drives' icons are the shell's shared list.
// The list always drops 350 pixels; the field keeps the control's own height.
void explorercombo_resize(GadgetObject& g, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t) {
    gadget_default_resize(g, x, y, width, kDroppedHeight);
}

constexpr GadgetKindTable kExplorerComboKind{
    .kind = kKindExplorerCombo,
    .size = kGadgetKindTableSize,
    .notification_handler = explorercombo_notification,
    .get_text = explorercombo_get_text,
    .set_text = explorercombo_set_text,
    .resize = explorercombo_resize,
};

void add_drives(HWND control) {
    SHFILEINFOW info{};
    const auto icons = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    send(control, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(icons));
    int item = 0;
    for (const std::u16string& root : drive_roots()) {
        SHGetFileInfoW(wide(root), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
        COMBOBOXEXITEMW entry{};
        entry.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
        entry.iItem = item++;
        entry.pszText = const_cast<wchar_t*>(wide(root));
        entry.iImage = entry.iSelectedImage = info.iIcon;
        send(control, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&entry));
    }
}

}  // namespace

std::intptr_t explorercombo_gadget(std::intptr_t id,
                                   std::int32_t x,
                                   std::int32_t y,
                                   std::int32_t width,
                                   std::int32_t,
                                   const char16_t* path,
                                   std::uint32_t) {
    const HWND control =
        create_gadget_control(0, WC_COMBOBOXEXW, u"", kExplorerComboStyle, x, y, width, kDroppedHeight);
    if (!control)
        return 0;
    GadgetObject* g = allocate_gadget(id, control);
    if (!g)
        return 0;
    const std::intptr_t result = register_gadget(id, g, control, &kExplorerComboKind);
    EventSuppression quiet;
    add_drives(control);
    if (HMODULE shell = LoadLibraryW(L"shlwapi.dll"))
        if (auto complete =
                reinterpret_cast<AutoCompleteFn>(reinterpret_cast<void*>(GetProcAddress(shell, "SHAutoComplete"))))
            complete(edit_of(control), kCompleteFileSystem);
    explorercombo_set_text(*g, text_or_empty(path));
    return result;
}
