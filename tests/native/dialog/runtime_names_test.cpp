#include "dialog/runtime_names.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

// The registry is process-wide and never forgets a name: every test uses names
// of its own.
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(RuntimeNames, NamesMatchWholeIgnoringAsciiCaseOnly) {
    create_runtime_registry();
    std::int32_t dpi = 0;
    register_runtime_variable(u"CaseDPIy1", &dpi, kRuntimeInteger);
    dpi = 42;  // registered before assignment: read when asked
    EXPECT_TRUE(is_runtime_name(u"casedpiy1"));
    EXPECT_EQ(dialog_value(u"CASEDPIY1"), 42);
    EXPECT_EQ(runtime_value(u"cAsEdPiY1"), 42);

    EXPECT_FALSE(is_runtime_name(u"CaseDPIy1 "));
    EXPECT_EQ(dialog_value(u"CaseDPIy1 "), 0);
    EXPECT_FALSE(is_runtime_name(u" CaseDPIy1"));
    EXPECT_FALSE(is_runtime_name(u"CaseDPIy"));

    register_runtime_integer(u"\u00c9cu", 5);
    EXPECT_TRUE(is_runtime_name(u"\u00c9CU"));
    EXPECT_FALSE(is_runtime_name(u"\u00e9cu"));  // only ASCII letters fold

    register_runtime_integer(u"#CaseHash", 3);
    EXPECT_FALSE(is_runtime_name(u"CaseHash"));  // '#' is part of the name
    EXPECT_EQ(runtime_value(u"#casehash"), 3);
}

TEST(RuntimeNames, ReRegistrationReplacesValueAndKindButKeepsFirstSpelling) {
    std::int32_t a = 11, b = 22;
    register_runtime_variable(u"ReDPIx1", &a, kRuntimeInteger);
    register_runtime_variable(u"REDPIX1", &b, kRuntimeInteger);
    EXPECT_EQ(runtime_value(u"redpix1"), 22);
    EXPECT_EQ(runtime_name_spelling(u"REDPIX1"), u"ReDPIx1");

    register_runtime_real(u"redpix1", 2.9);
    EXPECT_EQ(runtime_value(u"ReDPIx1"), 2);
    register_runtime_pointer(u"ReDPIx1", &a);
    EXPECT_EQ(runtime_value(u"ReDPIx1"), 0);
    register_runtime_integer(u"ReDPIx1", -7);
    EXPECT_EQ(runtime_value(u"ReDPIx1"), -7);
    EXPECT_EQ(runtime_name_spelling(u"redpix1"), u"ReDPIx1");
}

TEST(RuntimeNames, RealsTruncateTowardZeroAndSaturate) {
    const struct {
        const char16_t* name;
        double value;
        std::int32_t expected;
    } rows[] = {
        {u"Real29", 2.9, 2},       {u"RealMinus29", -2.9, -2}, {u"RealHalf", -0.5, 0},
        {u"RealHuge", 1e12, kMax}, {u"RealTiny", -1e12, kMin}, {u"RealNaN", std::nan(""), 0},
    };
    for (const auto& r : rows) {
        register_runtime_real(r.name, r.value);
        EXPECT_EQ(runtime_value(r.name), r.expected) << r.value;
    }
    double d = 7.99;
    float f = -7.99f;
    register_runtime_variable(u"RealVarDouble", &d, kRuntimeDouble);
    register_runtime_variable(u"RealVarFloat", &f, kRuntimeFloat);
    EXPECT_EQ(runtime_value(u"RealVarDouble"), 7);
    EXPECT_EQ(runtime_value(u"RealVarFloat"), -7);
    d = -1e300;
    EXPECT_EQ(runtime_value(u"RealVarDouble"), kMin);
}

