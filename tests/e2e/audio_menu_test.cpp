// Audio settings: one switch, sent on every choice, leaving after one change.
#include <string>

#include "tests/e2e/harness.h"
#include "tests/e2e/menu_screens.h"

namespace e2e {
namespace {

TEST(AudioMenu, AnyNonZeroShowsEnabledAndEveryChoiceIsSent) {
  Sandbox box("d_audio=7 \n");
  const RunResult run = box.Run(
      "2\n9\n2\n"  // enabled heading for 7; a wrong choice redraws; disable
      "2\n2\n"     // disabling again is still sent
      "2\n1\n"
      "2\n3\n5\n");
  ASSERT_TRUE(RanCleanly(run));
  EXPECT_SCREEN_EQ(MainMenuScreen() + AudioMenuScreen(true) + AudioMenuScreen(true) +
                       MainMenuScreen() + AudioMenuScreen(false) + MainMenuScreen() +
                       AudioMenuScreen(false) + MainMenuScreen() + AudioMenuScreen(true) +
                       MainMenuScreen() + SavedScreen(),
                   run.screen);
  EXPECT_EQ(Sent(run), "CMD_D_AUDIO 0; CMD_D_AUDIO 0; CMD_D_AUDIO 1");
  // The file also gives the missing frequency table: the old tuner code 1.
  EXPECT_EQ(run.config, ConfigLine({.d_audio = 1, .f_table = 0}));
}

}  // namespace
}  // namespace e2e
