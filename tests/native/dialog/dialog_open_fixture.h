// The native dialog tests' fixture: fresh event queue, XML and dialog
// libraries per test over the recording platform, definitions opened from text.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "dialog/dialog.h"
#include "dialog/runtime_names.h"
#include "fake_dialog_platform.h"
#include "window/event_bindings.h"
#include "window/event_queue.h"
#include "xml/xml_document.h"

// Found by argument-dependent lookup: the layout types live in the global namespace.
inline std::ostream& operator<<(std::ostream& out, const LayoutRect& r) {
    return out << "{" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << "}";
}
inline std::ostream& operator<<(std::ostream& out, const LayoutSize& s) {
    return out << s.width << " x " << s.height;
}

class DialogOpen : public ::testing::Test {
protected:
    void SetUp() override {
        init_event_queue();
        clear_bindings();
        init_xml_library();
        create_runtime_registry();
        init_dialog_library();
        set_dialog_platform(&fake);
        dialog = create_dialog(PB_Any);
        ASSERT_NE(dialog, 0);
    }
    void TearDown() override {
        end_dialog_library();
        set_dialog_platform(nullptr);
        end_xml_library();
        clear_bindings();
        end_event_queue();
    }

    int open(std::u16string_view xml,
             std::u16string_view name = u"w",
             std::int32_t width = 0,
             std::int32_t height = 0) {
        const std::intptr_t document = parse_xml_text(PB_Any, xml.data(), xml.size());
        EXPECT_NE(document, 0);
        const int result = open_xml_dialog(dialog, document, name, 0, 0, width, height);
        free_xml(document);
        return result;
    }
    FakeGadget& gadget(std::u16string_view name) { return fake.gadgets.at(dialog_gadget(dialog, name)); }
    LayoutRect rect(std::u16string_view name) { return gadget(name).rect; }
    FakeWindow& window() { return fake.windows.at(dialog_window(dialog)); }

    FakeDialogPlatform fake;
    std::intptr_t dialog = 0;
};
