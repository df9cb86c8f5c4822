#include "dialog/flag_list.h"

#include <gtest/gtest.h>

#include <string>

#include "dialog/runtime_names.h"

namespace {

struct Parsed {
    std::int32_t value;
    std::string error;  // empty when none was recorded
};

Parsed parse(std::u16string_view text, ElementKind kind, std::u16string_view element) {
    DialogErrorText errors;
    const std::int32_t value = parse_flag_list(text, kind, errors, element);
    EXPECT_EQ(errors.has_error(), !errors.text().empty());
    return {value, errors.text()};
}

TEST(FlagList, OrsTheNamedValuesIgnoringCaseAndBlanks) {
    const struct {
        const char16_t* text;
        ElementKind kind;
        std::int32_t expected;
    } rows[] = {
        {u"#PB_Window_SystemMenu|#PB_Window_ScreenCentered", ElementKind::window, 0xC80001},
        {u"#PB_ListView_Multiselect", ElementKind::listview, 0x800},
        {u" #PB_Text_Center | #PB_Text_Border ", ElementKind::text, 0x20001},
        {u"\t#pb_text_center\t|\t#PB_TEXT_BORDER\t", ElementKind::text, 0x20001},
        {u"#PB_Container_BorderLess", ElementKind::container, 0},
        {u"#PB_Container_BorderLess|#PB_Container_Flat", ElementKind::container, 1},
        {u"#PB_Button_Default|#PB_Button_Default", ElementKind::button, 1},
        // The top bit is a value like any other, not the "unresolved" -1.
        {u"#PB_Window_BorderLess|#PB_Window_ScreenCentered", ElementKind::window,
         static_cast<std::int32_t>(0x80000001u)},
        {u"", ElementKind::text, 0},
        {u"  \t ", ElementKind::text, 0},
    };
    for (const auto& r : rows) {
        const Parsed p = parse(r.text, r.kind, u"element");
        EXPECT_EQ(p.value, r.expected) << "row " << (&r - rows);
        EXPECT_EQ(p.error, "") << "row " << (&r - rows);
    }
}

TEST(FlagList, ItemsWithoutHashEndTheListQuietly) {
    const struct {
        const char16_t* text;
        std::int32_t expected;
    } rows[] = {
        {u"PB_Text_Center", 0},   {u"1|#PB_Text_Center", 0},  {u"#PB_Text_Center|PB_Text_Border|#PB_Text_Right", 1},
        {u"#PB_Text_Center|", 1}, {u"#PB_Text_Center|  ", 1},
    };
    for (const auto& r : rows) {
        const Parsed p = parse(r.text, ElementKind::text, u"text");
        EXPECT_EQ(p.value, r.expected) << "row " << (&r - rows);
        EXPECT_EQ(p.error, "") << "row " << (&r - rows);
    }
}

TEST(FlagList, UnknownNamesRecordTheFlagErrorAndAddNothing) {
    Parsed p = parse(u"#PB_Text_Center", ElementKind::button, u"button");
    EXPECT_EQ(p.value, 0);
    EXPECT_EQ(p.error, "'#PB_Text_Center' flag is not supported for the following gadget: button");

    // Only trailing blanks are cut: a blank after '#' stays in the name.
    p = parse(u"# PB_Text_Center", ElementKind::text, u"Text");
    EXPECT_EQ(p.value, 0);
    EXPECT_EQ(p.error, "'# PB_Text_Center' flag is not supported for the following gadget: Text");

    // Blanks inside a name stay: two names without '|' are one unknown name.
    p = parse(u"#PB_Text_Center #PB_Text_Right", ElementKind::text, u"text");
    EXPECT_EQ(p.value, 0);
    EXPECT_EQ(p.error, "'#PB_Text_Center #PB_Text_Right' flag is not supported for the following gadget: text");

    // An unknown name does not stop the list.
    p = parse(u"#Nope|#PB_Text_Border", ElementKind::text, u"text");
    EXPECT_EQ(p.value, 0x20000);
    EXPECT_EQ(p.error, "'#Nope' flag is not supported for the following gadget: text");

    // Kinds without a table know only registered names.
    p = parse(u"#PB_Button_Default", ElementKind::option, u"option");
    EXPECT_EQ(p.error, "'#PB_Button_Default' flag is not supported for the following gadget: option");
}

TEST(FlagList, EmptyNamesAreResolvedAndReported) {
    Parsed p = parse(u"#", ElementKind::text, u"text");
    EXPECT_EQ(p.value, 0);
    EXPECT_EQ(p.error, "'#' flag is not supported for the following gadget: text");
    p = parse(u"#  |#PB_Text_Right", ElementKind::text, u"text");
    EXPECT_EQ(p.value, 2);
    EXPECT_EQ(p.error, "'#' flag is not supported for the following gadget: text");
}

TEST(FlagList, NamesOf128CharactersEndTheListWithoutError) {
    const std::u16string n127(127, u'A');
    const std::u16string n128(128, u'A');

    Parsed p = parse(u"#" + n128 + u"|#PB_Text_Center", ElementKind::text, u"text");
    EXPECT_EQ(p.value, 0);
    EXPECT_EQ(p.error, "");
    p = parse(u"#PB_Text_Right|#" + n128 + u"|#PB_Text_Center", ElementKind::text, u"text");
    EXPECT_EQ(p.value, 2);

    // 127 characters (trailing blanks not counted) is a name: unknown, reported, and the list goes on.
    p = parse(u"#" + n127 + u"   |#PB_Text_Center", ElementKind::text, u"text");
    EXPECT_EQ(p.value, 1);
    EXPECT_EQ(p.error, "'#" + std::string(127, 'A') + "' flag is not supported for the following gadget: text");

    register_runtime_integer(n127, 0x100);
    EXPECT_EQ(parse(u"#" + n127, ElementKind::text, u"text").value, 0x100);
}

TEST(FlagList, RegisteredNamesServeAsFlagsAfterTheTable) {
    std::int32_t style = 0;
    register_runtime_variable(u"FlagsStyle", &style, kRuntimeInteger);
    register_runtime_integer(u"FlagsMinusOne", -1);
    register_runtime_integer(u"PB_Frame_Flat", 0x7000);
    style = 0x40;

    EXPECT_EQ(parse(u"#flagsstyle|#PB_Button_Default", ElementKind::button, u"button").value, 0x41);
    EXPECT_EQ(parse(u"#FlagsStyle", ElementKind::panel, u"panel").value, 0x40);
    // The table is asked first; the registry only when the kind's table has no such row.
    EXPECT_EQ(parse(u"#PB_Frame_Flat", ElementKind::frame, u"frame").value, 3);
    EXPECT_EQ(parse(u"#PB_Frame_Flat", ElementKind::button, u"button").value, 0x7000);
    // A registered -1 cannot be told from "unresolved": it adds nothing, and reports nothing.
    const Parsed p = parse(u"#FlagsMinusOne|#PB_Text_Center", ElementKind::text, u"text");
    EXPECT_EQ(p.value, 1);
    EXPECT_EQ(p.error, "");
    // The name as written, without '#': "#FlagsStyle" itself is not registered.
    EXPECT_EQ(parse(u"##FlagsStyle", ElementKind::button, u"button").error,
              "'##FlagsStyle' flag is not supported for the following gadget: button");
}

TEST(FlagList, TheFirstErrorWins) {
    DialogErrorText errors;
    EXPECT_EQ(parse_flag_list(u"#First|#Second", ElementKind::text, errors, u"text"), 0);
    EXPECT_EQ(parse_flag_list(u"#Third", ElementKind::button, errors, u"button"), 0);
    EXPECT_EQ(resolve_flag_name(ElementKind::text, u"Fourth", errors, u"text"), -1);
    EXPECT_EQ(errors.text(), "'#First' flag is not supported for the following gadget: text");
}

TEST(FlagList, ExplorerKindsShareNamesWithDifferentSubsets) {
    const struct {
        ElementKind kind;
        const char16_t* name;
        std::int32_t expected;  // -1: not in this kind's table
    } rows[] = {
        {ElementKind::explorerlist, u"PB_Explorer_NoMyDocuments", 0x200},
        {ElementKind::explorertree, u"PB_Explorer_NoMyDocuments", 0x200},
        {ElementKind::explorercombo, u"PB_Explorer_NoMyDocuments", 0x200},
        {ElementKind::explorertree, u"PB_Explorer_NoLines", 0x4000000},
        {ElementKind::explorerlist, u"PB_Explorer_NoLines", -1},
        {ElementKind::explorerlist, u"PB_Explorer_MultiSelect", 0x200000},
        {ElementKind::explorertree, u"PB_Explorer_MultiSelect", -1},
        {ElementKind::explorercombo, u"PB_Explorer_Editable", 0x100},
        {ElementKind::explorerlist, u"PB_Explorer_Editable", -1},
        {ElementKind::explorercombo, u"PB_Explorer_BorderLess", -1},
        {ElementKind::buttonimage, u"PB_Button_Toggle", 0x1003},
        {ElementKind::buttonimage, u"PB_Button_Default", -1},
    };
    for (const auto& r : rows) {
        DialogErrorText errors;
        EXPECT_EQ(resolve_flag_name(r.kind, r.name, errors, u"x"), r.expected) << "row " << (&r - rows);
        EXPECT_EQ(errors.has_error(), r.expected == -1) << "row " << (&r - rows);
    }
}

}  // namespace
