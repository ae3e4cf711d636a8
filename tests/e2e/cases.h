// One row of the session tables: the configuration file before, the keys,
// every screen, the commands the board received, and the file after. Every
// row is also checked against the board's whole record (device open and
// close, file reads, the save order).
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"

namespace e2e {

struct Case {
  std::string name;
  std::optional<std::string> file;  // before the run; nullopt: none
  std::string keys;                 // all of standard input
  std::vector<Screen> screens;
  std::string sent;                    // "CMD_T_BRI 200; CMD_F_TABLE 2"
  std::optional<std::string> saved{};  // the line written; nullopt: the file stays as it was
  Setup setup{};
};

// Failures name the row, not its bytes.
inline void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

// Fine-tune pairs "c:<500000 + c>" for channels from..to: eight characters, nine from 10 on.
inline std::string Pairs(int from, int to) {
  std::string list;
  for (int c = from; c <= to; ++c)
    list += (c > from ? "," : "") + to_string(c) + ":" + to_string(500000 + c);
  return list;
}

std::vector<Case> Readings();  // readings.cpp

}  // namespace e2e
