// Every input a fuzz target once failed on, kept under
// tests/data/regressions/<target>/ and named after its fault, and the seed
// corpora, run through the same checks as the fuzz targets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/command_script.h"
#include "fuzz/curve_check.h"
#include "fuzz/file_round_trip.h"
#include "fuzz/text_round_trip.h"
#include "fuzz/xml_scan_check.h"
#include "tests/support/case_names.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

struct KeptInput {
    std::string name;    // the target without "fuzz_", then the file's name
    std::string target;  // fuzz_file, fuzz_xml_scan, fuzz_curve or fuzz_commands
    fs::path file;
};

// The input files of every target folder under `root`, sorted by name.
std::vector<KeptInput> InputsUnder(const fs::path& root) {
    std::vector<KeptInput> inputs;
    for (const char* target : {"fuzz_file", "fuzz_xml_scan", "fuzz_curve", "fuzz_commands"}) {
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(root / target, error)) {
            if (!entry.is_regular_file())
                continue;
            const std::string name =
                std::string(target).substr(5) + "_" + entry.path().filename().string();
            inputs.push_back(KeptInput{name, target, entry.path()});
        }
    }
    std::sort(inputs.begin(), inputs.end(), [](const KeptInput& a, const KeptInput& b) {
        return a.target != b.target ? a.target < b.target : a.file < b.file;
    });
    return inputs;
}

// The target's check, without the limits that keep fuzzing fast (file inputs
// are saved to disk by the editor too, curves are built whole): empty when
// the input passes, else what broke.
std::string RunCheck(const std::string& target, const std::string& bytes) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    if (target == "fuzz_file") {
        const std::string inMemory = fuzz::CheckTextRoundTrip(data, bytes.size());
        return inMemory.empty() ? fuzz::CheckFileRoundTrip(data, bytes.size()) : inMemory;
    }
    if (target == "fuzz_xml_scan")
        return fuzz::CheckXmlScan(data, bytes.size());
    if (target == "fuzz_curve")
        return fuzz::CheckCurveInput(data, bytes.size());
    return fuzz::RunCommandScript(data, bytes.size());
}

class KeptInputTest : public testing::TestWithParam<KeptInput> {};

TEST_P(KeptInputTest, PassesTheFuzzChecks) {
    const std::string bytes = testing_support::ReadFile(GetParam().file.string());
    EXPECT_EQ(RunCheck(GetParam().target, bytes), "") << GetParam().file;
}

INSTANTIATE_TEST_SUITE_P(Regressions, KeptInputTest,
                         testing::ValuesIn(InputsUnder(VELMORA_TEST_DATA "/regressions")),
                         testing_support::CaseName());
INSTANTIATE_TEST_SUITE_P(Seeds, KeptInputTest, testing::ValuesIn(InputsUnder(VELMORA_FUZZ_CORPUS)),
                         testing_support::CaseName());
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(KeptInputTest);

}  // namespace
}  // namespace velmora
