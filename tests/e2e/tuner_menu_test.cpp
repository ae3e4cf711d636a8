// Tuner settings: the names in the heading, the RF item only for the Samsung
// tuner, table choices and the RF channel's byte arithmetic.
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/menu_screens.h"

namespace e2e {
namespace {

struct HeadingRow {
  const char* config;  // nullptr: no configuration file
  const char* tuner;
  const char* table;
  bool rf_item;
};

TEST(TunerMenu, HeadingShowsTheNamesAndAnEmptyNameOutsideTheTables) {
  const HeadingRow rows[] = {
      {nullptr, "Samsung", "", true},  // f_table stays 99 without a file
      {"t_type=1 f_table=2 \n", "Samsung", "Europe CCIR", true},
      {"t_type=0 f_table=4 \n", "Philips", "Blank", false},
      {"tunertype=3 \n", "Philips", "Europe CCIR", false},  // the older combined code
      {"t_type=-1 f_table=7 \n", "", "", false},
  };
  for (const HeadingRow& row : rows) {
    SCOPED_TRACE(row.config != nullptr ? row.config : "no file");
    Sandbox box;
    if (row.config != nullptr) box.WriteConfig(row.config);
    const RunResult run = box.Run("3\n6\n6\n");
    ASSERT_TRUE(RanCleanly(run));
    EXPECT_SCREEN_EQ(MainMenuScreen() + TunerMenuScreen(row.tuner, row.table, row.rf_item) +
                         MainMenuScreen() + LeaveScreen(),
                     run.screen);
    EXPECT_EQ(Sent(run), "");
  }
}

TEST(TunerMenu, TunerTypeIsOnlyRecordedAndHidesTheRfItem) {
  Sandbox box;
  const RunResult run = box.Run(
      "3\n3\n7\n6\n"  // table screen: a wrong choice redraws, 6 returns unchanged
      "1\n5\n"        // Philips: 5 is ignored
      "2\n1\n6\n5\n");
  ASSERT_TRUE(RanCleanly(run));
  const std::string samsung = TunerMenuScreen("Samsung", "", true);
  const std::string philips = TunerMenuScreen("Philips", "", false);
  EXPECT_SCREEN_EQ(MainMenuScreen() + samsung + FreqTableScreen("") + FreqTableScreen("") +
                       samsung + philips + philips + samsung + philips + MainMenuScreen() +
                       SavedScreen(),
                   run.screen);
  EXPECT_EQ(Sent(run), "");
  EXPECT_EQ(run.config, ConfigLine({.t_type = 0}));
}

TEST(TunerMenu, EveryTableChoiceIsSentAlsoWhenUnchanged) {
  const char* names[] = {"Australia", "New Zealand", "Europe CCIR", "Europe CATV", "Blank"};
  const int choices[] = {1, 2, 3, 4, 5, 3, 3};
  Sandbox box("f_table=0 \n");
  std::string keys = "3\n";
  std::string screen = MainMenuScreen() + TunerMenuScreen("Samsung", "Australia", true);
  std::string sent;
  std::string current = "Australia";
  for (const int choice : choices) {
    keys += "3\n" + std::to_string(choice) + "\n";
    screen += FreqTableScreen(current);
    current = names[choice - 1];
    screen += TunerMenuScreen("Samsung", current, true);
    sent += (sent.empty() ? "" : "; ") + std::string("CMD_F_TABLE ") + std::to_string(choice - 1);
  }
  const RunResult run = box.Run(keys + "6\n5\n");
  ASSERT_TRUE(RanCleanly(run));
  EXPECT_SCREEN_EQ(screen + MainMenuScreen() + SavedScreen(), run.screen);
  EXPECT_EQ(Sent(run), sent);
  EXPECT_EQ(run.config, ConfigLine({.f_table = 2}));
}

struct RfStep {
  std::string typed;
  int stored;  // shown at the next visit
  bool sent;
};

TEST(TunerMenu, RfChannelKeepsTheLowByteAndFallsBackTo60) {
  const std::vector<RfStep> steps = {
      {"27\n", 60, true},
      {"45\n", 45, true},
      {"70\n", 60, true},
      {"284\n", 28, true},  // 284 & 0xFF
      {"300\n", 44, true},
      {"-200\n", 56, true},
      {"x\n", 60, true},  // no special meaning here: converts to 0
      {"50\n", 50, true},
      {"abc\n", 60, true},
      {"50\n", 50, true},
      {"\n", 60, true},
      {"000000000000000033\n", 33, true},  // 19 characters fit the buffer of 20
      {std::string("\0\n", 2), 33, false},
  };
  std::string keys = "3\n";
  const std::string tuner = TunerMenuScreen("Samsung", "", true);
  std::string screen = MainMenuScreen() + tuner;
  std::string sent;
  int current = 60;
  for (const RfStep& step : steps) {
    keys += "5\n" + step.typed;
    screen += RfScreen(current) + tuner;
    current = step.stored;
    if (step.sent) sent += (sent.empty() ? "" : "; ") + ("CMD_RF_OUT " + std::to_string(current));
  }
  Sandbox box;
  const RunResult run = box.Run(keys + "5\n" + std::string("\0\n", 2) + "6\n5\n");
  ASSERT_TRUE(RanCleanly(run));
  EXPECT_SCREEN_EQ(screen + RfScreen(33) + tuner + MainMenuScreen() + SavedScreen(), run.screen);
  EXPECT_EQ(Sent(run), sent);
  EXPECT_EQ(run.config, ConfigLine({.rf_out = 33}));
}

}  // namespace
}  // namespace e2e
