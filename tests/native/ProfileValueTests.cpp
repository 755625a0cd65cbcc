#include "base/ProfileValue.h"

#include <gtest/gtest.h>

using namespace pelmira;

TEST(ProfileValue, DecimalHexAndLeadingSpacesAllRead) {
    EXPECT_EQ(ParseProfileInteger("30"), 30);
    EXPECT_EQ(ParseProfileInteger("0x1E"), 30);
    EXPECT_EQ(ParseProfileInteger("0X1e"), 30);
    EXPECT_EQ(ParseProfileInteger("$1E"), 30);
    EXPECT_EQ(ParseProfileInteger(" 30"), 30);
    EXPECT_EQ(ParseProfileInteger("   $1e"), 30);
    EXPECT_EQ(ParseProfileInteger("-50"), -50);
    EXPECT_EQ(ParseProfileInteger("+7"), 7);
    EXPECT_EQ(ParseProfileInteger("0"), 0);
}

TEST(ProfileValue, TextThatDoesNotConvertEntirelyGivesTheDefault) {
    EXPECT_EQ(ProfileIntegerOr("30s", 3), 3);
    EXPECT_EQ(ProfileIntegerOr("", 3), 3);
    EXPECT_EQ(ProfileIntegerOr("30 ", 3), 3);
    EXPECT_EQ(ProfileIntegerOr("on", 1), 1);
    EXPECT_EQ(ProfileIntegerOr("-", 5), 5);
    EXPECT_EQ(ProfileIntegerOr("$", 5), 5);
    EXPECT_EQ(ProfileIntegerOr("$1G", 5), 5);
    EXPECT_EQ(ProfileIntegerOr("1.5", 6), 6);
    EXPECT_EQ(ProfileIntegerOr("- 5", 6), 6);
}

TEST(ProfileValue, BareZeroXIsNotHex) {
    // Only text longer than two characters has its "0x" replaced.
    EXPECT_EQ(ParseProfileInteger("0x"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("0x0"), 0);
}

TEST(ProfileValue, RangeOfThirtyTwoBits) {
    EXPECT_EQ(ParseProfileInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseProfileInteger("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseProfileInteger("2147483648"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("99999999999999999999"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("$FFFFFFFF"), -1);
    EXPECT_EQ(ParseProfileInteger("$100000000"), std::nullopt);
}

TEST(ProfileValue, OriginTextIsStrictlyDecimal) {
    EXPECT_EQ(ParseDecimalInteger("-1024"), -1024);
    EXPECT_EQ(ParseDecimalInteger("+7"), 7);
    EXPECT_EQ(ParseDecimalInteger("$10"), std::nullopt);
    EXPECT_EQ(ParseDecimalInteger(" 5"), std::nullopt);
    EXPECT_EQ(ParseDecimalInteger("12px"), std::nullopt);
    EXPECT_EQ(ParseDecimalInteger("2147483648"), std::nullopt);
}
