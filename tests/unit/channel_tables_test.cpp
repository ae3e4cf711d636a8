#include "settings/channel_tables.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace quivet {
namespace {

// A run of channels evenly spaced between its two end frequencies.
struct Range {
  int first, last;
  std::int32_t first_freq, last_freq;
};

struct Step {
  int from, to;  // neighbouring rows
  std::int32_t step;
};

struct PlanCase {
  std::int32_t f_table;
  int rows;
  std::vector<Range> ranges;
  std::vector<Step> irregular;
};

class ChannelPlanTest : public testing::TestWithParam<PlanCase> {};

TEST_P(ChannelPlanTest, RowsMatchThePublishedPlan) {
  const PlanCase& plan = GetParam();
  ChannelRows rows;
  const int count = ChannelTableRows(plan.f_table, rows);
  ASSERT_EQ(count, plan.rows);
  EXPECT_EQ(rows[count].channel, 0);
  EXPECT_EQ(rows[count].freq, 0);

  std::int32_t expected[NUM_CHANNELS] = {};
  int listed = 0;
  for (const Range& r : plan.ranges) {
    for (int ch = r.first; ch <= r.last; ++ch, ++listed) {
      expected[ch] = r.first == r.last ? r.first_freq
                                       : r.first_freq + (r.last_freq - r.first_freq) /
                                                            (r.last - r.first) * (ch - r.first);
    }
  }
  ASSERT_EQ(listed, plan.rows);
  for (int i = 0; i < count; ++i) {
    ASSERT_GE(rows[i].channel, 0);
    ASSERT_LT(rows[i].channel, NUM_CHANNELS);
    if (i > 0) {
      EXPECT_GT(rows[i].channel, rows[i - 1].channel) << "row " << i;
    }
    EXPECT_EQ(rows[i].freq, expected[rows[i].channel]) << "channel " << rows[i].channel;
  }

  ChannelArray tv;
  tv.fill(-7);  // nothing may survive from before
  FillDefaultFrequencies(plan.f_table, tv);
  for (int ch = 0; ch < NUM_CHANNELS; ++ch) EXPECT_EQ(tv[ch], expected[ch]) << "channel " << ch;
  for (const Step& s : plan.irregular) {
    EXPECT_EQ(tv[s.to] - tv[s.from], s.step) << s.from << " to " << s.to;
  }
}

// Single channels are ranges of one; frequencies are the published ones.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Plans, ChannelPlanTest,
    testing::Values(
        PlanCase{FTABLE_AUSTRALIA, 54,
                 {{0, 0, 46250, 46250}, {1, 1, 57250, 57250}, {2, 2, 64250, 64250},
                  {3, 3, 86250, 86250}, {4, 4, 95250, 95250}, {5, 5, 138250, 138250},
                  {6, 9, 175250, 196250}, {10, 11, 209250, 216250}, {12, 12, 224250, 224250},
                  {27, 27, 521250, 521250}, {28, 35, 527250, 576250}, {36, 36, 591250, 591250},
                  {39, 69, 604250, 814250}},
                 {{9, 10, 13000}, {11, 12, 8000}, {27, 28, 6000}, {35, 36, 15000},
                  {36, 39, 13000}, {50, 51, 7000}}},
        PlanCase{FTABLE_NEW_ZEALAND, 60,
                 {{1, 1, 45250, 45250}, {2, 3, 55250, 62250}, {4, 11, 175250, 224250},
                  {21, 69, 471250, 855250}},
                 {{3, 4, 113000}, {11, 21, 247000}, {40, 41, 8000}}},
        PlanCase{FTABLE_EUROPE_CCIR, 60,
                 {{2, 4, 48250, 62250}, {5, 12, 175250, 224250}, {21, 69, 471250, 855250}},
                 {{4, 5, 113000}, {12, 21, 247000}}},
        PlanCase{FTABLE_EUROPE_CATV, 57,
                 {{0, 7, 48250, 97250}, {8, 35, 105250, 294250}, {36, 56, 303250, 463250}},
                 {{7, 8, 8000}, {35, 36, 9000}, {20, 21, 7000}, {40, 41, 8000}}}));
// clang-format on

class UnknownPlanTest : public testing::TestWithParam<std::int32_t> {};

TEST_P(UnknownPlanTest, HasNoRowsAndClearsEveryDefault) {
  ChannelRows rows;
  rows[0] = {5, 5};
  EXPECT_EQ(ChannelTableRows(GetParam(), rows), 0);
  EXPECT_EQ(rows[0].channel, 0);
  EXPECT_EQ(rows[0].freq, 0);

  ChannelArray tv;
  FillDefaultFrequencies(FTABLE_EUROPE_CATV, tv);
  FillDefaultFrequencies(GetParam(), tv);
  EXPECT_EQ(tv, ChannelArray{});
}

INSTANTIATE_TEST_SUITE_P(Codes, UnknownPlanTest,
                         testing::Values(FTABLE_BLANK, 5, -1, FTABLE_UNSET, INT32_MIN, INT32_MAX));

}  // namespace
}  // namespace quivet
