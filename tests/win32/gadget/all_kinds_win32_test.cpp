// Every gadget kind at once: each is what its number says, and freeing all
// leaves no record and no control behind.
#include <vector>

#include "gadget/container_kinds.h"
#include "gadget/editor_kinds.h"
#include "gadget/explorer_kinds.h"
#include "gadget/image_kinds.h"
#include "gadget/input_kinds.h"
#include "gadget/list_kinds.h"
#include "gadget/picker_kinds.h"
#include "gadget_test_support_win32.h"

namespace {

TEST_F(GadgetTest, EveryKindIsMadeAndFreedWithoutLeftovers) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    const auto picture = reinterpret_cast<std::uintptr_t>(bitmap);
    struct Made {
        std::intptr_t id;
        std::int32_t kind;
    };
    std::vector<Made> made;
    const auto keep = [&](std::intptr_t id, std::int32_t kind) {
        ASSERT_NE(id, 0) << "kind " << kind;
        made.push_back({id, kind});
    };
    keep(string_gadget(PB_Any, 0, 0, 50, 20, u"s"), kKindString);
    keep(checkbox_gadget(PB_Any, 0, 0, 50, 20, u"c"), kKindCheckBox);
    keep(option_gadget(PB_Any, 0, 0, 50, 20, u"o"), kKindOption);
    keep(frame_gadget(PB_Any, 0, 0, 50, 20, u"f"), kKindFrame);
    keep(combobox_gadget(PB_Any, 0, 0, 50, 20), kKindComboBox);
    keep(image_gadget(PB_Any, 0, 0, 50, 20, picture), kKindImage);
    keep(listicon_gadget(PB_Any, 0, 0, 50, 20, u"t", 40), kKindListIcon);
    keep(ipaddress_gadget(PB_Any, 0, 0, 50, 20), kKindIpAddress);
    keep(scrollbar_gadget(PB_Any, 0, 0, 50, 20, 0, 10, 2), kKindScrollBar);
    keep(trackbar_gadget(PB_Any, 0, 0, 50, 20, 0, 10), kKindTrackBar);
    keep(buttonimage_gadget(PB_Any, 0, 0, 50, 20, picture), kKindButtonImage);
    keep(calendar_gadget(PB_Any, 0, 0, 50, 20), kKindCalendar);
    keep(date_gadget(PB_Any, 0, 0, 50, 20, u"%dd"), kKindDate);
    keep(editor_gadget(PB_Any, 0, 0, 50, 20), kKindEditor);
    keep(explorerlist_gadget(PB_Any, 0, 0, 50, 20, u"C:\\"), kKindExplorerList);
    keep(explorertree_gadget(PB_Any, 0, 0, 50, 20, nullptr), kKindExplorerTree);
    keep(explorercombo_gadget(PB_Any, 0, 0, 50, 20, nullptr), kKindExplorerCombo);
    keep(spin_gadget(PB_Any, 0, 0, 50, 20, 0, 5), kKindSpin);
    keep(tree_gadget(PB_Any, 0, 0, 50, 20), kKindTree);
    keep(shortcut_gadget(PB_Any, 0, 0, 50, 20), kKindShortcut);
    keep(canvas_gadget(PB_Any, 0, 0, 50, 20), kKindCanvas);
    keep(container_gadget(PB_Any, 0, 0, 50, 20), kKindContainer);
    keep(text_gadget(PB_Any, 0, 0, 50, 20, u"in the container"), kKindText);
    gadget_close_list();
    keep(scrollarea_gadget(PB_Any, 0, 0, 50, 20, 100, 100), kKindScrollArea);
    gadget_close_list();
    keep(panel_gadget(PB_Any, 0, 0, 50, 20), kKindPanel);
    gadget_add_item(made.back().id, -1, u"page");
    keep(button_gadget(PB_Any, 0, 0, 50, 20, u"on the page"), kKindButton);
    gadget_close_list();
    const std::intptr_t first = container_gadget(PB_Any, 0, 0, 0, 0);
    gadget_close_list();
    const std::intptr_t second = container_gadget(PB_Any, 0, 0, 0, 0);
    gadget_close_list();
    keep(splitter_gadget(PB_Any, 0, 0, 50, 20, first, second), kKindSplitter);
    EXPECT_EQ(current_gadget_list(), window);

    std::vector<HWND> controls;
    for (const Made& m : made) {
        EXPECT_EQ(gadget_kind(m.id), m.kind);
        controls.push_back(hwnd(m.id));
    }
    controls.push_back(hwnd(first));
    controls.push_back(hwnd(second));
    DeleteObject(bitmap);
    gadget_free(PB_Any);
    EXPECT_EQ(live_gadgets(), 0);
    for (HWND control : controls)
        EXPECT_FALSE(IsWindow(control));
    EXPECT_EQ(GetWindow(window, GW_CHILD), nullptr);
}

}  // namespace
