// Fine tuning: the list, the channel and frequency prompts, the packed
// command, the start-up defaults and the limits of the saved list.
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/menu_screens.h"

namespace e2e {
namespace {

TEST(FineTuning, TuneListAndRemoveChannels) {
  Sandbox box("f_table=0 \n");
  const RunResult run = box.Run(
      "3\n4\n1\n\n2\n"
      "5\n175500\n-1\n1000000\n16777217\n" +  // negative and seven digits: refused
      std::string("\0\n", 2) +                // empty entry: redraw
      "x\n69\n855250\nx\n40\n999999\n"
      "x\n2\n64250\nx\nx\n"  // its own default is still a fine-tuned value
      "1\n\n"
      "2\n5\n0\nx\nx\n3\n6\n5\n");
  ASSERT_TRUE(RanCleanly(run));
  const std::string tuner = TunerMenuScreen("Samsung", "Australia", true);
  EXPECT_SCREEN_EQ(
      MainMenuScreen() + tuner + FineTuningMenuScreen() + FineTuneListScreen({}) +
          FineTuningMenuScreen() + ChannelSelectScreen() + ChannelScreen(5, 138250, 138250) +
          Repeat(ChannelScreen(5, 138250, 175500), 5) + ChannelSelectScreen() +
          ChannelScreen(69, 814250, 814250) + ChannelScreen(69, 814250, 855250) +
          ChannelSelectScreen() + ChannelScreen(40, 611250, 611250) +
          ChannelScreen(40, 611250, 999999) + ChannelSelectScreen() +
          ChannelScreen(2, 64250, 64250) + ChannelScreen(2, 64250, 64250) + ChannelSelectScreen() +
          FineTuningMenuScreen() +
          FineTuneListScreen({{2, 64250}, {5, 175500}, {40, 999999}, {69, 855250}}) +
          FineTuningMenuScreen() + ChannelSelectScreen() + ChannelScreen(5, 138250, 175500) +
          ChannelScreen(5, 138250, 138250) + ChannelSelectScreen() + FineTuningMenuScreen() +
          tuner + MainMenuScreen() + SavedScreen(),
      run.screen);
  // Channel in bits 31-24, frequency in the low 24 bits; removing sends 0.
  EXPECT_EQ(Sent(run),
            "CMD_F_TUNE 84061580; CMD_F_TUNE 1158483154; CMD_F_TUNE 672088639; "
            "CMD_F_TUNE 33618682; CMD_F_TUNE 83886080");
  EXPECT_EQ(run.config, ConfigLine({.f_table = 0, .f_tune = "2:64250,40:999999,69:855250"}));
}

TEST(FineTuning, ChannelSelectionRefusesOutOfRangeAndReadsEnterAsZero) {
  Sandbox box;
  const RunResult run = box.Run("3\n4\n2\n70\n-1\n" + std::string("\0\n", 2) +
                                "\nx\nX\nx\n"  // Enter alone and "X" open channel 0
                                "7\nx\nx\n3\n6\n");
  ASSERT_TRUE(RanCleanly(run));
  // Without a configuration file no table was filled: every default is 0.
  EXPECT_SCREEN_EQ(MainMenuScreen() + TunerMenuScreen("Samsung", "", true) +
                       FineTuningMenuScreen() + Repeat(ChannelSelectScreen(), 4) +
                       ChannelScreen(0, 0, 0) + ChannelSelectScreen() + ChannelScreen(0, 0, 0) +
                       ChannelSelectScreen() + ChannelScreen(7, 0, 0) + ChannelSelectScreen() +
                       FineTuningMenuScreen() + TunerMenuScreen("Samsung", "", true) +
                       MainMenuScreen() + LeaveScreen(),
                   run.screen);
  EXPECT_EQ(Sent(run), "");
}

struct DefaultRow {
  const char* config;
  const char* before;  // keys in the tuner menu before fine tuning
  int channel;
  int default_khz;
  const char* sent;
};

TEST(FineTuning, DefaultsComeFromTheTableInForceAtStartUp) {
  const DefaultRow rows[] = {
      {"f_table=4 \n", "", 7, 0, ""},
      {"f_table=1 \n", "", 1, 45250, ""},
      // Choosing Europe CCIR does not refill: channel 2 keeps its Australian default.
      {"f_table=0 \n", "3\n3\n", 2, 64250, "CMD_F_TABLE 2"},
  };
  for (const DefaultRow& row : rows) {
    SCOPED_TRACE(row.config);
    Sandbox box(row.config);
    const std::string channel = std::to_string(row.channel);
    const RunResult run =
        box.Run("3\n" + std::string(row.before) + "4\n2\n" + channel + "\nx\nx\n3\n6\n");
    ASSERT_TRUE(RanCleanly(run));
    EXPECT_NE(run.screen.find(ChannelSelectScreen() +
                              ChannelScreen(row.channel, row.default_khz, row.default_khz) +
                              ChannelSelectScreen()),
              std::string::npos)
        << Escape(run.screen);
    EXPECT_TRUE(EndsAt(run, MainMenuScreen()));
    EXPECT_EQ(Sent(run), row.sent);
  }
}

TEST(FineTuning, TwentyPairsFitTheSavedListAndSurviveARestart) {
  Sandbox box("f_table=0 f_tune=\"" + FineTunePairs(10, 28) + "\"\n");
  const RunResult run = box.Run(
      "3\n4\n2\n29\n500029\n"  // the twentieth pair fits: 199 characters
      "x\n30\n100000\n\n"      // a twenty-first is refused; one key continues
      "5\nk\n"                 // refused again; "k" is the key, the newline is entry 0
      "x\n10\n499999\n0\n"     // same length is taken, removing always
      "x\n30\n100000\n"        // and now the new pair fits
      "x\nx\n3\n6\n5\n");
  ASSERT_TRUE(RanCleanly(run));
  const std::string tuner = TunerMenuScreen("Samsung", "Australia", true);
  const std::string full = ChannelScreen(30, 541250, 541250) + std::string(kListFull);
  EXPECT_SCREEN_EQ(MainMenuScreen() + tuner + FineTuningMenuScreen() + ChannelSelectScreen() +
                       ChannelScreen(29, 534250, 534250) + ChannelScreen(29, 534250, 500029) +
                       ChannelSelectScreen() + full + full +
                       Repeat(ChannelScreen(30, 541250, 541250), 2) + ChannelSelectScreen() +
                       ChannelScreen(10, 209250, 500010) + ChannelScreen(10, 209250, 499999) +
                       ChannelScreen(10, 209250, 209250) + ChannelSelectScreen() +
                       ChannelScreen(30, 541250, 541250) + ChannelScreen(30, 541250, 100000) +
                       ChannelSelectScreen() + FineTuningMenuScreen() + tuner + MainMenuScreen() +
                       SavedScreen(),
                   run.screen);
  EXPECT_EQ(Sent(run),
            "CMD_F_TUNE 487039293; CMD_F_TUNE 503316480; CMD_F_TUNE 168272159; "
            "CMD_F_TUNE 167772160; CMD_F_TUNE 503416480");
  const std::string list = FineTunePairs(11, 29) + ",30:100000";
  ASSERT_EQ(list.size(), 199u);
  EXPECT_EQ(run.config, ConfigLine({.f_table = 0, .f_tune = list}));

  const RunResult again = box.Run("3\n4\n1\n\n3\n6\n6\n");
  ASSERT_TRUE(RanCleanly(again));
  std::vector<std::pair<int, std::int32_t>> shown;
  for (int channel = 11; channel <= 29; ++channel) shown.emplace_back(channel, 500000 + channel);
  shown.emplace_back(30, 100000);
  EXPECT_SCREEN_EQ(MainMenuScreen() + tuner + FineTuningMenuScreen() + FineTuneListScreen(shown) +
                       FineTuningMenuScreen() + tuner + MainMenuScreen() + LeaveScreen(),
                   again.screen);
}

// A hand-edited file can hold more pairs than one saved line carries: the
// list can still be cut down, never lengthened, and the saved line keeps the
// whole pairs that fit, so it loads back as written.
TEST(FineTuning, OverfullLoadedListCanOnlyShrink) {
  Sandbox box("f_table=0 f_tune=\"" + FineTunePairs(10, 40) + "\"\n");
  const RunResult run = box.Run(
      "3\n4\n2\n12\n0\n"  // removal taken
      "x\n13\n13\n"       // shorter frequency taken
      "x\n5\n100000\n\n"  // a new pair refused
      "x\nx\n3\n6\n5\n");
  ASSERT_TRUE(RanCleanly(run));
  EXPECT_TRUE(Shows(run.screen, ChannelScreen(5, 138250, 138250) + std::string(kListFull)));
  EXPECT_EQ(Sent(run), "CMD_F_TUNE 201326592; CMD_F_TUNE 218103821");
  const std::string list = "10:500010,11:500011,13:13," + FineTunePairs(14, 30);
  ASSERT_LE(list.size(), 199u);
  EXPECT_EQ(run.config, ConfigLine({.f_table = 0, .f_tune = list}));
}

}  // namespace
}  // namespace e2e
