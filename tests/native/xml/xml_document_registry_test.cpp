#include <gtest/gtest.h>

#include "xml/xml_document.h"
#include "xml_test_support.h"

namespace {

using XmlDocumentRegistry = XmlTest;

TEST_F(XmlDocumentRegistry, NumbersAndHandlesNameDocumentsUntilFreed) {
    const std::intptr_t handle = parse_xml_text(PB_Any, u"<h/>");
    const std::intptr_t numbered = parse_xml_text(0, u"<n/>");
    ASSERT_NE(handle, 0);
    ASSERT_NE(numbered, 0) << "number 0 succeeded: the result must not look like a failure";
    EXPECT_EQ(is_xml(handle)->handle, handle);
    EXPECT_EQ(is_xml(0)->handle, 0);
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(is_xml(0)), numbered);
    EXPECT_EQ(xml_node_name(xml_main_node(0)), u"n");
    EXPECT_EQ(xml_main_node(0)->owner, 0);
    EXPECT_EQ(xml_main_node(handle)->owner, handle);

    free_xml(0);
    EXPECT_EQ(is_xml(0), nullptr);
    EXPECT_EQ(xml_main_node(0), nullptr);
    EXPECT_NE(is_xml(handle), nullptr);
    free_xml(0);  // already gone: nothing happens
    free_xml(handle);
    EXPECT_EQ(is_xml(handle), nullptr);
    EXPECT_EQ(node_pool_in_use(), 0u);
}

TEST_F(XmlDocumentRegistry, ReusingANumberFreesTheOldDocument) {
    ASSERT_NE(parse_xml_text(3, u"<old><x/><y/></old>"), 0);
    const std::size_t old_nodes = node_pool_in_use();
    ASSERT_NE(parse_xml_text(3, u"<new/>"), 0);
    EXPECT_EQ(xml_node_name(xml_main_node(3)), u"new");
    EXPECT_EQ(node_pool_in_use(), old_nodes - 2);
}

TEST_F(XmlDocumentRegistry, FreeingWithPbAnyFreesEveryDocument) {
    std::intptr_t handles[3];
    for (auto& h : handles)
        h = parse_xml_text(PB_Any, u"<a><b/></a>");
    for (std::intptr_t number : {1, 20})
        ASSERT_NE(parse_xml_text(number, u"<a/>"), 0);
    free_xml(PB_Any);
    for (std::intptr_t id : {handles[0], handles[1], handles[2], std::intptr_t(1), std::intptr_t(20)})
        EXPECT_EQ(is_xml(id), nullptr);
    EXPECT_EQ(node_pool_in_use(), 0u);
}

TEST_F(XmlDocumentRegistry, UnknownIdsNameNoDocument) {
    const std::intptr_t handle = parse_xml_text(PB_Any, u"<a/>");
    int not_a_document = 0;
    for (std::intptr_t id :
         {std::intptr_t(5), std::intptr_t(100000), reinterpret_cast<std::intptr_t>(&not_a_document), handle + 8}) {
        EXPECT_EQ(is_xml(id), nullptr);
        EXPECT_EQ(xml_main_node(id), nullptr);
        free_xml(id);
    }
    EXPECT_NE(is_xml(handle), nullptr);
}

TEST_F(XmlDocumentRegistry, EndingTheLibraryFreesEverything) {
    ASSERT_NE(parse_xml_text(PB_Any, u"<a><b/></a>"), 0);
    ASSERT_NE(parse_xml_text(7, u"<a><b/></a>"), 0);
    end_xml_library();
    EXPECT_EQ(node_pool_in_use(), 0u);
    EXPECT_EQ(is_xml(7), nullptr);
}

}  // namespace
