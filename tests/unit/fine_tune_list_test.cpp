#include "settings/fine_tune_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "test_support.h"

namespace quivet {
namespace {

using test::Freqs;

std::string Pairs(const ChannelArray& a) {
  std::string out;
  for (int ch = 0; ch < NUM_CHANNELS; ++ch) {
    if (a[ch] != 0) out += " " + std::to_string(ch) + ":" + std::to_string(a[ch]);
  }
  return out;
}

struct DecodeCase {
  std::string_view list;  // as the reader hands it over: closing quote included
  ChannelArray expected;
};

class DecodeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, StoresPairsUpToTheFirstUnreadable) {
  ChannelArray freqs;
  freqs.fill(1234);  // every list starts from a cleared array
  LoadFineTuneFrequencies(GetParam().list, freqs);
  EXPECT_EQ(Pairs(freqs), Pairs(GetParam().expected)) << "list: " << GetParam().list;
}

INSTANTIATE_TEST_SUITE_P(
    WrittenLists, DecodeTest,
    testing::Values(DecodeCase{"", {}}, DecodeCase{"\"", {}},
                    DecodeCase{"5:175250,12:203250\"", Freqs({{5, 175250}, {12, 203250}})},
                    DecodeCase{"5:175250,12:203250", Freqs({{5, 175250}, {12, 203250}})},
                    DecodeCase{"5:17525\"", Freqs({{5, 17525}})},
                    DecodeCase{"0:1\"", Freqs({{0, 1}})},
                    DecodeCase{"69:999999\"", Freqs({{69, 999999}})},
                    DecodeCase{"5:-99999,6:-1\"", Freqs({{5, -99999}, {6, -1}})},
                    DecodeCase{"5:175250\"\r", Freqs({{5, 175250}})}));

INSTANTIATE_TEST_SUITE_P(
    Channels, DecodeTest,
    testing::Values(
        DecodeCase{"70:100,3:200\"", Freqs({{3, 200}})}, DecodeCase{"71:100,3:200\"", {}},
        DecodeCase{"3:200,71:100,4:300\"", Freqs({{3, 200}})}, DecodeCase{"99:1,3:2", {}},
        DecodeCase{"100:5,3:200\"", {}}, DecodeCase{"3:200,100:5,4:1", Freqs({{3, 200}})},
        DecodeCase{"12:5,3:7,12:9\"", Freqs({{3, 7}, {12, 9}})},
        DecodeCase{"05:100", Freqs({{5, 100}})}, DecodeCase{"5x:100", Freqs({{5, 100}})},
        DecodeCase{":5,3:1", {}}, DecodeCase{"a:5", {}}, DecodeCase{"-5:100", {}},
        DecodeCase{" 5:100", {}}, DecodeCase{"5", {}}, DecodeCase{"12", {}},
        DecodeCase{"5:100,7", Freqs({{5, 100}})}, DecodeCase{"5:100,,6:1", Freqs({{5, 100}})}));

INSTANTIATE_TEST_SUITE_P(
    Frequencies, DecodeTest,
    testing::Values(DecodeCase{"5:0,6:100", {}}, DecodeCase{"6:100,5:0,7:100", Freqs({{6, 100}})},
                    DecodeCase{"5:", {}}, DecodeCase{"5:,6:1", {}}, DecodeCase{"5:abc,6:1", {}},
                    DecodeCase{"5: 100,6:1", Freqs({{5, 100}, {6, 1}})},
                    DecodeCase{"5:+100", Freqs({{5, 100}})},
                    DecodeCase{"5:1x0,6:2", Freqs({{5, 1}, {6, 2}})},
                    // Six characters at most: the seventh is stepped over.
                    DecodeCase{"5:-123456", Freqs({{5, -12345}})},
                    DecodeCase{"5:1234567,6:100", Freqs({{5, 123456}})},
                    DecodeCase{"5:1234567;6:100", Freqs({{5, 123456}})},
                    DecodeCase{"5:123456;6:100", Freqs({{5, 123456}, {6, 100}})},
                    DecodeCase{"70:5", {}}, DecodeCase{"5:100,\xff:3", Freqs({{5, 100}})},
                    DecodeCase{"\xff\x80:5", {}},
                    DecodeCase{"5:\xff"
                               "1,6:2",
                               {}},
                    DecodeCase{"5:\x80", {}}));

// Guard bytes after the list catch a write past its 200 bytes.
struct GuardedList {
  char list[kFineTuneListSize];
  char guard[16];
};

struct EncodeResult {
  std::string text;
  bool complete;
};

EncodeResult Encode(const ChannelArray& freqs) {
  GuardedList g;
  std::memset(&g, 'Z', sizeof g);
  const bool complete = EncodeFineTuneList(freqs, g.list);
  EXPECT_EQ(std::string(g.guard, sizeof g.guard), std::string(sizeof g.guard, 'Z'));
  EXPECT_NE(std::memchr(g.list, '\0', sizeof g.list), nullptr);
  EXPECT_EQ(FineTuneListFits(freqs), complete);
  return {g.list, complete};
}

// n consecutive channels from first, all at freq.
ChannelArray Consecutive(int first, int n, std::int32_t freq) {
  ChannelArray a{};
  for (int ch = first; ch < first + n; ++ch) a[ch] = freq;
  return a;
}

std::string ConsecutiveText(int first, int n, const std::string& freq) {
  std::string out;
  for (int ch = first; ch < first + n; ++ch) {
    out += (out.empty() ? "" : ",") + std::to_string(ch) + ":" + freq;
  }
  return out;
}

TEST(EncodeFineTuneListTest, WritesPairsInChannelOrder) {
  EXPECT_EQ(Encode({}).text, "");
  EXPECT_TRUE(Encode({}).complete);
  EXPECT_EQ(Encode(Freqs({{12, 203250}, {5, 175250}})).text, "5:175250,12:203250");
  EXPECT_EQ(Encode(Freqs({{0, -1}, {9, 7}, {69, 999999}})).text, "0:-1,9:7,69:999999");
  EXPECT_EQ(Encode(Freqs({{0, INT32_MIN}, {69, INT32_MAX}})).text, "0:-2147483648,69:2147483647");
}

TEST(EncodeFineTuneListTest, ExactlyTwentyLongPairsFit) {
  const EncodeResult r = Encode(Consecutive(10, 20, 999999));
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(r.text.size(), 199u);
  EXPECT_EQ(r.text, ConsecutiveText(10, 20, "999999"));
}

TEST(EncodeFineTuneListTest, PairPastTheLimitIsLeftOutWithAllAfterIt) {
  EncodeResult r = Encode(Consecutive(10, 21, 999999));
  EXPECT_FALSE(r.complete);
  EXPECT_EQ(r.text, ConsecutiveText(10, 20, "999999"));

  // 200 characters: one too many, so the last pair goes.
  ChannelArray a = Consecutive(10, 20, 999999);
  a[10] = 9999999;
  r = Encode(a);
  EXPECT_FALSE(r.complete);
  EXPECT_EQ(r.text, "10:9999999," + ConsecutiveText(11, 18, "999999"));

  // A short pair after the one that does not fit is left out as well.
  a = Consecutive(10, 19, 999999);
  a[29] = INT32_MIN;
  a[30] = 1;
  r = Encode(a);
  EXPECT_FALSE(r.complete);
  EXPECT_EQ(r.text, ConsecutiveText(10, 19, "999999"));

  // Every channel with the longest pair.
  r = Encode(Consecutive(0, NUM_CHANNELS, INT32_MIN));
  EXPECT_FALSE(r.complete);
  EXPECT_LE(r.text.size(), 199u);
}

}  // namespace
}  // namespace quivet
