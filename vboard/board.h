// What the board's files share: its state, the C library's calls it
// forwards to, and the record's line. It names no tool header, so a change
// in the tool rebuilds only the board files that include one.
#pragma once

#include <errno.h>
#include <poll.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

// musl makes these macros for the plain calls; the board wraps both names.
#undef open64
#undef openat64
#undef fopen64
#undef stat64
// Named here, outside the namespace, where musl declares none: the board
// only passes its pointer on.
struct stat64;

// The calls the board forwards to the C library: name, result, parameters.
// The static test copy's --wrap list (CMakeLists.txt) names each of them.
#define VBOARD_REAL_CALLS(X)                   \
  X(open, int, const char*, int, ...)          \
  X(open64, int, const char*, int, ...)        \
  X(openat, int, int, const char*, int, ...)   \
  X(openat64, int, int, const char*, int, ...) \
  X(ioctl, int, int, unsigned long, ...)       \
  X(close, int, int)                           \
  X(fopen, FILE*, const char*, const char*)    \
  X(fopen64, FILE*, const char*, const char*)  \
  X(fclose, int, FILE*)                        \
  X(fsync, int, int)                           \
  X(system, int, const char*)                  \
  X(poll, int, struct pollfd*, nfds_t, int)    \
  X(stat, int, const char*, struct stat*)      \
  X(stat64, int, const char*, struct stat64*)

namespace vboard {

constexpr char kBoardPath[] = "/dev/quivet";
constexpr char kConfigPath[] = "/etc/quivet.conf";
constexpr int kPathMax = 1024;

// The C library's own calls, found when the board loads (calls.cpp).
#define VBOARD_MEMBER(name, result, ...) result (*name)(__VA_ARGS__);
struct RealCalls {
  VBOARD_REAL_CALLS(VBOARD_MEMBER)
};
#undef VBOARD_MEMBER

struct Board {
  bool ready;
  bool active;  // this process has talked to the board; see Line::Log()
  bool missing;
  bool stuck_ro;
  bool restart;
  bool stdout_is_tty;
  bool root_rw;  // root starts read-only in every process
  int log_fd;
  int board_fd = -1;         // -1 while closed
  int closed_board_fd = -1;  // last board fd, to catch commands sent after close
  FILE* config_file;
  bool config_writing;
  pid_t pid;
  char dir[kPathMax];
  char config_path[kPathMax];
  char state_path[kPathMax];
  char device_path[kPathMax];
};

extern RealCalls real;
extern Board board;

// One event line, built on the stack; truncation is marked, never hidden.
class Line {
 public:
  Line() {}  // user-provided: a Line() is not zeroed first
  Line& Add(std::string_view text) {
    const size_t room = sizeof(buf_) - 1 - len_;
    truncated_ = truncated_ || text.size() > room;
    memcpy(buf_ + len_, text.data(), text.size() < room ? text.size() : room);
    len_ += text.size() < room ? text.size() : room;
    return *this;
  }
  // Through uint32 so INT32_MIN formats without overflow.
  Line& Int(std::int32_t value) {
    const auto magnitude = static_cast<std::uint32_t>(value);
    if (value < 0) Put('-');
    return Digits(value < 0 ? 0u - magnitude : magnitude, 10u);
  }
  Line& Digits(std::uint32_t value, std::uint32_t base);
  Line& Escaped(const char* text);
  void WriteTo(int fd);
  void Log();
  bool Empty() const { return len_ == 0; }

 private:
  void Put(char c) { Add({&c, 1}); }
  char buf_[512];
  size_t len_ = 0;
  bool truncated_ = false;
};

// Recording must never disturb the errno that the tool sees.
class KeepErrno {
 public:
  KeepErrno() : saved_(errno) {}
  ~KeepErrno() { errno = saved_; }
  void Set(int error) { saved_ = error; }

 private:
  int saved_;
};

// calls.cpp
void ResolveRealCalls();
// record.cpp
void Violation(const char* what);
[[noreturn]] void Refuse(const char* message);
// registers.cpp
bool ReadText(const char* path, char* text, size_t size);
void LoadRegisters();
void Restart();
int OpenBoard(int flags);
int Command(int fd, unsigned long request, unsigned long raw);
void CloseHook(int fd);
// saved_line.cpp
bool SavedRegisters(std::int32_t* values);
// sandbox.cpp
bool OpenHook(const char* path, int flags, int* result);
FILE* FopenHook(FILE* (*fn)(const char*, const char*), const char* path, const char* mode);
void FsyncHook(int fd);
void FcloseHook();
const char* InSandbox(const char* path);
// shell.cpp
int SystemHook(const char* command);
// fault.cpp
void ReadFaultKnob(const char* value);
void Fault(const char* step);

}  // namespace vboard
