#include "tests/e2e/menu_screens.h"

#include <algorithm>

namespace e2e::screens {

namespace {

std::string Cleared(std::string_view body) {
  return std::string(kClear) + std::string(body);
}

}  // namespace

std::string Main() {
  return Cleared(
      " Quivet Configuration Tool (v1.13)\n\n"
      " 1. Picture Settings\n"
      " 2. Audio Settings\n"
      " 3. Tuner Settings\n"
      " 4. Other Settings\n"
      " 5. Save settings and exit\n"
      " 6. Exit without saving\n\n"
      " Choice: ");
}

std::string BoardMissing() {
  return Cleared(
      "Unable to open quivet interface (-1). Any changes\n"
      "made will not take effect until Dravo is rebooted.\n"
      "Press any key to continue...");
}

std::string Leave() {
  return std::string(kClear);
}

std::string SavedOk() {
  return Cleared("Quivet successfully configured.\n");
}

std::string Inputs() {
  return Cleared(
      " Input Source Selection\n\n"
      " 1. Tuner Input\n"
      " 2. Composite Input\n"
      " 3. S-Video Input\n"
      " 4. Return to main menu\n\n"
      " Choice: ");
}

std::string InputSettings(std::string_view input) {
  return Cleared(" " + std::string(input) +
                 " Input Settings\n\n"
                 " 1. Brightness\n"
                 " 2. Contrast\n"
                 " 3. Colour\n"
                 " 4. Return to previous menu\n\n"
                 " Choice: ");
}

std::string PicturePrompt(Picture setting, int current) {
  const char* name = setting == Picture::kBrightness ? "Brightness"
                     : setting == Picture::kContrast ? "Contrast"
                                                     : "Colour";
  const char* range = setting == Picture::kBrightness ? "255" : "127";
  return Cleared(std::string(" Current ") + name + " setting is " + std::to_string(current) +
                 "\n Enter a new value (0 to " + range + ") or 'x' when done: ");
}

std::string Other(bool shift_item) {
  return Cleared(std::string(" Other Settings\n\n 1. Horizontal Resolution\n") +
                 (shift_item ? " 2. Horizontal Shift\n" : "") +
                 " 3. Luminance Delay\n"
                 " 4. Return to main menu\n\n"
                 " Choice: ");
}

std::string Resolution(int h_res, bool cleared) {
  return std::string(cleared ? kClear : "") +
         " Horizontal Resolution  [currently: " + std::to_string(h_res) +
         "]\n\n"
         " 1. 480 pixels\n"
         " 2. 544 pixels (default)\n"
         " 3. 720 pixels\n"
         " 4. Return to previous menu\n\n"
         " Choice: ";
}

std::string Shift(int current) {
  return Cleared(" Current Horizontal Shift setting is " + std::to_string(current) +
                 "\n Enter a new value (0 to 108 or 128 to 236) or 'x' when done: ");
}

std::string Delay(int current) {
  return Cleared(" Current Luminance Delay setting is " + std::to_string(current) +
                 "\n Enter a new value (-4 to +3) or 'x' when done: ");
}

std::string Audio(bool enabled) {
  return Cleared(std::string(" Audio Settings [Dual audio input: ") +
                 (enabled ? "enabled" : "disabled") +
                 "]\n\n"
                 " 1. Enable Dual Audio input\n"
                 " 2. Disable Dual Audio input\n"
                 " 3. Return to main menu\n\n"
                 " Choice: ");
}

std::string Tuner(std::string_view names, bool rf_item) {
  return Cleared(" Tuner Settings [currently: " + std::string(names) +
                 "]\n\n"
                 " 1. Philips Tuner\n"
                 " 2. Samsung/ALPS Tuner\n"
                 " 3. Select Frequency Table\n"
                 " 4. Fine Tuning\n" +
                 (rf_item ? " 5. RF Output Channel\n" : "\n") +
                 " 6. Return to main menu\n\n"
                 " Choice: ");
}

std::string Tables(std::string_view current) {
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

std::string Rf(int current) {
  return Cleared(" Enter RF Output Channel (28 to 69) [currently " + std::to_string(current) +
                 "]: ");
}

std::string FineTuning() {
  return Cleared(
      " Fine Tuning\n\n"
      " 1. Display Current Settings\n"
      " 2. Fine Tune Channel\n"
      " 3. Return to previous menu\n\n"
      " Choice: ");
}

std::string FineList(const std::vector<std::pair<int, int>>& channels) {
  std::string text(kClear);
  for (const auto& [channel, khz] : channels) {
    text += "Channel " + std::to_string(channel) + " : " + std::to_string(khz) + " KHz\n";
  }
  if (channels.empty()) text += "No channel frequencies have been modified\n";
  return text + "Press Enter to return...";
}

std::string ChannelSelect() {
  return Cleared(" Select a channel to fine tune (0 to 69) or 'x' when done: ");
}

std::string Channel(int channel, int default_khz, int current_khz) {
  return Cleared(" Fine tuning channel " + std::to_string(channel) +
                 ".\n Default frequency is: " + std::to_string(default_khz) +
                 " KHz\n A value of zero will remove the entry.\n"
                 " Enter a new frequency [currently " +
                 std::to_string(current_khz) + " KHz] or 'x' when done: ");
}

std::string SavedLine(std::initializer_list<std::pair<std::string_view, int>> changes,
                      std::string_view f_tune) {
  // In file order.
  std::vector<std::pair<std::string_view, int>> fields = {
      {"t_bri", 125},  {"t_con", 67},    {"t_sat", 85},  {"s_bri", 125},
      {"s_con", 67},   {"s_sat", 85},    {"c_bri", 125}, {"c_con", 67},
      {"c_sat", 85},   {"h_res", 544},   {"d_audio", 0}, {"t_type", 1},
      {"f_table", 99}, {"h_shift", 195}, {"rf_out", 60}, {"l_delay", 0},
  };
  for (const auto& [key, value] : changes) {
    auto field = std::find_if(fields.begin(), fields.end(),
                              [&key](const auto& f) { return f.first == key; });
    if (field == fields.end()) {
      ADD_FAILURE() << "no such setting: " << key;
      continue;
    }
    field->second = value;
  }
  std::string line;
  for (const auto& [key, value] : fields) {
    line += std::string(key) + "=" + std::to_string(value) + " ";
  }
  if (!f_tune.empty()) line += "f_tune=\"" + std::string(f_tune) + "\"";
  return line + "\n";
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
  if (run.screen.size() >= tail.size() &&
      run.screen.compare(run.screen.size() - tail.size(), tail.size(), tail) == 0) {
    return ::testing::AssertionSuccess();
  }
  const size_t keep = std::min<size_t>(run.screen.size(), tail.size() + 40);
  return ::testing::AssertionFailure()
         << "the run did not end at the expected screen\n  expected tail: " << Escape(tail)
         << "\n  actual tail:   " << Escape(run.screen.substr(run.screen.size() - keep));
}

}  // namespace e2e::screens
