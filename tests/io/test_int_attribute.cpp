#include "io/xml/int_attribute.h"

#include <optional>

#include <gtest/gtest.h>
#include <tinyxml.h>

#include "tests/support/case_names.h"

namespace velmora {
namespace {

struct IntCase {
    const char* name;
    const char* text;
    std::optional<int32_t> expected;
};

class ParseDecimalIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(ParseDecimalIntTest, ReadsLikePercentDWithoutOverflow) {
    EXPECT_EQ(ParseDecimalInt(GetParam().text), GetParam().expected)
        << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseDecimalIntTest,
    ::testing::Values(
        IntCase{"Zero", "0", 0}, IntCase{"Plain", "424", 424}, IntCase{"Negative", "-75", -75},
        IntCase{"PlusSign", "+12", 12}, IntCase{"LeadingSpaces", "  7", 7},
        IntCase{"LeadingWhiteSpace", "\t\n\r\v\f9", 9}, IntCase{"StopsAtExponent", "1e3", 1},
        IntCase{"StopsAtLetters", "12abc", 12}, IntCase{"LeadingZeros", "007", 7},
        IntCase{"Max", "2147483647", 2147483647}, IntCase{"Min", "-2147483648", INT32_MIN},
        IntCase{"MaxAfterManyZeros", "000000000000002147483647", 2147483647},
        // not a number
        IntCase{"Empty", "", std::nullopt}, IntCase{"Letter", "x", std::nullopt},
        IntCase{"Word", "abc", std::nullopt}, IntCase{"SignOnly", "-", std::nullopt},
        IntCase{"SpaceAfterSign", "+ 3", std::nullopt}, IntCase{"TwoSigns", "--3", std::nullopt},
        IntCase{"AboveMax", "2147483648", std::nullopt},
        IntCase{"BelowMin", "-2147483649", std::nullopt},
        IntCase{"ElevenDigits", "99999999999", std::nullopt},
        IntCase{"TwentyNineDigits", "99999999999999999999999999999", std::nullopt}),
    testing_support::CaseName());

TEST(ReadIntAttributeTest, TellsMissingFromMalformed) {
    TiXmlElement element("ControlPoint");
    element.SetAttribute("PosX", "abc");
    element.SetAttribute("PosY", "-5");
    const IntAttribute x = ReadIntAttribute(element, "PosX");
    const IntAttribute y = ReadIntAttribute(element, "PosY");
    const IntAttribute z = ReadIntAttribute(element, "PosZ");
    EXPECT_TRUE(x.present);
    EXPECT_FALSE(x.value);
    EXPECT_TRUE(y.present);
    EXPECT_EQ(y.value, -5);
    EXPECT_FALSE(z.present);
    EXPECT_FALSE(z.value);
}

}  // namespace
}  // namespace velmora
