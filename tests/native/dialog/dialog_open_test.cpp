// Opening definitions over a recording platform: the element tree, creation
// arguments, errors and what a failure leaves, hostile definitions, and the
// layout runs with exact rectangles.
#include <gtest/gtest.h>

#include <string>

#include "dialog/dialog_build.h"
#include "dialog_open_fixture.h"
#include "xml/xml_document.h"
#include "xml/xml_heap.h"

namespace {

// ---------------------------------------------------------------- building

TEST_F(DialogOpen, GadgetsAreMadeInDocumentOrderWithTheirAttributes) {
    ASSERT_EQ(open(u"<window name='w' text='Title' flags='#PB_Window_SystemMenu'><vbox>"
                   u"<button name='first' text='one' TEXT='One' flags='#PB_Button_Default' "
                   u"Flags='#PB_Button_Right' id='3'/>"
                   u"<hbox><text name='second' text='two'/></hbox>"
                   u"<hyperlink name='third' id='4' color='255'/><hyperlink name='fourth'/>"
                   u"</vbox></window>"),
              1)
        << dialog_error(dialog);
    EXPECT_EQ(fake.order.size(), 4u);
    EXPECT_EQ(fake.order[0], 3);
    EXPECT_EQ(fake.order[1], dialog_gadget(dialog, u"SECOND"));
    EXPECT_EQ(fake.order[2], 4);
    // The later TEXT wins, FLAGS accumulate.
    EXPECT_EQ(gadget(u"first").text, u"One");
    EXPECT_EQ(gadget(u"first").flags, 0x201u);
    EXPECT_EQ(gadget(u"third").request.colour, 255);
    EXPECT_EQ(gadget(u"fourth").request.colour, 0xFF0000);
    // The window opens invisible and is shown only after its layout.
    EXPECT_EQ(window().title, u"Title");
    EXPECT_EQ(window().flags, 0xC80000u | 0x10000000u);
    EXPECT_TRUE(window().visible);
    EXPECT_FALSE(window().centred);
}

TEST_F(DialogOpen, RangeKindsGetTheirDefaultsAndValues) {
    ASSERT_EQ(open(u"<window name='w'><vbox><scrollbar name='s'/><trackbar name='t'/><progressbar name='p'/>"
                   u"<spin name='n' min='-5' value='23' text='seven'/><editor name='e' text='body'/>"
                   u"<scrollbar name='s2' min='10' max='20' page='3'/></vbox></window>"),
              1)
        << dialog_error(dialog);
    const auto range = [&](std::u16string_view n) {
        const GadgetRequest& r = gadget(n).request;
        return std::vector<std::int32_t>{r.minimum, r.maximum, r.page, gadget(n).state};
    };
    EXPECT_EQ(range(u"s"), (std::vector<std::int32_t>{0, 100, 10, 0}));
    EXPECT_EQ(range(u"t")[1], 10);
    EXPECT_EQ(range(u"p")[1], 100);
    EXPECT_EQ(range(u"n"), (std::vector<std::int32_t>{-5, 100, 10, 23}));
    EXPECT_EQ(range(u"s2"), (std::vector<std::int32_t>{10, 20, 3, 10}));
    EXPECT_EQ(gadget(u"n").text, u"seven");
    EXPECT_EQ(gadget(u"e").text, u"body");
}

TEST_F(DialogOpen, LookupsAreDepthFirstAndCaseBlind) {
    ASSERT_EQ(open(u"<window name='w'><vbox><hbox><button name='x' id='1'/></hbox><button name='X' id='2'/>"
                   u"<gridbox columns='1'><button name='g' id='5'/></gridbox></vbox></window>"),
              1);
    EXPECT_EQ(dialog_gadget(dialog, u"x"), 1);
    EXPECT_EQ(dialog_gadget(dialog, u"G"), 5);
    EXPECT_EQ(dialog_gadget(dialog, u"w"), -1);
    EXPECT_EQ(dialog_gadget(dialog, u""), -1);
}

// Spans come from the children's own attributes (any letter case); a span
// past the last column is cut, later children flow around a row span.
TEST_F(DialogOpen, GridChildrenTakeTheirSpansFromTheDefinition) {
    ASSERT_EQ(open(u"<window name='w' margin='0'><gridbox colspacing='5' rowspacing='5'>"
                   u"<button name='a' width='40' height='10'/><button name='b' width='60' height='10' colspan='2'/>"
                   u"<button name='c' width='30' height='10' COLSPAN='2'/></gridbox></window>",
                   u"w", 125),
              1)
        << dialog_error(dialog);
    EXPECT_EQ(rect(u"a"), (LayoutRect{0, 0, 50, 10}));
    EXPECT_EQ(rect(u"b"), (LayoutRect{55, 0, 70, 10}));
    EXPECT_EQ(rect(u"c"), (LayoutRect{0, 15, 125, 10}));

    ASSERT_EQ(open(u"<window name='v' margin='0'><gridbox columns='3' colspacing='0' rowspacing='0' colexpand='no'>"
                   u"<button name='p' width='10' height='10' rowspan='2'/><button name='q' width='10' height='10'/>"
                   u"<button name='r' width='10' height='10'/><button name='s' width='10' height='10'/></gridbox>"
                   u"</window>",
                   u"v"),
              1)
        << dialog_error(dialog);
    EXPECT_EQ(rect(u"p"), (LayoutRect{0, 0, 10, 20}));
    EXPECT_EQ(rect(u"s"), (LayoutRect{10, 10, 10, 10}));
}

TEST_F(DialogOpen, DisabledInvisibleAndFoldedChildren) {
    ASSERT_EQ(open(u"<window name='w'><hbox spacing='0'><button name='a' width='10' disabled='Yes'/>"
                   u"<button name='b' width='10' folded='yes' invisible='yes'/><button name='c' width='10'/>"
                   u"</hbox></window>"),
              1);
    EXPECT_TRUE(gadget(u"a").disabled);
    EXPECT_TRUE(gadget(u"b").hidden);
    EXPECT_FALSE(gadget(u"c").hidden);
    // A folded child gets no rectangle and the others close up behind it;
    // it still counts in the size pass (a gadget reports its size folded too).
    EXPECT_EQ(gadget(u"b").resizes, 0);
    EXPECT_EQ(rect(u"a").x, 8);
    EXPECT_EQ(rect(u"c").x, 8 + rect(u"a").width);
}

// ---------------------------------------------------------------- errors

TEST_F(DialogOpen, TheFirstErrorWinsAndAFailedOpeningLeavesNothing) {
    EXPECT_EQ(open(u"<window name='w' id='4'><vbox><button name='b' flags='#PB_Nope' onchange='x'/>"
                   u"<button id='#Missing'/></vbox></window>"),
              0);
    EXPECT_EQ(dialog_error(dialog), "'#PB_Nope' flag is not supported for the following gadget: button");
    EXPECT_EQ(dialog_window(dialog), -1);
    EXPECT_TRUE(fake.windows.empty());
    EXPECT_EQ(binding_entry_count(), 0u);
    // The next opening starts without the old error.
    ASSERT_EQ(open(u"<window name='w'/>"), 1);
    EXPECT_EQ(dialog_error(dialog), "");
    // A failure before any window is made leaves no tree either.
    EXPECT_EQ(open(u"<window name='w'/>", u"other"), 0);
    EXPECT_EQ(dialog_window(dialog), -1);
}

// The tree up to an XML error would make a window that silently lacks the
// rest of its definition: the opening fails instead, saying where.
TEST_F(DialogOpen, ADefinitionWithAnXmlErrorOpensNothing) {
    EXPECT_EQ(open(u"<window name='w'>\n  <button name='b'/>\n  <vbox></window>"), 0);
    EXPECT_EQ(dialog_error(dialog), "Dialog definition is not well-formed XML (line 3, column 11): mismatched tag");
    EXPECT_EQ(dialog_window(dialog), -1);
    EXPECT_TRUE(fake.windows.empty());
    EXPECT_TRUE(fake.gadgets.empty());
}

TEST_F(DialogOpen, ADefinitionParsedOutOfMemoryNamesThat) {
    const std::u16string xml =
        u"<window name='w'><button name='b' text='" + std::u16string(600, u'x') + u"'/></window>";
    for (int successes = 0; successes < 200; ++successes) {
        xml_heap_fail_after(successes);
        const std::intptr_t document = parse_xml_text(PB_Any, xml.data(), xml.size());
        xml_heap_fail_after(-1);
        const XmlDocument* parsed = document ? is_xml(document) : nullptr;
        if (!parsed || parsed->error_code == 0) {
            free_xml(document);
            continue;
        }
        EXPECT_EQ(open_xml_dialog(dialog, document, u"w", 0, 0, 0, 0), 0);
        free_xml(document);
        const std::string error = dialog_error(dialog);
        EXPECT_TRUE(error.ends_with("): out of memory")) << error;
        EXPECT_TRUE(fake.windows.empty());
        return;
    }
    FAIL() << "no parse ran out of memory";
}

TEST_F(DialogOpen, EventAttributesNeedTheirKindsMaskAndARegisteredProcedure) {
    static int calls = 0;
    register_runtime_integer(u"OpenTestHandler", reinterpret_cast<std::intptr_t>(+[] { ++calls; }));
    register_runtime_integer(u"OpenTestZero", 0);
    EXPECT_EQ(open(u"<window name='w'><button name='b' OnChange='OpenTestHandler'/></window>"), 0);
    EXPECT_EQ(dialog_error(dialog), "'OnChange' is not supported for the following gadget: button");
    EXPECT_EQ(open(u"<window name='w'><string name='s' onchange='OpenTestZero'/></window>"), 0);
    EXPECT_EQ(dialog_error(dialog), "'OpenTestZero' is not a runtime procedure.");
    EXPECT_EQ(open(u"<window name='w'><string name='s' onchange=''/></window>"), 0);
    EXPECT_EQ(dialog_error(dialog), "'' is not a runtime procedure.");

    ASSERT_EQ(open(u"<window name='w'><vbox><string name='s' id='6' onchange='OpenTestHandler'/>"
                   u"<button name='b' id='62' onevent='OpenTestHandler'/></vbox></window>"),
              1)
        << dialog_error(dialog);
    const std::intptr_t w = dialog_window(dialog);
    calls = 0;
    queue_event(EV_GADGET, 6, w, 768);  // ET_CHANGE
    queue_event(EV_GADGET, 6, w, 0);    // not bound
    queue_event(EV_GADGET, 62, w, 14000);
    EXPECT_EQ(calls, 2);
}

TEST_F(DialogOpen, KindsWithoutElementsOrGadgetsFailNamingTheElement) {
    struct Case {
        std::u16string_view xml;
        std::string error;
    };
    fake.missing_kind = ElementKind::checkbox;
    const Case cases[] = {
        {u"<window name='w'><checkbox/></window>", "'checkbox' gadget is not available in this build: "},
        {u"<window name='w'><vbox><Tab name='t1'/></vbox></window>", "'Tab' is not inside a panel: t1"},
        {u"<window name='w'><button id='-3'/></window>", "'-3' is not a usable ID for the following gadget: button"},
        {u"<window name='w'><button id='99999999'/></window>",
         "'99999999' is not a usable ID for the following gadget: button"},
        {u"<window name='w'><gridbox name='g' columns='0'/></window>",
         "'columns' has an invalid value for the following gadget: gridbox"},
        {u"<window name='w'><gridbox columns='1'><button/><button rowspan='2147483647'/></gridbox></window>",
         "'button' does not fit into the grid: gridbox"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(open(c.xml), 0);
        EXPECT_EQ(dialog_error(dialog), c.error);
        EXPECT_TRUE(fake.windows.empty());
    }
}

TEST_F(DialogOpen, AWindowOrGadgetThePlatformRefusesFailsTheOpening) {
    fake.refuse_windows = true;
    EXPECT_EQ(open(u"<window name='w'/>"), 0);
    EXPECT_EQ(dialog_error(dialog), "Dialog window could not be opened");
    fake.refuse_windows = false;
    fake.refuse_gadgets = true;
    EXPECT_EQ(open(u"<window name='w'><listview name='files'/></window>"), 0);
    EXPECT_EQ(dialog_error(dialog), "'listview' gadget could not be created: files");
    EXPECT_TRUE(fake.windows.empty());
    // Without any platform nothing can open.
    set_dialog_platform(nullptr);
    EXPECT_EQ(open(u"<window name='w'/>"), 0);
    EXPECT_EQ(dialog_error(dialog), "Dialog window could not be opened");
}

TEST_F(DialogOpen, HostileDefinitionsFailOrAreClamped) {
    std::u16string deep = u"<window name='w'>";
    for (int i = 0; i < 400; ++i)
        deep += u"<vbox>";
    deep += u"<button/>";
    for (int i = 0; i < 400; ++i)
        deep += u"</vbox>";
    deep += u"</window>";
    EXPECT_EQ(open(deep), 0);
    EXPECT_EQ(dialog_error(dialog), "Dialog definition is nested too deeply at: vbox");

    ASSERT_EQ(open(u"<window name='w' margin='-99999999'><hbox spacing='2147483647'>"
                   u"<button name='a' width='99999999999' height='-7'/><button name='b' width='-2147483648'/>"
                   u"<empty width='2000000000'/></hbox></window>",
                   u"w", -5, 2147483647),
              1)
        << dialog_error(dialog);
    EXPECT_LE(window().size.width, kLayoutLimit);
    EXPECT_LE(window().size.height, kLayoutLimit);
    EXPECT_GE(rect(u"a").width, -kLayoutLimit);
    EXPECT_LE(rect(u"a").x + rect(u"a").width, 4 * kLayoutLimit);
}

TEST_F(DialogOpen, AllGridsOfADefinitionShareOneTableSize) {
    // Each grid alone fits; together they would hold tens of millions of cells.
    std::u16string grids = u"<window name='w'><vbox>";
    for (int i = 0; i < 20; ++i)
        grids += u"<gridbox columns='1000'><empty rowspan='1000'/></gridbox>";
    grids += u"</vbox></window>";
    EXPECT_EQ(open(grids), 0);
    EXPECT_EQ(dialog_error(dialog), "'empty' does not fit into the grid: gridbox");
    EXPECT_TRUE(fake.windows.empty());
    // A later opening starts with the whole size again.
    EXPECT_EQ(open(u"<window name='w'><gridbox columns='1000'><empty rowspan='1000'/></gridbox></window>"), 1)
        << dialog_error(dialog);
}

TEST_F(DialogOpen, ChildrenALeafCannotKeepStillGetTheirSettings) {
    ASSERT_EQ(open(u"<window name='w'><vbox><text name='t'><button name='inner' id='9' disabled='yes'/></text>"
                   u"<singlebox><button name='one' id='10'/><button name='two' id='11' invisible='yes'/></singlebox>"
                   u"</vbox></window>"),
              1)
        << dialog_error(dialog);
    EXPECT_TRUE(fake.gadgets.at(9).disabled);
    EXPECT_EQ(dialog_gadget(dialog, u"inner"), -1);
    // A single-child element keeps its last child.
    EXPECT_EQ(dialog_gadget(dialog, u"one"), -1);
    EXPECT_EQ(dialog_gadget(dialog, u"two"), 11);
    EXPECT_TRUE(fake.gadgets.at(11).hidden);
}

TEST_F(DialogOpen, ManyChildrenInOneBoxAreAllPlaced) {
    std::u16string xml = u"<window name='w'><vbox spacing='0'>";
    for (int i = 0; i < 500; ++i)
        xml += u"<button height='2'/>";
    xml += u"</vbox></window>";
    ASSERT_EQ(open(xml), 1) << dialog_error(dialog);
    EXPECT_EQ(fake.gadgets.size(), 500u);
    EXPECT_EQ(window().size.height, 1000 + 16);
    EXPECT_EQ(fake.gadgets.at(fake.order.back()).rect.y, 8 + 998);
}

// ---------------------------------------------------------------- layout runs

TEST_F(DialogOpen, GadgetRulesForListsAndTexts) {
    fake.required[u"label"] = {50, 20};
    fake.item_height = 16;
    ASSERT_EQ(open(u"<window name='w' margin='0'><vbox spacing='0' expand='no'>"
                   u"<listview name='l100' width='80' height='100'/><listview name='l101' height='101'/>"
                   u"<text name='t' text='label' height='20'/></vbox></window>",
                   u"w", 0, 0),
              1);
    // 100 = 6 rows of 16 plus 4 of edges; 101 needs a seventh row.
    EXPECT_EQ(rect(u"l100"), (LayoutRect{0, 0, 80, 100}));
    EXPECT_EQ(rect(u"l101").height, 116);
    EXPECT_EQ(rect(u"t"), (LayoutRect{0, 216, 80, 20}));
    // Given 30 rows of height a text sits 2 lower and 2 shorter.
    ASSERT_EQ(open(u"<window name='w' margin='0'><text name='t' text='label' height='20'/></window>", u"w", 0, 30), 1);
    EXPECT_EQ(rect(u"t"), (LayoutRect{0, 2, 50, 28}));
    ASSERT_EQ(open(u"<window name='w' margin='0'><text name='t' text='label' height='20' "
                   u"flags='#PB_Text_Border'/></window>",
                   u"w", 0, 30),
              1);
    EXPECT_EQ(rect(u"t"), (LayoutRect{0, 0, 50, 30}));
}

TEST_F(DialogOpen, TheResizeHandlerPlacesWithoutMeasuring) {
    fake.required[u"x"] = {40, 20};
    ASSERT_EQ(open(u"<window name='w' id='2'><hbox><button name='a' text='x'/><button name='b' text='x'/></hbox>"
                   u"</window>"),
              1);
    EXPECT_EQ(window().size, (LayoutSize{101, 36}));
    // The text grows, but a resize does not measure again.
    fake.required[u"x"] = {90, 20};
    fake.windows.at(2).size = {201, 50};
    queue_event(EV_SIZE_WINDOW, 0, 2, 0);
    EXPECT_EQ(rect(u"a"), (LayoutRect{8, 8, 40 + 50, 34}));
    EXPECT_EQ(rect(u"b"), (LayoutRect{8 + 90 + 5, 8, 40 + 50, 34}));
    // A refresh measures: the window grows to the new need.
    refresh_dialog(dialog);
    EXPECT_EQ(window().size, (LayoutSize{201, 50}));
    fake.required[u"x"] = {190, 20};
    refresh_dialog(dialog);
    EXPECT_EQ(window().size, (LayoutSize{401, 50}));
    // Freed: the handler is gone with the tree and the window.
    free_dialog(dialog);
    EXPECT_EQ(binding_entry_count(), 0u);
    EXPECT_TRUE(fake.windows.empty());
}

TEST_F(DialogOpen, AWindowNumberUsedAgainBelongsToTheNewestTree) {
    const std::intptr_t other = create_dialog(PB_Any);
    ASSERT_EQ(open(u"<window name='w' id='1'><button name='a' width='10'/></window>"), 1);
    const std::intptr_t document =
        parse_xml_text(PB_Any, u"<window name='w' id='1'><button name='b' width='20'/></window>");
    ASSERT_EQ(open_xml_dialog(other, document, u"w"), 1);
    free_xml(document);
    free_dialog(dialog);  // its tree is stale, its window number now the other's
    EXPECT_EQ(fake.windows.count(1), 1u) << "the window of the newest tree stays";
    fake.windows.at(1).size = {300, 40};
    queue_event(EV_SIZE_WINDOW, 0, 1, 0);
    EXPECT_EQ(fake.gadgets.at(dialog_gadget(other, u"b")).rect.width, 284);
    free_dialog(other);
    EXPECT_EQ(binding_entry_count(), 0u);
}

TEST_F(DialogOpen, WindowArgumentsLimitsAndCentring) {
    ASSERT_EQ(
        open(u"<window name='w' minwidth='AUTO' maxwidth='400' minheight='90' expand='no' "
             u"flags='#PB_Window_ScreenCentered | #PB_Window_Invisible'><button width='300' height='20'/></window>",
             u"w", 100, 50),
        1);
    EXPECT_EQ(window().size, (LayoutSize{316, 90}));
    EXPECT_EQ(window().bounds, (std::vector<std::int32_t>{316, 90, 400, -65535}));
    EXPECT_TRUE(window().centred);
    EXPECT_FALSE(window().visible);
    // Asked for more than the content needs: the window takes it.
    ASSERT_EQ(open(u"<window name='w'><button width='30' height='20'/></window>", u"w", 500, 400), 1);
    EXPECT_EQ(window().size, (LayoutSize{500, 400}));
    EXPECT_TRUE(window().bounds.empty());
    // Window number 0 is a number like any other.
    ASSERT_EQ(open(u"<window name='w' id='0'/>"), 1);
    EXPECT_EQ(dialog_window(dialog), 0);
}

// The program's own definition with the layout variables at 96 DPI and fixed
// required sizes: every rectangle by hand.
TEST_F(DialogOpen, TheProgramsWindowLaysOutExactly) {
    static std::int32_t v[11] = {600, 400, 86, 86, 0, 420, 300, 0, 24, 24, 16};
    const char16_t* const names[] = {u"DPIx1", u"DPIx2", u"DPIx3", u"DPIx4", u"DPIx5", u"DPIy1",
                                     u"DPIy2", u"DPIy3", u"DPIy4", u"DPIy5", u"DPIy6"};
    for (int i = 0; i < 11; ++i)
        register_runtime_variable(names[i], &v[i], kRuntimeInteger);
    fake.required[u"Drag&Drop"] = {380, 15};
    fake.required[u"home"] = {120, 17};
    fake.required[u"Export to file"] = {84, 24};
    fake.required[u"Copy"] = {38, 24};
    fake.item_height = 13;
    ASSERT_EQ(open(u"<dialogs><window name='wndMain' flags='#PB_Window_SystemMenu|#PB_Window_ScreenCentered' "
                   u"height='DPIy1' text='Blobsmith' width='DPIx1'><vbox name='@' expand='item:2'>"
                   u"<text name='lblDD' text='Drag&amp;Drop'/>"
                   u"<listview name='lstFiles' flags='#PB_ListView_Multiselect' height='DPIy2' width='DPIx2'/>"
                   u"<hbox name='control' expand='item:2'><singlebox name='`' align='center' expand='no' "
                   u"margin='DPIy3'><hyperlink name='lnkHome' text='home'/></singlebox><empty name='empty1'/>"
                   u"<button name='cmdSave' height='DPIy4' text='Export to file' width='DPIx3'/>"
                   u"<button name='cmdCopy' height='DPIy5' text='Copy' width='DPIx4'/></hbox>"
                   u"<hbox name='hbox1' spacing='DPIx5'><progressbar name='progress' "
                   u"flags='#PB_ProgressBar_Smooth' height='DPIy6'/></hbox></vbox></window></dialogs>",
                   u"WNDMAIN"),
              1)
        << dialog_error(dialog);
    // The list: 300 - 4 = 296 = 22 rows of 13 and 10 over, so 23 rows: 303.
    // Content 400 x (15 + 303 + 24 + 16 + 15) = 373; the window 600 x 420.
    EXPECT_EQ(window().size, (LayoutSize{600, 420}));
    EXPECT_TRUE(window().centred);
    EXPECT_EQ(gadget(u"lstFiles").flags, 0x800u);
    EXPECT_EQ(rect(u"lblDD"), (LayoutRect{8, 8, 584, 15}));
    // The vbox is 404 high and the list takes the 31 spare.
    EXPECT_EQ(rect(u"lstFiles"), (LayoutRect{8, 28, 584, 303 + 31}));
    EXPECT_EQ(rect(u"lnkHome"), (LayoutRect{8, 367 + 3, 120, 17}));
    EXPECT_EQ(rect(u"cmdSave"), (LayoutRect{592 - 86 - 5 - 86, 367, 86, 24}));
    EXPECT_EQ(rect(u"cmdCopy"), (LayoutRect{592 - 86, 367, 86, 24}));
    EXPECT_EQ(rect(u"progress"), (LayoutRect{8, 396, 584, 16}));
}

// A gadget's resize runs callbacks at once; one that frees or reopens the
// dialog stops the layout, which never reads the tree it let go (ASan).
TEST_F(DialogOpen, ACallbackThatLetsTheDialogGoStopsItsLayout) {
    constexpr const char16_t* kDefinition =
        u"<window name='w'><vbox><hbox><button name='a'/><button name='b'/></hbox><button name='c'/></vbox></window>";
    ASSERT_EQ(open(kDefinition), 1);
    const std::intptr_t a = dialog_gadget(dialog, u"a"), c = dialog_gadget(dialog, u"c");
    const int c_resizes = fake.gadgets.at(c).resizes;
    fake.on_resize = [&](std::intptr_t gadget) {
        if (gadget == a)
            free_dialog(dialog);
    };
    refresh_dialog(dialog);
    EXPECT_FALSE(is_dialog(dialog));
    EXPECT_TRUE(fake.windows.empty());
    EXPECT_EQ(fake.gadgets.at(c).resizes, c_resizes);

    // Opened again by the callback, during the opening's own layout: the
    // outer opening fails and the inner one's window stands.
    dialog = create_dialog(PB_Any);
    bool reopened = false;
    fake.on_resize = [&](std::intptr_t) {
        if (!reopened) {
            reopened = true;
            EXPECT_EQ(open(u"<window name='w'><button name='z'/></window>"), 1);
        }
    };
    EXPECT_EQ(open(kDefinition), 0);
    fake.on_resize = nullptr;
    EXPECT_NE(dialog_gadget(dialog, u"z"), -1);
    EXPECT_EQ(dialog_gadget(dialog, u"c"), -1);
}

// Closing the window runs callbacks too; one that frees the dialog again
// finds it gone (ASan: nothing freed twice).
TEST_F(DialogOpen, FreeingADialogFromItsOwnClosingFreesItOnce) {
    ASSERT_EQ(open(u"<window name='w'><button name='a'/></window>"), 1);
    int closes = 0;
    fake.on_close_window = [&](std::intptr_t) {
        ++closes;
        free_dialog(dialog);
    };
    free_dialog(dialog);
    fake.on_close_window = nullptr;
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(is_dialog(dialog));
}

}  // namespace
