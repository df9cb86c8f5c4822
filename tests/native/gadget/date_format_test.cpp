// Date masks into date-picker formats, and date values to and from fields.
#include <gtest/gtest.h>

#include <algorithm>

#include "gadget/date_format.h"

namespace {

TEST(DateMask, EachCodeBecomesItsFormat) {
    const struct {
        std::u16string_view mask, format;
    } cases[] = {
        {u"%yyyy", u"yyyy"},
        {u"%yy", u"yy"},
        {u"%mm", u"MM"},
        {u"%dd", u"dd"},
        {u"%hh", u"HH"},
        {u"%ii", u"mm"},
        {u"%ss", u""},
        {u"%dd.%mm.%yyyy", u"dd.MM.yyyy"},
        {u"%hh:%ii:%ss", u"HH':'mm':'"},
        {u"", u""},
        {u"%yyyy, %dd", u"yyyy, dd"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(date_mask_to_format(c.mask), c.format) << std::string(c.mask.begin(), c.mask.end());
}

TEST(DateMask, OtherTextIsQuotedInRunsWithQuotesDoubled) {
    EXPECT_EQ(date_mask_to_format(u"%dd/%mm/%yyyy"), u"dd'/'MM'/'yyyy");
    EXPECT_EQ(date_mask_to_format(u"Day %dd of"), u"'Day' dd 'of'");
    EXPECT_EQ(date_mask_to_format(u"it's %yy"), u"'it''s' yy");
    EXPECT_EQ(date_mask_to_format(u"'"), u"''''");
    // A lone % or an unknown code is text.
    EXPECT_EQ(date_mask_to_format(u"%x%m"), u"'%x%m'");
}

TEST(DateMask, ALongMaskStopsAtTheLimitWithoutOpenQuotes) {
    std::u16string mask, whole;
    for (int i = 0; i < 200; ++i) {
        mask += u"%dd-";
        whole += u"dd'-'";
    }
    const std::u16string format = date_mask_to_format(mask);
    // 99 whole pieces of five, then "dd" fits and "'-'" does not.
    EXPECT_EQ(format, whole.substr(0, 99 * 5 + 2));
    EXPECT_LE(format.size(), kDateFormatLimit);
    EXPECT_EQ(std::count(format.begin(), format.end(), u'\'') % 2, 0);
}

TEST(DateValue, FieldsAndSecondsRoundTripAcrossLeapDaysAndEras) {
    const struct {
        DateFields fields;
        std::int64_t value;
    } cases[] = {
        {{1970, 1, 1, 0, 0, 0}, 0},       {{2000, 2, 29, 12, 30, 15}, 951827415}, {{2038, 1, 19, 3, 14, 7}, 2147483647},
        {{1969, 12, 31, 23, 59, 59}, -1}, {{1900, 3, 1, 0, 0, 0}, -2203891200},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(date_value(c.fields), c.value);
        EXPECT_EQ(date_fields(c.value), c.fields);
    }
}

}  // namespace
