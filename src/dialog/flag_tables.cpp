// The built-in FLAGS names of each element kind and their values.
#include "dialog/flag_tables.h"

#include "system/utf.h"

namespace {

// Tables keep one row per line, in search order.
// clang-format off

// Window styles (WS_CAPTION, WS_SYSMENU ...) where a flag is one; the low bits
// are the window library's own.
constexpr FlagName kWindowFlags[] = {
    {u"PB_Window_ScreenCentered", 0x1},
    {u"PB_Window_WindowCentered", 0x2},
    {u"PB_Window_Tool", 0x4},
    {u"PB_Window_TitleBar", 0xC00000},
    {u"PB_Window_SystemMenu", 0xC80000},
    {u"PB_Window_SizeGadget", 0xC40000},
    {u"PB_Window_MinimizeGadget", 0xCA0000},
    {u"PB_Window_MaximizeGadget", 0xC90000},
    {u"PB_Window_Invisible", 0x10000000},
    {u"PB_Window_BorderLess", 0x80000000},
    {u"PB_Window_NoGadgets", 0x8},
    {u"PB_Window_NoActivate", 0x2000000},
};

// Button styles: BS_RIGHT, BS_LEFT, BS_DEFPUSHBUTTON, BS_MULTILINE, BS_PUSHLIKE | BS_AUTOCHECKBOX.
constexpr FlagName kButtonFlags[] = {
    {u"PB_Button_Right", 0x200},
    {u"PB_Button_Left", 0x100},
    {u"PB_Button_Default", 0x1},
    {u"PB_Button_MultiLine", 0x2000},
    {u"PB_Button_Toggle", 0x1003},
};

// BS_RIGHT, BS_CENTER, BS_3STATE.
constexpr FlagName kCheckBoxFlags[] = {
    {u"PB_CheckBox_Right", 0x200},
    {u"PB_CheckBox_Center", 0x300},
    {u"PB_CheckBox_ThreeState", 0x5},
};

constexpr FlagName kImageFlags[] = {
    {u"PB_Image_Raised", 0x1},
    {u"PB_Image_Border", 0x200},
};

constexpr FlagName kListViewFlags[] = {
    {u"PB_ListView_MultiSelect", 0x800},
    {u"PB_ListView_ClickSelect", 0x8},
};

constexpr FlagName kListIconFlags[] = {
    {u"PB_ListIcon_CheckBoxes", 0x1},
    {u"PB_ListIcon_MultiSelect", 0x4},
    {u"PB_ListIcon_GridLines", 0x10000},
    {u"PB_ListIcon_FullRowSelect", 0x40000000},
    {u"PB_ListIcon_HeaderDragDrop", 0x10000000},
    {u"PB_ListIcon_AlwaysShowSelection", 0x8},
    {u"PB_ListIcon_ThreeState", 0x40},
};

constexpr FlagName kTreeFlags[] = {
    {u"PB_Tree_AlwaysShowSelection", 0x20},
    {u"PB_Tree_NoLines", 0x2},
    {u"PB_Tree_NoButtons", 0x1},
    {u"PB_Tree_CheckBoxes", 0x100},
    {u"PB_Tree_ThreeState", 0x10000},
};

constexpr FlagName kContainerFlags[] = {
    {u"PB_Container_BorderLess", 0x0},
    {u"PB_Container_Flat", 0x1},
    {u"PB_Container_Raised", 0x2},
    {u"PB_Container_Single", 0x4},
    {u"PB_Container_Double", 0x8},
};

constexpr FlagName kComboBoxFlags[] = {
    {u"PB_ComboBox_Editable", 0x42},
    {u"PB_ComboBox_LowerCase", 0x4000},
    {u"PB_ComboBox_UpperCase", 0x2000},
    {u"PB_ComboBox_Image", 0x10000000},
};

constexpr FlagName kTextFlags[] = {
    {u"PB_Text_Center", 0x1},
    {u"PB_Text_Right", 0x2},
    {u"PB_Text_Border", 0x20000},
};

// Edit styles (ES_*), then the gadget library's own bits.
constexpr FlagName kStringFlags[] = {
    {u"PB_String_Password", 0x20},
    {u"PB_String_ReadOnly", 0x800},
    {u"PB_String_Numeric", 0x2000},
    {u"PB_String_LowerCase", 0x10},
    {u"PB_String_UpperCase", 0x8},
    {u"PB_String_BorderLess", 0x20000},
    {u"PB_String_AutoComplete", 0x10000000},
    {u"PB_String_AutoInsert", 0x40000000},
};

constexpr FlagName kScrollAreaFlags[] = {
    {u"PB_ScrollArea_Flat", 0x1},
    {u"PB_ScrollArea_Raised", 0x2},
    {u"PB_ScrollArea_Single", 0x4},
    {u"PB_ScrollArea_BorderLess", 0x8},
    {u"PB_ScrollArea_Center", 0x10},
};

constexpr FlagName kFrameFlags[] = {
    {u"PB_Frame_Double", 0x1},
    {u"PB_Frame_Single", 0x2},
    {u"PB_Frame_Flat", 0x3},
};

constexpr FlagName kEditorFlags[] = {
    {u"PB_Editor_ReadOnly", 0x800},
    {u"PB_Editor_WordWrap", 0x10000000},
};

constexpr FlagName kScrollBarFlags[] = {
    {u"PB_ScrollBar_Vertical", 0x1},
};

constexpr FlagName kProgressBarFlags[] = {
    {u"PB_ProgressBar_Smooth", 0x1},
    {u"PB_ProgressBar_Vertical", 0x4},
};

// The explorer kinds share names; each kind accepts its own subset, in its own order.
constexpr FlagName kExplorerListFlags[] = {
    {u"PB_Explorer_NoMyDocuments", 0x200},
    {u"PB_Explorer_NoFiles", 0x1},
    {u"PB_Explorer_NoDriveRequester", 0x10},
    {u"PB_Explorer_AutoSort", 0x40},
    {u"PB_Explorer_BorderLess", 0x100000},
    {u"PB_Explorer_AlwaysShowSelection", 0x1000000},
    {u"PB_Explorer_NoParentFolder", 0x2},
    {u"PB_Explorer_NoFolders", 0x4},
    {u"PB_Explorer_NoDirectoryChange", 0x8},
    {u"PB_Explorer_NoSort", 0x20},
    {u"PB_Explorer_MultiSelect", 0x200000},
    {u"PB_Explorer_GridLines", 0x400000},
    {u"PB_Explorer_HeaderDragDrop", 0x800000},
    {u"PB_Explorer_FullRowSelect", 0x2000000},
};

constexpr FlagName kExplorerTreeFlags[] = {
    {u"PB_Explorer_BorderLess", 0x100000},
    {u"PB_Explorer_AlwaysShowSelection", 0x1000000},
    {u"PB_Explorer_NoLines", 0x4000000},
    {u"PB_Explorer_NoButtons", 0x8000000},
    {u"PB_Explorer_NoMyDocuments", 0x200},
    {u"PB_Explorer_NoFiles", 0x1},
    {u"PB_Explorer_NoDriveRequester", 0x10},
    {u"PB_Explorer_AutoSort", 0x40},
};

constexpr FlagName kExplorerComboFlags[] = {
    {u"PB_Explorer_NoMyDocuments", 0x200},
    {u"PB_Explorer_DrivesOnly", 0x80},
    {u"PB_Explorer_Editable", 0x100},
};

constexpr FlagName kSplitterFlags[] = {
    {u"PB_Splitter_Vertical", 0x1},
    {u"PB_Splitter_Separator", 0x2},
    {u"PB_Splitter_FirstFixed", 0x4},
    {u"PB_Splitter_SecondFixed", 0x8},
};

constexpr FlagName kButtonImageFlags[] = {
    {u"PB_Button_Toggle", 0x1003},
};

constexpr FlagName kTrackBarFlags[] = {
    {u"PB_TrackBar_Ticks", 0x1},
    {u"PB_TrackBar_Vertical", 0x2},
};

constexpr FlagName kCanvasFlags[] = {
    {u"PB_Canvas_ClipMouse", 0x2},
    {u"PB_Canvas_Border", 0x1},
    {u"PB_Canvas_Keyboard", 0x4},
    {u"PB_Canvas_DrawFocus", 0x8},
    {u"PB_Canvas_Container", 0x20},
};

constexpr FlagName kCalendarFlags[] = {
    {u"PB_Calendar_Borderless", 0x800000},
};

constexpr FlagName kDateFlags[] = {
    {u"PB_Date_UpDown", 0x1},
    {u"PB_Date_CheckBox", 0x2},
};

constexpr FlagName kSpinFlags[] = {
    {u"PB_Spin_ReadOnly", 0x1},
    {u"PB_Spin_Numeric", 0x2},
};

constexpr FlagName kHyperlinkFlags[] = {
    {u"PB_HyperLink_Underline", 0x1},
};

// clang-format on

}  // namespace

