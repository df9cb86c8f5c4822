// Image objects: made, loaded from real .bmp and .ico files, drawn on, freed.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image/image.h"
#include "support/scratch_dir.h"
#include "system/win32.h"

namespace {

class ImageTest : public ::testing::Test {
protected:
    void SetUp() override { init_images(); }
    void TearDown() override { end_images(); }
};

template <class T>
void put(std::vector<char>& out, T value) {
    const char* bytes = reinterpret_cast<const char*>(&value);
    out.insert(out.end(), bytes, bytes + sizeof value);
}

// A width × height 24-bit bitmap file, every pixel blue.
std::vector<char> bmp_file(int width, int height) {
    const int row = (width * 3 + 3) / 4 * 4;
    std::vector<char> out;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + row * height;
    put(out, file);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    put(out, info);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < row; ++x)
            out.push_back(x < width * 3 && x % 3 == 0 ? static_cast<char>(0xFF) : 0);
    return out;
}

// A 16 × 16 32-bit icon file with one image.
std::vector<char> ico_file() {
    constexpr int kSide = 16;
    const int xor_bytes = kSide * kSide * 4, and_bytes = kSide * 4;
    std::vector<char> out;
    put<WORD>(out, 0);
    put<WORD>(out, 1);
    put<WORD>(out, 1);
    out.push_back(kSide);
    out.push_back(kSide);
    out.push_back(0);
    out.push_back(0);
    put<WORD>(out, 1);
    put<WORD>(out, 32);
    put<DWORD>(out, sizeof(BITMAPINFOHEADER) + xor_bytes + and_bytes);
    put<DWORD>(out, 6 + 16);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = kSide;
    info.biHeight = 2 * kSide;
    info.biPlanes = 1;
    info.biBitCount = 32;
    put(out, info);
    out.insert(out.end(), xor_bytes, static_cast<char>(0x80));
    out.insert(out.end(), and_bytes, 0);
    return out;
}

TEST_F(ImageTest, MadeImagesHaveTheirSizeAndNumbersOrHandles) {
    const std::intptr_t bitmap = create_image(3, 40, 20);
    ASSERT_NE(bitmap, 0);
    EXPECT_EQ(static_cast<std::uintptr_t>(bitmap), image_handle(3));
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(bitmap)), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(image_width(3), 40);
    EXPECT_EQ(image_height(3), 20);
    EXPECT_FALSE(image_is_icon(3));
    const std::intptr_t any = create_image(PB_Any, 5, 6);
    ASSERT_NE(any, 0);
    EXPECT_TRUE(is_image(any));
    EXPECT_EQ(image_width(any), 5);
    EXPECT_EQ(create_image(4, 0, 10), 0);
    EXPECT_EQ(create_image(4, 10, -1), 0);
    EXPECT_FALSE(is_image(4));

    // A number in use loses its old image; PB_Any frees every image.
    ASSERT_NE(create_image(3, 8, 8), 0);
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(bitmap)), 0u);
    free_image(PB_Any);
    EXPECT_FALSE(is_image(3));
    EXPECT_FALSE(is_image(any));
    EXPECT_EQ(image_handle(any), 0u);
    EXPECT_EQ(image_width(12345), 0);
}

TEST_F(ImageTest, DrawingReachesTheImagesPixels) {
    ASSERT_NE(create_image(1, 10, 10), 0);
    const bool drawn = draw_on_image(
        1,
        [](void* dc, std::int32_t width, std::int32_t height, void*) {
            RECT r{0, 0, width, height};
            HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
            FillRect(static_cast<HDC>(dc), &r, red);
            DeleteObject(red);
        },
        nullptr);
    EXPECT_TRUE(drawn);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(image_handle(1)));
    EXPECT_EQ(GetPixel(dc, 9, 9), RGB(255, 0, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_FALSE(draw_on_image(
        2, [](void*, std::int32_t, std::int32_t, void*) { FAIL(); }, nullptr));
}

TEST_F(ImageTest, BitmapAndIconFilesLoadAsTheirKind) {
    ScratchDir dir;
    const std::vector<char> bmp = bmp_file(7, 5), ico = ico_file();
    const std::u16string bmp_path = dir.write(u"blue.bmp", std::string(bmp.begin(), bmp.end()));
    const std::u16string ico_path = dir.write(u"mark.ICO", std::string(ico.begin(), ico.end()));
    ASSERT_NE(load_image(1, bmp_path), 0);
    EXPECT_EQ(image_width(1), 7);
    EXPECT_EQ(image_height(1), 5);
    EXPECT_FALSE(image_is_icon(1));
    ASSERT_NE(load_image(2, ico_path), 0);
    EXPECT_TRUE(image_is_icon(2));
    EXPECT_EQ(image_width(2), 16);
    EXPECT_EQ(image_height(2), 16);
    EXPECT_FALSE(draw_on_image(
        2, [](void*, std::int32_t, std::int32_t, void*) {}, nullptr));

    // Missing, foreign and broken files make nothing; the number keeps its image.
    const std::u16string text = dir.write(u"note.txt", "not a picture");
    const std::u16string broken = dir.write(u"broken.bmp", "BM and then nothing");
    EXPECT_EQ(load_image(1, text), 0);
    EXPECT_EQ(load_image(1, broken), 0);
    EXPECT_EQ(load_image(1, dir.path(u"missing.ico")), 0);
    EXPECT_EQ(image_width(1), 7);
}

}  // namespace
