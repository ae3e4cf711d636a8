// The tool's screens and its configuration line, written from its own texts.
// "<CLEAR>" stands where the board saw the screen cleared.
#pragma once

#include <string>
#include <vector>

#include "tests/e2e/harness.h"

namespace e2e {

using std::to_string;

// One screen: its name, which the record's expectations read, and its bytes.
struct Screen {
  std::string name;
  std::string text;
};

inline Screen Cleared(const std::string& name, const std::string& body) {
  return {name, "<CLEAR>\n" + body};
}

// A heading, the items (an empty one leaves its line blank), the prompt.
inline Screen Menu(const std::string& name, const std::string& heading,
                   const std::vector<std::string>& items) {
  std::string body = " " + heading + "\n\n";
  for (const std::string& item : items) body += item.empty() ? "\n" : " " + item + "\n";
  return Cleared(name, body + "\n Choice: ");
}

inline Screen MainMenu() {
  return Menu("main menu", "Quivet Configuration Tool (v1.13)",
              {"1. Picture Settings", "2. Audio Settings", "3. Tuner Settings", "4. Other Settings",
               "5. Save settings and exit", "6. Exit without saving"});
}
inline Screen MissingBoard() {
  return Cleared("missing board",
                 "Unable to open quivet interface (-1). Any changes\n"
                 "made will not take effect until Dravo is rebooted.\n"
                 "Press any key to continue...");
}
inline Screen Left() {
  return Cleared("leaving", "");
}
inline Screen Saved() {
  return Cleared("saved", "Quivet successfully configured.\n");
}
inline Screen NotSaved() {
  return Cleared("not saved", "Unable to save configuration.\n");
}

// A second instance prints this alone.
inline const std::string AlreadyRunning =
    "quivet_config is already running; only one may run at a time.\n";

inline Screen Inputs() {
  return Menu(
      "input selection", "Input Source Selection",
      {"1. Tuner Input", "2. Composite Input", "3. S-Video Input", "4. Return to main menu"});
}
inline Screen Input(const std::string& input) {
  return Menu(input + " settings", input + " Input Settings",
              {"1. Brightness", "2. Contrast", "3. Colour", "4. Return to previous menu"});
}
// A value prompt: the current value, then what may be entered.
inline Screen Prompt(const std::string& what, int current, const std::string& range) {
  return Cleared(what + " prompt", " Current " + what + " setting is " + to_string(current) +
                                       "\n Enter a new value (" + range + ") or 'x' when done: ");
}
// setting: "Brightness", "Contrast" or "Colour".
inline Screen Picture(const std::string& setting, int current) {
  return Prompt(setting, current, setting == "Brightness" ? "0 to 255" : "0 to 127");
}

inline Screen Audio(bool enabled) {
  return Menu(
      "audio menu",
      std::string("Audio Settings [Dual audio input: ") + (enabled ? "enabled]" : "disabled]"),
      {"1. Enable Dual Audio input", "2. Disable Dual Audio input", "3. Return to main menu"});
}

inline Screen Other(bool shift_item) {
  std::vector<std::string> items = {"1. Horizontal Resolution", "3. Luminance Delay",
                                    "4. Return to main menu"};
  if (shift_item) items.insert(items.begin() + 1, "2. Horizontal Shift");
  return Menu("other menu", "Other Settings", items);
}
// An invalid choice prints the screen again below the last, without clearing.
inline Screen Resolution(int h_res, bool cleared = true) {
  Screen s = Menu(
      "resolution", "Horizontal Resolution  [currently: " + to_string(h_res) + "]",
      {"1. 480 pixels", "2. 544 pixels (default)", "3. 720 pixels", "4. Return to previous menu"});
  if (!cleared) s.text.erase(0, 8);
  return s;
}
inline Screen Shift(int current) {
  return Prompt("Horizontal Shift", current, "0 to 108 or 128 to 236");
}
inline Screen Delay(int current) {
  return Prompt("Luminance Delay", current, "-4 to +3");
}
inline Screen InvalidDelay() {
  return {"invalid delay", "\nInvalid value. Press any key to continue.\n"};
}

inline Screen Tuner(const std::string& tuner, const std::string& table, bool rf_item) {
  return Menu("tuner menu", "Tuner Settings [currently: " + tuner + "/" + table + "]",
              {"1. Philips Tuner", "2. Samsung/ALPS Tuner", "3. Select Frequency Table",
               "4. Fine Tuning", rf_item ? "5. RF Output Channel" : "", "6. Return to main menu"});
}
inline Screen Tables(const std::string& current) {
  return Menu("table menu", "Select Frequency Table [currently: " + current + "]",
              {"1. Australia", "2. New Zealand", "3. Europe CCIR", "4. Europe CATV", "5. Blank",
               "6. Return to previous menu"});
}
inline Screen Rf(int current) {
  return Cleared("RF prompt",
                 " Enter RF Output Channel (28 to 69) [currently " + to_string(current) + "]: ");
}

inline Screen FineTuning() {
  return Menu(
      "fine tuning menu", "Fine Tuning",
      {"1. Display Current Settings", "2. Fine Tune Channel", "3. Return to previous menu"});
}
inline Screen FineTuned(const std::vector<std::pair<int, int>>& channels) {
  std::string body;
  for (const auto& [channel, khz] : channels) {
    body += "Channel " + to_string(channel) + " : " + to_string(khz) + " KHz\n";
  }
  if (channels.empty()) body = "No channel frequencies have been modified\n";
  return Cleared("fine-tuned list", body + "Press Enter to return...");
}
inline Screen Channels() {
  return Cleared("channel prompt", " Select a channel to fine tune (0 to 69) or 'x' when done: ");
}
inline Screen Channel(int channel, int default_khz, int current_khz) {
  return Cleared("frequency prompt", " Fine tuning channel " + to_string(channel) +
                                         ".\n Default frequency is: " + to_string(default_khz) +
                                         " KHz\n A value of zero will remove the entry.\n" +
                                         " Enter a new frequency [currently " +
                                         to_string(current_khz) + " KHz] or 'x' when done: ");
}
inline Screen ListFull() {
  return {"list full", "\nFine-tune list is full. Press any key to continue.\n"};
}

// Every setting in the file's order, with the built-in defaults.
struct Line {
  int t_bri = 125, t_con = 67, t_sat = 85, s_bri = 125, s_con = 67, s_sat = 85, c_bri = 125,
      c_con = 67, c_sat = 85, h_res = 544, d_audio = 0, t_type = 1, f_table = 99, h_shift = 195,
      rf_out = 60, l_delay = 0;
  std::string f_tune{};  // the list, without quotes

  std::string Text() const {
    const std::pair<const char*, int> fields[] = {
        {"t_bri", t_bri},     {"t_con", t_con},     {"t_sat", t_sat},     {"s_bri", s_bri},
        {"s_con", s_con},     {"s_sat", s_sat},     {"c_bri", c_bri},     {"c_con", c_con},
        {"c_sat", c_sat},     {"h_res", h_res},     {"d_audio", d_audio}, {"t_type", t_type},
        {"f_table", f_table}, {"h_shift", h_shift}, {"rf_out", rf_out},   {"l_delay", l_delay}};
    std::string text;
    for (const auto& [key, value] : fields) text += std::string(key) + "=" + to_string(value) + " ";
    return text + (f_tune.empty() ? "" : "f_tune=\"" + f_tune + "\"") + "\n";
  }
};

}  // namespace e2e