std::span<const FlagName> flag_table(ElementKind kind) {
    switch (kind) {
        case ElementKind::window:
            return kWindowFlags;
        case ElementKind::button:
            return kButtonFlags;
        case ElementKind::checkbox:
            return kCheckBoxFlags;
        case ElementKind::image:
            return kImageFlags;
        case ElementKind::listview:
            return kListViewFlags;
        case ElementKind::listicon:
            return kListIconFlags;
        case ElementKind::tree:
            return kTreeFlags;
        case ElementKind::container:
            return kContainerFlags;
        case ElementKind::combobox:
            return kComboBoxFlags;
        case ElementKind::text:
            return kTextFlags;
        case ElementKind::string:
            return kStringFlags;
        case ElementKind::scrollarea:
            return kScrollAreaFlags;
        case ElementKind::frame:
            return kFrameFlags;
        case ElementKind::editor:
            return kEditorFlags;
        case ElementKind::scrollbar:
            return kScrollBarFlags;
        case ElementKind::progressbar:
            return kProgressBarFlags;
        case ElementKind::explorerlist:
            return kExplorerListFlags;
        case ElementKind::explorertree:
            return kExplorerTreeFlags;
        case ElementKind::explorercombo:
            return kExplorerComboFlags;
        case ElementKind::splitter:
            return kSplitterFlags;
        case ElementKind::buttonimage:
            return kButtonImageFlags;
        case ElementKind::trackbar:
            return kTrackBarFlags;
        case ElementKind::canvas:
            return kCanvasFlags;
        case ElementKind::calendar:
            return kCalendarFlags;
        case ElementKind::date:
            return kDateFlags;
        case ElementKind::spin:
            return kSpinFlags;
        case ElementKind::hyperlink:
            return kHyperlinkFlags;
        default:
            return {};  // kinds without FLAGS names of their own
    }
}

std::optional<std::uint32_t> find_flag(ElementKind kind, std::u16string_view name) {
    for (const FlagName& row : flag_table(kind)) {
        if (ascii_equal_ignore_case(row.name, name))
            return row.value;
    }
    return std::nullopt;
}
