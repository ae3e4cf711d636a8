// The sandbox: the board's start, which reads its environment once, and the
// paths the tool's calls are led to inside the folder.
//   QUIVET_VBOARD_DIR        the folder, made (0700) when only its last part
//                            is missing; without it the process exits(2)
//   QUIVET_VBOARD_MISSING=1  no board: open("/dev/quivet") fails with ENOENT,
//                            and the record says "missing"
//   QUIVET_VBOARD_STUCK_RO=1 "mount -o remount,rw /" does not take effect
//   QUIVET_VBOARD_RESTART=1  the host restarted before this run (registers.cpp)
//   QUIVET_VBOARD_SIGNAL=<signo>@<step>  the fault knob (fault.cpp)
// "/dev/quivet" opens <dir>/board.dev, so a lock on the board is the
// sandbox's alone; "/etc" and stat of /etc/quivet.conf lead into the folder,
// and fopen of /etc/quivet.conf opens <dir>/quivet.conf, for writing only
// while the modelled root is read-write. open of the file, and fopen of any
// other path under /etc or /dev/quivet, is refused.

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "vboard/board.h"

namespace vboard {

constinit Board board{};

static bool Is(const char* path, const char* wanted) {
  return path != nullptr && strcmp(path, wanted) == 0;
}

static bool Flag(const char* name) {
  const char* value = getenv(name);
  return value != nullptr && value[0] == '1' && value[1] == '\0';
}

static bool JoinPath(char* out, const char* dir, const char* name) {
  return snprintf(out, kPathMax, "%s/%s", dir, name) < kPathMax;
}

__attribute__((constructor)) void BoardStart() {
  ResolveRealCalls();
  const char* dir = getenv("QUIVET_VBOARD_DIR");
  if (dir == nullptr || dir[0] == '\0') {
    Refuse("QUIVET_VBOARD_DIR is not set; refusing to run without a sandbox");
  }
  char log_path[kPathMax];
  if (!JoinPath(log_path, dir, "board.log") || !JoinPath(board.config_path, dir, "quivet.conf") ||
      !JoinPath(board.state_path, dir, "board.state") ||
      !JoinPath(board.device_path, dir, "board.dev")) {
    Refuse("QUIVET_VBOARD_DIR is too long");
  }
  memcpy(board.dir, dir, strlen(dir) + 1);
  mkdir(dir, 0700);  // one level: without its parent the run stops below
  board.log_fd = real.open(log_path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (board.log_fd < 0) Refuse("cannot open board.log in QUIVET_VBOARD_DIR");
  // Out of the way: the tool must get the same numbers as without the board.
  const int high = fcntl(board.log_fd, F_DUPFD_CLOEXEC, 100);
  if (high >= 0) {
    real.close(board.log_fd);
    board.log_fd = high;
  }
  board.missing = Flag("QUIVET_VBOARD_MISSING");
  board.stuck_ro = Flag("QUIVET_VBOARD_STUCK_RO");
  board.restart = Flag("QUIVET_VBOARD_RESTART");
  ReadFaultKnob(getenv("QUIVET_VBOARD_SIGNAL"));
  board.stdout_is_tty = isatty(1) != 0;
  LoadRegisters();
  board.ready = true;
}

// Returns true when the path is the board's business; *result is then set.
bool OpenHook(const char* path, int flags, int* result) {
  if (!board.ready) return false;
  if (Is(path, kBoardPath)) {
    *result = OpenBoard(flags);
    return true;
  }
  if (Is(path, "/etc")) {
    *result = real.open(board.dir, flags);
    return true;
  }
  if (Is(path, kConfigPath)) {
    KeepErrno keep;
    keep.Set(EACCES);
    Line().Add("open ").Add(path).Add(" -> refused").Log();
    Violation("configuration file opened without stdio");
    *result = -1;
    return true;
  }
  return false;
}

const char* InSandbox(const char* path) {
  return board.ready && Is(path, kConfigPath) ? board.config_path : path;
}

static const char* ErrnoName(int error) {
  return error == ENOENT   ? "ENOENT"
         : error == EROFS  ? "EROFS"
         : error == EACCES ? "EACCES"
         : error == EISDIR ? "EISDIR"
                           : nullptr;
}

static bool UnderEtcOrBoard(const char* path) {
  return strncmp(path, "/etc/", 5) == 0 || strncmp(path, kBoardPath, sizeof(kBoardPath) - 1) == 0;
}

FILE* FopenHook(FILE* (*fn)(const char*, const char*), const char* path, const char* mode) {
  if (!board.ready || path == nullptr || mode == nullptr) return fn(path, mode);
  if (!Is(path, kConfigPath)) {
    if (!UnderEtcOrBoard(path)) return fn(path, mode);
    KeepErrno keep;
    keep.Set(EACCES);
    Line().Add("fopen ").Escaped(path).Add(" ").Escaped(mode).Add(" -> refused").Log();
    Violation("file outside the sandbox");
    return nullptr;
  }
  Line line;
  line.Add("fopen /etc/quivet.conf ").Escaped(mode).Add(" -> ");
  const bool writes = strpbrk(mode, "wa+") != nullptr;
  FILE* file = nullptr;
  if (writes && !board.root_rw) {  // as the host's read-only root would
    errno = EROFS;
  } else {
    file = fn(board.config_path, mode);
  }
  KeepErrno keep;
  if (file == nullptr) {
    const char* name = ErrnoName(errno);
    if (name != nullptr) {
      line.Add(name).Log();
    } else {
      line.Add("errno ").Int(errno).Log();
    }
    return nullptr;
  }
  line.Add("ok").Log();
  if (board.config_file != nullptr) Violation("configuration file opened twice");
  board.config_file = file;
  board.config_writing = writes;
  if (fileno(file) == board.closed_board_fd) board.closed_board_fd = -1;
  if (writes) Fault("open");
  return file;
}

// The size at fsync is what a power cut would leave on the medium.
void FsyncHook(int fd) {
  KeepErrno keep;
  struct stat st {};
  const std::int32_t size = fstat(fd, &st) == 0 ? static_cast<std::int32_t>(st.st_size) : -1;
  Fault("sync");
  Line().Add("fsync /etc/quivet.conf ").Int(size).Add(" bytes").Log();
}

void FcloseHook() {
  if (board.config_writing) Fault("close");
  KeepErrno keep;
  Line().Add("fclose /etc/quivet.conf").Log();
  board.config_file = nullptr;
}

}  // namespace vboard
