#include "vboard/board_record.h"

#include <algorithm>
#include <charconv>

namespace vboard {

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::optional<std::int32_t> ToInt(std::string_view text) {
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace

bool BoardRecord::Contains(std::string_view event) const {
  return std::find(events.begin(), events.end(), event) != events.end();
}

bool BoardRecord::ContainsInOrder(const std::vector<std::string>& wanted) const {
  auto at = events.begin();
  for (const std::string& event : wanted) {
    at = std::find(at, events.end(), event);
    if (at == events.end()) return false;
    ++at;
  }
  return true;
}

std::optional<std::int32_t> BoardRecord::Register(std::string_view name) const {
  const auto it = registers.find(std::string(name));
  if (it == registers.end()) return std::nullopt;
  return it->second;
}

BoardRecord ParseBoardLog(std::string_view log) {
  BoardRecord record;
  for (std::string_view line : Lines(log)) {
    if (StartsWith(line, "start ")) {
      record = BoardRecord();
      record.started = true;
      continue;
    }
    if (line == "exit") {
      record.exited = true;
      continue;
    }
    record.events.emplace_back(line);
    if (StartsWith(line, "violation ")) {
      record.violations.emplace_back(line.substr(10));
    } else if (StartsWith(line, "ioctl ")) {
      const std::string_view rest = line.substr(6);
      const size_t blank = rest.find(' ');
      Command command;
      command.name = std::string(rest.substr(0, blank));
      if (blank != std::string_view::npos) command.arg = ToInt(rest.substr(blank + 1)).value_or(0);
      record.commands.push_back(command);
    }
  }
  return record;
}

std::map<std::string, std::int32_t> ParseBoardState(std::string_view state) {
  std::map<std::string, std::int32_t> registers;
  for (std::string_view line : Lines(state)) {
    const size_t blank = line.find(' ');
    if (blank == std::string_view::npos) continue;
    if (const auto value = ToInt(line.substr(blank + 1))) {
      registers[std::string(line.substr(0, blank))] = *value;
    }
  }
  return registers;
}

}  // namespace vboard
