#include "tests/e2e/menu_screens.h"

#include <algorithm>

namespace e2e {

std::string LeaveScreen() {
  return std::string(kClear);
}

std::string SavedScreen() {
  return Cleared(kSaved);
}

std::string OtherMenuScreen(bool shift_item) {
  return Cleared(std::string(" Other Settings\n\n 1. Horizontal Resolution\n") +
                 (shift_item ? " 2. Horizontal Shift\n" : "") +
                 " 3. Luminance Delay\n"
                 " 4. Return to main menu\n\n"
                 " Choice: ");
}

std::string ResolutionScreen(int h_res, bool cleared) {
  return std::string(cleared ? kClear : "") +
         " Horizontal Resolution  [currently: " + std::to_string(h_res) +
         "]\n\n"
         " 1. 480 pixels\n"
         " 2. 544 pixels (default)\n"
         " 3. 720 pixels\n"
         " 4. Return to previous menu\n\n"
         " Choice: ";
}

std::string ShiftScreen(int current) {
  return Cleared(" Current Horizontal Shift setting is " + std::to_string(current) +
                 "\n Enter a new value (0 to 108 or 128 to 236) or 'x' when done: ");
}

std::string DelayScreen(int current) {
  return Cleared(" Current Luminance Delay setting is " + std::to_string(current) +
                 "\n Enter a new value (-4 to +3) or 'x' when done: ");
}

std::string FreqTableScreen(std::string_view current) {
  return Cleared(" Select Frequency Table [currently: " + std::string(current) +
                 "]\n\n"
                 " 1. Australia\n"
                 " 2. New Zealand\n"
                 " 3. Europe CCIR\n"
                 " 4. Europe CATV\n"
                 " 5. Blank\n"
                 " 6. Return to previous menu\n\n"
                 " Choice: ");
}

std::string RfScreen(int current) {
  return Cleared(" Enter RF Output Channel (28 to 69) [currently " + std::to_string(current) +
                 "]: ");
}

std::string ChannelSelectScreen() {
  return Cleared(" Select a channel to fine tune (0 to 69) or 'x' when done: ");
}

std::string ChannelScreen(int channel, int default_khz, int current_khz) {
  return Cleared(" Fine tuning channel " + std::to_string(channel) +
                 ".\n Default frequency is: " + std::to_string(default_khz) +
                 " KHz\n A value of zero will remove the entry.\n"
                 " Enter a new frequency [currently " +
                 std::to_string(current_khz) + " KHz] or 'x' when done: ");
}

std::string FineTunePairs(int from, int to) {
  std::string list;
  for (int channel = from; channel <= to; ++channel) {
    list += (list.empty() ? "" : ",") + std::to_string(channel) + ":" +
            std::to_string(500000 + channel);
  }
  return list;
}

std::string Sent(const RunResult& run) {
  std::string text;
  for (const vboard::Command& command : run.board.commands) {
    if (!text.empty()) text += "; ";
    text += command.name + " " + std::to_string(command.arg);
  }
  return text;
}

std::string Repeat(std::string_view text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

::testing::AssertionResult EndsAt(const RunResult& run, std::string_view last_screen) {
  const std::string tail = std::string(last_screen) + std::string(kClear);
  if (run.screen.ends_with(tail)) return ::testing::AssertionSuccess();
  const size_t keep = std::min(run.screen.size(), tail.size() + 40);
  return ::testing::AssertionFailure()
         << "the run did not end at the expected screen\n  expected tail: " << Escape(tail)
         << "\n  actual tail:   " << Escape(run.screen.substr(run.screen.size() - keep));
}

}  // namespace e2e
