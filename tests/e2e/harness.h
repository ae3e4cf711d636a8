// Drives the shipped quivet_config binary on the virtual board.
//
//   e2e::Sandbox box;                          // fresh folder, no config file
//   e2e::RunResult run = box.Run("1\n4\n6\n");  // keystrokes, then end of input
//   EXPECT_TRUE(e2e::RanCleanly(run));
//   EXPECT_SCREEN_EQ(e2e::MainMenuScreen() + ..., run.screen);
//   EXPECT_EQ(run.board.Register("CMD_T_BRI"), 200);
//   EXPECT_EQ(run.config, std::nullopt);
//
// The tool never touches this machine: the board answers for /dev/quivet,
// maps /etc/quivet.conf into the sandbox and only models mount; a `mount`
// that refuses stands first on PATH in case the board was not loaded.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "vboard/board_record.h"

namespace e2e {

struct RunOptions {
  bool board_missing = false;  // open("/dev/quivet") fails
  bool stuck_ro = false;       // remounting read-write has no effect
  // Zero: the build's default, longer when the tool runs under an emulator.
  std::chrono::milliseconds timeout{0};
  // Empty: the shipped tool. Otherwise a program and its arguments.
  std::vector<std::string> program{};
  // Words put before everything else (the emulator too), e.g. a wrapper
  // shell. QUIVET_TOOL_WRAPPER adds its words before these for every run.
  std::vector<std::string> wrapper{};
};

struct RunResult {
  std::string harness_error;  // set when the tool could not be run safely
  std::string screen;         // everything the tool wrote to stdout
  std::string errors;         // and to stderr
  int exit_code = -1;         // -1 unless it exited normally
  int signal = 0;
  bool timed_out = false;        // killed at the deadline
  bool output_flooded = false;   // killed for writing without end
  bool mount_attempted = false;  // a real mount was tried and refused
  double seconds = 0;
  vboard::BoardRecord board;          // this run's record only
  std::optional<std::string> config;  // the configuration file afterwards
};

class Sandbox {
 public:
  Sandbox();
  explicit Sandbox(std::string_view initial_config);
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  const std::string& dir() const { return dir_; }
  void WriteConfig(std::string_view bytes) const;
  std::optional<std::string> ReadConfig() const;

  // Runs once with the keystrokes as the whole of standard input.
  RunResult Run(std::string_view keystrokes, const RunOptions& options = {}) const;

 private:
  std::string dir_;
};

// Exit status 0 in time, board loaded and left through exit(), no protocol
// violation, no real mount attempted.
::testing::AssertionResult RanCleanly(const RunResult& run);

// Byte-exact comparison that reports the first differing offset and an
// excerpt of each side around it, non-printables escaped.
::testing::AssertionResult ScreensEqual(const char* expected_expr, const char* actual_expr,
                                        std::string_view expected, std::string_view actual);
#define EXPECT_SCREEN_EQ(expected, actual) \
  EXPECT_PRED_FORMAT2(::e2e::ScreensEqual, expected, actual)

// True when the part (a whole screen, say) occurs in the transcript.
::testing::AssertionResult Shows(const std::string& screen, const std::string& part);

// Printable form: \n, \e, \xHH.
std::string Escape(std::string_view bytes);

void PrintTo(const RunResult& run, std::ostream* out);

}  // namespace e2e
