// Helpers for the document tree tests: a library fixture and a compact,
// readable dump of a tree.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "system/utf.h"
#include "xml/node_pool.h"
#include "xml/xml_document.h"

class XmlTest : public ::testing::Test {
protected:
    void SetUp() override { init_xml_library(); }
    void TearDown() override {
        free_xml(PB_Any);
        EXPECT_EQ(node_pool_in_use(), 0u) << "a freed document left nodes behind";
    }

    // Parses under PB_Any; the document is freed by TearDown at the latest.
    XmlDocument* parse(std::u16string_view text) {
        const std::u16string terminated(text);
        XmlDocument* document = is_xml(parse_xml_text(PB_Any, terminated.c_str(), terminated.size()));
        EXPECT_NE(document, nullptr);
        return document;
    }
};

// Visible line breaks: CR as \r, LF as \n.
inline std::string visible(std::u16string_view text) {
    std::string out;
    for (char c : utf8_from_utf16(text)) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

// One node and its subtree: kind letter (R E C D T P), name, [attributes],
// "text", (children). Iterative in depth, recursive only in the helper's own
// test trees, which are shallow.
inline std::string dump(const XmlNode* node) {
    static const char kinds[] = "RECDTP";
    std::string out(1, node->kind >= 0 && node->kind <= 5 ? kinds[node->kind] : '?');
    if (node->name)
        out += ":" + visible(xml_node_name(node));
    if (node->attribute_count) {
        out += "[";
        for (std::int32_t i = 0; i < node->attribute_count; ++i) {
            if (i)
                out += ",";
            out += visible(xml_attribute_name(node, i)) + "=" + visible(xml_attribute_value(node, i));
        }
        out += "]";
    }
    if (node->text)
        out += "\"" + visible(xml_node_text(node)) + "\"";
    if (node->first_child) {
        out += "(";
        for (const XmlNode* child = node->first_child; child; child = child->next_sibling) {
            if (child != node->first_child)
                out += " ";
            out += dump(child);
        }
        out += ")";
    }
    return out;
}
