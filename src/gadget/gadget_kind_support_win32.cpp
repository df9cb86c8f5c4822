// Small services the kind files share: their own window classes and the
// height of one text line in a control's font.
#include "gadget/gadget_internal_win32.h"

bool register_kind_class(const wchar_t* name, WNDPROC proc, int extra_bytes, HBRUSH background) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, name, &existing))
        return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = extra_bytes;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0;
}

std::intptr_t nest_new_gadget_list(std::intptr_t id, std::intptr_t result, HWND list) {
    if (nest_gadget_list(list))
        return result;
    gadget_free(id == PB_Any ? result : id);
    return 0;
}

std::int32_t line_height(HWND control) {
    SIZE extent{};
    if (!measure_in_control_font(control, [&extent](HDC dc) { GetTextExtentPoint32W(dc, L"Hg", 2, &extent); }))
        return 0;
    return extent.cy;
}

void check_kind_required_size(GadgetObject& g, std::int32_t& width, std::int32_t& height) {
    const GadgetSize box{GetSystemMetrics(SM_CXMENUCHECK), GetSystemMetrics(SM_CYMENUCHECK)};
    required_size_from_text(g, TextMeasure::OneLine, width, height,
                            [box](GadgetSize text) { return check_required_size(text, box); });
}

int add_to_image_list(HIMAGELIST list, std::uintptr_t image) {
    if (!list || !image)
        return -1;
    const auto handle = reinterpret_cast<HGDIOBJ>(image);
    if (GetObjectType(handle) != OBJ_BITMAP)
        return ImageList_ReplaceIcon(list, -1, static_cast<HICON>(handle));
    // A bitmap of another size would be cut into several images: scale it to one.
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list, &cx, &cy);
    BITMAP info{};
    GetObjectW(handle, sizeof info, &info);
    const WindowDc screen(nullptr);
    const UniqueMemoryDc from(CreateCompatibleDC(screen.get())), to(CreateCompatibleDC(screen.get()));
    const UniqueHbitmap scaled(CreateCompatibleBitmap(screen.get(), cx, cy));
    if (!from || !to || !scaled)
        return -1;
    {
        const SelectedObject picture(from.get(), handle);
        const SelectedObject into(to.get(), scaled.get());
        SetStretchBltMode(to.get(), HALFTONE);
        StretchBlt(to.get(), 0, 0, cx, cy, from.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
    return ImageList_Add(list, scaled.get(), nullptr);
}

UniqueImageList make_item_image_list() {
    return UniqueImageList(ImageList_Create(kItemImageSize, kItemImageSize, ILC_COLOR32 | ILC_MASK, 4, 4));
}

bool item_image_index(UniqueImageList& list,
                      HWND control,
                      UINT set_list,
                      WPARAM which,
                      std::uintptr_t image,
                      int& index) {
    index = -1;
    if (!image)
        return true;
    if (!list) {
        list = make_item_image_list();
        if (!list)
            return false;
        SendMessageW(control, set_list, which, reinterpret_cast<LPARAM>(list.get()));
    }
    index = add_to_image_list(list.get(), image);
    return index >= 0;
}

HANDLE copy_picture(std::uintptr_t image, bool& icon) {
    icon = false;
    if (!image)
        return nullptr;
    const auto handle = reinterpret_cast<HANDLE>(image);
    if (GetObjectType(handle) == OBJ_BITMAP)
        return CopyImage(handle, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    icon = true;
    return CopyIcon(static_cast<HICON>(handle));
}

void delete_picture(HANDLE picture, bool icon) {
    if (!picture)
        return;
    if (icon)
        DestroyIcon(static_cast<HICON>(picture));
    else
        DeleteObject(picture);
}

GadgetSize picture_size(HANDLE picture, bool icon) {
    if (!picture)
        return {};
    BITMAP bitmap{};
    if (!icon) {
        GetObjectW(picture, sizeof bitmap, &bitmap);
        return {bitmap.bmWidth, bitmap.bmHeight < 0 ? -bitmap.bmHeight : bitmap.bmHeight};
    }
    ICONINFO info{};
    if (!GetIconInfo(static_cast<HICON>(picture), &info))
        return {};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    const GadgetSize size{bitmap.bmWidth, info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2};
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return size;
}

std::int32_t date_from_system_time(const SYSTEMTIME& t) {
    return static_cast<std::int32_t>(date_value({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond}));
}

SYSTEMTIME system_time_from_date(std::int32_t date) {
    const DateFields f = date_fields(date);
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(f.year);
    t.wMonth = static_cast<WORD>(f.month);
    t.wDay = static_cast<WORD>(f.day);
    t.wHour = static_cast<WORD>(f.hour);
    t.wMinute = static_cast<WORD>(f.minute);
    t.wSecond = static_cast<WORD>(f.second);
    // The day of the week: 1970-01-01 was a Thursday.
    const std::int64_t days = (static_cast<std::int64_t>(date) - f.hour * 3600 - f.minute * 60 - f.second) / 86400;
    t.wDayOfWeek = static_cast<WORD>(((days % 7) + 11) % 7);
    return t;
}

std::vector<std::u16string> drive_roots() {
    std::vector<std::u16string> roots;
    wchar_t buffer[512] = {};
    const DWORD length = GetLogicalDriveStringsW(511, buffer);
    if (length == 0 || length > 511)
        return roots;
    for (const wchar_t* at = buffer; *at; at += lstrlenW(at) + 1)
        roots.emplace_back(reinterpret_cast<const char16_t*>(at));
    return roots;
}
