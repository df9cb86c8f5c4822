// Image objects as GDI bitmaps and icons, kept in the image registry.
#include "image/image.h"

#include <memory>
#include <string>

#include "base/object_library.h"
#include "system/handles_win32.h"
#include "system/text_case.h"
#include "system/wide.h"
#include "system/win32.h"

namespace {

// The handle is also the record's liveness word.
struct ImageRecord {
    HGDIOBJ handle;
    std::int32_t width;
    std::int32_t height;
    std::int32_t icon;
};

constexpr std::int32_t kImageIncrement = 16;

std::unique_ptr<ObjectLibrary<ImageRecord>> g_images;

ImageRecord* record_of(std::intptr_t id) {
    return g_images ? g_images->find(id) : nullptr;
}

void delete_handle(HGDIOBJ handle, bool icon) {
    if (icon)
        DestroyIcon(static_cast<HICON>(handle));
    else
        DeleteObject(handle);
}

// Takes over a made platform object; on failure it is deleted.
std::intptr_t keep(std::intptr_t id, HGDIOBJ handle, std::int32_t width, std::int32_t height, bool icon) {
    const auto made = g_images->create(id);
    if (!made) {
        delete_handle(handle, icon);
        return 0;
    }
    *made.record = ImageRecord{handle, width, height, icon ? 1 : 0};
    return made.result(reinterpret_cast<std::intptr_t>(handle));
}

HBITMAP blank_bitmap(std::int32_t width, std::int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

bool icon_size(HICON icon, std::int32_t& width, std::int32_t& height) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return false;
    BITMAP bitmap{};
    const bool colour = info.hbmColor != nullptr;
    GetObjectW(colour ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    width = bitmap.bmWidth;
    // A mask-only icon stacks its AND and XOR masks.
    height = colour ? bitmap.bmHeight : bitmap.bmHeight / 2;
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return true;
}

}  // namespace

void init_images() {
    if (!g_images)
        g_images = std::make_unique<ObjectLibrary<ImageRecord>>(kImageIncrement, free_image);
}

void end_images() {
    free_image(PB_Any);
    g_images.reset();
}

std::intptr_t create_image(std::intptr_t id, std::int32_t width, std::int32_t height) {
    if (!g_images || width <= 0 || height <= 0)
        return 0;
    HBITMAP bitmap = blank_bitmap(width, height);
    return bitmap ? keep(id, bitmap, width, height, false) : 0;
}

std::intptr_t load_image(std::intptr_t id, std::u16string_view path) {
    if (!g_images)
        return 0;
    const std::u16string file(path);
    const std::size_t dot = file.find_last_of(u'.');
    const std::u16string extension = dot == std::u16string::npos ? std::u16string() : lower_case(file.substr(dot));
    if (extension == u".ico") {
        auto icon = static_cast<HICON>(LoadImageW(nullptr, wide(file), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
        std::int32_t width = 0, height = 0;
        if (!icon)
            return 0;
        if (!icon_size(icon, width, height)) {
            DestroyIcon(icon);
            return 0;
        }
        return keep(id, icon, width, height, true);
    }
    if (extension != u".bmp")
        return 0;
    auto bitmap = static_cast<HBITMAP>(
        LoadImageW(nullptr, wide(file), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bitmap)
        return 0;
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    return keep(id, bitmap, info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight, false);
}

void free_image(std::intptr_t id) {
    if (!g_images)
        return;
    const ImageRecord* image = g_images->free_all_or_find(id);
    if (!image)
        return;
    delete_handle(image->handle, image->icon != 0);
    g_images->release(id);
}

bool is_image(std::intptr_t id) {
    return record_of(id) != nullptr;
}

std::uintptr_t image_handle(std::intptr_t id) {
    const ImageRecord* image = record_of(id);
    return image ? reinterpret_cast<std::uintptr_t>(image->handle) : 0;
}

bool image_is_icon(std::intptr_t id) {
    const ImageRecord* image = record_of(id);
    return image && image->icon;
}

std::int32_t image_width(std::intptr_t id) {
    const ImageRecord* image = record_of(id);
    return image ? image->width : 0;
}

std::int32_t image_height(std::intptr_t id) {
    const ImageRecord* image = record_of(id);
    return image ? image->height : 0;
}

bool draw_on_image(std::intptr_t id, ImageDrawRoutine draw, void* user) {
    const ImageRecord* image = record_of(id);
    if (!image || image->icon || !draw)
        return false;
    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc)
        return false;
    const SelectedObject drawing(dc.get(), image->handle);
    draw(dc.get(), image->width, image->height, user);
    return true;
}
