#include "xml/xml_document.h"

#include <gtest/gtest.h>

#include <string>

#include "xml/string_arena.h"
#include "xml_test_support.h"

namespace {

using XmlDocumentTree = XmlTest;

TEST_F(XmlDocumentTree, EmptyOrNullTextIsAnErrorWithOnlyTheRoot) {
    for (const char16_t* text : {static_cast<const char16_t*>(nullptr), u""}) {
        const std::intptr_t id = parse_xml_text(PB_Any, text);
        XmlDocument* document = is_xml(id);
        ASSERT_NE(document, nullptr);
        EXPECT_EQ(document->error_code, 3);  // no element found
        EXPECT_EQ(document->error_line, 1);
        EXPECT_EQ(document->error_column, 1);
        EXPECT_EQ(xml_string(document->error_message), u"no element found");
        EXPECT_EQ(xml_main_node(id), nullptr);
        EXPECT_EQ(dump(document->root), "R");
        EXPECT_EQ(document->encoding, XML_ENCODING_UTF16);
        EXPECT_EQ(document->standalone, -1);
        EXPECT_EQ(document->parser, nullptr);
    }
}

TEST_F(XmlDocumentTree, ElementsAttributesAndTextsInDocumentOrder) {
    XmlDocument* document =
        parse(u"<dialogs><window name=\"wndMain\" text='A &amp; B'>x<vbox/>y<!--c-->z</window></dialogs>");
    ASSERT_EQ(document->error_code, 0);
    EXPECT_EQ(dump(document->root), "R(E:dialogs(E:window[name=wndMain,text=A & B]\"xyz\"(E:vbox C\"c\")))");
    const XmlNode* window = document->main_node->first_child;
    EXPECT_EQ(window->parent, document->main_node);
    EXPECT_EQ(window->first_child->next_sibling->previous_sibling, window->first_child);
    // Text positions cut the parent's text into the runs between children.
    EXPECT_EQ(window->first_child->text_position, 1);
    EXPECT_EQ(window->first_child->next_sibling->text_position, 1);
    for (const XmlNode* node : std::initializer_list<const XmlNode*>{document->root, document->main_node, window})
        EXPECT_EQ(node->owner, document->handle);
}

TEST_F(XmlDocumentTree, LineBreaksFollowTheFirstOneOfTheInput) {
    const struct {
        std::u16string_view text;
        std::int32_t style;
        const char* tree;
    } cases[] = {
        {u"<a>1\r\n2<!--3\r\n4--><?p 5\r\n6?><![CDATA[7\r\n8]]>\n9</a>", NEWLINE_CRLF,
         "R(E:a\"1\\r\\n2\\r\\n9\"(C\"3\\r\\n4\" P:p\"5\\r\\n6\" D\"7\\r\\n8\"))"},
        {u"<a>1\n2<!--3\n4--></a>", NEWLINE_LF, "R(E:a\"1\\n2\"(C\"3\\n4\"))"},
        {u"<a>1\r2<!--3\r4--></a>", NEWLINE_CR, "R(E:a\"1\\r2\"(C\"3\\r4\"))"},
        // A leading LF does not count: the style comes from the CR LF after it.
        {u"\n<a>1\r\n2</a>", NEWLINE_CRLF, "R\"\\n\"(E:a\"1\\r\\n2\")"},
        // The last unit is never examined: no style, LF kept.
        {u"<a>1</a>\n", NEWLINE_NONE, "R\"\\n\"(E:a\"1\")"},
        // A character reference to LF is a line break like any other.
        {u"<a>1&#10;2</a>\r\n ", NEWLINE_CRLF, "R\"\\r\\n \"(E:a\"1\\r\\n2\")"},
    };
    for (const auto& c : cases) {
        XmlDocument* document = parse(c.text);
        EXPECT_EQ(document->error_code, 0) << visible(c.text);
        EXPECT_EQ(document->newline_style, c.style) << visible(c.text);
        EXPECT_EQ(dump(document->root), c.tree) << visible(c.text);
    }
}

TEST_F(XmlDocumentTree, DocumentTypeDeclarationText) {
    const struct {
        std::u16string_view text;
        const char* doctype;
    } cases[] = {
        {u"<!DOCTYPE a SYSTEM \"a.dtd\"><a/>", "<!DOCTYPE a SYSTEM \"a.dtd\">"},
        {u"<!DOCTYPE a PUBLIC \"-//P//EN\" 'a.dtd'><a/>", "<!DOCTYPE a PUBLIC \"-//P//EN\" \"a.dtd\">"},
        {u"<!DOCTYPE a SYSTEM 'say \"hi\".dtd'><a/>", "<!DOCTYPE a SYSTEM 'say \"hi\".dtd'>"},
        {u"<!DOCTYPE a><a/>", "<!DOCTYPE a>"},
        {u"<!DOCTYPE a [\n<!ENTITY e \"say &#34;x&#34;\">\n]><a/>",
         "<!DOCTYPE a [\\n<!ENTITY e \"say &#34;x&#34;\">\\n]>"},
        {u"<!DOCTYPE a SYSTEM \"s\" [<!ELEMENT a EMPTY>]><a/>", "<!DOCTYPE a SYSTEM \"s\" [<!ELEMENT a EMPTY>]>"},
    };
    for (const auto& c : cases) {
        XmlDocument* document = parse(c.text);
        EXPECT_EQ(document->error_code, 0) << visible(c.text);
        const XmlNode* doctype = document->root->first_child;
        ASSERT_EQ(doctype->kind, XML_NODE_DOCTYPE) << visible(c.text);
        EXPECT_EQ(visible(xml_node_text(doctype)), c.doctype);
        EXPECT_EQ(doctype->first_child, nullptr);
        EXPECT_EQ(doctype->next_sibling, document->main_node) << "the declaration was closed";
    }
}

TEST_F(XmlDocumentTree, IdAttributeIndexIsTheLastNamedIdInAnyCase) {
    XmlDocument* document = parse(u"<a id='1' Name='n'><b x='1'/><c ID='1' y='2' iD='3'/><d idx='1'/></a>");
    const XmlNode* a = document->main_node;
    EXPECT_EQ(a->attribute_count, 2);
    EXPECT_EQ(a->id_attribute, 0);
    const XmlNode* b = a->first_child;
    EXPECT_EQ(b->id_attribute, -1);
    EXPECT_EQ(b->next_sibling->id_attribute, 2);
    EXPECT_EQ(b->next_sibling->next_sibling->id_attribute, -1);
    EXPECT_EQ(document->root->id_attribute, -1);
}

TEST_F(XmlDocumentTree, AttributesAreFoundByNameIgnoringAsciiCaseOnly) {
    const XmlNode* a = parse(u"<a Name='1' x='2' NAME='3' \u00e9='4'/>")->main_node;
    EXPECT_EQ(xml_attribute_index(a, u"name"), 0) << "the first of several";
    EXPECT_EQ(xml_attribute_index(a, u"X"), 1);
    EXPECT_EQ(xml_attribute_index(a, u"nam"), -1);
    EXPECT_EQ(xml_attribute_index(a, u"\u00c9"), -1);
    EXPECT_EQ(xml_attribute_index(a, u"\u00e9"), 3);
    EXPECT_EQ(xml_attribute_index(parse(u"<b/>")->main_node, u"name"), -1);
}

TEST_F(XmlDocumentTree, TextOutsideTheDocumentElementLandsInTheRoot) {
    XmlDocument* document =
        parse(u"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n  <a> x </a>\r\n<!--c-->\t");
    EXPECT_EQ(document->error_code, 0);
    EXPECT_EQ(dump(document->root), "R\"\\r\\n  \\r\\n\t\"(E:a\" x \" C\"c\")");
    // The text came as UTF-16: the declared encoding does not change the code.
    EXPECT_EQ(document->encoding, XML_ENCODING_UTF16);
    EXPECT_EQ(document->standalone, 1);
    EXPECT_EQ(document->main_node->text_position, 4);
}

TEST_F(XmlDocumentTree, EntityReferencesStayTextUnlessPredefined) {
    XmlDocument* document = parse(u"<!DOCTYPE a [<!ENTITY e 'expanded'>]><a>&e; &lt;&#x41;&gt;</a>");
    EXPECT_EQ(document->error_code, 0);
    EXPECT_EQ(visible(xml_node_text(document->main_node)), "&e; <A>");
}

TEST_F(XmlDocumentTree, LongStringsLiveOutsideTheArena) {
    // 511 units and a terminator fill the arena limit exactly; one more does not fit.
    const std::u16string fits(511, u'x');
    const std::u16string too_long(512, u'y');
    const std::u16string text = u"<" + too_long + u" a='" + fits + u"' b='" + too_long + u"'>" + fits + u"<s>" +
                                too_long + u"</s><t/></" + too_long + u">";
    XmlDocument* document = parse(text);
    ASSERT_EQ(document->error_code, 0);
    const XmlNode* main = document->main_node;
    EXPECT_EQ(xml_node_name(main), too_long);
    EXPECT_EQ(xml_node_text(main), fits);
    EXPECT_EQ(xml_node_text(main->first_child), too_long);
    EXPECT_EQ(xml_attribute_value(main, 0), fits);
    EXPECT_EQ(xml_attribute_value(main, 1), too_long);
    EXPECT_FALSE(arena_contains(*document, main->name));
    EXPECT_FALSE(arena_contains(*document, main->attributes[3]));
    EXPECT_FALSE(arena_contains(*document, main->first_child->text));
    EXPECT_TRUE(arena_contains(*document, main->text));
    EXPECT_TRUE(arena_contains(*document, main->attributes[1]));
    EXPECT_TRUE(arena_contains(*document, main->attributes));
    EXPECT_TRUE(arena_contains(*document, main->first_child->name));
}

TEST_F(XmlDocumentTree, MalformedTextKeepsThePartialTreeAndThePosition) {
    XmlDocument* document = parse(u"<a>\n  <b>one</b>\n  <c>two\n</a>");
    EXPECT_EQ(document->error_code, 7);  // mismatched tag
    EXPECT_EQ(document->error_line, 4);
    EXPECT_EQ(document->error_column, 3);
    EXPECT_EQ(xml_string(document->error_message), u"mismatched tag");
    EXPECT_EQ(dump(document->root), "R(E:a\"\\n  \\n  \"(E:b\"one\" E:c\"two\\n\"))");

    document = parse(u"<a/><b/>");
    EXPECT_EQ(document->error_code, 9);
    EXPECT_EQ(xml_string(document->error_message), u"junk after document element");
    EXPECT_EQ(document->error_column, 5);
}

}  // namespace
