// The fuzzer's committed seeds, replayed through the same checks as the fuzz
// target on every test run (both builds), so that an input once found bad
// stays covered without the fuzzer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/xml_fuzz_input.h"

namespace {

TEST(XmlFuzzCorpus, EverySeedGoesThroughTheTreeChecks) {
    const std::filesystem::path corpus =
        std::filesystem::path(BLOBSMITH_TEST_DATA).parent_path() / "fuzz" / "corpus" / "xml";
    std::size_t seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const char* fault = run_xml_fuzz_input(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        EXPECT_EQ(fault, nullptr) << entry.path().filename().string() << ": " << (fault ? fault : "");
        ++seeds;
    }
    EXPECT_GE(seeds, 10u) << "the corpus in " << corpus.string() << " is missing";
}

}  // namespace
