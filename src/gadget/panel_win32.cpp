// The panel gadget: a tab control with one hidden page window per tab; the
// selected tab's page is placed on the tab control's display area and shown.
#include <new>

#include "gadget/container_kinds.h"
#include "gadget/gadget_internal_win32.h"
#include "gadget/panel_page.h"
#include "system/wide.h"
#include "window/gadget_hooks.h"
#include "window/window.h"

namespace {

constexpr DWORD kPanelStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
static_assert(kPanelStyle == 0x50030000);
constexpr DWORD kPageStyle = WS_CHILD | WS_CLIPSIBLINGS;

using IsAppThemedFn = BOOL(WINAPI*)();
using DrawThemeParentBackgroundFn = HRESULT(WINAPI*)(HWND, HDC, const RECT*);

struct PanelKindState {
    bool checked = false;
    bool styled = false;  // visual styles active
    DrawThemeParentBackgroundFn draw_parent_background = nullptr;
};
PanelKindState g_kind;
WNDPROC g_tab_proc = nullptr;
WNDPROC g_static_proc = nullptr;

struct PanelRecord {
    UniqueImageList images;
};

// Visual styles need version 6 of the common controls and an active theme.
void check_visual_styles() {
    if (g_kind.checked)
        return;
    g_kind.checked = true;
    DWORD major = 0;
    if (HMODULE controls = GetModuleHandleW(L"comctl32.dll")) {
        struct VersionInfo {
            DWORD size, major, minor, build, platform;
        };
        using DllGetVersionFn = HRESULT(WINAPI*)(VersionInfo*);
        if (auto get_version =
                reinterpret_cast<DllGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(controls, "DllGetVersion")))) {
            VersionInfo info{sizeof(VersionInfo), 0, 0, 0, 0};
            if (SUCCEEDED(get_version(&info)))
                major = info.major;
        }
    }
    HMODULE theme = LoadLibraryW(L"uxtheme.dll");
    if (!theme)
        return;
    g_kind.draw_parent_background = reinterpret_cast<DrawThemeParentBackgroundFn>(
        reinterpret_cast<void*>(GetProcAddress(theme, "DrawThemeParentBackground")));
    const auto is_themed =
        reinterpret_cast<IsAppThemedFn>(reinterpret_cast<void*>(GetProcAddress(theme, "IsAppThemed")));
    g_kind.styled = major >= 6 && is_themed && is_themed();
}

LRESULT send(HWND control, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    return SendMessageW(control, message, wparam, lparam);
}

std::int32_t tab_count(HWND tab) {
    return static_cast<std::int32_t>(send(tab, TCM_GETITEMCOUNT));
}

