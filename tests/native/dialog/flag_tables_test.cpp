#include "dialog/flag_tables.h"

#include <gtest/gtest.h>

#include <string>

#include "system/utf.h"

namespace {

// Every kind with its table's row count and the prefix all its names share;
// a row pasted into the wrong table or lost shows here.
const struct {
    ElementKind kind;
    std::size_t rows;
    std::u16string_view prefix;
} kTables[] = {
    {ElementKind::window, 12, u"PB_Window_"},
    {ElementKind::button, 5, u"PB_Button_"},
    {ElementKind::checkbox, 3, u"PB_CheckBox_"},
    {ElementKind::image, 2, u"PB_Image_"},
    {ElementKind::listview, 2, u"PB_ListView_"},
    {ElementKind::listicon, 7, u"PB_ListIcon_"},
    {ElementKind::tree, 5, u"PB_Tree_"},
    {ElementKind::container, 5, u"PB_Container_"},
    {ElementKind::combobox, 4, u"PB_ComboBox_"},
    {ElementKind::text, 3, u"PB_Text_"},
    {ElementKind::string, 8, u"PB_String_"},
    {ElementKind::scrollarea, 5, u"PB_ScrollArea_"},
    {ElementKind::frame, 3, u"PB_Frame_"},
    {ElementKind::editor, 2, u"PB_Editor_"},
    {ElementKind::scrollbar, 1, u"PB_ScrollBar_"},
    {ElementKind::progressbar, 2, u"PB_ProgressBar_"},
    {ElementKind::explorerlist, 14, u"PB_Explorer_"},
    {ElementKind::explorertree, 8, u"PB_Explorer_"},
    {ElementKind::explorercombo, 3, u"PB_Explorer_"},
    {ElementKind::splitter, 4, u"PB_Splitter_"},
    {ElementKind::buttonimage, 1, u"PB_Button_"},
    {ElementKind::trackbar, 2, u"PB_TrackBar_"},
    {ElementKind::canvas, 5, u"PB_Canvas_"},
    {ElementKind::calendar, 1, u"PB_Calendar_"},
    {ElementKind::date, 2, u"PB_Date_"},
    {ElementKind::spin, 2, u"PB_Spin_"},
    {ElementKind::hyperlink, 1, u"PB_HyperLink_"},
};

TEST(FlagTables, EveryTableHasItsRowsUnderItsOwnPrefixWithoutDuplicates) {
    for (const auto& t : kTables) {
        const auto rows = flag_table(t.kind);
        const std::string kind = std::to_string(static_cast<int>(t.kind));
        EXPECT_EQ(rows.size(), t.rows) << "kind " << kind;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].name.substr(0, t.prefix.size()), t.prefix) << "kind " << kind << " row " << i;
            for (std::size_t j = 0; j < i; ++j) {
                EXPECT_FALSE(ascii_equal_ignore_case(rows[i].name, rows[j].name)) << "kind " << kind << " row " << i;
            }
        }
    }
}

TEST(FlagTables, KindsWithoutFlagsHaveNoTable) {
    for (ElementKind kind : {ElementKind::option, ElementKind::panel, ElementKind::tab, ElementKind::scintilla,
                             ElementKind::shortcut, ElementKind::web, ElementKind::ipaddress, ElementKind::vbox,
                             ElementKind::hbox, ElementKind::multibox, ElementKind::singlebox, ElementKind::gridbox,
                             ElementKind::empty, static_cast<ElementKind>(0), static_cast<ElementKind>(255)}) {
        EXPECT_TRUE(flag_table(kind).empty()) << static_cast<int>(kind);
    }
}

TEST(FlagTables, RowsWithTrickyValues) {
    const struct {
        ElementKind kind;
        const char16_t* name;
        std::uint32_t value;
    } rows[] = {
        {ElementKind::window, u"PB_Window_BorderLess", 0x80000000},
        {ElementKind::window, u"PB_Window_NoActivate", 0x2000000},
        {ElementKind::window, u"PB_Window_NoGadgets", 0x8},
        {ElementKind::button, u"PB_Button_Toggle", 0x1003},
        {ElementKind::checkbox, u"PB_CheckBox_Center", 0x300},
        {ElementKind::checkbox, u"PB_CheckBox_ThreeState", 0x5},
        {ElementKind::image, u"PB_Image_Border", 0x200},
        {ElementKind::listicon, u"PB_ListIcon_FullRowSelect", 0x40000000},
        {ElementKind::listicon, u"PB_ListIcon_HeaderDragDrop", 0x10000000},
        {ElementKind::listicon, u"PB_ListIcon_ThreeState", 0x40},
        {ElementKind::tree, u"PB_Tree_ThreeState", 0x10000},
        {ElementKind::container, u"PB_Container_BorderLess", 0x0},
        {ElementKind::container, u"PB_Container_Double", 0x8},
        {ElementKind::combobox, u"PB_ComboBox_Editable", 0x42},
        {ElementKind::combobox, u"PB_ComboBox_Image", 0x10000000},
        {ElementKind::string, u"PB_String_AutoInsert", 0x40000000},
        {ElementKind::string, u"PB_String_BorderLess", 0x20000},
        {ElementKind::scrollarea, u"PB_ScrollArea_Center", 0x10},
        {ElementKind::frame, u"PB_Frame_Flat", 0x3},
        {ElementKind::editor, u"PB_Editor_WordWrap", 0x10000000},
        {ElementKind::explorerlist, u"PB_Explorer_FullRowSelect", 0x2000000},
        {ElementKind::explorerlist, u"PB_Explorer_AlwaysShowSelection", 0x1000000},
        {ElementKind::explorertree, u"PB_Explorer_NoButtons", 0x8000000},
        {ElementKind::explorertree, u"PB_Explorer_AutoSort", 0x40},
        {ElementKind::explorercombo, u"PB_Explorer_DrivesOnly", 0x80},
        {ElementKind::splitter, u"PB_Splitter_SecondFixed", 0x8},
        {ElementKind::canvas, u"PB_Canvas_Container", 0x20},
        {ElementKind::calendar, u"PB_Calendar_Borderless", 0x800000},
        {ElementKind::date, u"PB_Date_CheckBox", 0x2},
        {ElementKind::spin, u"PB_Spin_Numeric", 0x2},
        {ElementKind::hyperlink, u"PB_HyperLink_Underline", 0x1},
    };
    for (const auto& r : rows) {
        const auto value = find_flag(r.kind, r.name);
        ASSERT_TRUE(value.has_value()) << "row " << (&r - rows);
        EXPECT_EQ(*value, r.value) << "row " << (&r - rows);
    }
}

TEST(FlagTables, NamesMatchWholeIgnoringAsciiCaseOnly) {
    EXPECT_EQ(find_flag(ElementKind::calendar, u"pb_calendar_BORDERLESS"), 0x800000u);
    EXPECT_FALSE(find_flag(ElementKind::text, u"PB_Text_Cente"));
    EXPECT_FALSE(find_flag(ElementKind::text, u"PB_Text_Center "));
    EXPECT_FALSE(find_flag(ElementKind::text, u"#PB_Text_Center"));
    // U+0130 lower-cases to 'i' under Unicode rules, not under ASCII ones.
    EXPECT_FALSE(find_flag(ElementKind::text, u"PB_Text_R\u0130ght"));
    EXPECT_FALSE(find_flag(ElementKind::text, u""));
}

}  // namespace
