// Screens of the settings menus beyond those in screens.h, and helpers to
// compare a run's commands and last screen.
#pragma once

#include <string>
#include <string_view>

#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"

namespace e2e {

std::string LeaveScreen();  // end of input, or "Exit without saving"
std::string SavedScreen();  // "Save settings and exit" that worked

std::string OtherMenuScreen(bool shift_item);
std::string ResolutionScreen(int h_res, bool cleared = true);
std::string ShiftScreen(int current);
std::string DelayScreen(int current);
inline constexpr std::string_view kInvalidDelay = "\nInvalid value. Press any key to continue.\n";

std::string FreqTableScreen(std::string_view current);
std::string RfScreen(int current);

std::string ChannelSelectScreen();
std::string ChannelScreen(int channel, int default_khz, int current_khz);
inline constexpr std::string_view kListFull =
    "\nFine-tune list is full. Press any key to continue.\n";

// Fine-tune list pairs "c:5000cc" for channels from to to: nine characters each.
std::string FineTunePairs(int from, int to);

// The commands the board received, in order: "CMD_T_BRI 200; CMD_F_TABLE 2".
std::string Sent(const RunResult& run);

std::string Repeat(std::string_view text, int times);

// The run ended right after this screen, leaving at end of input.
::testing::AssertionResult EndsAt(const RunResult& run, std::string_view last_screen);

}  // namespace e2e
