// The host's shell as system() meets it: every command is recorded and none
// but the clear-screen one runs. The two remounts only set the modelled root
// (the read-write one not with QUIVET_VBOARD_STUCK_RO=1); any other command
// is a violation. The clear-screen runs only on a terminal; elsewhere the board
// writes "<CLEAR>\n" to stdout, so transcripts show where the screen was
// cleared.

#include <stdlib.h>
#include <unistd.h>

#include "vboard/board.h"

namespace vboard {

#define CLEAR_SCREEN "command echo -ne '\033c' && stty sane"
static constexpr char kClearCommand[] = CLEAR_SCREEN;
// As the host runs it: by BusyBox's shell, whose echo takes -ne (dash's
// prints them), wherever PATH has one.
static constexpr char kHostClear[] =
    "command -v busybox >/dev/null && exec busybox sh -c \"" CLEAR_SCREEN "\"; " CLEAR_SCREEN;
static constexpr char kMountRw[] = "mount -o remount,rw /";
static constexpr char kMountRo[] = "mount -o remount,ro /";

// The C library's system(), whose wait a Ctrl-C at the shell does not end,
// run without the board: the clear-screen shell and its stty must not start
// runs of their own in the record.
static int RunWithoutBoard(const char* command) {
  char* env[256];
  size_t n = 0;
  for (char** e = environ; *e != nullptr && n < sizeof(env) / sizeof(env[0]) - 1; ++e) {
    if (strncmp(*e, "LD_PRELOAD=", 11) != 0) env[n++] = *e;
  }
  env[n] = nullptr;
  char** const saved = environ;
  environ = env;
  const int status = real.system(command);
  environ = saved;
  return status;
}

int SystemHook(const char* command) {
  if (command == nullptr) return 1;  // a shell is available
  Line line;
  line.Add("system ");
  if (strcmp(command, kClearCommand) == 0) {
    line.Add("<clear-screen>").Log();
    if (board.stdout_is_tty) return RunWithoutBoard(kHostClear);
    fputs("<CLEAR>\n", stdout);
    return 0;
  }
  if (strcmp(command, kMountRo) == 0) Fault("ro");
  line.Escaped(command).Log();
  if (strcmp(command, kMountRw) == 0) {
    if (!board.stuck_ro) board.root_rw = true;
    Fault("rw");
  } else if (strcmp(command, kMountRo) == 0) {
    board.root_rw = false;
  } else {
    Violation("shell command not allowed");
  }
  return 0;
}

}  // namespace vboard
