// Reads what the virtual board wrote (board.log, board.state) back into a
// form tests can query. Formats are described at the top of vboard.cpp.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vboard {

struct Command {
  std::string name;  // "CMD_T_BRI", or the bare code when it has no name
  std::int32_t arg = 0;
  bool operator==(const Command&) const = default;
};

struct BoardRecord {
  bool started = false;                           // the board was loaded into the process
  bool exited = false;                            // the process left through exit(), not a signal
  std::vector<std::string> events;                // every line but start/exit, in order
  std::vector<Command> commands;                  // the ioctl lines
  std::vector<std::string> violations;            // text after "violation "
  std::map<std::string, std::int32_t> registers;  // from board.state

  bool Contains(std::string_view event) const;
  // True when the given events occur in this order, others in between allowed.
  bool ContainsInOrder(const std::vector<std::string>& wanted) const;
  std::optional<std::int32_t> Register(std::string_view name) const;
};

// Parses the last run found in the log text.
BoardRecord ParseBoardLog(std::string_view log);
std::map<std::string, std::int32_t> ParseBoardState(std::string_view state);

}  // namespace vboard
