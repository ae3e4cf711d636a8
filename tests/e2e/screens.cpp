#include "tests/e2e/screens.h"

namespace e2e {

std::string Cleared(std::string_view body) {
  return std::string(kClear) + std::string(body);
}

std::string MainMenuScreen() {
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

std::string MissingBoardScreen() {
  return Cleared(
      "Unable to open quivet interface (-1). Any changes\n"
      "made will not take effect until Dravo is rebooted.\n"
      "Press any key to continue...");
}

std::string InputSelectionScreen() {
  return Cleared(
      " Input Source Selection\n\n"
      " 1. Tuner Input\n"
      " 2. Composite Input\n"
      " 3. S-Video Input\n"
      " 4. Return to main menu\n\n"
      " Choice: ");
}

std::string InputSettingsScreen(std::string_view input) {
  return Cleared(" " + std::string(input) +
                 " Input Settings\n\n"
                 " 1. Brightness\n"
                 " 2. Contrast\n"
                 " 3. Colour\n"
                 " 4. Return to previous menu\n\n"
                 " Choice: ");
}

std::string PicturePromptScreen(std::string_view setting, std::int32_t current) {
  const char* range = setting == "Brightness" ? "(0 to 255)" : "(0 to 127)";
  return Cleared(" Current " + std::string(setting) + " setting is " + std::to_string(current) +
                 "\n Enter a new value " + range + " or 'x' when done: ");
}

std::string AudioMenuScreen(bool enabled) {
  return Cleared(std::string(" Audio Settings [Dual audio input: ") +
                 (enabled ? "enabled" : "disabled") +
                 "]\n\n"
                 " 1. Enable Dual Audio input\n"
                 " 2. Disable Dual Audio input\n"
                 " 3. Return to main menu\n\n"
                 " Choice: ");
}

std::string TunerMenuScreen(std::string_view tuner, std::string_view table, bool rf_item) {
  return Cleared(" Tuner Settings [currently: " + std::string(tuner) + "/" + std::string(table) +
                 "]\n\n"
                 " 1. Philips Tuner\n"
                 " 2. Samsung/ALPS Tuner\n"
                 " 3. Select Frequency Table\n"
                 " 4. Fine Tuning\n" +
                 (rf_item ? " 5. RF Output Channel\n" : "\n") +
                 " 6. Return to main menu\n\n"
                 " Choice: ");
}

std::string FineTuningMenuScreen() {
  return Cleared(
      " Fine Tuning\n\n"
      " 1. Display Current Settings\n"
      " 2. Fine Tune Channel\n"
      " 3. Return to previous menu\n\n"
      " Choice: ");
}

std::string FineTuneListScreen(const std::vector<std::pair<int, std::int32_t>>& channels) {
  std::string body;
  for (const auto& [channel, freq] : channels) {
    body += "Channel " + std::to_string(channel) + " : " + std::to_string(freq) + " KHz\n";
  }
  if (channels.empty()) body = "No channel frequencies have been modified\n";
  return Cleared(body + "Press Enter to return...");
}

std::string ConfigLine(const ConfigValues& v) {
  const std::pair<const char*, std::int32_t> fields[] = {
      {"t_bri", v.t_bri},     {"t_con", v.t_con},     {"t_sat", v.t_sat},
      {"s_bri", v.s_bri},     {"s_con", v.s_con},     {"s_sat", v.s_sat},
      {"c_bri", v.c_bri},     {"c_con", v.c_con},     {"c_sat", v.c_sat},
      {"h_res", v.h_res},     {"d_audio", v.d_audio}, {"t_type", v.t_type},
      {"f_table", v.f_table}, {"h_shift", v.h_shift}, {"rf_out", v.rf_out},
      {"l_delay", v.l_delay},
  };
  std::string line;
  for (const auto& [key, value] : fields)
    line += std::string(key) + "=" + std::to_string(value) + " ";
  if (!v.f_tune.empty()) line += "f_tune=\"" + v.f_tune + "\"";
  return line + "\n";
}

std::string Screens(const std::vector<std::string>& parts) {
  std::string all;
  for (const std::string& part : parts) all += part;
  return all;
}

}  // namespace e2e
