// Start-up, the main menu and its two exits, on a board that is there or not.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"

namespace e2e {
namespace {

using std::nullopt;

struct Case {
  const char* name;
  RunOptions options;
  std::string keys;
  std::string screen;
  std::vector<std::string> events;  // the whole record of the run
  std::optional<std::string> config;
};

const std::string kMain = MainMenuScreen();
const std::string kClearMark(kClear);

std::vector<Case> Cases() {
  using namespace event;
  const RunOptions present;
  const RunOptions missing{.board_missing = true};
  const RunOptions stuck{.stuck_ro = true};
  return {
      {"ExitWithoutSaving",
       present,
       "6\n",
       kMain + kClearMark,
       {kOpen, kReadNoConfig, event::kClear, event::kClear, kClose},
       nullopt},
      {"OnlyFirstCharacterOfChoiceCounts",
       present,
       "6abc\n",
       kMain + kClearMark,
       {kOpen, kReadNoConfig, event::kClear, event::kClear, kClose},
       nullopt},
      {"UnknownChoicesRedraw",
       present,
       "7\n0\n\n x\n6\n",
       Screens({kMain, kMain, kMain, kMain, kMain, kClearMark}),
       {kOpen, kReadNoConfig, event::kClear, event::kClear, event::kClear, event::kClear,
        event::kClear, event::kClear, kClose},
       nullopt},
      // "12" is item 1; the rest of the line is dropped, so "4" leaves the
      // input selection again.
      {"TwoDigitLineChoosesFirstDigit",
       present,
       "12\n4\n6\n",
       Screens({kMain, InputSelectionScreen(), kMain, kClearMark}),
       {kOpen, kReadNoConfig, event::kClear, event::kClear, event::kClear, event::kClear, kClose},
       nullopt},
      {"SaveDefaults",
       present,
       "5\n",
       kMain + kClearMark + std::string(kSaved),
       {kOpen, kReadNoConfig, event::kClear, kClose, event::kClear, kMountRw, kWriteConfig, kFsync,
        kFclose, kMountRo},
       ConfigLine()},
      {"SaveWhenRootStaysReadOnly",
       stuck,
       "5\n",
       kMain + kClearMark + std::string(kSaveFailed),
       {kOpen, kReadNoConfig, event::kClear, kClose, event::kClear, kMountRw, kWriteConfigReadOnly,
        kMountRo},
       nullopt},
      // The pause takes one character; the newline after it stays pending
      // and redraws the main menu once.
      {"MissingBoardPauseThenExit",
       missing,
       "k\n6\n",
       Screens({MissingBoardScreen(), kMain, kMain, kClearMark}),
       {kOpenMissing, event::kClear, kReadNoConfig, event::kClear, event::kClear, event::kClear},
       nullopt},
      {"MissingBoardStillSaves",
       missing,
       "k5\n",
       Screens({MissingBoardScreen(), kMain, kClearMark, std::string(kSaved)}),
       {kOpenMissing, event::kClear, kReadNoConfig, event::kClear, event::kClear, kMountRw,
        kWriteConfig, kFsync, kFclose, kMountRo},
       ConfigLine()},
  };
}

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

class StartExit : public ::testing::TestWithParam<Case> {};

TEST_P(StartExit, ScreenRecordAndFile) {
  const Case& c = GetParam();
  Sandbox box;
  const RunResult run = box.Run(c.keys, c.options);
  ASSERT_TRUE(RanCleanly(run));
  EXPECT_SCREEN_EQ(c.screen, run.screen);
  EXPECT_EQ(run.board.events, c.events);
  EXPECT_EQ(run.config, c.config);
  EXPECT_TRUE(run.board.commands.empty()) << "nothing was changed, so nothing is sent";
}

INSTANTIATE_TEST_SUITE_P(MainMenu, StartExit, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// End of input wherever the tool waits must end it cleanly: in time, with
// nothing saved, and without acting on what an earlier line left behind.
struct EndOfInputCase {
  const char* name;
  RunOptions options;
  std::string keys;
  std::string screen_start;
};

void PrintTo(const EndOfInputCase& c, std::ostream* out) {
  *out << c.name;
}

class EndOfInput : public ::testing::TestWithParam<EndOfInputCase> {};

TEST_P(EndOfInput, LeavesWithoutSaving) {
  const EndOfInputCase& c = GetParam();
  Sandbox box;
  const RunResult run = box.Run(c.keys, c.options);
  ASSERT_TRUE(RanCleanly(run));
  EXPECT_SCREEN_EQ(c.screen_start, run.screen.substr(0, c.screen_start.size()));
  EXPECT_EQ(run.config, nullopt);
  EXPECT_FALSE(run.board.Contains(event::kMountRw));
}

INSTANTIATE_TEST_SUITE_P(
    MainMenu, EndOfInput,
    ::testing::Values(
        EndOfInputCase{"AtMainMenu", {}, "", MainMenuScreen()},
        EndOfInputCase{"AfterRedraws", {}, "7\n\n", Screens({kMain, kMain, kMain})},
        EndOfInputCase{"InsideMenu",
                       {},
                       "1\n1\n",
                       Screens({kMain, InputSelectionScreen(), InputSettingsScreen("Tuner")})},
        EndOfInputCase{"AtValuePrompt",
                       {},
                       "1\n1\n1\n",
                       Screens({kMain, InputSelectionScreen(), InputSettingsScreen("Tuner"),
                                PicturePromptScreen("Brightness", 125)})},
        // The unterminated entry is taken once, never again.
        EndOfInputCase{"InsideAnEntry",
                       {},
                       "1\n1\n1\n20",
                       Screens({kMain, InputSelectionScreen(), InputSettingsScreen("Tuner"),
                                PicturePromptScreen("Brightness", 125),
                                PicturePromptScreen("Brightness", 20)})},
        EndOfInputCase{"AtMissingBoardPause", {.board_missing = true}, "", MissingBoardScreen()},
        EndOfInputCase{
            "AfterMissingBoardPause", {.board_missing = true}, "k", MissingBoardScreen() + kMain}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StartExit, ChoiceWithoutNewlineAtEndOfInputIsTaken) {
  Sandbox box;
  const RunResult run = box.Run("5");
  ASSERT_TRUE(RanCleanly(run));
  EXPECT_EQ(run.config, ConfigLine());
}

TEST(StartExit, ExitWithoutSavingLeavesExistingFileUntouched) {
  const std::string saved = "t_bri=1 junk that the writer would never produce\n";
  Sandbox box(saved);
  const RunResult run = box.Run("1\n1\n1\n200\nx\n4\n4\n6\n");
  ASSERT_TRUE(RanCleanly(run));
  EXPECT_EQ(run.config, saved);
  EXPECT_FALSE(run.board.Contains(event::kWriteConfig));
  // Changes already sent stay in the board.
  EXPECT_EQ(run.board.Register("CMD_T_BRI"), 200);
}

}  // namespace
}  // namespace e2e
