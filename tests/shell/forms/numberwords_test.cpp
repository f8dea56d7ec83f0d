// SPDX-License-Identifier: GPL-3.0-or-later
// Amounts in words in the Indian system, from zero to the largest amount the columns hold.
#include "shell/common/numberwords.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

struct Words
{
    const char *digits;
    const char *words;
};

using NumberToWordsTest = ::testing::TestWithParam<Words>;

TEST_P(NumberToWordsTest, WritesTheIndianGrouping)
{
    EXPECT_EQ(numberToWords(QString::fromLatin1(GetParam().digits)), QString::fromLatin1(GetParam().words))
        << GetParam().digits;
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, NumberToWordsTest,
    ::testing::Values(Words{"0", ""}, Words{"7", "Seven"}, Words{"10", "Ten"}, Words{"11", "Eleven"},
                      Words{"19", "Nineteen"}, Words{"20", "Twenty"}, Words{"40", "Forty"}, Words{"45", "Forty Five"},
                      Words{"80", "Eighty"}, Words{"99", "Ninety Nine"}, Words{"100", "One Hundred"},
                      Words{"101", "One Hundred And One"}, Words{"110", "One Hundred And Ten"},
                      Words{"1000", "One Thousand"}, Words{"1001", "One Thousand One"},
                      Words{"20500", "Twenty Thousand Five Hundred"}, Words{"100000", "One Lakh"},
                      Words{"1500000", "Fifteen Lakh"}, Words{"10000000", "One Crore"},
                      Words{"12345678",
                            "One Crore Twenty Three Lakh Forty Five Thousand Six Hundred And Seventy Eight"},
                      Words{"990000000", "Ninety Nine Crore"},
                      // Above ninety-nine crore the crore part is written out in full.
                      Words{"1000000000", "One Hundred Crore"},
                      Words{"9999999999", "Nine Hundred And Ninety Nine Crore Ninety Nine Lakh Ninety Nine Thousand "
                                          "Nine Hundred And Ninety Nine"},
                      Words{"1000000000000", "One Lakh Crore"}, Words{" 0042 ", "Forty Two"}, Words{"12a", ""},
                      Words{"-5", ""}, Words{"", ""}));

TEST(AmountInWords, PaiseFollowTheRupees)
{
    EXPECT_EQ(amountInWords(u"0"_s), u"Zero"_s);
    EXPECT_EQ(amountInWords(u"0.00"_s), u"Zero"_s);
    EXPECT_EQ(amountInWords(u"0.5"_s), u"Fifty Paise"_s);
    EXPECT_EQ(amountInWords(u"101.05"_s), u"One Hundred And One And Five Paise"_s);
    EXPECT_EQ(amountInWords(u"100000."_s), u"One Lakh"_s);
    // The largest amount of a DECIMAL(12,2) column.
    EXPECT_EQ(amountInWords(u"9999999999.99"_s),
              u"Nine Hundred And Ninety Nine Crore Ninety Nine Lakh Ninety Nine Thousand Nine Hundred And Ninety "
              "Nine And Ninety Nine Paise"_s);
}

TEST(AmountInWords, RefusesWhatIsNotAnAmount)
{
    for (const QString &bad : {u""_s, u"."_s, u"1.234"_s, u"-1"_s, u"1,00,000"_s, u"12 34"_s, u"1e5"_s, u".5"_s})
        EXPECT_FALSE(amountInWords(bad)) << bad.toStdString();
}

} // namespace
