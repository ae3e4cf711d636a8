// What the tests expect to see: screens as the tool draws them (with the
// board's "<CLEAR>" marker where the screen is cleared), board events, and
// configuration lines as the writer produces them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace e2e {

inline constexpr std::string_view kClear = "<CLEAR>\n";
inline constexpr std::string_view kSaved = "Quivet successfully configured.\n";
inline constexpr std::string_view kSaveFailed = "Unable to save configuration.\n";

// Each of these starts with the clear marker, as the tool draws them.
// A screen as the tool draws it: the clear marker, then the body.
std::string Cleared(std::string_view body);

std::string MainMenuScreen();
std::string MissingBoardScreen();  // ends at "Press any key to continue..."
std::string InputSelectionScreen();
std::string InputSettingsScreen(std::string_view input);  // "Tuner", "Composite", "S-Video"
// setting: "Brightness" (0 to 255), "Contrast" or "Colour" (0 to 127).
std::string PicturePromptScreen(std::string_view setting, std::int32_t current);
std::string AudioMenuScreen(bool enabled);
std::string TunerMenuScreen(std::string_view tuner, std::string_view table, bool rf_item);
std::string FineTuningMenuScreen();
// Channel and frequency pairs, in the order shown.
std::string FineTuneListScreen(const std::vector<std::pair<int, std::int32_t>>& channels);

// Board events, as the virtual board records them.
namespace event {
inline const std::string kOpen = "open /dev/quivet O_RDWR -> ok";
inline const std::string kOpenMissing = "open /dev/quivet -> missing";
inline const std::string kClear = "system <clear-screen>";
inline const std::string kClose = "close /dev/quivet";
inline const std::string kReadConfig = "fopen /etc/quivet.conf r -> ok";
inline const std::string kReadNoConfig = "fopen /etc/quivet.conf r -> ENOENT";
inline const std::string kMountRw = "system mount -o remount,rw /";
inline const std::string kMountRo = "system mount -o remount,ro /";
inline const std::string kWriteConfig = "fopen /etc/quivet.conf w+ -> ok";
inline const std::string kWriteConfigReadOnly = "fopen /etc/quivet.conf w+ -> EROFS";
inline const std::string kFsync = "fsync /etc/quivet.conf";
inline const std::string kFclose = "fclose /etc/quivet.conf";
}  // namespace event

// Every setting in the writer's order, with the built-in defaults.
struct ConfigValues {
  std::int32_t t_bri = 125;
  std::int32_t t_con = 67;
  std::int32_t t_sat = 85;
  std::int32_t s_bri = 125;
  std::int32_t s_con = 67;
  std::int32_t s_sat = 85;
  std::int32_t c_bri = 125;
  std::int32_t c_con = 67;
  std::int32_t c_sat = 85;
  std::int32_t h_res = 544;
  std::int32_t d_audio = 0;
  std::int32_t t_type = 1;
  std::int32_t f_table = 99;
  std::int32_t h_shift = 195;
  std::int32_t rf_out = 60;
  std::int32_t l_delay = 0;
  std::string f_tune{};  // the list without quotes; empty: no f_tune key
};

// The whole file the writer produces for these values.
std::string ConfigLine(const ConfigValues& values = {});

// Concatenates screens: Screens({MainMenuScreen(), ...}).
std::string Screens(const std::vector<std::string>& parts);

}  // namespace e2e
