// The configuration file across runs: what the tool loads is seen through
// what it saves and what its screens show.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"

namespace e2e {
namespace {

// Loaded settings come back out through the writer unchanged, so "5" right
// after start-up shows exactly what the reader made of the file.
struct LoadCase {
  const char* name;
  std::string file;
  ConfigValues loaded;
};

std::string LongLine() {
  // "t_sat=12" ends at the 510th character; the reader never sees the "3".
  return "t_bri=1 pad=" + std::string(489, 'a') + " t_sat=123 t_con=2\n";
}

std::vector<LoadCase> LoadCases() {
  return {
      // An existing file, even empty, resolves the unset table from the
      // tuner code: Samsung with the Australian table.
      {"EmptyFile", "", {.f_table = 0}},
      {"OlderKeysAndMigration",
       "brightness=10 contrast=300 saturation=-1 avbrightness=20 avcontrast=50 c_con=20 "
       "avsaturation=3 screenwidth=720 tunertype=3 dualaudioinput=1 horizontalshift=100 "
       "rfoutput=45 luminanceDelay=-2 finetune=\"5:175250,12:203250\"\n",
       {.t_bri = 10,
        .t_con = 44,
        .t_sat = 255,
        .s_bri = 20,
        .s_con = 50,
        .s_sat = 3,
        .c_bri = 20,
        .c_con = 20,
        .c_sat = 3,
        .h_res = 720,
        .d_audio = 1,
        .t_type = 0,
        .f_table = 2,
        .h_shift = 100,
        .rf_out = 45,
        .l_delay = -2,
        .f_tune = "5:175250,12:203250"}},
      {"StatedUnsetTableStillMigrates", "t_type=5 f_table=99\n", {.t_type = 1, .f_table = 1}},
      {"UnknownTunerCodeStaysUnresolved", "tunertype=7\n", {.t_type = 7, .f_table = 99}},
      {"TableOutsideListIsKept", "f_table=7\n", {.f_table = 7}},
      {"OneByteSettingsKeepLowByte",
       "t_con=300 s_sat=-1 rf_out=256 t_bri=-1\n",
       {.t_bri = -1, .t_con = 44, .s_sat = 255, .f_table = 0, .rf_out = 0}},
      {"NumberConversion",
       "t_bri=12abc s_bri= c_bri=x9 h_res=99999999999 h_shift=-99999999999\n",
       {.t_bri = 12,
        .s_bri = 0,
        .c_bri = 0,
        .h_res = 2147483647,
        .f_table = 0,
        .h_shift = -2147483647 - 1}},
      {"TwoBlanksEndTheParse", "t_bri=1  t_con=2\n", {.t_bri = 1, .f_table = 0}},
      {"TokenWithoutEqualsEndsTheParse", "t_bri=1 junk t_con=2\n", {.t_bri = 1, .f_table = 0}},
      {"LeadingBlankReadsNothing", " t_bri=1\n", {.f_table = 0}},
      {"KeysAreCaseSensitive", "T_BRI=5 t_sat=9\n", {.t_sat = 9, .f_table = 0}},
      {"SecondLineIgnored", "t_bri=1\nt_con=2\n", {.t_bri = 1, .f_table = 0}},
      {"CarriageReturnStopsNumber", "t_bri=7\r\n", {.t_bri = 7, .f_table = 0}},
      {"LineCutAt510Characters", LongLine(), {.t_bri = 1, .t_sat = 12, .f_table = 0}},
      {"FineTuneSkipsChannel70StopsAt71",
       "f_tune=\"70:100000,5:175250,71:1,6:1\"\n",
       {.f_table = 0, .f_tune = "5:175250"}},
      {"FineTuneStopsAtZeroFrequency", "f_tune=\"5:0,6:100\"\n", {.f_table = 0}},
      {"LaterFineTuneListReplaces",
       "f_tune=\"5:175250\" finetune=\"9:100\"\n",
       {.f_table = 0, .f_tune = "9:100"}},
      {"FineTuneUnorderedAndRepeated",
       "f_tune=\"40:600000,5:1,5:175250\"\n",
       {.f_table = 0, .f_tune = "5:175250,40:600000"}},
  };
}

void PrintTo(const LoadCase& c, std::ostream* out) {
  *out << c.name;
}

class LoadThenSave : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadThenSave, SavedLineShowsWhatWasLoaded) {
  const LoadCase& c = GetParam();
  Sandbox box(c.file);
  const RunResult run = box.Run("5\n");
  ASSERT_TRUE(RanCleanly(run));
  EXPECT_EQ(run.config, ConfigLine(c.loaded));
  EXPECT_TRUE(run.board.Contains(event::kReadConfig));
  // Loaded settings are never pushed to the board.
  EXPECT_TRUE(run.board.commands.empty());
}

INSTANTIATE_TEST_SUITE_P(ConfigFile, LoadThenSave, ::testing::ValuesIn(LoadCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Loaded settings as the menus show them.
struct ShownCase {
  const char* name;
  std::optional<std::string> file;
  std::string keys;
  std::string screen;
};

std::vector<ShownCase> ShownCases() {
  const std::string main = MainMenuScreen();
  const std::string bye(kClear);
  return {
      {"ContrastLowByte", "t_con=300\n", "1\n1\n2\nx\n4\n4\n6\n",
       Screens({main, InputSelectionScreen(), InputSettingsScreen("Tuner"),
                PicturePromptScreen("Contrast", 44), InputSettingsScreen("Tuner"),
                InputSelectionScreen(), main, bye})},
      {"OlderAvBrightnessReachesComposite", "avbrightness=9\n", "1\n2\n1\nx\n4\n4\n6\n",
       Screens({main, InputSelectionScreen(), InputSettingsScreen("Composite"),
                PicturePromptScreen("Brightness", 9), InputSettingsScreen("Composite"),
                InputSelectionScreen(), main, bye})},
      {"AnyNonZeroAudioIsEnabled", "d_audio=7\n", "2\n3\n6\n",
       Screens({main, AudioMenuScreen(true), main, bye})},
      {"MigratedTunerCode", "tunertype=3\n", "3\n6\n6\n",
       Screens({main, TunerMenuScreen("Philips", "Europe CCIR", false), main, bye})},
      // Our choice: a table number outside the list shows as an empty name.
      {"NoFileLeavesTableUnset", std::nullopt, "3\n6\n6\n",
       Screens({main, TunerMenuScreen("Samsung", "", true), main, bye})},
      {"FineTunedChannelsInChannelOrder", "f_tune=\"40:600000,5:175250\"\n", "3\n4\n1\n\n3\n6\n6\n",
       Screens({main, TunerMenuScreen("Samsung", "Australia", true), FineTuningMenuScreen(),
                FineTuneListScreen({{5, 175250}, {40, 600000}}), FineTuningMenuScreen(),
                TunerMenuScreen("Samsung", "Australia", true), main, bye})},
      {"NoFineTunedChannels", "f_table=4 t_type=0\n", "3\n4\n1\n\n3\n6\n6\n",
       Screens({main, TunerMenuScreen("Philips", "Blank", false), FineTuningMenuScreen(),
                FineTuneListScreen({}), FineTuningMenuScreen(),
                TunerMenuScreen("Philips", "Blank", false), main, bye})},
  };
}

void PrintTo(const ShownCase& c, std::ostream* out) {
  *out << c.name;
}

class LoadThenShow : public ::testing::TestWithParam<ShownCase> {};

TEST_P(LoadThenShow, MenusShowLoadedSettings) {
  const ShownCase& c = GetParam();
  Sandbox box;
  if (c.file) box.WriteConfig(*c.file);
  const RunResult run = box.Run(c.keys);
  ASSERT_TRUE(RanCleanly(run));
  EXPECT_SCREEN_EQ(c.screen, run.screen);
  EXPECT_EQ(run.config, c.file) << "exit without saving must not touch the file";
}

INSTANTIATE_TEST_SUITE_P(ConfigFile, LoadThenShow, ::testing::ValuesIn(ShownCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ConfigFile, SaveThenRestartRoundTrip) {
  Sandbox box;
  // Fine-tune channel 5 to 175500 kHz, set the tuner brightness to 200, save.
  const RunResult first = box.Run(
      "3\n4\n2\n5\n175500\nx\nx\n3\n6\n"
      "1\n1\n1\n200\nx\n4\n4\n5\n");
  ASSERT_TRUE(RanCleanly(first));
  EXPECT_EQ(first.config, ConfigLine({.t_bri = 200, .f_tune = "5:175500"}));
  EXPECT_EQ(first.board.Register("CMD_T_BRI"), 200);
  EXPECT_EQ(first.board.Register("CMD_F_TUNE"), 0x0502AD8C);
  EXPECT_TRUE(first.board.ContainsInOrder({event::kClose, event::kMountRw, event::kWriteConfig,
                                           event::kFsync, event::kFclose, event::kMountRo}));

  // The second run finds both again, resolves the unset table, and saves
  // the same settings back.
  const RunResult second = box.Run("1\n1\n1\nx\n4\n4\n3\n4\n1\n\n3\n6\n5\n");
  ASSERT_TRUE(RanCleanly(second));
  EXPECT_TRUE(Shows(second.screen, PicturePromptScreen("Brightness", 200)));
  EXPECT_TRUE(Shows(second.screen, FineTuneListScreen({{5, 175500}})));
  EXPECT_TRUE(second.board.commands.empty());
  EXPECT_TRUE(second.board.registers.empty());
  EXPECT_EQ(second.config, ConfigLine({.t_bri = 200, .f_table = 0, .f_tune = "5:175500"}));
}

TEST(ConfigFile, FailedSaveKeepsOldFile) {
  const std::string old = ConfigLine({.t_bri = 3});
  Sandbox box(old);
  const RunResult run = box.Run("1\n1\n1\n200\nx\n4\n4\n5\n", {.stuck_ro = true});
  ASSERT_TRUE(RanCleanly(run));
  EXPECT_TRUE(Shows(run.screen, std::string(kClear) + std::string(kSaveFailed)));
  EXPECT_EQ(run.config, old);
  EXPECT_TRUE(
      run.board.ContainsInOrder({event::kMountRw, event::kWriteConfigReadOnly, event::kMountRo}));
}

}  // namespace
}  // namespace e2e
