// The board's rulebook: which code and argument pairs it accepts from a tool.
#include "device/commands.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

namespace {

TEST(Protocol, BoardAcceptsEachCommandOnlyWithinItsRange) {
  // clang-format off
  const std::tuple<int, std::int32_t, bool> rows[] = {  // code, argument, accepted
      {0, 0, true}, {0, 255, true}, {0, 256, false}, {0, -1, false}, {7, 127, true},
      {8, 128, false}, {9, 480, true}, {9, 544, true}, {9, 720, true}, {9, 545, false},
      {10, 255, true}, {10, 256, false}, {11, -4, true}, {11, 3, true}, {11, -5, false},
      {11, 4, false}, {12, 1, true}, {12, 2, false}, {13, 0, false}, {14, 4, true},
      {14, 5, false}, {15, 28, true}, {15, 69, true}, {15, 27, false}, {15, 70, false},
      {16, 69 << 24 | 0xFFFFFF, true}, {16, 70 << 24, false}, {17, 0, false}, {-1, 0, false}};
  // clang-format on
  for (const auto& [code, arg, accepted] : rows)
    EXPECT_EQ(quivet::CommandIsValid(code, arg), accepted) << code << " " << arg;
}

}  // namespace
