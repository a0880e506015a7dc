#include "io/int_attribute.h"

#include <optional>

#include <gtest/gtest.h>
#include <tinyxml.h>

namespace velmora {
namespace {

struct IntCase {
    const char* text;
    std::optional<int32_t> expected;
};

class ParseDecimalIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(ParseDecimalIntTest, ReadsLikePercentDWithoutOverflow) {
    EXPECT_EQ(ParseDecimalInt(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseDecimalIntTest,
    ::testing::Values(IntCase{"0", 0}, IntCase{"424", 424}, IntCase{"-75", -75},
                      IntCase{"+12", 12}, IntCase{"  7", 7}, IntCase{"\t\n\r\v\f9", 9},
                      IntCase{"1e3", 1}, IntCase{"12abc", 12}, IntCase{"007", 7},
                      IntCase{"2147483647", 2147483647}, IntCase{"-2147483648", INT32_MIN},
                      IntCase{"000000000000002147483647", 2147483647},
                      // not a number
                      IntCase{"", std::nullopt}, IntCase{"x", std::nullopt},
                      IntCase{"abc", std::nullopt}, IntCase{"-", std::nullopt},
                      IntCase{"+ 3", std::nullopt}, IntCase{"--3", std::nullopt},
                      IntCase{"2147483648", std::nullopt}, IntCase{"-2147483649", std::nullopt},
                      IntCase{"99999999999", std::nullopt},
                      IntCase{"99999999999999999999999999999", std::nullopt}));

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
