// Default frequencies of the broadcast plans: the ends of every run of
// channels, the gaps, and how many channels each plan has.
#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

// Every channel's default frequency in a plan, over -7 wherever it set none.
std::span<const std::int32_t> DefaultFrequencies(std::int32_t f_table);  // under_test.cpp

namespace {

struct Plan {
  const char* name;
  std::int32_t f_table;
  int channels;
  std::vector<std::pair<int, std::int32_t>> kHz;  // channel, default frequency
};

class ChannelPlan : public testing::TestWithParam<Plan> {};

TEST_P(ChannelPlan, FillsEveryChannelFromNothing) {
  const std::span<const std::int32_t> tv = DefaultFrequencies(GetParam().f_table);
  int filled = 0;
  for (const std::int32_t khz : tv) {
    EXPECT_GE(khz, 0);
    filled += khz != 0;
  }
  EXPECT_EQ(filled, GetParam().channels);
  for (const auto& [channel, khz] : GetParam().kHz) EXPECT_EQ(tv[channel], khz) << channel;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Tables, ChannelPlan, testing::Values(
    Plan{"Australia", 0, 54, {{0, 46250}, {1, 57250}, {2, 64250}, {3, 86250}, {4, 95250},
        {5, 138250}, {6, 175250}, {9, 196250}, {10, 209250}, {11, 216250}, {12, 224250}, {13, 0},
        {26, 0}, {27, 521250}, {28, 527250}, {35, 576250}, {36, 591250}, {37, 0}, {38, 0},
        {39, 604250}, {69, 814250}}},
    Plan{"NewZealand", 1, 60, {{0, 0}, {1, 45250}, {2, 55250}, {3, 62250}, {4, 175250},
        {11, 224250}, {12, 0}, {20, 0}, {21, 471250}, {69, 855250}}},
    Plan{"EuropeCCIR", 2, 60, {{0, 0}, {1, 0}, {2, 48250}, {4, 62250}, {5, 175250}, {12, 224250},
        {13, 0}, {20, 0}, {21, 471250}, {69, 855250}}},
    Plan{"EuropeCATV", 3, 57, {{0, 48250}, {7, 97250}, {8, 105250}, {35, 294250}, {36, 303250},
        {56, 463250}, {57, 0}, {69, 0}}},
    Plan{"Blank", 4, 0, {}}, Plan{"Code5", 5, 0, {}}, Plan{"CodeMinus1", -1, 0, {}},
    Plan{"Unset", 99, 0, {}}),
    [](const testing::TestParamInfo<Plan>& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
