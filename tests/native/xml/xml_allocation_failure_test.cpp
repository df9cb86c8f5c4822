#include <gtest/gtest.h>

#include <string>

#include "xml/xml_document.h"
#include "xml/xml_heap.h"
#include "xml_test_support.h"

namespace {

using XmlAllocationFailure = XmlTest;

// Fails the first, second, third … allocation of a parse in turn: each run
// must give no document or one with "out of memory" that frees completely;
// once no allocation fails, the tree must be the full one.
TEST_F(XmlAllocationFailure, EveryFailingAllocationGivesACleanResult) {
    std::u16string text =
        u"<?xml version='1.0'?>\r\n<!DOCTYPE d [<!ENTITY e 'x'>]>\r\n<d id='1'><!--c--><?p q?><![CDATA[z]]>&e;";
    for (int i = 0; i < 100; ++i)
        text += u"<i n='" + std::u16string(i, u'v') + u"'>t\r\n</i>";
    text += u"<long>" + std::u16string(3000, u'L') + u"</long></d>";
    const std::string full = dump(parse(text)->root);
    free_xml(PB_Any);

    bool completed = false;
    for (int successes = 0; successes < 5000 && !completed; ++successes) {
        xml_heap_fail_after(successes);
        const std::intptr_t result = parse_xml_text(4, text.c_str());
        xml_heap_fail_after(-1);
        XmlDocument* document = is_xml(4);
        if (!result) {
            EXPECT_EQ(document, nullptr) << "after " << successes;
            EXPECT_EQ(node_pool_in_use(), 0u) << "after " << successes;
            continue;
        }
        ASSERT_NE(document, nullptr);
        const std::string tree = dump(document->root);
        if (document->error_code == 0) {
            EXPECT_EQ(tree, full) << "a dropped allocation went unreported after " << successes;
            completed = true;
        } else {
            EXPECT_EQ(document->error_code, 1) << "after " << successes;
            EXPECT_LT(tree.size(), full.size());
        }
        free_xml(4);
        EXPECT_EQ(node_pool_in_use(), 0u) << "after " << successes;
    }
    EXPECT_TRUE(completed);
}

}  // namespace
