#include "render/settings/leading_number.h"

#include "tests/support/test_name.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace tidepool {
namespace {

struct NumberCase {
    std::string text;
    double value;
};

class LeadingNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(LeadingNumberTest, ReadsTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(LeadingNumber(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingNumberTest,
    testing::Values(NumberCase{"", 0}, NumberCase{"abc", 0}, NumberCase{"240", 240},
                    NumberCase{"016", 16}, NumberCase{"  12", 12}, NumberCase{"\t7", 7},
                    NumberCase{"1.5", 1.5}, NumberCase{".5", 0.5}, NumberCase{"5.", 5},
                    NumberCase{"1.2.3", 1.2}, NumberCase{"1..2", 1}, NumberCase{"5-", 5},
                    NumberCase{"-", 0}, NumberCase{"-3", -3}, NumberCase{"+4", 4},
                    NumberCase{"-.", 0}, NumberCase{"1e9", 1e9}, NumberCase{"2E-3", 0.002},
                    NumberCase{"1e", 1}, NumberCase{"1e+", 1}, NumberCase{"3x4", 3},
                    NumberCase{"0.0000001", 1e-7}, NumberCase{"1,5", 1}, NumberCase{"１２", 0},
                    NumberCase{"12 34", 12}, NumberCase{"1e-999", 0}, NumberCase{"-1e-999", 0}),
    [](const auto& info) { return test_names::NameOf(info.param.text); });

TEST(LeadingNumberTest, HugeNumbersReadAsInfinityWithTheirSign) {
    EXPECT_EQ(LeadingNumber("1e999"), HUGE_VAL);
    EXPECT_EQ(LeadingNumber("-1e999"), -HUGE_VAL);
    EXPECT_EQ(LeadingNumber(std::string(400, '9')), HUGE_VAL);
}

} // namespace
} // namespace tidepool
