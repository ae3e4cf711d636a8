#include "settings/config_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "settings/config_reader.h"
#include "settings/fine_tune_list.h"
#include "test_support.h"

namespace quivet {
namespace {

using test::Freqs;
using test::Summary;

constexpr char kDefaultLine[] =
    "t_bri=125 t_con=67 t_sat=85 s_bri=125 s_con=67 s_sat=85 c_bri=125 c_con=67 c_sat=85 "
    "h_res=544 d_audio=0 t_type=1 f_table=99 h_shift=195 rf_out=60 l_delay=0 \n";

std::string Format(const Settings& s) {
  char line[kConfigLineSize];
  std::memset(line, 'Z', sizeof line);
  FormatConfigurationLine(s, line);
  const char* end = static_cast<const char*>(std::memchr(line, '\0', sizeof line));
  EXPECT_NE(end, nullptr);
  return end == nullptr ? std::string() : std::string(line, static_cast<std::size_t>(end - line));
}

TEST(FormatConfigurationLineTest, DefaultsWithoutFineTuning) {
  EXPECT_EQ(Format(Settings{}), kDefaultLine);
  EXPECT_STREQ(FinetuneFrequencies, "");
}

TEST(FormatConfigurationLineTest, FineTuneTokenEndsTheLine) {
  const Settings s{.channel_freq = Freqs({{12, 203250}, {5, 175250}})};
  std::string expected = kDefaultLine;
  expected.insert(expected.size() - 1, "f_tune=\"5:175250,12:203250\"");
  EXPECT_EQ(Format(s), expected);
  EXPECT_STREQ(FinetuneFrequencies, "5:175250,12:203250");
}

TEST(FormatConfigurationLineTest, ValuesAreWrittenAsHeld) {
  const Settings s{.t_bri = -1,
                   .t_con = 255,
                   .s_sat = 0,
                   .h_res = 0,
                   .t_type = 7,
                   .f_table = -3,
                   .l_delay = -4,
                   .rf_out = 200,
                   .quivet_fd = 5};
  EXPECT_EQ(Format(s),
            "t_bri=-1 t_con=255 t_sat=85 s_bri=125 s_con=67 s_sat=0 c_bri=125 c_con=67 c_sat=85 "
            "h_res=0 d_audio=0 t_type=7 f_table=-3 h_shift=195 rf_out=200 l_delay=-4 \n");
}

// Every 32-bit field at its widest and the longest list that fits.
TEST(FormatConfigurationLineTest, LongestLineFitsAndLoadsBack) {
  for (const std::int32_t wide : {INT32_MIN, INT32_MAX}) {
    for (const std::int32_t freq : {999999, -99999}) {
      Settings s{.t_bri = wide,
                 .t_con = 255,
                 .t_sat = 255,
                 .s_bri = wide,
                 .s_con = 255,
                 .s_sat = 255,
                 .c_bri = wide,
                 .c_con = 255,
                 .c_sat = 255,
                 .h_res = wide,
                 .t_type = wide,
                 .f_table = wide,
                 .d_audio = wide,
                 .h_shift = wide,
                 .l_delay = wide,
                 .rf_out = 255};
      for (int ch = 10; ch < 30; ++ch) s.channel_freq[ch] = freq;
      const std::string line = Format(s);
      EXPECT_EQ(line.size(), wide == INT32_MIN ? 451u : 442u);
      Settings back;
      ParseConfigurationLine(line, back);
      EXPECT_EQ(Summary(back), Summary(s)) << line;
    }
  }
}

// Deterministic generator, the same on every host.
class Lcg {
 public:
  explicit Lcg(std::uint32_t seed) : state_(seed) {}
  std::uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ ^ (state_ >> 16);
  }
  std::int32_t Int32() { return static_cast<std::int32_t>(Next()); }
  std::uint8_t Byte() { return static_cast<std::uint8_t>(Next() >> 8); }
  // A value in [lo, hi].
  std::int32_t Range(std::int32_t lo, std::int32_t hi) {
    return lo + static_cast<std::int32_t>(Next() % static_cast<std::uint32_t>(hi - lo + 1));
  }