TEST(RuntimeNames, VariablesAreReadByTypeCodeWithSignOrZeroExtension) {
    // One all-ones buffer read under every code: the width and the signedness
    // of each read show.
    alignas(8) unsigned char ones[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const struct {
        std::uint8_t code;
        std::int32_t expected;
    } rows[] = {
        {kRuntimeInt8, -1},
        {kRuntimeInt16, -1},
        {kRuntimeInt32, -1},
        {kRuntimeInteger, -1},
        {kRuntimeUInt8, 255},
        {kRuntimeUInt16, 65535},
        {0, 0},
        {2, 0},
        {20, 0},
        {255, 0},
    };
    for (const auto& r : rows) {
        register_runtime_variable(u"TypeCodeOnes", &ones, r.code);
        EXPECT_EQ(runtime_value(u"TypeCodeOnes"), r.expected) << int(r.code);
    }
    std::int8_t small = -128;
    register_runtime_variable(u"TypeCodeByte", &small, kRuntimeUInt8);
    EXPECT_EQ(runtime_value(u"TypeCodeByte"), 128);
    register_runtime_variable(u"TypeCodeByte", &small, kRuntimeInt8);
    EXPECT_EQ(runtime_value(u"TypeCodeByte"), -128);

    // Only the variable's own bytes are read, at any alignment.
    unsigned char unaligned[5] = {0x00, 0x34, 0x12, 0xAA, 0xAA};
    register_runtime_variable(u"TypeCodeUnaligned", unaligned + 1, kRuntimeUInt16);
    EXPECT_EQ(runtime_value(u"TypeCodeUnaligned"), 0x1234);
}

TEST(RuntimeNames, MissingEntriesPointersAndNullVariablesGiveZero) {
    EXPECT_FALSE(is_runtime_name(u"NeverRegisteredAnywhere"));
    EXPECT_EQ(runtime_value(u"NeverRegisteredAnywhere"), 0);
    int x = 5;
    register_runtime_pointer(u"ZeroPointer", &x);
    EXPECT_TRUE(is_runtime_name(u"ZeroPointer"));
    EXPECT_EQ(runtime_value(u"ZeroPointer"), 0);
    register_runtime_variable(u"ZeroNullVariable", nullptr, kRuntimeInteger);
    EXPECT_EQ(runtime_value(u"ZeroNullVariable"), 0);
}

void some_procedure() {}

TEST(RuntimeNames, ProcedureAddressesComeBackWhole) {
    const auto address = reinterpret_cast<std::intptr_t>(&some_procedure);
    register_runtime_integer(u"OnSomeProcedure", address);
    EXPECT_EQ(runtime_address(u"onsomeprocedure"), address);
    EXPECT_EQ(runtime_value(u"OnSomeProcedure"), static_cast<std::int32_t>(address));
    EXPECT_NE(runtime_value(u"OnSomeProcedure"), 0);
}

TEST(DialogValue, ReadsTheLeadingDecimalIntegerOfNonNames) {
    const struct {
        const char16_t* text;
        std::int32_t expected;
    } rows[] = {
        {u"42", 42},
        {u"  -17px", -17},
        {u"+5", 5},
        {u"\t\r\n 12", 12},
        {u"12 34", 12},
        {u"007", 7},
        {u"abc", 0},
        {u"", 0},
        {u"-", 0},
        {u"- 3", 0},
        {u"0x1F", 0},
        {u"2147483647", kMax},
        {u"2147483648", kMax},
        {u"99999999999999999999", kMax},
        {u"-2147483648", kMin},
        {u"-99999999999999999999", kMin},
        {u"\uff11", 0},  // full-width digit is no digit
    };
    for (const auto& r : rows) {
        EXPECT_EQ(dialog_value(r.text), r.expected) << "text index " << (&r - rows);
    }
}

TEST(DialogValue, ARegisteredNameWinsOverItsDigits) {
    register_runtime_integer(u"7", 99);
    EXPECT_EQ(dialog_value(u"7"), 99);
    EXPECT_EQ(dialog_value(u"7 "), 7);  // not the name: read as a number
    EXPECT_EQ(leading_decimal(u"7"), 7);
}

}  // namespace
