// The virtual board itself: the faults it must catch in a tool, driven by a
// probe program that makes calls the real tool never makes.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"

namespace e2e {
namespace {

const std::string kClearCommand =
    "system:command echo -ne '\x1b"
    "c' && stty sane";

struct BoardCase {
  const char* name;
  std::vector<std::string> calls;  // see board_probe.cpp
  RunOptions options;
  std::vector<std::string> events;
  std::map<std::string, std::int32_t> registers;
};

std::vector<BoardCase> BoardCases() {
  using namespace event;
  return {
      {"RegistersKeepLastValue",
       {"open:2", "ioctl:0:200", "ioctl:0:7", "ioctl:11:-4", "ioctl:16:1158483154", "close"},
       {},
       {kOpen, "ioctl CMD_T_BRI 200", "ioctl CMD_T_BRI 7", "ioctl CMD_L_DELAY -4",
        "ioctl CMD_F_TUNE 1158483154", kClose},
       {{"CMD_T_BRI", 7}, {"CMD_L_DELAY", -4}, {"CMD_F_TUNE", 1158483154}}},
      {"ReservedAndUnknownCodes",
       {"open:2", "ioctl:13:5", "ioctl:17:1"},
       {},
       {kOpen, "ioctl 13 5", "violation reserved code 13", "ioctl 17 1",
        "violation unknown code 17"},
       {}},
      {"ArgumentsOutsideTheProtocol",
       {"open:2", "ioctl:9:500", "ioctl:1:128", "ioctl:16:1174405120", "ioctl:15:27"},
       {},
       {kOpen, "ioctl CMD_H_RES 500", "violation argument out of range CMD_H_RES 500",
        "ioctl CMD_T_CON 128", "violation argument out of range CMD_T_CON 128",
        "ioctl CMD_F_TUNE 1174405120", "violation argument out of range CMD_F_TUNE 1174405120",
        "ioctl CMD_RF_OUT 27", "violation argument out of range CMD_RF_OUT 27"},
       {{"CMD_H_RES", 500}, {"CMD_T_CON", 128}, {"CMD_F_TUNE", 1174405120}, {"CMD_RF_OUT", 27}}},
      {"OpenFlagsMustBeExactlyReadWrite",
       {"open:66"},
       {},
       {"open /dev/quivet flags 0x42 -> ok", "violation open flags are not exactly O_RDWR"},
       {}},
      {"CommandAfterClose",
       {"open:2", "close", "ioctl:0:1"},
       {},
       {kOpen, kClose, "ioctl CMD_T_BRI 1", "violation command sent after close"},
       {}},
      {"MissingBoard", {"open:2", "ioctl:0:1"}, {.board_missing = true}, {kOpenMissing}, {}},
      {"ConfigWritableOnlyBetweenRemounts",
       {"fopen:/etc/quivet.conf:w+", "system:mount -o remount,rw /", "fopen:/etc/quivet.conf:a",
        "system:mount -o remount,ro /", "fopen:/etc/quivet.conf:r+", "fopen:/etc/quivet.conf:r"},
       {},
       {kWriteConfigReadOnly, kMountRw, "fopen /etc/quivet.conf a -> ok", kFsync, kFclose, kMountRo,
        "fopen /etc/quivet.conf r+ -> EROFS", kReadConfig, kFsync, kFclose},
       {}},
      {"StuckReadOnly",
       {"system:mount -o remount,rw /", "fopen:/etc/quivet.conf:w+"},
       {.stuck_ro = true},
       {kMountRw, kWriteConfigReadOnly},
       {}},
      {"NothingElseUnderEtcOrDev",
       {"fopen:/etc/passwd:r", "fopen:/dev/quivet:r+"},
       {},
       {"fopen /etc/passwd r -> refused", "violation file outside the sandbox",
        "fopen /dev/quivet r+ -> refused", "violation file outside the sandbox"},
       {}},
      {"ShellRunsOnlyTheClearCommand",
       {kClearCommand, "system:touch ran", "system:mount -o remount,rw /x"},
       {},
       {event::kClear, "system touch ran", "violation shell command not allowed",
        "system mount -o remount,rw /x", "violation shell command not allowed"},
       {}},
  };
}

void PrintTo(const BoardCase& c, std::ostream* out) {
  *out << c.name;
}

class VirtualBoard : public ::testing::TestWithParam<BoardCase> {};

TEST_P(VirtualBoard, RecordsAndRegisters) {
  const BoardCase& c = GetParam();
  Sandbox box;
  RunOptions options = c.options;
  options.program = {QUIVET_E2E_PROBE};
  options.program.insert(options.program.end(), c.calls.begin(), c.calls.end());
  const RunResult run = box.Run("", options);
  ASSERT_EQ(run.harness_error, "");
  ASSERT_EQ(run.exit_code, 0) << run.errors;
  EXPECT_TRUE(run.board.started && run.board.exited);
  EXPECT_EQ(run.board.events, c.events);
  EXPECT_EQ(run.board.registers, c.registers);
  EXPECT_FALSE(run.mount_attempted);
}

INSTANTIATE_TEST_SUITE_P(Protocol, VirtualBoard, ::testing::ValuesIn(BoardCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VirtualBoardShell, ClearMarkerKeepsItsPlaceInBufferedOutput) {
  Sandbox box;
  const RunResult run = box.Run("", {.program = {QUIVET_E2E_PROBE, "open:2", kClearCommand}});
  ASSERT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.screen, "open ok\n<CLEAR>\nsystem 0\n");
  EXPECT_FALSE(Shows(run.screen, "\x1b"));
}

TEST(VirtualBoardShell, OtherCommandsAreNeverRun) {
  Sandbox box;
  const RunResult run = box.Run("", {.program = {QUIVET_E2E_PROBE, "system:touch ran"}});
  ASSERT_EQ(run.exit_code, 0);
  EXPECT_FALSE(std::filesystem::exists(box.dir() + "/ran"));
}

// Wrapper scripts (valgrind's, for one) load the board first; it must still
// reach the tool they exec. Exit without saving keeps a failure harmless.
TEST(VirtualBoardLoading, SurvivesAWrapperShell) {
  Sandbox box;
  const RunResult run = box.Run("6\n", {.wrapper = {"/bin/sh", "-c", "exec \"$0\" \"$@\""}});
  ASSERT_TRUE(RanCleanly(run));
  EXPECT_EQ(run.board.events.front(), event::kOpen);
}

TEST(VirtualBoardLoading, RefusesToRunWithoutSandbox) {
  Sandbox box;
  const RunResult run = box.Run("", {.wrapper = {"/usr/bin/env", "-u", "QUIVET_VBOARD_DIR"}});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_EQ(run.screen, "");
  EXPECT_TRUE(Shows(run.errors, "QUIVET_VBOARD_DIR is not set"));
}

// A tool that never ends must fail its test, not hang the suite.
TEST(Harness, SpinningToolIsKilledAtTheDeadline) {
  Sandbox box;
  const RunResult run = box.Run(
      "", {.timeout = std::chrono::milliseconds(500), .program = {QUIVET_E2E_PROBE, "spin"}});
  EXPECT_TRUE(run.timed_out);
  EXPECT_EQ(run.signal, SIGKILL);
  EXPECT_FALSE(RanCleanly(run));
}

TEST(Harness, EndlessOutputIsCut) {
  Sandbox box;
  const RunResult run = box.Run("", {.program = {QUIVET_E2E_PROBE, "flood"}});
  EXPECT_TRUE(run.output_flooded);
  EXPECT_FALSE(RanCleanly(run));
}

}  // namespace
}  // namespace e2e
