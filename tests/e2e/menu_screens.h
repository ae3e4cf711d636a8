// Expected screens of the settings menus, built from their exact texts, and
// small helpers to compare a run with them.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/e2e/harness.h"

namespace e2e::screens {

// What the board prints where the tool clears the screen.
inline constexpr std::string_view kClear = "<CLEAR>\n";

std::string Main();
std::string BoardMissing();  // start-up pause when the board cannot be opened
std::string Leave();         // end of input, or "Exit without saving"
std::string SavedOk();       // "Save settings and exit" that worked

std::string Inputs();
std::string InputSettings(std::string_view input);  // "Tuner", "Composite", "S-Video"
enum class Picture { kBrightness, kContrast, kColour };
std::string PicturePrompt(Picture setting, int current);

std::string Other(bool shift_item);
std::string Resolution(int h_res, bool cleared = true);
std::string Shift(int current);
std::string Delay(int current);
inline constexpr std::string_view kInvalidDelay = "\nInvalid value. Press any key to continue.\n";

std::string Audio(bool enabled);

std::string Tuner(std::string_view names, bool rf_item);  // names: "Samsung/Australia"
std::string Tables(std::string_view current);
std::string Rf(int current);

std::string FineTuning();
std::string FineList(const std::vector<std::pair<int, int>>& channels);
std::string ChannelSelect();
std::string Channel(int channel, int default_khz, int current_khz);
inline constexpr std::string_view kListFull =
    "\nFine-tune list is full. Press any key to continue.\n";

// The saved line: the built-in defaults with the given changes, and the
// fine-tune list (without its quotes) when there is one.
std::string SavedLine(std::initializer_list<std::pair<std::string_view, int>> changes,
                      std::string_view f_tune = "");

// The commands the board received, in order: "CMD_T_BRI 200; CMD_F_TABLE 2".
std::string Sent(const RunResult& run);

std::string Repeat(std::string_view text, int times);

// Checks that the run ended right after the given screen, leaving at end of input.
::testing::AssertionResult EndsAt(const RunResult& run, std::string_view last_screen);

}  // namespace e2e::screens
