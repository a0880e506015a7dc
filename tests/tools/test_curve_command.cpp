#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tools/curve_command.h"

namespace velmora::tool {
namespace {

struct Case {
    const char* name;
    std::string input;
    int exitCode;
    std::string out;
    std::string errContains;
};

class CurveCommand : public ::testing::TestWithParam<Case> {};

TEST_P(CurveCommand, PrintsSamplesOrNamesTheBadLine) {
    std::istringstream in(GetParam().input);
    std::ostringstream out, err;
    EXPECT_EQ(RunCurve(in, out, err), GetParam().exitCode);
    EXPECT_EQ(out.str(), GetParam().out);
    EXPECT_NE(err.str().find(GetParam().errContains), std::string::npos) << err.str();
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CurveCommand,
    ::testing::Values(
        Case{"Chord40", "0 0\n40 0\n", 0,
             "0 0\n4 0\n8 0\n12 0\n16 0\n20 0\n23 0\n27 0\n31 0\n35 0\n40 0\n", ""},
        Case{"BlankLinesTabsAndCrLf", "\n  0\t0\r\n\n8 0\n\n", 0, "0 0\n4 0\n8 0\n", ""},
        Case{"NegativeAndNoFinalNewline", "0 0\n-8 0", 0, "0 0\n-4 0\n-8 0\n", ""},
        Case{"OnePoint", "5 5\n", 0, "", ""},
        Case{"Empty", "", 0, "", ""},
        Case{"ThreeNumbers", "0 0\n1 2 3\n", 2, "", "line 2"},
        Case{"Letters", "\n\nx y\n", 2, "", "line 3"},
        Case{"OneNumber", "7\n", 2, "", "line 1"},
        Case{"Fraction", "1.5 2\n", 2, "", "line 1"},
        Case{"TooLarge", "2147483648 0\n", 2, "", "line 1"},
        Case{"GluedSign", "1-2\n", 2, "", "line 1"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace velmora::tool