 private:
  std::uint32_t state_;
};

// The channels a list of at most 199 characters carries: the pairs in channel
// order up to the first that would not fit.
ChannelArray CarriedChannels(const ChannelArray& freqs) {
  ChannelArray carried{};
  std::size_t length = 0;
  for (int ch = 0; ch < NUM_CHANNELS; ++ch) {
    if (freqs[ch] == 0) continue;
    const std::size_t pair =
        (length == 0 ? 0 : 1) + std::to_string(ch).size() + 1 + std::to_string(freqs[ch]).size();
    if (length + pair > 199) break;
    length += pair;
    carried[ch] = freqs[ch];
  }
  return carried;
}

TEST(RoundTripTest, WrittenLineLoadsBackExactly) {
  Lcg rng(20240611u);
  int truncated = 0;
  for (int i = 0; i < 500; ++i) {
    Settings s{.t_bri = rng.Int32(),
               .t_con = rng.Byte(),
               .t_sat = rng.Byte(),
               .s_bri = rng.Int32(),
               .s_con = rng.Byte(),
               .s_sat = rng.Byte(),
               .c_bri = rng.Int32(),
               .c_con = rng.Byte(),
               .c_sat = rng.Byte(),
               .h_res = rng.Int32(),
               .t_type = rng.Range(-2, 7),
               .f_table = rng.Range(-1, 100),
               .d_audio = rng.Range(-1, 2),
               .h_shift = rng.Int32(),
               .l_delay = rng.Range(-9, 9),
               .rf_out = rng.Byte()};
    const std::int32_t density = rng.Range(0, 60);  // percent of channels fine-tuned
    for (std::int32_t& f : s.channel_freq) {
      if (rng.Range(1, 100) > density) continue;
      f = rng.Range(0, 9) == 0 ? rng.Range(-99999, -1) : rng.Range(1, 999999);
    }
    Settings expected = s;
    expected.channel_freq = CarriedChannels(s.channel_freq);
    if (expected.channel_freq != s.channel_freq) ++truncated;

    const std::string line = Format(s);
    ASSERT_EQ(std::count(line.begin(), line.end(), '\n'), 1) << line;
    ASSERT_EQ(line.back(), '\n');
    ASSERT_LE(line.size(), static_cast<std::size_t>(kConfigLineChars));
    Settings back;
    ParseConfigurationLine(line, back);
    ASSERT_EQ(Summary(back), Summary(expected)) << "case " << i << ": " << line;
    ASSERT_EQ(Format(back), line) << "case " << i;
  }
  // Both sides of the 199-character limit were exercised.
  EXPECT_GT(truncated, 50);
  EXPECT_LT(truncated, 450);
}

class SaveConfigurationTest : public testing::Test {
 protected:
  void SetUp() override {
    test::fake = {};
    settings = Settings{.t_bri = 200, .channel_freq = Freqs({{5, 175250}})};
  }
  void TearDown() override { settings = Settings{}; }
};

const std::vector<std::string> kRemounts = {"mount -o remount,rw /", "mount -o remount,ro /"};

TEST_F(SaveConfigurationTest, WritesTheLineBetweenRemounts) {
  EXPECT_EQ(SaveConfiguration(), 1);
  EXPECT_EQ(test::fake.written, Format(settings));
  EXPECT_EQ(test::fake.written.rfind("t_bri=200 ", 0), 0u);
  EXPECT_EQ(test::fake.opened, std::vector<std::string>{"/etc/quivet.conf w+"});
  EXPECT_EQ(test::fake.shell, kRemounts);
}

TEST_F(SaveConfigurationTest, UnwritableFileStillRemountsReadOnly) {
  test::fake.config_writable = false;
  EXPECT_EQ(SaveConfiguration(), 0);
  EXPECT_EQ(test::fake.written, "");
  EXPECT_EQ(test::fake.shell, kRemounts);
}

}  // namespace
}  // namespace quivet
