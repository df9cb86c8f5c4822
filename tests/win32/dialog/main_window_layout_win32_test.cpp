// The program's own window definition opened with its layout variables at
// 96 and 120 DPI: the real controls land exactly where the layout rules put
// them, computed here from the controls' own measurements.
#include <algorithm>

#include "dialog_test_support_win32.h"

namespace {

constexpr char16_t kMainWindow[] =
    uR"(<?xml version="1.0"?>
<dialogs>
  <window name="wndMain" flags="#PB_Window_SystemMenu|#PB_Window_ScreenCentered" height="DPIy1" text="Blobsmith" width="DPIx1">
    <vbox name="@" expand="item:2">
      <text name="lblDD" text="Drag&amp;Drop files here. Folders processed recursively, name duplicates filtered."/>
      <listview name="lstFiles" flags="#PB_ListView_Multiselect" height="DPIy2" width="DPIx2"/>
      <hbox name="control" expand="item:2">
        <singlebox name="`" align="center" expand="no" margin="DPIy3">
          <hyperlink name="lnkHome" text="https://example.org/blobsmith"/>
        </singlebox>
        <empty name="empty1"/>
        <button name="cmdSave" height="DPIy4" text="Export to file" width="DPIx3"/>
        <button name="cmdCopy" height="DPIy5" text="Copy" width="DPIx4"/>
      </hbox>
      <hbox name="hbox1" spacing="DPIx5">
        <progressbar name="progress" flags="#PB_ProgressBar_Smooth" height="DPIy6"/>
      </hbox>
    </vbox>
  </window>
</dialogs>)";

struct DpiValues {
    std::int32_t x[5];
    std::int32_t y[6];
};

constexpr DpiValues kAt96{{600, 400, 86, 86, 0}, {420, 300, 0, 24, 24, 16}};
constexpr DpiValues kAt120{{750, 500, 108, 108, 0}, {525, 375, 0, 30, 30, 20}};

// Registered once for the whole process, as start-up does; each test sets them.
DpiValues g_dpi{};

void register_dpi_names() {
    const char16_t* const x_names[] = {u"DPIx1", u"DPIx2", u"DPIx3", u"DPIx4", u"DPIx5"};
    const char16_t* const y_names[] = {u"DPIy1", u"DPIy2", u"DPIy3", u"DPIy4", u"DPIy5", u"DPIy6"};
    for (int i = 0; i < 5; ++i)
        register_runtime_variable(x_names[i], &g_dpi.x[i], kRuntimeInteger);
    for (int i = 0; i < 6; ++i)
        register_runtime_variable(y_names[i], &g_dpi.y[i], kRuntimeInteger);
}

class MainWindowLayout : public DialogTest, public ::testing::WithParamInterface<DpiValues> {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        g_dpi = GetParam();
        register_dpi_names();
    }
};

std::int32_t required_width(std::intptr_t gadget) {
    return gadget_width(gadget, 1);
}
std::int32_t required_height(std::intptr_t gadget) {
    return gadget_height(gadget, 1);
}

TEST_P(MainWindowLayout, OpensWithTheExactGeometry) {
    ASSERT_EQ(open(kMainWindow, u"wndMain"), 1) << dialog_error(dialog);
    EXPECT_EQ(dialog_error(dialog), "");
    const DpiValues& dpi = GetParam();
    const std::intptr_t text = dialog_gadget(dialog, u"lblDD"), link = dialog_gadget(dialog, u"lnkHome");

    // The list: as high as whole rows plus its two edges, at least DPIy2.
    const int row = static_cast<int>(SendMessageW(control(u"lstFiles"), LB_GETITEMHEIGHT, 0, 0));
    ASSERT_GT(row, 0);
    const int edges = 2 * GetSystemMetrics(SM_CYEDGE);
    int list_h = dpi.y[1];
    if ((dpi.y[1] - edges) / row * row + edges < dpi.y[1])
        list_h = ((dpi.y[1] - edges) / row + 1) * row + edges;

    const int text_w = required_width(text), text_h = required_height(text);
    const int link_w = required_width(link), link_h = required_height(link);
    const int save_w = std::max(required_width(dialog_gadget(dialog, u"cmdSave")), dpi.x[2]);
    const int copy_w = std::max(required_width(dialog_gadget(dialog, u"cmdCopy")), dpi.x[3]);
    const int row_h = std::max({link_h, dpi.y[3], dpi.y[4]});
    const int row_w = link_w + save_w + copy_w + 3 * 5;
    const int content_w = std::max({text_w, dpi.x[1], row_w});
    const int content_h = text_h + list_h + row_h + dpi.y[5] + 3 * 5;

    const SIZE inner = inner_size();
    EXPECT_EQ(inner.cx, std::max(dpi.x[0], content_w + 16));
    EXPECT_EQ(inner.cy, std::max(dpi.y[0], content_h + 16));
    const int W = inner.cx, H = inner.cy;
    const int spare_h = (H - 16) - content_h;

    EXPECT_EQ(rect_of(u"lblDD"), rect_xywh(8, 8, W - 16, text_h));
    const int list_y = 8 + text_h + 5;
    EXPECT_EQ(rect_of(u"lstFiles"), rect_xywh(8, list_y, W - 16, list_h + spare_h));
    const int row_y = list_y + list_h + spare_h + 5;
    EXPECT_EQ(rect_of(u"lnkHome"), rect_xywh(8, row_y + (row_h - link_h) / 2, link_w, link_h));
    EXPECT_EQ(rect_of(u"cmdCopy"), rect_xywh(W - 8 - copy_w, row_y, copy_w, row_h));
    EXPECT_EQ(rect_of(u"cmdSave"), rect_xywh(W - 8 - copy_w - 5 - save_w, row_y, save_w, row_h));
    EXPECT_EQ(rect_of(u"progress"), rect_xywh(8, row_y + row_h + 5, W - 16, dpi.y[5]));

    // The buttons are exactly as wide and high as the layout variables ask.
    EXPECT_EQ(save_w, dpi.x[2]);
    EXPECT_EQ(row_h, dpi.y[3]);

    // The definition's title, shown, and the window is the one the dialog names.
    wchar_t title[32];
    GetWindowTextW(window_hwnd(), title, 32);
    EXPECT_STREQ(title, L"Blobsmith");
    EXPECT_TRUE(IsWindowVisible(window_hwnd()));
    EXPECT_TRUE(GetWindowLongW(control(u"lstFiles"), GWL_STYLE) & LBS_EXTENDEDSEL);

    // A refresh with nothing changed keeps every rectangle.
    const RECT list_before = rect_of(u"lstFiles");
    refresh_dialog(dialog);
    pump();
    EXPECT_EQ(rect_of(u"lstFiles"), list_before);
    EXPECT_EQ(inner_size().cx, W);
    EXPECT_EQ(inner_size().cy, H);
}

INSTANTIATE_TEST_SUITE_P(Dpi, MainWindowLayout, ::testing::Values(kAt96, kAt120), [](const auto& info) {
    return info.param.x[0] == 600 ? std::string("At96") : std::string("At120");
});

}  // namespace
