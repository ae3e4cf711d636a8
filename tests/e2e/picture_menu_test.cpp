// Picture settings: input selection, the three value prompts and how a typed
// line becomes a value.
#include <string>

#include "tests/e2e/harness.h"
#include "tests/e2e/menu_screens.h"

namespace e2e {
namespace {

struct InputRow {
  const char* item;  // position on the input selection screen
  const char* name;
  const char* commands;  // brightness, contrast and colour, as sent
  std::string saved;
};

// The screen order (Tuner, Composite, S-Video) is not the code order.
const InputRow kInputRows[] = {
    {"1", "Tuner", "CMD_T_BRI 200; CMD_T_CON 127; CMD_T_SAT 0",
     ConfigLine({.t_bri = 200, .t_con = 127, .t_sat = 0})},
    {"2", "Composite", "CMD_C_BRI 200; CMD_C_CON 127; CMD_C_SAT 0",
     ConfigLine({.c_bri = 200, .c_con = 127, .c_sat = 0})},
    {"3", "S-Video", "CMD_S_BRI 200; CMD_S_CON 127; CMD_S_SAT 0",
     ConfigLine({.s_bri = 200, .s_con = 127, .s_sat = 0})},
};

TEST(PictureMenu, EachInputKeepsItsOwnFieldsAndCommands) {
  for (const InputRow& row : kInputRows) {
    SCOPED_TRACE(row.name);
    Sandbox box;
    // Brightness 200; contrast 127 then 128 (refused); colour -5 (refused) then 0.
    const RunResult run = box.Run("1\n" + std::string(row.item) +
                                  "\n1\n200\nx\n2\n127\n128\nx\n3\n-5\n0\nx\n4\n4\n5\n");
    ASSERT_TRUE(RanCleanly(run));
    const std::string settings = InputSettingsScreen(row.name);
    EXPECT_SCREEN_EQ(
        MainMenuScreen() + InputSelectionScreen() + settings +
            PicturePromptScreen("Brightness", 125) + PicturePromptScreen("Brightness", 200) +
            settings + PicturePromptScreen("Contrast", 67) + PicturePromptScreen("Contrast", 127) +
            PicturePromptScreen("Contrast", 127) + settings + PicturePromptScreen("Colour", 85) +
            PicturePromptScreen("Colour", 85) + PicturePromptScreen("Colour", 0) + settings +
            InputSelectionScreen() + MainMenuScreen() + SavedScreen(),
        run.screen);
    EXPECT_EQ(Sent(run), row.commands);
    EXPECT_EQ(run.config, row.saved);
  }
}

struct EntryStep {
  std::string typed;  // empty: the read takes what an earlier line left pending
  int shown_after;
  const char* sent;  // argument of CMD_T_BRI, or nullptr when refused
};

TEST(PictureMenu, TypedLinesBecomeValuesAsTheBufferOfFiveReadsThem) {
  const EntryStep steps[] = {
      {"255\n", 255, "255"},
      {"256\n", 255, nullptr},
      {std::string("\0\n", 2), 255, "255"},  // empty entry: the current value again
      {"\n", 0, "0"},                        // Enter alone converts to 0
      {"0100\n", 100, "100"},                // fills the buffer; the newline stays pending
      {"", 0, "0"},
      {"-5\n", 0, nullptr},
      {"9999200\n", 0, nullptr},  // "9999" is refused, "200\n" is the next entry
      {"", 200, "200"},
      {" +7\n", 7, "7"},
      {"X\n", 0, "0"},  // only the lower-case x leaves
  };
  std::string keys = "1\n1\n1\n";
  std::string screen = MainMenuScreen() + InputSelectionScreen() + InputSettingsScreen("Tuner") +
                       PicturePromptScreen("Brightness", 125);
  std::string sent;
  for (const EntryStep& step : steps) {
    keys += step.typed;
    screen += PicturePromptScreen("Brightness", step.shown_after);
    if (step.sent != nullptr)
      sent += std::string(sent.empty() ? "" : "; ") + "CMD_T_BRI " + step.sent;
  }
  keys += "xyz\n4\n4\n6\n";
  screen +=
      InputSettingsScreen("Tuner") + InputSelectionScreen() + MainMenuScreen() + LeaveScreen();

  Sandbox box;
  const RunResult run = box.Run(keys);
  ASSERT_TRUE(RanCleanly(run));
  EXPECT_SCREEN_EQ(screen, run.screen);
  EXPECT_EQ(Sent(run), sent);
  EXPECT_EQ(run.config, std::nullopt);
}

}  // namespace
}  // namespace e2e
