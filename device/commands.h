// The board's command set: codes, names and the argument each accepts.
// Header-only so the virtual board can check the same protocol.
#pragma once

#include <cstdint>
#include <string_view>

namespace quivet {

enum DeviceCommandCode : int {
  CMD_T_BRI = 0,
  CMD_T_CON = 1,
  CMD_T_SAT = 2,
  CMD_S_BRI = 3,
  CMD_S_CON = 4,
  CMD_S_SAT = 5,
  CMD_C_BRI = 6,
  CMD_C_CON = 7,
  CMD_C_SAT = 8,
  CMD_H_RES = 9,
  CMD_H_SHIFT = 10,
  CMD_L_DELAY = 11,
  CMD_D_AUDIO = 12,
  // 13 is reserved and never sent.
  CMD_F_TABLE = 14,
  CMD_RF_OUT = 15,
  CMD_F_TUNE = 16,
};

inline constexpr int kCommandCount = 17;

struct CommandInfo {
  std::string_view name;  // empty for the reserved code
  std::int32_t min;
  std::int32_t max;
};

inline constexpr CommandInfo kCommands[kCommandCount] = {
    {"CMD_T_BRI", 0, 255},
    {"CMD_T_CON", 0, 127},
    {"CMD_T_SAT", 0, 127},
    {"CMD_S_BRI", 0, 255},
    {"CMD_S_CON", 0, 127},
    {"CMD_S_SAT", 0, 127},
    {"CMD_C_BRI", 0, 255},
    {"CMD_C_CON", 0, 127},
    {"CMD_C_SAT", 0, 127},
    {"CMD_H_RES", 480, 720},
    {"CMD_H_SHIFT", 0, 255},
    {"CMD_L_DELAY", -4, 3},
    {"CMD_D_AUDIO", 0, 1},
    {"", 0, -1},
    {"CMD_F_TABLE", 0, 4},
    {"CMD_RF_OUT", 28, 69},
    {"CMD_F_TUNE", INT32_MIN, INT32_MAX},
};

// Channel in bits 31-24; only the low 24 bits of the frequency travel.
constexpr std::int32_t PackFineTune(std::int32_t channel, std::int32_t freq) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(channel) << 24) |
                                   (static_cast<std::uint32_t>(freq) & 0xFFFFFFu));
}

// True when the board accepts this code with this argument.
constexpr bool CommandIsValid(int code, std::int32_t arg) {
  if (code < 0 || code >= kCommandCount || kCommands[code].name.empty()) return false;
  if (code == CMD_H_RES) return arg == 480 || arg == 544 || arg == 720;
  if (code == CMD_F_TUNE) return (static_cast<std::uint32_t>(arg) >> 24) <= 69;
  return arg >= kCommands[code].min && arg <= kCommands[code].max;
}

}  // namespace quivet
