// The main window's definition parses, and names what the program and the
// layout rely on.
#include "app/main_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/dpi_values.h"
#include "dialog/runtime_names.h"
#include "xml/xml_document.h"

namespace {

std::u16string attribute(const XmlNode* node, std::u16string_view name) {
    for (std::int32_t i = 0; i < node->attribute_count; ++i)
        if (node->attributes[2 * i] == name)
            return node->attributes[2 * i + 1];
    return u"<none>";
}

void collect(const XmlNode* node, std::vector<const XmlNode*>& out) {
    for (const XmlNode* child = node->first_child; child; child = child->next_sibling) {
        if (child->kind != XML_NODE_ELEMENT)
            continue;
        out.push_back(child);
        collect(child, out);
    }
}

TEST(MainDialog, DefinitionParsesIntoTheWindowsElements) {
    init_xml_library();
    const std::u16string text(main_dialog_definition());
    const std::intptr_t doc = parse_xml_text(PB_Any, text.c_str());
    ASSERT_NE(doc, 0);
    ASSERT_EQ(is_xml(doc)->error_code, 0) << std::string(is_xml(doc)->error_line, '.');
    const XmlNode* root = xml_main_node(doc);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(std::u16string(root->name), u"dialogs");

    std::vector<const XmlNode*> elements;
    collect(root, elements);
    const std::vector<std::u16string> kinds = {u"window", u"vbox",   u"text",   u"listview", u"hbox",  u"singlebox",
                                               u"hyperlink", u"empty", u"button", u"button",   u"hbox", u"progressbar"};
    const std::vector<std::u16string> names = {u"wndMain", u"@",      u"lblDD",   u"lstFiles", u"control", u"`",
                                               u"lnkHome", u"empty1", u"cmdSave", u"cmdCopy",  u"hbox1",   u"progress"};
    ASSERT_EQ(elements.size(), kinds.size());
    for (std::size_t i = 0; i < elements.size(); ++i) {
        EXPECT_EQ(std::u16string(elements[i]->name), kinds[i]);
        EXPECT_EQ(attribute(elements[i], u"name"), names[i]);
        // The name comes first everywhere: the engine takes the first NAME.
        EXPECT_EQ(std::u16string(elements[i]->attributes[0]), u"name");
    }
    EXPECT_EQ(attribute(elements[2], u"text"),
              u"Drag&Drop files here. Folders processed recursively, name duplicates filtered.");
    EXPECT_EQ(attribute(elements[6], u"text"), kHomePageAddress);
    EXPECT_EQ(attribute(elements[0], u"text"), u"Blobsmith");

    // Every size the definition names is one the program publishes.
    scale_x = scale_y = 1.25f;
    register_dpi_variables();
    set_dpi_sizes();
    std::size_t sizes = 0;
    for (const XmlNode* e : elements)
        for (std::int32_t i = 0; i < e->attribute_count; ++i) {
            const std::u16string value = e->attributes[2 * i + 1];
            if (value.rfind(u"DPI", 0) == 0) {
                EXPECT_TRUE(is_runtime_name(value));
                ++sizes;
            }
        }
    EXPECT_EQ(sizes, 11u);
    EXPECT_EQ(dialog_value(attribute(elements[8], u"width")), 108);
    scale_x = scale_y = 1.0f;
    set_dpi_sizes();
    free_xml(doc);
}

}  // namespace
