// Whole sessions: every menu changed, saved and read back; end of input at
// every screen; bytes no one should type.
#include <random>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/menu_screens.h"

namespace e2e {
namespace {

using namespace std::string_literals;

TEST(Journeys, EveryMenuChangedSavedAndShownAfterARestart) {
  Sandbox box;
  const RunResult first = box.Run(
      "1\n3\n2\n100\nx\n4\n4\n"              // S-Video contrast
      "2\n1\n"                               // dual audio
      "3\n3\n4\n5\n45\n"                     // Europe CATV, RF 45
      "4\n2\n8\n105500\nx\nx\n3\n6\n"        // channel 8
      "4\n1\n3\n2\n100\nx\n3\n-2\n4\n5\n");  // 720, shift 100, delay -2
  ASSERT_TRUE(RanCleanly(first));
  const std::string catv = TunerMenuScreen("Samsung", "Europe CATV", true);
  EXPECT_SCREEN_EQ(MainMenuScreen() + InputSelectionScreen() + InputSettingsScreen("S-Video") +
                       PicturePromptScreen("Contrast", 67) + PicturePromptScreen("Contrast", 100) +
                       InputSettingsScreen("S-Video") + InputSelectionScreen() + MainMenuScreen() +
                       AudioMenuScreen(false) + MainMenuScreen() +
                       TunerMenuScreen("Samsung", "", true) + FreqTableScreen("") + catv +
                       RfScreen(60) + catv + FineTuningMenuScreen() + ChannelSelectScreen() +
                       ChannelScreen(8, 0, 0) + ChannelScreen(8, 0, 105500) +
                       ChannelSelectScreen() + FineTuningMenuScreen() + catv + MainMenuScreen() +
                       OtherMenuScreen(false) + ResolutionScreen(544) + OtherMenuScreen(true) +
                       ShiftScreen(195) + ShiftScreen(100) + OtherMenuScreen(true) +
                       DelayScreen(0) + OtherMenuScreen(true) + MainMenuScreen() + SavedScreen(),
                   first.screen);
  EXPECT_EQ(Sent(first),
            "CMD_S_CON 100; CMD_D_AUDIO 1; CMD_F_TABLE 3; CMD_RF_OUT 45; CMD_F_TUNE 134323228; "
            "CMD_H_RES 720; CMD_H_SHIFT 100; CMD_L_DELAY -2");
  const std::string saved = ConfigLine({.s_con = 100,
                                        .h_res = 720,
                                        .d_audio = 1,
                                        .f_table = 3,
                                        .h_shift = 100,
                                        .rf_out = 45,
                                        .l_delay = -2,
                                        .f_tune = "8:105500"});
  EXPECT_EQ(first.config, saved);

  // Visit every screen without changing anything, then save again.
  const RunResult second = box.Run(
      "1\n3\n2\nx\n4\n4\n"
      "2\n3\n"
      "3\n5\n\0\n"s
      "4\n1\n\n2\n8\nx\nx\n3\n6\n"
      "4\n2\nx\n3\nx\n4\n5\n");
  ASSERT_TRUE(RanCleanly(second));
  EXPECT_SCREEN_EQ(MainMenuScreen() + InputSelectionScreen() + InputSettingsScreen("S-Video") +
                       PicturePromptScreen("Contrast", 100) + InputSettingsScreen("S-Video") +
                       InputSelectionScreen() + MainMenuScreen() + AudioMenuScreen(true) +
                       MainMenuScreen() + catv + RfScreen(45) + catv + FineTuningMenuScreen() +
                       FineTuneListScreen({{8, 105500}}) + FineTuningMenuScreen() +
                       ChannelSelectScreen() + ChannelScreen(8, 105250, 105500) +
                       ChannelSelectScreen() + FineTuningMenuScreen() + catv + MainMenuScreen() +
                       OtherMenuScreen(true) + ShiftScreen(100) + OtherMenuScreen(true) +
                       DelayScreen(-2) + OtherMenuScreen(true) + MainMenuScreen() + SavedScreen(),
                   second.screen);
  EXPECT_EQ(Sent(second), "");
  EXPECT_EQ(second.config, saved);
}

TEST(Journeys, WithoutTheBoardChangesAreStoredShownAndSavedButNeverSent) {
  Sandbox box;
  RunOptions missing;
  missing.board_missing = true;
  const RunResult run = box.Run(
      "\n"  // the start-up pause
      "1\n1\n1\n200\nx\n4\n4\n"
      "2\n1\n"
      "4\n1\n3\n2\n100\nx\n3\n-2\n4\n"
      "3\n3\n2\n5\n50\n5\n\0\n"s         // RF 50 shows on the next visit
      "4\n2\n5\n500000\nx\nx\n1\n\n3\n"  // fine tuning needs the board
      "6\n5\n",
      missing);
  ASSERT_TRUE(RanCleanly(run));
  const std::string nz = TunerMenuScreen("Samsung", "New Zealand", true);
  EXPECT_SCREEN_EQ(
      MissingBoardScreen() + MainMenuScreen() + InputSelectionScreen() +
          InputSettingsScreen("Tuner") + PicturePromptScreen("Brightness", 125) +
          PicturePromptScreen("Brightness", 200) + InputSettingsScreen("Tuner") +
          InputSelectionScreen() + MainMenuScreen() + AudioMenuScreen(false) + MainMenuScreen() +
          OtherMenuScreen(false) + ResolutionScreen(544) + OtherMenuScreen(true) +
          ShiftScreen(195) + ShiftScreen(100) + OtherMenuScreen(true) + DelayScreen(0) +
          OtherMenuScreen(true) + MainMenuScreen() + TunerMenuScreen("Samsung", "", true) +
          FreqTableScreen("") + nz + RfScreen(60) + nz + RfScreen(50) + nz +
          FineTuningMenuScreen() + ChannelSelectScreen() + Repeat(ChannelScreen(5, 0, 0), 2) +
          ChannelSelectScreen() + FineTuningMenuScreen() + FineTuneListScreen({}) +
          FineTuningMenuScreen() + nz + MainMenuScreen() + SavedScreen(),
      run.screen);
  EXPECT_TRUE(run.board.Contains(event::kOpenMissing));
  EXPECT_EQ(Sent(run), "");
  EXPECT_EQ(run.config, ConfigLine({.t_bri = 200,
                                    .h_res = 720,
                                    .d_audio = 1,
                                    .f_table = 1,
                                    .h_shift = 100,
                                    .rf_out = 50,
                                    .l_delay = -2}));
}

struct StopRow {
  const char* name;
  std::string keys;
  std::string last_screen;
  const char* sent;
  std::string config{};  // empty: no file
  bool board_missing = false;
};

std::vector<StopRow> EndOfInputRows() {
  const std::string full = "f_table=0 f_tune=\"" + FineTunePairs(10, 29) + "\"\n";
  return {
      {"MainMenu", "", MainMenuScreen(), ""},
      {"MainMenuMidChoice", "9", MainMenuScreen(), ""},
      {"InputSelection", "1\n", InputSelectionScreen(), ""},
      {"InputSettings", "1\n2\n", InputSettingsScreen("Composite"), ""},
      {"Brightness", "1\n2\n1\n", PicturePromptScreen("Brightness", 125), ""},
      {"BrightnessMidEntry", "1\n2\n1\n300", PicturePromptScreen("Brightness", 125), ""},
      // A last line without its newline is still what was typed.
      {"ContrastMidEntry", "1\n2\n2\n12", PicturePromptScreen("Contrast", 12), "CMD_C_CON 12"},
      {"Colour", "1\n2\n3\n", PicturePromptScreen("Colour", 85), ""},
      {"Audio", "2\n", AudioMenuScreen(false), ""},
      {"Tuner", "3\n", TunerMenuScreen("Samsung", "", true), ""},
      {"FrequencyTable", "3\n3\n", FreqTableScreen(""), ""},
      {"RfChannel", "3\n5\n", RfScreen(60), ""},
      {"FineTuningMenu", "3\n4\n", FineTuningMenuScreen(), ""},
      {"FineTuneListPause", "3\n4\n1\n", FineTuneListScreen({}), ""},
      {"ChannelSelection", "3\n4\n2\n", ChannelSelectScreen(), ""},
      {"ChannelSelectionMidEntry", "3\n4\n2\n70", ChannelSelectScreen(), ""},
      {"Frequency", "3\n4\n2\n9\n", ChannelScreen(9, 0, 0), ""},
      {"FrequencyMidEntry", "3\n4\n2\n9\n-3", ChannelScreen(9, 0, 0), ""},
      {"ListFullPause", "3\n4\n2\n30\n100000\n",
       ChannelScreen(30, 541250, 541250) + std::string(kListFull), "", full},
      {"OtherMenu", "4\n", OtherMenuScreen(false), ""},
      {"Resolution", "4\n1\n", ResolutionScreen(544), ""},
      {"ResolutionReprinted", "4\n1\n7\n", ResolutionScreen(544, false), ""},
      {"Shift", "4\n1\n3\n2\n", ShiftScreen(195), "CMD_H_RES 720"},
      {"Delay", "4\n3\n", DelayScreen(0), ""},
      {"DelayInvalidPause", "4\n3\n9\n", DelayScreen(0) + std::string(kInvalidDelay), ""},
      {"BoardMissingPause", "", MissingBoardScreen(), "", "", true},
  };
}

std::vector<StopRow> BadBytesRows() {
  return {
      {"MenuControlBytes", "\x01\n\xff\n\0\n\x1b[A\n\t\n"s, MainMenuScreen(), ""},
      {"MenuLongLine", "4" + std::string(10000, 'z') + "\n", OtherMenuScreen(false), ""},
      {"TableChoiceBytes", "3\n3\n\xff\n\0\n"s, FreqTableScreen(""), ""},
      {"ListPauseLongLine", "3\n4\n1\n" + std::string(3000, 'z') + "\n", FineTuningMenuScreen(),
       ""},
      {"BrightnessBytes",
       "1\n1\n1\n\xff\n\x7f"
       "9\n",
       PicturePromptScreen("Brightness", 0), "CMD_T_BRI 0; CMD_T_BRI 0"},
      // 1250 refused chunks of "9999", then the newline alone: 0.
      {"BrightnessLongLine", "1\n1\n1\n" + std::string(5000, '9') + "\n",
       PicturePromptScreen("Brightness", 0), "CMD_T_BRI 0"},
      {"ShiftBytes", "4\n1\n3\n2\n\x1b\n-1\n", ShiftScreen(0), "CMD_H_RES 720; CMD_H_SHIFT 0"},
      {"DelayNulFirst", "4\n3\n\0007\n"s, OtherMenuScreen(false), ""},
      {"DelayBytes", "4\n3\n\xff\n", OtherMenuScreen(false), "CMD_L_DELAY 0"},
      // 19 characters fill the buffer of 20; the pending "45" chooses Fine Tuning.
      {"RfOverflow", "3\n5\n" + std::string(19, '0') + "45\n", FineTuningMenuScreen(),
       "CMD_RF_OUT 60"},
      {"RfBeyondInt", "3\n5\n99999999999999999\n5\n-99999999999999999\n",
       TunerMenuScreen("Samsung", "", true), "CMD_RF_OUT 60; CMD_RF_OUT 60"},
      // "4294" and "9673" are refused, "65" opens channel 65.
      {"ChannelLongLine", "3\n4\n2\n4294967365\n", ChannelScreen(65, 0, 0), ""},
      // Nine digits are refused, the rest of the line is the next entry.
      {"FrequencyLongLine", "3\n4\n2\n3\n1234567890123\n", ChannelScreen(3, 0, 123),
       "CMD_F_TUNE 50331771"},
  };
}

class StopTest : public testing::TestWithParam<StopRow> {};

TEST_P(StopTest, LeavesWithoutSavingAfterTheExpectedScreen) {
  const StopRow& row = GetParam();
  Sandbox box;
  if (!row.config.empty()) box.WriteConfig(row.config);
  RunOptions options;
  options.board_missing = row.board_missing;
  const RunResult run = box.Run(row.keys, options);
  ASSERT_TRUE(RanCleanly(run));
  EXPECT_TRUE(EndsAt(run, row.last_screen));
  EXPECT_EQ(Sent(run), row.sent);
  if (row.config.empty()) {
    EXPECT_EQ(run.config, std::nullopt);
  } else {
    EXPECT_EQ(run.config, row.config);
  }
  if (!row.board_missing) {
    EXPECT_TRUE(run.board.Contains(event::kClose));
  }
}

std::string RowName(const testing::TestParamInfo<StopRow>& info) {
  return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(EndOfInput, StopTest, testing::ValuesIn(EndOfInputRows()), RowName);
INSTANTIATE_TEST_SUITE_P(BadBytes, StopTest, testing::ValuesIn(BadBytesRows()), RowName);

TEST(Journeys, RandomKeystrokesNeverSendAValueOutOfRange) {
  const std::vector<std::string> tokens = {
      "1\n",
      "2\n",
      "3\n",
      "4\n",
      "5\n",
      "6\n",
      "x\n",
      "X\n",
      "\n",
      "\0\n"s,
      "\xff\n",
      "-1\n",
      "128\n",
      "255\n",
      "70\n",
      "69\n",
      "7",
      "0",
      "-",
      "300\n",
      "-200\n",
      "999999\n",
      "1000000\n",
      "\x1b[A\n",
      "k",
      "720",
      "20\n",
      "9999999999999999\n",
      std::string(40, '7') + "\n",
  };
  std::mt19937 random(20261205);
  for (int session = 0; session < 6; ++session) {
    std::string keys;
    for (int i = 0; i < 400; ++i) keys += tokens[random() % tokens.size()];
    SCOPED_TRACE(Escape(keys));
    Sandbox box;
    const RunResult run = box.Run(keys);
    // The board flags every command outside its range as a violation.
    ASSERT_TRUE(RanCleanly(run));
    if (run.config) {
      EXPECT_EQ(run.config->find('\n'), run.config->size() - 1);
      EXPECT_TRUE(run.screen.ends_with(SavedScreen()));
    }
  }
}

}  // namespace
}  // namespace e2e
