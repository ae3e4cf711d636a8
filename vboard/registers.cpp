// The device behind /dev/quivet: its handle, the commands it takes by the
// tool's own rulebook, and the registers they leave. The real board keeps its
// registers until the host restarts; so the sandbox's board keeps them in
// <dir>/board.state, read at load, rewritten at every command it keeps and at
// a restart: "<NAME> <value>" for every register that holds one, in code
// order.

#include <fcntl.h>
#include <unistd.h>

#include <string_view>

#include "device/commands.h"
#include "vboard/board.h"

namespace vboard {

static bool set[quivet::kCommandCount];
static std::int32_t reg[quivet::kCommandCount];

// A small file's text, cut to size - 1 bytes; false when there is none.
bool ReadText(const char* path, char* text, size_t size) {
  const int fd = real.open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  if (read(fd, text, size - 1) < 0) text[0] = '\0';
  real.close(fd);
  return true;
}

static void SaveRegisters() {
  Line text;
  for (int code = 0; code < quivet::kCommandCount; ++code) {
    if (!set[code]) continue;
    text.Add(text.Empty() ? "" : "\n").Add(quivet::kCommands[code].name).Add(" ").Int(reg[code]);
  }
  const int fd = real.open(board.state_path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd >= 0 && !text.Empty()) text.WriteTo(fd);
  if (fd >= 0) real.close(fd);
}

void LoadRegisters() {
  char text[quivet::kCommandCount * 32] = {};
  ReadText(board.state_path, text, sizeof text);
  for (int code = 0; code < quivet::kCommandCount; ++code) {
    const std::string_view name = quivet::kCommands[code].name;  // ends in a NUL
    const char* at = name.empty() ? nullptr : strstr(text, name.data());
    set[code] = at != nullptr && sscanf(at + name.size(), "%d", &reg[code]) == 1;
  }
}

// The host's start-up sends what the tool would show of the saved line, and
// the board keeps what it accepts; without the file it sends nothing.
void Restart() {
  Line().Add("restart").Log();
  const bool saved = SavedRegisters(reg);
  for (int code = 0; code < quivet::kCommandCount; ++code)
    set[code] = saved && quivet::CommandIsValid(code, reg[code]);
  SaveRegisters();
}

// QUIVET_VBOARD_MISSING=1: no board, ENOENT, and "missing" in the record.
int OpenBoard(int flags) {
  KeepErrno keep;
  Line line;
  line.Add("open /dev/quivet ");
  if (board.missing) {
    line.Add("-> missing").Log();
    keep.Set(ENOENT);
    return -1;
  }
  if (flags == O_RDWR) {
    line.Add("O_RDWR ");
  } else {
    line.Add("flags 0x").Digits(static_cast<std::uint32_t>(flags), 16u).Add(" ");
  }
  const int fd = real.open(board.device_path, O_RDWR | O_CREAT, 0600);
  if (fd < 0) {
    line.Add("-> failed").Log();
    Violation("board could not be modelled");
    return -1;
  }
  line.Add("-> ok").Log();
  if (flags != O_RDWR) Violation("open flags are not exactly O_RDWR");
  if (fd <= 2) Violation("the device took a standard descriptor");
  if (board.board_fd >= 0) Violation("board opened twice");
  board.board_fd = fd;
  board.closed_board_fd = -1;
  return fd;
}

// An ioctl on the board's handle, open or closed.
int Command(int fd, unsigned long request, unsigned long raw) {
  KeepErrno keep;
  // The argument is a 32-bit value passed in a register of either width.
  const std::int32_t arg = static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
  const auto code = static_cast<std::int32_t>(request);
  const bool known = request < static_cast<unsigned long>(quivet::kCommandCount);
  const std::string_view name = known ? quivet::kCommands[code].name : "";
  Line line;
  line.Add("ioctl ");
  if (name.empty()) {
    line.Int(code);
  } else {
    line.Add(name);
  }
  line.Add(" ").Int(arg).Log();
  if (fd != board.board_fd) {
    Violation("command sent after close");
    keep.Set(EBADF);
    return -1;
  }
  if (name.empty()) {
    Line().Add(known ? "violation reserved code " : "violation unknown code ").Int(code).Log();
    return -1;
  }
  if (!quivet::CommandIsValid(code, arg)) {
    Line().Add("violation argument out of range ").Add(name).Add(" ").Int(arg).Log();
  }
  set[code] = true;
  reg[code] = arg;
  SaveRegisters();
  return 0;
}

void CloseHook(int fd) {
  if (fd == board.board_fd) {
    KeepErrno keep;
    Line().Add("close /dev/quivet").Log();
    board.board_fd = -1;
    board.closed_board_fd = fd;
  } else if (fd == board.closed_board_fd) {
    board.closed_board_fd = -1;  // the number is someone else's from now on
  }
}

}  // namespace vboard
