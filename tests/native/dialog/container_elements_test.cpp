// Container elements and option groups over the recording platform: which
// gadget list each child is made in, the lists closed again, and the exact
// rectangles of frames, containers, splitter panes, scroll areas and panels.
#include <algorithm>
#include <cstdlib>

#include "dialog_open_fixture.h"
#include "support/failing_allocations.h"

namespace {

int g_calls = 0;
void count_call() {
    ++g_calls;
}

using ContainerElements = DialogOpen;

TEST_F(ContainerElements, AFrameWrapsItsChildInsideItsCaptionAndEdges) {
    ASSERT_EQ(open(u"<window name='w' margin='0'><frame name='f' text='Caption'>"
                   u"<button name='b' width='100' height='50'/></frame></window>"),
              1)
        << dialog_error(dialog);
    EXPECT_EQ(window().size, (LayoutSize{118, 77}));
    EXPECT_EQ(rect(u"f"), (LayoutRect{0, 0, 118, 77}));
    EXPECT_EQ(rect(u"b"), (LayoutRect{9, 18, 100, 50}));
    // A frame holds no gadgets: its child lives beside it.
    EXPECT_EQ(gadget(u"b").list, gadget(u"f").list);
    EXPECT_TRUE(fake.lists.empty());
}

TEST_F(ContainerElements, AContainerHoldsItsChildHalfABorderIn) {
    ASSERT_EQ(open(u"<window name='w' margin='0'><vbox><container name='c' flags='#PB_Container_Single'>"
                   u"<button name='in' width='100' height='50'/></container><button name='after'/></vbox></window>"),
              1)
        << dialog_error(dialog);
    // Borders 2 × 1 pixel, margins 10.
    EXPECT_EQ(gadget(u"c").rect.width, 122);
    EXPECT_EQ(gadget(u"c").rect.height, 72);
    const LayoutRect c = rect(u"c");
    EXPECT_EQ(rect(u"in"), (LayoutRect{11, 11, c.width - 22, c.height - 22}));
    EXPECT_EQ(gadget(u"in").list, dialog_gadget(dialog, u"c"));
    EXPECT_EQ(gadget(u"after").list, -1);
    EXPECT_TRUE(fake.lists.empty());
}

TEST_F(ContainerElements, ACanvasHoldsChildrenOnlyWithItsContainerFlag) {
    ASSERT_EQ(open(u"<window name='w' margin='0'><vbox>"
                   u"<canvas name='cv' flags='#PB_Canvas_Container'><button name='in' width='30' height='20'/></canvas>"
                   u"<canvas name='empty' flags='#PB_Canvas_Container' width='70' height='15'/>"
                   u"<canvas name='leaf' flags='#PB_Canvas_Border'><button name='not_kept'/></canvas>"
                   u"</vbox></window>"),
              1)
        << dialog_error(dialog);
    EXPECT_EQ(gadget(u"in").list, dialog_gadget(dialog, u"cv"));
    EXPECT_EQ(rect(u"in").x, 10);
    EXPECT_EQ(rect(u"in").y, 10);
    EXPECT_EQ(rect(u"cv").height, 40);
    EXPECT_EQ(rect(u"empty").height, 15);
    EXPECT_EQ(window().size.width, 70);
    EXPECT_EQ(dialog_gadget(dialog, u"not_kept"), -1);
    EXPECT_TRUE(fake.lists.empty());
}

TEST_F(ContainerElements, SplitterPanesAreBuiltInTheirContainersAndPlacedByTheirEvents) {
    ASSERT_EQ(open(u"<window name='w' margin='0'>"
                   u"<splitter name='s' flags='#PB_Splitter_Vertical|#PB_Splitter_Separator' firstmin='auto' "
                   u"SecondMin='30'><button name='l' width='100' height='40'/><button name='r' width='120' "
                   u"height='20'/></splitter></window>"),
              1)
        << dialog_error(dialog);
    const FakeGadget& s = gadget(u"s");
    EXPECT_EQ(window().size, (LayoutSize{227, 40}));
    EXPECT_EQ(s.attributes.at(1), 100);  // the first pane's requested width
    EXPECT_EQ(s.attributes.at(2), 30);
    EXPECT_EQ(gadget(u"l").list, s.request.first);
    EXPECT_EQ(gadget(u"r").list, s.request.second);
    EXPECT_EQ(fake.gadgets.at(s.request.first).kind, ElementKind::container);
    // The splitter's bar sits at 110; each container's resize event placed its pane.
    EXPECT_EQ(rect(u"l"), (LayoutRect{0, 0, 110, 40}));
    EXPECT_EQ(rect(u"r"), (LayoutRect{0, 0, 110, 40}));
    EXPECT_TRUE(fake.lists.empty());
    EXPECT_EQ(fake.gadget_callbacks.size(), 2u);

    // A window resize moves the bar and the panes follow.
    fake.resize_window(dialog_window(dialog), 307, 60);
    queue_event(EV_SIZE_WINDOW, 0, dialog_window(dialog), 0);
    EXPECT_EQ(rect(u"r"), (LayoutRect{0, 0, 150, 60}));

    free_dialog(dialog);
    EXPECT_TRUE(fake.gadget_callbacks.empty());  // out of the splitter map, handlers unbound
}

// A pane's list that cannot be opened would leave the pane outside the
// splitter, and closing it would close the list around the splitter.
TEST_F(ContainerElements, ASplitterWhosePaneListCannotBeOpenedFailsTheOpening) {
    fake.refuse_lists = true;
    EXPECT_EQ(open(u"<window name='w'><splitter name='s'><button name='l'/><button name='r'/></splitter></window>"), 0);
    EXPECT_EQ(dialog_error(dialog), "'splitter' gadget could not be created: s");
    EXPECT_EQ(fake.unbalanced_closes, 0);
    EXPECT_EQ(dialog_gadget(dialog, u"l"), -1);
}

TEST_F(ContainerElements, APanelWhoseHandlerIsRefusedClosesItsList) {
    for (const std::u16string_view xml : {
             u"<window name='w'><vbox><panel onleftclick='handler'><tab><button/></tab></panel></vbox></window>",
             u"<window name='w'><vbox><panel onchange='nothing'/></vbox></window>",
         }) {
        EXPECT_EQ(open(xml), 0);
        EXPECT_TRUE(fake.lists.empty()) << dialog_error(dialog);
        EXPECT_EQ(fake.unbalanced_closes, 0);
    }
}

// In a process of its own, where no splitter has made the splitter map yet:
// memory running out while the first one enters it must not end the process
// from a destructor. Every attempt opens window number 1, so that an entry a
// failed attempt left for it would be met by the next.
TEST_F(ContainerElements, AnOpenThatRunsOutOfMemoryLeavesNothingBehind) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::u16string_view xml =
        u"<window name='w' id='1'><splitter name='s'><button name='l'/><button name='r'/>"
        u"</splitter></window>";
    EXPECT_EXIT(
        {
            const std::intptr_t document = parse_xml_text(PB_Any, xml.data(), xml.size());
            const int failures = each_allocation_failing(
                [&] {
                    if (open_xml_dialog(dialog, document, u"w") != 1)
                        std::exit(2);
                },
                [&](bool) {
                    free_dialog(dialog);
                    dialog = create_dialog(PB_Any);
                    if (!fake.gadget_callbacks.empty())
                        std::exit(3);
                });
            free_dialog(dialog);
            free_xml(document);
            std::exit(failures > 0 ? 0 : 4);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(ContainerElements, ASplitterKeepsTwoChildrenAndLeavesNoListOpen) {
    ASSERT_EQ(open(u"<window name='w'><vbox><splitter name='one' FirstMin='auto' firstmin='5' secondmin='auto'>"
                   u"<button name='x' height='25'/></splitter>"
                   u"<splitter name='three'><button/><button/><button name='extra'/></splitter>"
                   u"<splitter name='none'/><button name='after'/></vbox></window>"),
              1)
        << dialog_error(dialog);
    // "auto" stays, whatever number follows; the absent pane's minimum is 0.
    EXPECT_EQ(gadget(u"one").attributes.at(1), 25);
    EXPECT_EQ(gadget(u"one").attributes.at(2), 0);
    EXPECT_NE(dialog_gadget(dialog, u"x"), -1);
    EXPECT_EQ(dialog_gadget(dialog, u"extra"), -1);
    EXPECT_EQ(gadget(u"after").list, -1);
    EXPECT_TRUE(fake.lists.empty());
    EXPECT_EQ(fake.unbalanced_closes, 0);
}

TEST_F(ContainerElements, AGroupedOptionAsASplitterPaneIsMadeInItsPane) {
    ASSERT_EQ(open(u"<window name='w'><vbox><splitter name='two'><option group='1' name='o1' text='a'/>"
                   u"<option group='1' name='o2' text='b'/></splitter>"
                   u"<splitter name='one'><option group='2' name='only' text='c'/></splitter></vbox></window>"),
              1)
        << dialog_error(dialog);
    EXPECT_EQ(gadget(u"o1").list, gadget(u"two").request.first);
    EXPECT_EQ(gadget(u"o2").list, gadget(u"two").request.second);
    EXPECT_EQ(gadget(u"only").list, gadget(u"one").request.first);
    EXPECT_TRUE(fake.lists.empty());
    EXPECT_EQ(fake.unbalanced_closes, 0);
}

TEST_F(ContainerElements, AScrollAreaSetsItsAutomaticInnerSizeFromItsChild) {
    fake.required[u"b"] = {100, 200};
    ASSERT_EQ(open(u"<window name='w' margin='0'><scrollarea name='a' scrolling='vertical' height='50' step='7'>"
                   u"<button name='b' text='b'/></scrollarea></window>"),
              1)
        << dialog_error(dialog);
    const FakeGadget& area = gadget(u"a");
    EXPECT_EQ(area.request.inner_width, -1);
    EXPECT_EQ(area.request.step, 7);
    // Scrolling vertically: as wide as the child plus a scroll bar, as high as asked.
    EXPECT_EQ(window().size, (LayoutSize{142, 50}));
    EXPECT_EQ(rect(u"b"), (LayoutRect{10, 10, 100, 200}));
    EXPECT_EQ(area.attributes.at(1), 120);
    EXPECT_EQ(area.attributes.at(2), 220);
    EXPECT_EQ(gadget(u"b").list, dialog_gadget(dialog, u"a"));
    // The inner area follows the child when it grows.
    fake.required[u"b"] = {100, 300};
    refresh_dialog(dialog);
    EXPECT_EQ(window().size, (LayoutSize{142, 50}));
    EXPECT_EQ(area.attributes.at(2), 320);
    // A fixed inner size is passed on and left alone.
    ASSERT_EQ(open(u"<window name='w'><scrollarea name='a' innerwidth='500' innerheight='AUTO'>"
                   u"<button text='b'/></scrollarea></window>"),
              1);
    EXPECT_EQ(gadget(u"a").request.inner_width, 500);
    EXPECT_EQ(gadget(u"a").attributes.count(1), 0u);
    EXPECT_EQ(gadget(u"a").attributes.at(2), 320);
}

TEST_F(ContainerElements, TabsAreThePanelsPagesAndFillItsPageArea) {
    ASSERT_EQ(open(u"<window name='w' margin='0'><panel name='p'>"
                   u"<tab text='one'><button name='b1' width='100' height='30'/></tab>"
                   u"<tab text='two' margin='0'><button name='b2' width='60' height='80'/></tab></panel></window>"),
              1)
        << dialog_error(dialog);
    const std::intptr_t p = dialog_gadget(dialog, u"p");
    EXPECT_EQ(gadget(u"p").items, (std::vector<std::u16string>{u"one", u"two"}));
    EXPECT_EQ(gadget(u"b1").list, p * 1000 + 0);
    EXPECT_EQ(gadget(u"b2").list, p * 1000 + 1);
    // Widest page 120 + 4; highest page 80 + the tab strip 20 + 2.
    EXPECT_EQ(rect(u"p"), (LayoutRect{0, 0, 124, 102}));
    EXPECT_EQ(rect(u"b1"), (LayoutRect{10, 10, 100, 60}));
    EXPECT_EQ(rect(u"b2"), (LayoutRect{0, 0, 120, 80}));
    EXPECT_TRUE(fake.lists.empty());

    // A panel inside a page has pages of its own; the outer panel goes on after it.
    ASSERT_EQ(open(u"<window name='w'><panel name='outer'><tab text='a'><panel name='inner'><tab text='x'/>"
                   u"<tab text='y'/></panel></tab><tab text='b'/></panel></window>"),
              1)
        << dialog_error(dialog);
    EXPECT_EQ(gadget(u"outer").items, (std::vector<std::u16string>{u"a", u"b"}));
    EXPECT_EQ(gadget(u"inner").items, (std::vector<std::u16string>{u"x", u"y"}));
    EXPECT_TRUE(fake.lists.empty());
    EXPECT_EQ(open(u"<window name='w'><panel/><tab name='late'/></window>"), 0);
    EXPECT_EQ(dialog_error(dialog), "'tab' is not inside a panel: late");
}

TEST_F(ContainerElements, GroupedOptionsAreMadeTogetherAfterTheirSiblings) {
    register_runtime_integer(u"count_call", reinterpret_cast<std::intptr_t>(&count_call));
    ASSERT_EQ(open(u"<window name='w'><vbox><option name='a' group='1' text='A'/><text name='t' text='between'/>"
                   u"<option name='solo' text='S'/><option name='b' group='1'/><option name='c' group='2'/>"
                   u"<option name='d' group='1' disabled='yes' id='40' onevent='count_call'/></vbox></window>"),
              1)
        << dialog_error(dialog);
    // The text and the option without GROUP come first; then each group after
    // a text gadget made and freed, which ends the group before it.
    ASSERT_EQ(fake.order.size(), 8u);
    EXPECT_EQ(fake.order[0], dialog_gadget(dialog, u"t"));
    EXPECT_EQ(fake.order[1], dialog_gadget(dialog, u"solo"));
    EXPECT_EQ(fake.order[3], dialog_gadget(dialog, u"a"));
    EXPECT_EQ(fake.order[4], dialog_gadget(dialog, u"b"));
    EXPECT_EQ(fake.order[5], 40);
    EXPECT_EQ(fake.order[7], dialog_gadget(dialog, u"c"));
    EXPECT_EQ(fake.gadgets.count(fake.order[2]) + fake.gadgets.count(fake.order[6]), 0u);
    EXPECT_EQ(fake.freed, 2);
    EXPECT_EQ(gadget(u"a").text, u"A");
    EXPECT_TRUE(gadget(u"d").disabled);
    EXPECT_GT(rect(u"b").width, -1);  // placed like any gadget
    g_calls = 0;
    queue_event(EV_GADGET, 40, dialog_window(dialog), ET_LEFT_CLICK);
    EXPECT_EQ(g_calls, 1);

    // An option whose parent keeps no children still gets its gadget.
    ASSERT_EQ(open(u"<window name='w'><button name='x'><option name='o' group='3' text='lost'/></button></window>"), 1);
    EXPECT_EQ(dialog_gadget(dialog, u"o"), -1);
    EXPECT_TRUE(
        std::any_of(fake.gadgets.begin(), fake.gadgets.end(), [](const auto& g) { return g.second.text == u"lost"; }));
    // A refused option fails the opening naming it.
    fake.refused_kind = ElementKind::option;
    EXPECT_EQ(open(u"<window name='w'><option name='late' group='1'/></window>"), 0);
    EXPECT_EQ(dialog_error(dialog), "'option' gadget could not be created: late");
}

}  // namespace
