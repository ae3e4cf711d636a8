// Other settings: resolution, the shift offered only at 720 pixels, and the
// luminance delay with its one invalid-value message.
#include <string>

#include "tests/e2e/harness.h"
#include "tests/e2e/menu_screens.h"

namespace e2e {
namespace {

TEST(OtherMenu, ShiftAppearsAt720AndDelayResetsOnInvalidValue) {
  Sandbox box;
  const RunResult run = box.Run(
      "4\n2\n"                    // no item 2 at 544: only a redraw
      "1\n9\n3\n"                 // wrong choice reprints below, then 720
      "2\n300\n120\n250\n\n"      // 300 refused; Enter alone is 0
      + std::string("\0\n", 2) +  // empty entry leaves
      "3\n2\n"                    // delay 2 is sent and leaves
      "3\n5\n\n-4\n"              // 5: message, one key, then 0 shown
      "4\n5\n");
  ASSERT_TRUE(RanCleanly(run));
  EXPECT_SCREEN_EQ(MainMenuScreen() + OtherMenuScreen(false) + OtherMenuScreen(false) +
                       ResolutionScreen(544) + ResolutionScreen(544, false) +
                       OtherMenuScreen(true) + ShiftScreen(195) + ShiftScreen(195) +
                       ShiftScreen(120) + ShiftScreen(250) + ShiftScreen(0) +
                       OtherMenuScreen(true) + DelayScreen(0) + OtherMenuScreen(true) +
                       DelayScreen(2) + std::string(kInvalidDelay) + DelayScreen(0) +
                       OtherMenuScreen(true) + MainMenuScreen() + SavedScreen(),
                   run.screen);
  EXPECT_EQ(Sent(run),
            "CMD_H_RES 720; CMD_H_SHIFT 120; CMD_H_SHIFT 250; CMD_H_SHIFT 0; CMD_L_DELAY 2; "
            "CMD_L_DELAY -4");
  EXPECT_EQ(run.config, ConfigLine({.h_res = 720, .h_shift = 0, .l_delay = -4}));
}

TEST(OtherMenu, ReturnsWithoutChangeAndPauseReadsOneKey) {
  const std::string config = "h_res=720 h_shift=10 l_delay=2 \n";
  Sandbox box(config);
  const RunResult run = box.Run(
      "4\n1\n4\n"  // resolution: return, nothing sent
      "2\nx\n"     // shift: x
      "3\nx\n"     // delay: x
      "3\n9\nk\n"  // the pause takes "k"; the pending newline is the entry 0
      "3\n+3\n"
      "3\n-5\n\n" +
      std::string("\0\n", 2) +  // after the message: empty entry leaves, 0 stays
      "1\n1\n1\n2\n"            // 480 hides item 2, 544 keeps it hidden
      "4\n6\n");
  ASSERT_TRUE(RanCleanly(run));
  EXPECT_SCREEN_EQ(
      MainMenuScreen() + OtherMenuScreen(true) + ResolutionScreen(720) + OtherMenuScreen(true) +
          ShiftScreen(10) + OtherMenuScreen(true) + DelayScreen(2) + OtherMenuScreen(true) +
          DelayScreen(2) + std::string(kInvalidDelay) + DelayScreen(0) + OtherMenuScreen(true) +
          DelayScreen(0) + OtherMenuScreen(true) + DelayScreen(3) + std::string(kInvalidDelay) +
          DelayScreen(0) + OtherMenuScreen(true) + ResolutionScreen(720) + OtherMenuScreen(false) +
          ResolutionScreen(480) + OtherMenuScreen(false) + MainMenuScreen() + LeaveScreen(),
      run.screen);
  EXPECT_EQ(Sent(run), "CMD_L_DELAY 0; CMD_L_DELAY 3; CMD_H_RES 480; CMD_H_RES 544");
  EXPECT_EQ(run.config, config);
}

}  // namespace
}  // namespace e2e
