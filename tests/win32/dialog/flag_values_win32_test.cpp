// Flag values that are Win32 styles, pinned against the platform headers: the
// portable tables spell them as numbers.
#include "system/win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "dialog/flag_tables.h"

namespace {

TEST(FlagValuesWin32, StyleFlagsEqualThePlatformConstants) {
    const struct {
        ElementKind kind;
        const char16_t* name;
        DWORD style;
    } rows[] = {
        {ElementKind::window, u"PB_Window_TitleBar", WS_CAPTION},
        {ElementKind::window, u"PB_Window_SystemMenu", WS_CAPTION | WS_SYSMENU},
        {ElementKind::window, u"PB_Window_SizeGadget", WS_CAPTION | WS_THICKFRAME},
        {ElementKind::window, u"PB_Window_MinimizeGadget", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX},
        {ElementKind::window, u"PB_Window_MaximizeGadget", WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX},
        {ElementKind::window, u"PB_Window_Invisible", WS_VISIBLE},  // the bit the window library leaves out
        {ElementKind::window, u"PB_Window_BorderLess", WS_POPUP},
        {ElementKind::button, u"PB_Button_Right", BS_RIGHT},
        {ElementKind::button, u"PB_Button_Left", BS_LEFT},
        {ElementKind::button, u"PB_Button_Default", BS_DEFPUSHBUTTON},
        {ElementKind::button, u"PB_Button_MultiLine", BS_MULTILINE},
        {ElementKind::button, u"PB_Button_Toggle", BS_PUSHLIKE | BS_AUTOCHECKBOX},
        {ElementKind::buttonimage, u"PB_Button_Toggle", BS_PUSHLIKE | BS_AUTOCHECKBOX},
        {ElementKind::checkbox, u"PB_CheckBox_Right", BS_RIGHT},
        {ElementKind::checkbox, u"PB_CheckBox_Center", BS_CENTER},
        {ElementKind::checkbox, u"PB_CheckBox_ThreeState", BS_3STATE},
        {ElementKind::listview, u"PB_ListView_MultiSelect", LBS_EXTENDEDSEL},
        {ElementKind::listview, u"PB_ListView_ClickSelect", LBS_MULTIPLESEL},
        {ElementKind::listicon, u"PB_ListIcon_AlwaysShowSelection", LVS_SHOWSELALWAYS},
        {ElementKind::tree, u"PB_Tree_AlwaysShowSelection", TVS_SHOWSELALWAYS},
        {ElementKind::tree, u"PB_Tree_CheckBoxes", TVS_CHECKBOXES},
        {ElementKind::tree, u"PB_Tree_NoLines", TVS_HASLINES},      // the bit the flag takes away
        {ElementKind::tree, u"PB_Tree_NoButtons", TVS_HASBUTTONS},  // likewise
        {ElementKind::combobox, u"PB_ComboBox_Editable", CBS_DROPDOWN | CBS_AUTOHSCROLL},
        {ElementKind::combobox, u"PB_ComboBox_LowerCase", CBS_LOWERCASE},
        {ElementKind::combobox, u"PB_ComboBox_UpperCase", CBS_UPPERCASE},
        {ElementKind::text, u"PB_Text_Center", SS_CENTER},
        {ElementKind::text, u"PB_Text_Right", SS_RIGHT},
        {ElementKind::string, u"PB_String_Password", ES_PASSWORD},
        {ElementKind::string, u"PB_String_ReadOnly", ES_READONLY},
        {ElementKind::string, u"PB_String_Numeric", ES_NUMBER},
        {ElementKind::string, u"PB_String_LowerCase", ES_LOWERCASE},
        {ElementKind::string, u"PB_String_UpperCase", ES_UPPERCASE},
        {ElementKind::editor, u"PB_Editor_ReadOnly", ES_READONLY},
        {ElementKind::scrollbar, u"PB_ScrollBar_Vertical", SBS_VERT},
        {ElementKind::progressbar, u"PB_ProgressBar_Smooth", PBS_SMOOTH},
        {ElementKind::progressbar, u"PB_ProgressBar_Vertical", PBS_VERTICAL},
        {ElementKind::trackbar, u"PB_TrackBar_Ticks", TBS_AUTOTICKS},
        {ElementKind::trackbar, u"PB_TrackBar_Vertical", TBS_VERT},
        {ElementKind::calendar, u"PB_Calendar_Borderless", WS_BORDER},  // the bit the flag takes away
        {ElementKind::date, u"PB_Date_UpDown", DTS_UPDOWN},
        {ElementKind::date, u"PB_Date_CheckBox", DTS_SHOWNONE},
    };
    for (const auto& r : rows) {
        const auto value = find_flag(r.kind, r.name);
        ASSERT_TRUE(value.has_value()) << "row " << (&r - rows);
        EXPECT_EQ(*value, static_cast<std::uint32_t>(r.style)) << "row " << (&r - rows);
    }
}

}  // namespace
