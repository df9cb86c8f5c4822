#include <gtest/gtest.h>

#include <string>

#include "xml/xml_document.h"
#include "xml/xml_document_internal.h"
#include "xml_test_support.h"

namespace {

using XmlHostileInput = XmlTest;

std::u16string repeat(std::u16string_view piece, std::size_t times) {
    std::u16string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

std::size_t depth_of_first_chain(const XmlNode* node) {
    std::size_t depth = 0;
    for (; node->first_child; node = node->first_child)
        ++depth;
    return depth;
}

TEST_F(XmlHostileInput, DeepNestingBuildsAndFreesWithoutRecursion) {
    constexpr std::size_t kDepth = 200000;
    XmlDocument* document = parse(repeat(u"<a>", kDepth) + u"x" + repeat(u"</a>", kDepth));
    EXPECT_EQ(document->error_code, 0);
    EXPECT_EQ(depth_of_first_chain(document->root), kDepth);
    free_xml(document->handle);

    // Left open by the end of the text: the partial tree is just as deep.
    document = parse(repeat(u"<a>", kDepth));
    EXPECT_EQ(document->error_code, 3);  // no element found: the text ended inside it
    EXPECT_EQ(depth_of_first_chain(document->root), kDepth);
}

TEST_F(XmlHostileInput, HugeAttributeListsKeepTheirCount) {
    // More pairs than a 16-bit count could hold.
    constexpr int kPairs = 40000;
    std::u16string text = u"<a";
    for (int i = 0; i < kPairs - 1; ++i)
        text += u" n" + utf16_from_utf8(std::to_string(i)) + u"='v'";
    text += u" Id='last'/>";
    XmlDocument* document = parse(text);
    ASSERT_EQ(document->error_code, 0);
    const XmlNode* a = document->main_node;
    EXPECT_EQ(a->attribute_count, kPairs);
    EXPECT_EQ(a->id_attribute, kPairs - 1);
    EXPECT_EQ(xml_attribute_name(a, 35000), u"n35000");
    EXPECT_EQ(xml_attribute_value(a, kPairs - 1), u"last");
}

TEST_F(XmlHostileInput, EntityExpansionIsStoppedByTheParser) {
    std::u16string text = u"<!DOCTYPE a [<!ENTITY e0 'lollollollollollollollollollol'>";
    for (int i = 1; i < 10; ++i) {
        const std::u16string previous = u"&e" + utf16_from_utf8(std::to_string(i - 1)) + u";";
        text += u"<!ENTITY e" + utf16_from_utf8(std::to_string(i)) + u" '" + repeat(previous, 10) + u"'>";
    }
    text += u"]><a x='&e9;'/>";
    XmlDocument* document = parse(text);
    EXPECT_EQ(document->error_code, 43);
    EXPECT_EQ(xml_string(document->error_message),
              u"limit on input amplification factor (from DTD and entities) breached");
    EXPECT_EQ(document->main_node, nullptr);
}

TEST_F(XmlHostileInput, NulsAndUnpairedSurrogatesAreErrorsWithAPosition) {
    const std::u16string texts[] = {
        std::u16string(u"<a>x\0y</a>", 10),
        std::u16string{u'<', u'a', u'>', char16_t(0xD800), u'<', u'/', u'a', u'>'},
        std::u16string{u'<', u'a', u'>', char16_t(0xDC00), char16_t(0xD800), u'<', u'/', u'a', u'>'},
        std::u16string{u'<', u'a', char16_t(0xD83D), u'/', u'>'},
        std::u16string{u'<', u'a', u'/', u'>', char16_t(0xD83D)},
    };
    for (const auto& text : texts) {
        XmlDocument* document = parse(text);
        EXPECT_NE(document->error_code, 0) << visible(text);
        EXPECT_EQ(document->error_line, 1);
        EXPECT_GT(document->error_column, 1);
        EXPECT_NE(document->error_message, nullptr);
    }
    // A valid pair is one character, kept as two units.
    XmlDocument* document = parse(u"<a>\U0001F600</a>");
    EXPECT_EQ(document->error_code, 0);
    EXPECT_EQ(xml_node_text(document->main_node), u"\U0001F600");
    // The NUL-terminated form stops at the first NUL.
    const std::intptr_t id = parse_xml_text(PB_Any, u"<a/>\0junk");
    EXPECT_EQ(is_xml(id)->error_code, 0);
}

TEST_F(XmlHostileInput, ALargeTextParsesIntoOneNode) {
    constexpr std::size_t kLines = 4 << 20;  // 24 MiB of text units, CR LF kept
    const std::u16string line = u"line\r\n";
    XmlDocument* document = parse(u"<a>" + repeat(line, kLines) + u"</a>");
    ASSERT_EQ(document->error_code, 0);
    const std::u16string_view text = xml_node_text(document->main_node);
    ASSERT_EQ(text.size(), kLines * line.size());
    EXPECT_EQ(text.substr(text.size() - 2 * line.size()), line + line);
}

TEST_F(XmlHostileInput, TextInSmallPiecesGivesTheSameTreeAndErrors) {
    const std::u16string_view texts[] = {
        u"<?xml version='1.0'?>\r\n<!DOCTYPE a [<!ENTITY e 'x'>]>\r\n<a k='v'>1\r\n&e;<![CDATA[2\r\n3]]><?p d?></a> ",
        u"<a>\n  <b>one</b>\n  <c>two\n</a>",
        u"\U0001F600<a/>",
    };
    for (const auto text : texts) {
        const std::u16string terminated(text);
        XmlDocument* whole = is_xml(parse_xml_units(PB_Any, terminated.c_str(), terminated.size(), terminated.size()));
        for (std::size_t chunk : {1, 3}) {
            XmlDocument* pieces = is_xml(parse_xml_units(PB_Any, terminated.c_str(), terminated.size(), chunk));
            ASSERT_NE(pieces, nullptr);
            EXPECT_EQ(dump(pieces->root), dump(whole->root)) << visible(text) << " in pieces of " << chunk;
            EXPECT_EQ(pieces->error_code, whole->error_code);
            EXPECT_EQ(pieces->error_line, whole->error_line);
            EXPECT_EQ(pieces->error_column, whole->error_column);
        }
    }
}

}  // namespace
