#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <utility>

// The cases of a parameterised test are known by their `name` field: the test
// is named after it and GoogleTest prints the case as it, so the test list and
// CTest's names stay short and the same from run to run.
namespace velmora::testing_support {

// Prints a case as its name instead of as its raw bytes.
template <class Case, class = decltype(std::declval<const Case&>().name)>
std::ostream& operator<<(std::ostream& os, const Case& c) {
    return os << c.name;
}

// The name generator for INSTANTIATE_TEST_SUITE_P: the case's name, with '_'
// for each character a test name cannot hold.
struct CaseName {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        std::string name = info.param.name;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        }
        return name;
    }
};

}  // namespace velmora::testing_support

// GoogleTest looks for a printer only in the case's own namespace, and the
// cases live in unnamed ones.
namespace {
using velmora::testing_support::operator<<;
}  // namespace
namespace velmora {
namespace {
using testing_support::operator<<;
}  // namespace
}  // namespace velmora
