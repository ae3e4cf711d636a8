#include "settings/config_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "test_support.h"

namespace quivet {
namespace {

using test::Freqs;
using test::Summary;

struct LineCase {
  std::string_view line;
  Settings expected;  // defaults apart from what the line changes
};

class ParseLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(ParseLineTest, SetsExactlyTheNamedFields) {
  Settings s;
  ParseConfigurationLine(GetParam().line, s);
  EXPECT_EQ(Summary(s), Summary(GetParam().expected)) << "line: " << GetParam().line;
}

// One row per key: current names, then the older ones.
INSTANTIATE_TEST_SUITE_P(
    Keys, ParseLineTest,
    testing::Values(
        LineCase{"t_bri=200", {.t_bri = 200}}, LineCase{"t_con=100", {.t_con = 100}},
        LineCase{"t_sat=101", {.t_sat = 101}}, LineCase{"s_bri=202", {.s_bri = 202}},
        LineCase{"s_con=103", {.s_con = 103}}, LineCase{"s_sat=104", {.s_sat = 104}},
        LineCase{"c_bri=205", {.c_bri = 205}}, LineCase{"c_con=106", {.c_con = 106}},
        LineCase{"c_sat=107", {.c_sat = 107}}, LineCase{"h_res=720", {.h_res = 720}},
        LineCase{"t_type=0", {.t_type = 0}}, LineCase{"f_table=3", {.f_table = 3}},
        LineCase{"d_audio=1", {.d_audio = 1}}, LineCase{"h_shift=7", {.h_shift = 7}},
        LineCase{"rf_out=28", {.rf_out = 28}}, LineCase{"l_delay=-4", {.l_delay = -4}},
        LineCase{"f_tune=\"5:175250\"", {.channel_freq = Freqs({{5, 175250}})}},
        LineCase{"brightness=11", {.t_bri = 11}}, LineCase{"contrast=12", {.t_con = 12}},
        LineCase{"saturation=13", {.t_sat = 13}},
        LineCase{"avbrightness=14", {.s_bri = 14, .c_bri = 14}},
        LineCase{"avcontrast=15", {.s_con = 15, .c_con = 15}},
        LineCase{"avsaturation=16", {.s_sat = 16, .c_sat = 16}},
        LineCase{"screenwidth=480", {.h_res = 480}}, LineCase{"tunertype=4", {.t_type = 4}},
        LineCase{"freqtable=2", {.f_table = 2}}, LineCase{"dualaudioinput=1", {.d_audio = 1}},
        LineCase{"horizontalshift=17", {.h_shift = 17}}, LineCase{"rfoutput=69", {.rf_out = 69}},
        LineCase{"finetune=\"69:855250\"", {.channel_freq = Freqs({{69, 855250}})}},
        LineCase{"luminanceDelay=3", {.l_delay = 3}}));

// One-byte fields keep the low 8 bits; the others keep the whole value.
INSTANTIATE_TEST_SUITE_P(
    Widths, ParseLineTest,
    testing::Values(LineCase{"t_con=300", {.t_con = 44}}, LineCase{"t_sat=-1", {.t_sat = 255}},
                    LineCase{"s_con=256", {.s_con = 0}}, LineCase{"c_sat=511", {.c_sat = 255}},
                    LineCase{"rf_out=300", {.rf_out = 44}},
                    LineCase{"rfoutput=-256", {.rf_out = 0}},
                    LineCase{"avcontrast=-1", {.s_con = 255, .c_con = 255}},
                    LineCase{"t_bri=-1", {.t_bri = -1}}, LineCase{"h_res=300", {.h_res = 300}},
                    LineCase{"c_bri=2147483648", {.c_bri = INT32_MAX}},
                    LineCase{"l_delay=-99999999999", {.l_delay = INT32_MIN}},
                    LineCase{"t_con=2147483647", {.t_con = 255}},
                    LineCase{"t_sat=-2147483648", {.t_sat = 0}}));

INSTANTIATE_TEST_SUITE_P(
    Values, ParseLineTest,
    testing::Values(LineCase{"t_bri=12abc", {.t_bri = 12}}, LineCase{"t_bri=", {.t_bri = 0}},
                    LineCase{"t_bri=abc", {.t_bri = 0}}, LineCase{"t_bri==5", {.t_bri = 0}},
                    LineCase{"h_shift=+9", {.h_shift = 9}},
                    LineCase{"t_bri=1 l_delay=-3\r\n", {.t_bri = 1, .l_delay = -3}},
                    LineCase{"t_bri=1 t_bri=2", {.t_bri = 2}},
                    LineCase{"brightness=1 t_bri=2", {.t_bri = 2}},
                    LineCase{"t_bri=2 brightness=1", {.t_bri = 1}},
                    LineCase{"avcontrast=50 c_con=20", {.s_con = 50, .c_con = 20}},
                    LineCase{"c_con=20 avcontrast=50", {.s_con = 50, .c_con = 50}}));

// Keys match exactly; unknown keys are passed over and parsing goes on.
INSTANTIATE_TEST_SUITE_P(UnknownKeys, ParseLineTest,
                         testing::Values(LineCase{"T_BRI=5 t_con=1", {.t_con = 1}},
                                         LineCase{"Brightness=5 t_con=1", {.t_con = 1}},
                                         LineCase{"luminancedelay=2 t_con=1", {.t_con = 1}},
                                         LineCase{"t_bri\t=5 t_con=1", {.t_con = 1}},
                                         LineCase{"=5 t_con=1", {.t_con = 1}},
                                         LineCase{"t_bri_x=5 t_con=1", {.t_con = 1}}));

INSTANTIATE_TEST_SUITE_P(
    TokenFlow, ParseLineTest,
    testing::Values(LineCase{"", {}}, LineCase{"\n", {}}, LineCase{" t_bri=1", {}},
                    LineCase{"\nt_bri=1", {}}, LineCase{"t_bri=1  t_con=2", {.t_bri = 1}},
                    LineCase{"t_bri=1 \nt_con=2", {.t_bri = 1}},
                    LineCase{"t_bri=1 junk t_con=2", {.t_bri = 1}}, LineCase{"t_bri t_con=2", {}},
                    LineCase{"t_bri=1 ", {.t_bri = 1}}, LineCase{"t_bri=1\n", {.t_bri = 1}},
                    LineCase{"t_bri=1 t_con=2 \n", {.t_bri = 1, .t_con = 2}},
                    LineCase{std::string_view("t_bri=1 t_con=2\0 t_sat=3", 24),
                             {.t_bri = 1, .t_con = 2}},
                    LineCase{std::string_view("t_bri=1 t_c\0on=2", 16), {.t_bri = 1}},
                    LineCase{std::string_view("\0t_bri=1", 8), {}}));

// The list is the value less its first character; every list replaces the last.
INSTANTIATE_TEST_SUITE_P(
    FineTuneTokens, ParseLineTest,
    testing::Values(LineCase{"f_tune=\"5:175250,12:203250\"\n",
                             {.channel_freq = Freqs({{5, 175250}, {12, 203250}})}},
                    LineCase{"f_tune=\"5:100\" finetune=\"6:200\"",
                             {.channel_freq = Freqs({{6, 200}})}},
                    LineCase{"finetune=\"5:100\" f_tune=\"6:200\" t_bri=3",
                             {.t_bri = 3, .channel_freq = Freqs({{6, 200}})}},
                    LineCase{"f_tune=\"5:100\" f_tune=\"", {}},
                    LineCase{"f_tune=\"5:100\" f_tune=", {}}, LineCase{"f_tune=5:100", {}},
                    LineCase{"f_tune=x5:100\r\n", {.channel_freq = Freqs({{5, 100}})}},
                    LineCase{"f_tune=\"5:175250\"\r\n", {.channel_freq = Freqs({{5, 175250}})}}));

struct MigrationCase {
  std::int32_t t_type, f_table;
  std::int32_t want_t_type, want_f_table;
};

class MigrationTest : public testing::TestWithParam<MigrationCase> {};

TEST_P(MigrationTest, ResolvesOlderCombinedCodeOnlyWhileTableUnset) {
  const MigrationCase& c = GetParam();
  Settings s{.t_type = c.t_type, .f_table = c.f_table};
  MigrateTunerCode(s);
  EXPECT_EQ(s.t_type, c.want_t_type) << c.t_type << "/" << c.f_table;
  EXPECT_EQ(s.f_table, c.want_f_table) << c.t_type << "/" << c.f_table;
  EXPECT_EQ(Summary(s), Summary(Settings{.t_type = c.want_t_type, .f_table = c.want_f_table}));
}

INSTANTIATE_TEST_SUITE_P(Table, MigrationTest,
                         testing::Values(MigrationCase{0, 99, 0, 0}, MigrationCase{1, 99, 1, 0},
                                         MigrationCase{2, 99, 0, 1}, MigrationCase{3, 99, 0, 2},
                                         MigrationCase{4, 99, 0, 3}, MigrationCase{5, 99, 1, 1},
                                         MigrationCase{6, 99, 6, 99}, MigrationCase{7, 99, 7, 99},
                                         MigrationCase{-1, 99, -1, 99},
                                         MigrationCase{INT32_MIN, 99, INT32_MIN, 99},
                                         MigrationCase{INT32_MAX, 99, INT32_MAX, 99},
                                         MigrationCase{3, 2, 3, 2}, MigrationCase{5, 0, 5, 0},
                                         MigrationCase{2, 7, 2, 7}, MigrationCase{4, 98, 4, 98},
                                         MigrationCase{0, -1, 0, -1}));

// Start-up loading through the file: the 510-character cut, the second line
// and the missing file only show here.
struct FileCase {
  bool exists;
  std::string text;
  Settings expected;
  int defaults;  // nonzero entries of tv_chans
  std::int32_t tv_chans_2;
};

class LoadConfigurationTest : public testing::TestWithParam<FileCase> {
 protected:
  void TearDown() override { settings = Settings{}; }
};

TEST_P(LoadConfigurationTest, ParsesMigratesAndFills) {
  const FileCase& c = GetParam();
  test::fake = {};
  test::fake.config_exists = c.exists;
  test::fake.config_text = c.text;
  settings = Settings{};
  LoadConfiguration();
  EXPECT_EQ(Summary(settings), Summary(c.expected)) << c.text;
  EXPECT_EQ(std::count_if(settings.tv_chans.begin(), settings.tv_chans.end(),
                          [](std::int32_t f) { return f != 0; }),
            c.defaults);
  EXPECT_EQ(settings.tv_chans[2], c.tv_chans_2);
  EXPECT_EQ(test::fake.opened, std::vector<std::string>{"/etc/quivet.conf r"});
}

// 500 characters ending in a blank put the 510th character 10 into the next token.
const std::string kPadding = "pad=" + std::string(495, 'a') + " ";

INSTANTIATE_TEST_SUITE_P(
    Files, LoadConfigurationTest,
    testing::Values(
        FileCase{false, "t_bri=1\n", {}, 0, 0},
        FileCase{true, "", {.t_type = 1, .f_table = 0}, 54, 64250},
        FileCase{true, " t_bri=1", {.t_type = 1, .f_table = 0}, 54, 64250},
        FileCase{true, "tunertype=3 t_bri=9\n", {.t_bri = 9, .t_type = 0, .f_table = 2}, 60, 48250},
        FileCase{true, "t_type=5 f_table=99", {.t_type = 1, .f_table = 1}, 60, 55250},
        FileCase{true, "tunertype=7\n", {.t_type = 7, .f_table = 99}, 0, 0},
        FileCase{true, "f_table=7 t_type=3\n", {.t_type = 3, .f_table = 7}, 0, 0},
        FileCase{true, "t_bri=1\nt_con=2\n", {.t_bri = 1, .t_type = 1, .f_table = 0}, 54, 64250},
        FileCase{true,
                 kPadding + "t_bri=123456789 t_con=9\n",
                 {.t_bri = 1234, .t_type = 1, .f_table = 0},
                 54,
                 64250},
        FileCase{true,
                 kPadding + "t_sat=1 t_con=5\n",
                 {.t_sat = 1, .t_type = 1, .f_table = 0},
                 54,
                 64250}));

}  // namespace
}  // namespace quivet
