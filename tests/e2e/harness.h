// Runs the shipped tool, unmodified, on the virtual board in a fresh sandbox:
// keystrokes in; screen transcript, board record and configuration file out.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// kNoInput: the board present, standard input closed.
enum class Board { kPresent, kMissing, kStuckReadOnly, kNoSandbox, kNoInput };

struct Outcome {
  int status = -1;        // exit status, 128 + signal, or -1 when killed at the deadline
  std::string screen;     // stdout, with "<CLEAR>" where the board saw a clear-screen
  std::string errors;     // stderr
  std::string record;     // board events but clears, "; "-joined
  std::string registers;  // board state at exit, by name, each ending in "; "
  std::optional<std::string> config;  // the file afterwards
  bool fenced_mount = false;          // a real mount was tried (and refused)
};

Outcome RunTool(const std::string& keys, const std::optional<std::string>& config,
                Board board = Board::kPresent);

// The non-empty parts of text between separators.
std::vector<std::string> Split(std::string_view text, std::string_view separator);

// One expected screen: its name, for failure messages, and its exact bytes.
struct Screen {
  std::string name;
  std::string text;
};

// Byte-exact; on a mismatch names the screen and shows its first differing line.
::testing::AssertionResult ShowsScreens(const std::vector<Screen>& expected,
                                        const std::string& actual);

}  // namespace e2e
