#include "platform/numbers.h"

#include <gtest/gtest.h>
#include <optional>

using plat::ParseSignedDecimal;
using plat::ParseUnsignedDecimal;
using plat::StrToIntDef;

TEST(Numbers, SignedDecimalTakesASignAndDigitsWithin64Bits) {
    EXPECT_EQ(ParseSignedDecimal("0"), 0);
    EXPECT_EQ(ParseSignedDecimal("+17"), 17);
    EXPECT_EQ(ParseSignedDecimal("-0042"), -42);
    EXPECT_EQ(ParseSignedDecimal("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(ParseSignedDecimal("-9223372036854775807"), -INT64_MAX);
    for (const char* bad :
         {"", "+", "-", " 1", "1 ", "1a", "0x10", "--1", "+-1", "9223372036854775808",
          "-9223372036854775808", "99999999999999999999999"})
        EXPECT_EQ(ParseSignedDecimal(bad), std::nullopt) << bad;
}

TEST(Numbers, UnsignedDecimalStopsAtItsBound) {
    EXPECT_EQ(ParseUnsignedDecimal("65535", 65535), 65535u);
    EXPECT_EQ(ParseUnsignedDecimal("65536", 65535), std::nullopt);
    EXPECT_EQ(ParseUnsignedDecimal("0000000000000000000000007", 9), 7u);
    EXPECT_EQ(ParseUnsignedDecimal("18446744073709551615"), UINT64_MAX);
    EXPECT_EQ(ParseUnsignedDecimal("18446744073709551616"), std::nullopt);
    EXPECT_EQ(ParseUnsignedDecimal("0", 0), 0u);
    EXPECT_EQ(ParseUnsignedDecimal("1", 0), std::nullopt);
    for (const char* bad : {"", "+1", "-1", "1.5", "1e3", " 7"})
        EXPECT_EQ(ParseUnsignedDecimal(bad), std::nullopt) << bad;
}

TEST(Numbers, StrToIntDefFallsBackOutside32Bits) {
    EXPECT_EQ(StrToIntDef("2147483647", 5), INT32_MAX);
    EXPECT_EQ(StrToIntDef("-2147483648", 5), INT32_MIN);
    EXPECT_EQ(StrToIntDef("2147483648", 5), 5);
    EXPECT_EQ(StrToIntDef("-2147483649", 5), 5);
    EXPECT_EQ(StrToIntDef("12x", -1), -1);
    EXPECT_EQ(StrToIntDef("", -1), -1);
}