HWND page_of(HWND tab, std::int32_t index) {
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    if (index < 0 || !send(tab, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<HWND>(item.lParam);
}

HWND current_page(HWND tab) {
    return page_of(tab, static_cast<std::int32_t>(send(tab, TCM_GETCURSEL)));
}

PageRect page_rect(HWND tab) {
    RECT client{};
    GetClientRect(tab, &client);
    if (g_kind.styled) {
        RECT area = client;
        send(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        return styled_page_rect(area.left, area.top, area.right, area.bottom);
    }
    RECT first{};
    send(tab, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    const auto rows = static_cast<std::int32_t>(send(tab, TCM_GETROWCOUNT));
    return plain_page_rect(client.right, client.bottom, rows, first.bottom - first.top);
}

void place_page(HWND tab, HWND page) {
    if (!page)
        return;
    const PageRect r = page_rect(tab);
    MoveWindow(page, r.x, r.y, r.width, r.height, TRUE);
}

void hide_page(HWND page) {
    if (page) {
        ShowWindow(page, SW_HIDE);
        EnableWindow(page, FALSE);
    }
}

void show_page(HWND tab, HWND page) {
    if (!page)
        return;
    place_page(tab, page);
    EnableWindow(page, TRUE);
    ShowWindow(page, SW_SHOW);
}

// A change of tab made by the program: the same page switch the user's makes, without an event.
void select_tab(HWND tab, std::int32_t index) {
    hide_page(current_page(tab));
    send(tab, TCM_SETCURSEL, static_cast<WPARAM>(index));
    show_page(tab, current_page(tab));
}

std::intptr_t panel_notification(GadgetObject& g, void*, unsigned message, std::uintptr_t, std::intptr_t lparam) {
    if (message != WM_NOTIFY)
        return NOT_HANDLED;
    const HWND tab = gadget_hwnd(g);
    switch (reinterpret_cast<const NMHDR*>(lparam)->code) {
        case TCN_SELCHANGING:
            hide_page(current_page(tab));
            return FALSE;
        case TCN_SELCHANGE:
            show_page(tab, current_page(tab));
            post_gadget_event(tab, ET_CHANGE);
            return 0;
    }
    return NOT_HANDLED;
}

PanelRecord& panel_of(GadgetObject& g) {
    return *static_cast<PanelRecord*>(g.extension);
}

void panel_free(GadgetObject& g) {
    delete static_cast<PanelRecord*>(g.extension);
    g.extension = nullptr;
}

std::int32_t panel_get_state(GadgetObject& g) {
    return static_cast<std::int32_t>(send(gadget_hwnd(g), TCM_GETCURSEL));
}

void panel_set_state(GadgetObject& g, std::int32_t state) {
    const HWND tab = gadget_hwnd(g);
    if (state >= 0 && state < tab_count(tab))
        select_tab(tab, state);
}

std::u16string tab_text(HWND tab, std::int32_t index) {
    wchar_t buffer[512] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = static_cast<int>(std::size(buffer));
    if (index < 0 || !send(tab, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
        return {};
    return from_wide(item.pszText);
}

bool set_tab_text(HWND tab, std::int32_t index, const std::u16string& text) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(wide(text));
    return index >= 0 && send(tab, TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

std::u16string panel_get_text(GadgetObject& g) {
    return tab_text(gadget_hwnd(g), panel_get_state(g));
}

void panel_set_text(GadgetObject& g, const std::u16string& text) {
    set_tab_text(gadget_hwnd(g), panel_get_state(g), text);
}

bool image_index(GadgetObject& g, std::uintptr_t image, int& index) {
    return item_image_index(panel_of(g).images, gadget_hwnd(g), TCM_SETIMAGELIST, 0, image, index);
}

LRESULT CALLBACK page_proc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) noexcept;

std::int32_t panel_add_item(GadgetObject& g, std::int32_t position, const std::u16string& text, std::uintptr_t image) {
    const HWND tab = gadget_hwnd(g);
    int index_of_image = -1;
    if (!image_index(g, image, index_of_image))
        return -1;
    const HWND page =
        CreateWindowExW(0, L"STATIC", L"", kPageStyle, 0, 0, 0, 0, tab, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!page)
        return -1;
    const auto class_proc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(page, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(page_proc)));
    if (!g_static_proc)
        g_static_proc = class_proc;
    SendMessageW(page, WM_SETFONT, reinterpret_cast<WPARAM>(gadget_library_state().new_gadget_font), FALSE);
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<wchar_t*>(wide(text));
    item.lParam = reinterpret_cast<LPARAM>(page);
    if (index_of_image >= 0) {
        item.mask |= TCIF_IMAGE;
        item.iImage = index_of_image;
    }
    const std::int32_t count = tab_count(tab);
    const std::int32_t at = position < 0 || position > count ? count : position;
    const auto index =
        static_cast<std::int32_t>(send(tab, TCM_INSERTITEMW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&item)));
    if (index < 0) {
        DestroyWindow(page);
        return -1;
    }
    set_current_gadget_list(page);
    std::int32_t selected = static_cast<std::int32_t>(send(tab, TCM_GETCURSEL));
    if (selected < 0)
        selected = 0;
    send(tab, TCM_SETCURSEL, static_cast<WPARAM>(selected));
    show_page(tab, current_page(tab));
    return index;
}

void panel_remove_item(GadgetObject& g, std::int32_t item) {
    const HWND tab = gadget_hwnd(g);
    const std::int32_t count = tab_count(tab);
    if (item < 0 || item >= count)
        return;
    if (count < 2) {
        // The last tab: its page is hidden the way a change of tab would hide it.
        NMHDR header{tab, static_cast<UINT_PTR>(GetWindowLongPtrW(tab, GWLP_ID)), static_cast<UINT>(TCN_SELCHANGING)};
        send(GetParent(tab), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    } else {
        select_tab(tab, item == 0 ? 1 : 0);
    }
    const HWND page = page_of(tab, item);
    send(tab, TCM_DELETEITEM, static_cast<WPARAM>(item));
    if (page)
        DestroyWindow(page);
}

void panel_clear_items(GadgetObject& g) {
    const HWND tab = gadget_hwnd(g);
    // A page shown for the first time reports its size, and the callbacks may
    // free the panel: it is looked up again after each removal.
    for (GadgetObject* live = &g; live;) {
        if (tab_count(tab) == 0) {
            if (panel_of(*live).images)
                ImageList_RemoveAll(panel_of(*live).images.get());
            return;
        }
        panel_remove_item(*live, 0);
        live = gadget_of_control(tab);
    }
}

std::int32_t panel_count_items(GadgetObject& g) {
    return tab_count(gadget_hwnd(g));
}

std::u16string panel_get_item_text(GadgetObject& g, std::int32_t item, std::int32_t) {
    return tab_text(gadget_hwnd(g), item);
}

std::int32_t panel_set_item_text(GadgetObject& g, std::int32_t item, const std::u16string& text, std::int32_t) {
    return set_tab_text(gadget_hwnd(g), item, text) ? 0 : -1;
}

std::intptr_t panel_open_list(GadgetObject& g, std::int32_t item) {
    const HWND tab = gadget_hwnd(g);
    if (item == -2)
        return nest_gadget_list(tab) ? reinterpret_cast<std::intptr_t>(tab) : 0;
    const HWND page = page_of(tab, item);
    if (!page || !nest_gadget_list(tab))
        return 0;
    set_current_gadget_list(page);
    return reinterpret_cast<std::intptr_t>(page);
}

std::int32_t panel_get_attribute(GadgetObject& g, std::int32_t attribute) {
    const HWND tab = gadget_hwnd(g);
    const HWND page = current_page(tab);
    if (!page)
        return 0;
    RECT r{};
    switch (attribute) {
        case PB_Panel_ItemWidth:
            GetClientRect(page, &r);
            return r.right;
        case PB_Panel_ItemHeight:
            GetClientRect(page, &r);
            return r.bottom;
        case PB_Panel_TabHeight:
            send(tab, TCM_GETITEMRECT, send(tab, TCM_GETCURSEL), reinterpret_cast<LPARAM>(&r));
            return r.top + r.bottom;
    }
    return 0;
}

void panel_set_item_data(GadgetObject& g, std::int32_t item, std::intptr_t value) {
    if (HWND page = page_of(gadget_hwnd(g), item))
        SetWindowLongPtrW(page, GWLP_USERDATA, value);
}

std::intptr_t panel_get_item_data(GadgetObject& g, std::int32_t item) {
    const HWND page = page_of(gadget_hwnd(g), item);
    return page ? GetWindowLongPtrW(page, GWLP_USERDATA) : 0;
}

void panel_set_item_image(GadgetObject& g, std::int32_t item, std::uintptr_t image) {
    TCITEMW entry{};
    entry.mask = TCIF_IMAGE;
    if (!image_index(g, image, entry.iImage))
        return;
    send(gadget_hwnd(g), TCM_SETITEMW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&entry));
}

constexpr GadgetKindTable kPanelKind{
    .kind = kKindPanel,
    .size = kGadgetKindTableSize,
    .notification_handler = panel_notification,
    .free_hook = panel_free,
    .get_state = panel_get_state,
    .set_state = panel_set_state,
    .get_text = panel_get_text,
    .set_text = panel_set_text,
    .add_item = panel_add_item,
    .remove_item = panel_remove_item,
    .clear_items = panel_clear_items,
    .count_items = panel_count_items,
    .get_item_text = panel_get_item_text,
    .set_item_text = panel_set_item_text,
    .open_list = panel_open_list,
    .get_attribute = panel_get_attribute,
    .set_item_data = panel_set_item_data,
    .get_item_data = panel_get_item_data,
    .set_item_image = panel_set_item_image,
};

// A pattern brush of the tab control's themed background under the page, so
// that labels, buttons and sliders on it look transparent.
HBRUSH themed_brush(HWND page) {
    if (!g_kind.draw_parent_background)
        return nullptr;
    RECT r{};
    GetClientRect(page, &r);
    const WindowDc screen(page);
    const UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    const UniqueHbitmap bitmap(
        CreateCompatibleBitmap(screen.get(), r.right > 0 ? r.right : 1, r.bottom > 0 ? r.bottom : 1));
    if (!dc || !bitmap)
        return nullptr;
    {
        const SelectedObject background(dc.get(), bitmap.get());
        g_kind.draw_parent_background(page, dc.get(), &r);
    }
    return CreatePatternBrush(bitmap.get());
}

bool wants_themed_background(HWND child) {
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    return lstrcmpiW(name, L"msctls_trackbar32") == 0 || lstrcmpiW(name, L"static") == 0 ||
           lstrcmpiW(name, L"button") == 0;
}

LRESULT CALLBACK page_proc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    const HWND tab = GetParent(page);
    switch (message) {
        case WM_SIZE:
            post_gadget_event_forced(tab, ET_RESIZE);
            break;
        case WM_ERASEBKGND:
            if (g_kind.styled)
                return 1;
            break;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            if (g_kind.styled && wants_themed_background(reinterpret_cast<HWND>(lparam))) {
                const std::intptr_t routed = window_translate_message(page, message, wparam, lparam);
                if (routed != NOT_HANDLED)
                    return routed;
                HBRUSH& kept = gadget_library_state().panel_brush;
                if (kept)
                    DeleteObject(kept);
                kept = themed_brush(page);
                if (kept) {
                    // The child paints with the pattern's origin at the page's corner.
                    POINT origin{0, 0};
                    MapWindowPoints(reinterpret_cast<HWND>(lparam), page, &origin, 1);
                    SetBrushOrgEx(reinterpret_cast<HDC>(wparam), -origin.x, -origin.y, nullptr);
                    SetBkMode(reinterpret_cast<HDC>(wparam), 1);
                    return reinterpret_cast<LRESULT>(kept);
                }
            }
            break;
    }
    const std::intptr_t result = window_translate_message(page, message, wparam, lparam);
    if (result != NOT_HANDLED)
        return result;
    return CallWindowProcW(g_static_proc, page, message, wparam, lparam);
}

// The tab control keeps its page on the display area as it is resized.
LRESULT CALLBACK panel_proc(HWND tab, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    const LRESULT result = CallWindowProcW(g_tab_proc, tab, message, wparam, lparam);
    if (message == WM_SIZE)
        place_page(tab, current_page(tab));
    return result;
}

}  // namespace

std::intptr_t panel_gadget(std::intptr_t id, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    check_visual_styles();
    auto* panel = new (std::nothrow) PanelRecord{};
    if (!panel)
        return 0;
    const HWND tab = create_gadget_control(WS_EX_TRANSPARENT, WC_TABCONTROLW, u"", kPanelStyle, x, y, width, height);
    GadgetObject* g = tab ? allocate_gadget(id, tab) : nullptr;
    if (!g) {
        delete panel;
        return 0;
    }
    g->extension = panel;
    const auto class_proc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(tab, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(panel_proc)));
    if (!g_tab_proc)
        g_tab_proc = class_proc;
    SetWindowPos(tab, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return nest_new_gadget_list(id, register_gadget(id, g, tab, &kPanelKind), tab);
}
