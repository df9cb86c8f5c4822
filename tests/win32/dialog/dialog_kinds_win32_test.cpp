// Every gadget keyword opened from a definition and checked on its real
// control: window class and the style bits its flags give, the range kinds'
// defaults, and a definition with every keyword that lays out, resizes with
// its window and frees everything.
#include <vector>

#include "dialog_test_support_win32.h"
// After windows.h (through the support header).
#include <commctrl.h>
#include "gadget/container_kinds.h"
#include "gadget/input_kinds.h"

namespace {

std::wstring class_of(HWND control) {
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    return name;
}

struct KindCase {
    const char16_t* element;  // the gadget's element, named g
    const wchar_t* window_class;
    DWORD style;     // bits that must be set
    DWORD ex_style;  // bits that must be set
    DWORD no_style = 0;
};

TEST_F(DialogTest, EachKeywordMakesItsControlWithTheStylesOfItsFlags) {
    const KindCase cases[] = {
        {u"<string name='g' text='x' flags='#PB_String_Password|#PB_String_ReadOnly'/>", L"Edit",
         0x50030080 | ES_PASSWORD | ES_READONLY, WS_EX_CLIENTEDGE},
        {u"<string name='g' flags='#PB_String_BorderLess'/>", L"Edit", 0x50030080, 0, 0},
        {u"<checkbox name='g' text='c'/>", L"Button", 0x50030000 | BS_AUTOCHECKBOX, 0},
        {u"<checkbox name='g' flags='#PB_CheckBox_ThreeState'/>", L"Button", 0x50030000 | BS_3STATE, 0,
         0x2},  // not also BS_AUTOCHECKBOX,
        {u"<option name='g' text='o'/>", L"Button", 0x50010009, 0},
        {u"<image name='g' flags='#PB_Image_Border'/>", L"Static", 0x50000100, WS_EX_CLIENTEDGE},
        {u"<listicon name='g' text='Name' flags='#PB_ListIcon_MultiSelect'/>", L"SysListView32", 0x50010041,
         WS_EX_CLIENTEDGE, LVS_SINGLESEL},
        {u"<tree name='g' flags='#PB_Tree_NoLines'/>", L"SysTreeView32", 0x50010000 | TVS_HASBUTTONS, WS_EX_CLIENTEDGE,
         TVS_HASLINES},
        // The combo box and the rich edit control take their scroll bar and
        // border styles for their own use.
        {u"<combobox name='g'/>", L"ComboBox", 0x50020000 | CBS_DROPDOWNLIST, 0},
        {u"<combobox name='g' flags='#PB_ComboBox_Editable'/>", L"ComboBox", 0x50020000 | CBS_DROPDOWN, 0,
         CBS_DROPDOWNLIST & ~CBS_DROPDOWN},
        {u"<editor name='g' text='body'/>", L"RichEdit20W", 0x502111C4, 0},
        {u"<scrollbar name='g' flags='#PB_ScrollBar_Vertical'/>", L"ScrollBar", 0x50000000 | SBS_VERT, 0},
        {u"<explorerlist name='g' text='C:\\'/>", L"SysListView32", 0x50000000, WS_EX_CLIENTEDGE},
        {u"<explorertree name='g'/>", L"SysTreeView32", 0x50000000, WS_EX_CLIENTEDGE},
        {u"<explorercombo name='g' text='C:\\'/>", L"ComboBoxEx32", 0x50000002, 0},
        {u"<shortcut name='g'/>", L"msctls_hotkey32", 0x50030000, WS_EX_CLIENTEDGE},
        {u"<buttonimage name='g'/>", L"Button", 0x50010000, 0},
        {u"<trackbar name='g' flags='#PB_TrackBar_Vertical'/>", L"msctls_trackbar32", 0x50010000 | TBS_VERT, 0},
        {u"<canvas name='g' flags='#PB_Canvas_Border'/>", L"DiruZuzovi", 0x50000000, 0},
        {u"<calendar name='g'/>", L"SysMonthCal32", 0x50010001, WS_EX_CLIENTEDGE},
        {u"<date name='g' text='%dd.%mm.%yyyy'/>", L"SysDateTimePick32", 0x50010000, WS_EX_CLIENTEDGE},
        {u"<spin name='g'/>", L"Edit", 0x50000000, WS_EX_CLIENTEDGE},
        {u"<ipaddress name='g'/>", L"SysIPAddress32", 0x50010000, 0},
        {u"<container name='g' flags='#PB_Container_Raised'/>", L"ZereVuzizared", 0x50000000 | WS_DLGFRAME, 0},
        {u"<frame name='g' text='Group'/>", L"Button", 0x50020007, 0},
        {u"<frame name='g' text='Group' flags='#PB_Frame_Single'/>", L"Static", 0x50000000, WS_EX_STATICEDGE},
        {u"<panel name='g'><tab text='one'/></panel>", L"SysTabControl32", 0x50030000, WS_EX_TRANSPARENT},
        {u"<scrollarea name='g'/>", L"RivoDuvidoDave", 0x50000000, WS_EX_CLIENTEDGE},
        {u"<splitter name='g' flags='#PB_Splitter_Vertical'/>", L"VezeDuvuduro", 0x50000000, 0},
        {u"<canvas name='g' flags='#PB_Canvas_Container'><button name='inside'/></canvas>", L"DiruZuzovi", 0x50000000,
         0},
    };
    for (const KindCase& c : cases) {
        const std::u16string xml = u"<window name='w'><vbox>" + std::u16string(c.element) + u"</vbox></window>";
        SCOPED_TRACE(std::string(xml.begin(), xml.end()));
        ASSERT_EQ(open(xml.c_str(), u"w"), 1) << dialog_error(dialog);
        const HWND g = control(u"g");
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(class_of(g), c.window_class);
        const auto style = static_cast<DWORD>(GetWindowLongW(g, GWL_STYLE));
        const auto ex_style = static_cast<DWORD>(GetWindowLongW(g, GWL_EXSTYLE));
        EXPECT_EQ(style & c.style, c.style) << std::hex << style;
        EXPECT_EQ(ex_style & c.ex_style, c.ex_style) << std::hex << ex_style;
        EXPECT_EQ(style & c.no_style, 0u) << std::hex << style;
        EXPECT_EQ(GetAncestor(g, GA_ROOT), window_hwnd());
        free_dialog(dialog);
        dialog = create_dialog(PB_Any);
    }
}

TEST_F(DialogTest, RangeKindsGetTheirDefaultsOnTheRealControls) {
    ASSERT_EQ(open(u"<window name='w'><vbox><scrollbar name='s'/><trackbar name='t'/>"
                   u"<scrollbar name='s2' min='10' max='20' page='3' value='15'/>"
                   u"<trackbar name='t2' min='-4' max='8' value='5'/><spin name='n' min='2' max='9' value='4'/>"
                   u"</vbox></window>",
                   u"w"),
              1)
        << dialog_error(dialog);
    const auto range = [&](std::u16string_view name) {
        const std::intptr_t g = dialog_gadget(dialog, name);
        return std::vector<std::int32_t>{gadget_get_attribute(g, 1), gadget_get_attribute(g, 2), gadget_get_state(g)};
    };
    EXPECT_EQ(range(u"s"), (std::vector<std::int32_t>{0, 100, 0}));
    EXPECT_EQ(gadget_get_attribute(dialog_gadget(dialog, u"s"), PB_ScrollBar_PageLength), 10);
    EXPECT_EQ(range(u"t"), (std::vector<std::int32_t>{0, 10, 0}));
    EXPECT_EQ(range(u"s2"), (std::vector<std::int32_t>{10, 20, 15}));
    EXPECT_EQ(gadget_get_attribute(dialog_gadget(dialog, u"s2"), PB_ScrollBar_PageLength), 3);
    // The control itself holds the range: what the user can reach.
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(control(u"s"), SB_CTL, &info);
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 100);
    EXPECT_EQ(info.nPage, 10u);
    EXPECT_EQ(SendMessageW(control(u"t"), TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageW(control(u"t"), TBM_GETRANGEMAX, 0, 0), 10);
    // A track bar takes negative limits as 0.
    EXPECT_EQ(range(u"t2"), (std::vector<std::int32_t>{0, 8, 5}));
    EXPECT_EQ(range(u"n"), (std::vector<std::int32_t>{2, 9, 4}));
}

}  // namespace
