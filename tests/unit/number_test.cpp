#include "app/number.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

namespace quivet {
namespace {

struct NumberCase {
  std::string_view text;
  std::int32_t expected;
};

class ConvertNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(ConvertNumberTest, ReadsLikeBase10Strtol) {
  EXPECT_EQ(ConvertNumber(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ConvertNumberTest,
    testing::Values(NumberCase{"200\n", 200}, NumberCase{"\n", 0}, NumberCase{"", 0},
                    NumberCase{"x", 0}, NumberCase{"X", 0}, NumberCase{"12abc", 12},
                    NumberCase{"  \t-5", -5}, NumberCase{"+7", 7}, NumberCase{"- 7", 0},
                    NumberCase{"--7", 0}, NumberCase{"007", 7}, NumberCase{"12\r", 12},
                    NumberCase{"\v\f\r 9", 9}, NumberCase{"2147483647", 2147483647},
                    NumberCase{"2147483648", INT32_MAX}, NumberCase{"-2147483648", INT32_MIN},
                    NumberCase{"-2147483649", INT32_MIN},
                    NumberCase{"99999999999999999999999", INT32_MAX},
                    NumberCase{"-99999999999999999999999", INT32_MIN},
                    NumberCase{"\x80"
                               "5",
                               0},
                    NumberCase{"\xff", 0},
                    NumberCase{std::string_view("4\0"
                                                "2",
                                                3),
                               4}));

}  // namespace
}  // namespace quivet
