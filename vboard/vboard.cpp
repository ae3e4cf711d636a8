// The virtual quivet board: preloaded into the unmodified tool, it answers
// for "/dev/quivet", keeps the board's registers, and fences the tool's
// configuration file and shell commands into a sandbox folder.
//
// Environment (read once, in the constructor):
//   QUIVET_VBOARD_DIR        sandbox folder; without it the process exits(2)
//   QUIVET_VBOARD_MISSING=1  no board: open("/dev/quivet") fails with ENOENT
//   QUIVET_VBOARD_STUCK_RO=1 "mount -o remount,rw /" does not take effect
//   QUIVET_VBOARD_RESTART=1  the host restarted before this run: see "restart"
//   QUIVET_VBOARD_SIGNAL=<signo>@<step>  raises that signal at one step of a
//                            save: rw (the read-write remount has returned),
//                            open, sync, close (of the written file), ro
//
// "/dev/quivet" opens <dir>/board.dev, so a lock on the board is the
// sandbox's alone; "/etc" and stat of /etc/quivet.conf lead into the sandbox.
//
// <dir>/board.log, appended, one event per line:
//   start pid <pid>                          (before the first event of a run)
//   restart                                  (then the registers are those the
//     saved line gives, as the tool reads it, that the board accepts; the
//     last fine-tuned channel's pair in CMD_F_TUNE; none without the file)
//   open /dev/quivet O_RDWR -> ok | open /dev/quivet flags 0x<hex> -> ok
//   open /dev/quivet -> missing
//   open <path> -> refused                   (/etc/quivet.conf via open)
//   ioctl <NAME> <arg>                       (ioctl <code> <arg> without a name)
//   close /dev/quivet
//   system <clear-screen> | system <command, non-printables as \xHH>
//     Only the clear-screen command runs, and only on a terminal, by BusyBox's
//     shell when PATH has one; elsewhere it prints "<CLEAR>\n" to stdout.
//     mount only flips the modelled root.
//   fopen /etc/quivet.conf <mode> -> ok | ENOENT | EROFS | errno <n>
//   fopen <path> <mode> -> refused
//   fsync /etc/quivet.conf <size> bytes       (the file's size as synced)
//   fclose /etc/quivet.conf
//   poll standard input                      (the tool waits for its keys)
//   raise <signo>                            (the fault knob: after the event
//                                             of rw and open, before that of
//                                             sync, close and ro, whose call
//                                             has not been made)
//   violation <what>                         (follows the event it concerns)
//   exit
// <dir>/board.state, read at load, rewritten at every command the board keeps
// and at a restart: "<NAME> <value>" for every register that holds one, in
// code order.
//
// The board lives inside the tool's heap and time budgets: no allocation, no
// stdio stream of its own, one write(2) per event.

#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

#include "device/commands.h"
#include "settings/config_reader.h"

// musl makes these macros for the plain calls; the board wraps both names.
#undef open64
#undef openat64
#undef fopen64
#undef stat64

#ifdef QUIVET_VBOARD_LINKED
// Linked into a static test copy of the tool with -Wl,--wrap=<call>, which
// ignores LD_PRELOAD: the tool's calls arrive as __wrap_<call>, and the C
// library's own are __real_<call>, as there is no loader to ask.
#define BOARD_CALL(name) __wrap_##name
#define NEXT(name) reinterpret_cast<void*>(&__real_##name)
#if _REDIR_TIME64  // musl on 32 bits: the tool's stat is the 64-bit time call of this name
#define __wrap_stat __wrap___stat_time64
#define __real_stat __real___stat_time64
#endif
extern "C" {
int __real_open(const char*, int, ...);
int __real_open64(const char*, int, ...);
int __real_openat(int, const char*, int, ...);
int __real_openat64(int, const char*, int, ...);
int __real_ioctl(int, unsigned long, ...);
int __real_close(int);
FILE* __real_fopen(const char*, const char*);
FILE* __real_fopen64(const char*, const char*);
int __real_fclose(FILE*);
int __real_fsync(int);
int __real_system(const char*);
int __real_poll(struct pollfd*, nfds_t, int);
int __real_stat(const char*, struct stat*);
int __real_stat64(const char*, struct stat64*);
}
#else
#define BOARD_CALL(name) name
#define NEXT(name) dlsym(RTLD_NEXT, #name)
#endif

namespace {

constexpr char kBoardPath[] = "/dev/quivet";
constexpr char kConfigPath[] = "/etc/quivet.conf";
#define CLEAR_SCREEN "command echo -ne '\033c' && stty sane"
constexpr char kClearCommand[] = CLEAR_SCREEN;
// As the host runs it: by BusyBox's shell, whose echo takes -ne (dash's
// prints them), wherever PATH has one.
constexpr char kHostClear[] =
    "command -v busybox >/dev/null && exec busybox sh -c \"" CLEAR_SCREEN "\"; " CLEAR_SCREEN;
constexpr char kMountRw[] = "mount -o remount,rw /";
constexpr char kMountRo[] = "mount -o remount,ro /";
constexpr int kPathMax = 1024;

using OpenFn = int (*)(const char*, int, ...);
using OpenatFn = int (*)(int, const char*, int, ...);
using IoctlFn = int (*)(int, unsigned long, ...);
using CloseFn = int (*)(int);
using FopenFn = FILE* (*)(const char*, const char*);
using FcloseFn = int (*)(FILE*);
using FsyncFn = int (*)(int);
using SystemFn = int (*)(const char*);
using PollFn = int (*)(struct pollfd*, nfds_t, int);
using StatFn = int (*)(const char*, struct stat*);
using Stat64Fn = int (*)(const char*, struct stat64*);

struct RealCalls {
  OpenFn open;
  OpenFn open64;
  OpenatFn openat;
  OpenatFn openat64;
  IoctlFn ioctl;
  CloseFn close;
  FopenFn fopen;
  FopenFn fopen64;
  FcloseFn fclose;
  FsyncFn fsync;
  SystemFn system;
  PollFn poll;
  StatFn stat;
  Stat64Fn stat64;
};

struct Board {
  bool ready;
  bool active;  // this process has talked to the board; see Log()
  bool missing;
  bool stuck_ro;
  bool restart;
  bool stdout_is_tty;
  bool root_rw;  // root starts read-only in every process
  int log_fd;
  int board_fd;         // -1 while closed
  int closed_board_fd;  // last board fd, to catch commands sent after close
  FILE* config_file;
  int config_fd;
  bool config_writing;
  int fault_signal;  // 0: none
  char fault_step[8];
  pid_t pid;
  bool set[quivet::kCommandCount];
  std::int32_t reg[quivet::kCommandCount];
  char dir[kPathMax];
  char config_path[kPathMax];
  char state_path[kPathMax];
  char device_path[kPathMax];
};

RealCalls real;
Board board;

// One event line, built on the stack; truncation is marked, never hidden.
class Line {
 public:
  Line() {}  // user-provided: a Line() is not zeroed first
  Line& Add(const char* text) { return Add(text, strlen(text)); }
  Line& Add(const char* text, size_t n) {
    const size_t room = sizeof(buf_) - 1 - len_;
    truncated_ = truncated_ || n > room;
    memcpy(buf_ + len_, text, n < room ? n : room);
    len_ += n < room ? n : room;
    return *this;
  }
  // Through uint32 so INT32_MIN formats without overflow.
  Line& Int(std::int32_t value) {
    const auto magnitude = static_cast<std::uint32_t>(value);
    if (value < 0) Put('-');
    return Digits(value < 0 ? 0u - magnitude : magnitude, 10u);
  }
  Line& Digits(std::uint32_t value, std::uint32_t base) {
    char digits[32];
    char* first = digits + sizeof digits;
    do {
      *--first = "0123456789abcdef"[value % base];
      value /= base;
    } while (value != 0u);
    return Add(first, static_cast<size_t>(digits + sizeof digits - first));
  }
  // Shell text on one line: non-printables as \xHH, backslash doubled.
  Line& Escaped(const char* text) {
    for (; *text != '\0'; ++text) {
      const unsigned char c = static_cast<unsigned char>(*text);
      if (c == '\\') {
        Add("\\\\");
      } else if (c < 0x20 || c >= 0x7F) {
        Add("\\x");
        Put("0123456789abcdef"[c >> 4]);
        Put("0123456789abcdef"[c & 0xFu]);
      } else {
        Put(static_cast<char>(c));
      }
    }
    return *this;
  }
  void WriteTo(int fd) {
    if (truncated_) {
      len_ = sizeof(buf_) - 5;
      Add("...");
    }
    buf_[len_++] = '\n';
    size_t done = 0;
    while (done < len_) {
      const ssize_t n = write(fd, buf_ + done, len_ - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return;
      done += static_cast<size_t>(n);
    }
  }
  void Log();
  bool Empty() const { return len_ == 0; }

 private:
  void Put(char c) {
    if (len_ < sizeof(buf_) - 1) {
      buf_[len_++] = c;
    } else {
      truncated_ = true;
    }
  }
  char buf_[512];
  size_t len_ = 0;
  bool truncated_ = false;
};

// A small file's text, cut to size - 1 bytes; false when there is none.
bool ReadText(const char* path, char* text, size_t size) {
  const int fd = real.open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  if (read(fd, text, size - 1) < 0) text[0] = '\0';
  real.close(fd);
  return true;
}

void SaveRegisters() {
  Line text;
  for (int code = 0; code < quivet::kCommandCount; ++code) {
    if (!board.set[code]) continue;
    const std::string_view name = quivet::kCommands[code].name;
    text.Add(text.Empty() ? "" : "\n").Add(name.data(), name.size()).Add(" ").Int(board.reg[code]);
  }
  const int fd = real.open(board.state_path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd >= 0 && !text.Empty()) text.WriteTo(fd);
  if (fd >= 0) real.close(fd);
}

// The host's start-up sends what the tool would show of the saved line, and
// the board keeps what it accepts; without the file it sends nothing.
void Restart() {
  Line().Add("restart").Log();
  char line[quivet::kConfigLineChars + 1] = {};
  const bool saved = ReadText(board.config_path, line, sizeof line);
  if (char* end = strchr(line, '\n')) *end = '\0';  // only the first line counts
  quivet::Settings s;
  quivet::ParseConfigurationLine(line, s);
  quivet::MigrateTunerCode(s);
  // Channels go up in order: the register holds the last pair. None: a refused channel.
  std::int32_t tune = quivet::PackFineTune(quivet::NUM_CHANNELS, 0);
  for (int channel = 0; channel < quivet::NUM_CHANNELS; ++channel)
    if (s.channel_freq[channel] != 0) tune = quivet::PackFineTune(channel, s.channel_freq[channel]);
  const std::int32_t values[quivet::kCommandCount] = {
      s.t_bri, s.t_con,   s.t_sat,   s.s_bri,   s.s_con, s.s_sat,   s.c_bri,  s.c_con, s.c_sat,
      s.h_res, s.h_shift, s.l_delay, s.d_audio, 0,       s.f_table, s.rf_out, tune};
  for (int code = 0; code < quivet::kCommandCount; ++code) {
    board.set[code] = saved && quivet::CommandIsValid(code, values[code]);
    board.reg[code] = values[code];
  }
  SaveRegisters();
}

// A run's record begins with the first event, not at load time: a wrapper
// that execs the tool (a shell script, say) loads the board too, and must
// leave no run of its own behind, nor restart the host.
void Line::Log() {
  if (!board.active) {
    board.active = true;
    board.pid = getpid();
    Line().Add("start pid ").Int(static_cast<std::int32_t>(board.pid)).WriteTo(board.log_fd);
    if (board.restart) Restart();
  }
  WriteTo(board.log_fd);
}

// Recording must never disturb the errno that the tool sees.
class KeepErrno {
 public:
  KeepErrno() : saved_(errno) {}
  ~KeepErrno() { errno = saved_; }
  void Set(int error) { saved_ = error; }

 private:
  int saved_;
};

void Violation(const char* what) {
  Line().Add("violation ").Add(what).Log();
}

// The fault knob: the signal a hangup, Ctrl-C or shutdown would bring, at
// the chosen step of the save.
void Fault(const char* step) {
  if (board.fault_signal == 0 || strcmp(step, board.fault_step) != 0) return;
  KeepErrno keep;
  Line().Add("raise ").Int(board.fault_signal).Log();
  raise(board.fault_signal);
}

bool Flag(const char* name) {
  const char* value = getenv(name);
  return value != nullptr && value[0] == '1' && value[1] == '\0';
}

[[noreturn]] void Refuse(const char* message) {
  Line line;
  line.Add("quivet_vboard: ").Add(message).WriteTo(2);
  _exit(2);
}

void ResolveRealCalls() {
  real.open = reinterpret_cast<OpenFn>(NEXT(open));
  real.open64 = reinterpret_cast<OpenFn>(NEXT(open64));
  real.openat = reinterpret_cast<OpenatFn>(NEXT(openat));
  real.openat64 = reinterpret_cast<OpenatFn>(NEXT(openat64));
  real.ioctl = reinterpret_cast<IoctlFn>(NEXT(ioctl));
  real.close = reinterpret_cast<CloseFn>(NEXT(close));
  real.fopen = reinterpret_cast<FopenFn>(NEXT(fopen));
  real.fopen64 = reinterpret_cast<FopenFn>(NEXT(fopen64));
  real.fclose = reinterpret_cast<FcloseFn>(NEXT(fclose));
  real.fsync = reinterpret_cast<FsyncFn>(NEXT(fsync));
  real.system = reinterpret_cast<SystemFn>(NEXT(system));
  real.poll = reinterpret_cast<PollFn>(NEXT(poll));
  real.stat = reinterpret_cast<StatFn>(NEXT(stat));
  real.stat64 = reinterpret_cast<Stat64Fn>(NEXT(stat64));
  if (real.open64 == nullptr) real.open64 = real.open;
  if (real.openat64 == nullptr) real.openat64 = real.openat;
  if (real.fopen64 == nullptr) real.fopen64 = real.fopen;
  if (real.open == nullptr || real.openat == nullptr || real.ioctl == nullptr ||
      real.close == nullptr || real.fopen == nullptr || real.fclose == nullptr ||
      real.fsync == nullptr || real.system == nullptr || real.stat == nullptr ||
      real.stat64 == nullptr || real.poll == nullptr) {
    Refuse("cannot find the C library's calls");
  }
}

// The real board keeps its registers until the host restarts; so the
// sandbox's board keeps them in board.state, from one run to the next.
void LoadRegisters() {
  char text[quivet::kCommandCount * 32] = {};
  ReadText(board.state_path, text, sizeof text);
  for (int code = 0; code < quivet::kCommandCount; ++code) {
    const std::string_view name = quivet::kCommands[code].name;  // ends in a NUL
    const char* at = name.empty() ? nullptr : strstr(text, name.data());
    board.set[code] = at != nullptr && sscanf(at + name.size(), "%d", &board.reg[code]) == 1;
  }
}

bool JoinPath(char* out, const char* dir, const char* name) {
  const size_t dir_len = strlen(dir);
  const size_t name_len = strlen(name);
  if (dir_len + 1 + name_len + 1 > static_cast<size_t>(kPathMax)) return false;
  memcpy(out, dir, dir_len);
  out[dir_len] = '/';
  memcpy(out + dir_len + 1, name, name_len + 1);
  return true;
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
  const char* fault = getenv("QUIVET_VBOARD_SIGNAL");
  if (fault != nullptr) {
    char* at = nullptr;
    const long signo = strtol(fault, &at, 10);
    if (at == fault || *at != '@' || signo < 1 || signo > SIGRTMAX) {
      Refuse("QUIVET_VBOARD_SIGNAL is not <signo>@<step>");
    }
    board.fault_signal = static_cast<int>(signo);
    snprintf(board.fault_step, sizeof board.fault_step, "%s", at + 1);
  }
  board.stdout_is_tty = isatty(1) != 0;
  board.board_fd = -1;
  board.closed_board_fd = -1;
  board.config_fd = -1;
  LoadRegisters();
  board.ready = true;
}

__attribute__((destructor)) void BoardStop() {
  if (!board.active || getpid() != board.pid) return;
  Line().Add("exit").Log();
}

bool Is(const char* path, const char* wanted) {
  return path != nullptr && strcmp(path, wanted) == 0;
}

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

// Returns true when the path is the board's business; *result is then set.
bool OpenHook(const char* path, int flags, int* result) {
  if (!board.ready || path == nullptr) return false;
  if (Is(path, kBoardPath)) {
    *result = OpenBoard(flags);
    return true;
  }
  if (Is(path, "/etc")) {
    *result = real.open(board.dir, flags);
    return true;
  }
  if (Is(path, kConfigPath)) {
    {
      KeepErrno keep;
      Line().Add("open ").Add(path).Add(" -> refused").Log();
      Violation("configuration file opened without stdio");
    }
    errno = EACCES;
    *result = -1;
    return true;
  }
  return false;
}

bool NeedsMode(int flags) {
  return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
}

const char* ErrnoName(int error) {
  switch (error) {
    case ENOENT: return "ENOENT";
    case EROFS: return "EROFS";
    case EACCES: return "EACCES";
    case EISDIR: return "EISDIR";
    default: return nullptr;
  }
}

bool WantsWrite(const char* mode) {
  for (; *mode != '\0'; ++mode) {
    if (*mode == 'w' || *mode == 'a' || *mode == '+') return true;
  }
  return false;
}

bool UnderEtcOrBoard(const char* path) {
  return strncmp(path, "/etc/", 5) == 0 || strncmp(path, kBoardPath, sizeof(kBoardPath) - 1) == 0;
}

FILE* FopenHook(FopenFn fn, const char* path, const char* mode) {
  if (!board.ready || path == nullptr || mode == nullptr) return fn(path, mode);
  if (!Is(path, kConfigPath)) {
    if (!UnderEtcOrBoard(path)) return fn(path, mode);
    {
      KeepErrno keep;
      Line().Add("fopen ").Escaped(path).Add(" ").Escaped(mode).Add(" -> refused").Log();
      Violation("file outside the sandbox");
    }
    errno = EACCES;
    return nullptr;
  }
  Line line;
  line.Add("fopen /etc/quivet.conf ").Escaped(mode).Add(" -> ");
  if (WantsWrite(mode) && !board.root_rw) {
    {
      KeepErrno keep;
      line.Add("EROFS").Log();
    }
    errno = EROFS;
    return nullptr;
  }
  FILE* file = fn(board.config_path, mode);
  KeepErrno keep;
  if (file == nullptr) {
    const int error = errno;
    const char* name = ErrnoName(error);
    if (name != nullptr) {
      line.Add(name);
    } else {
      line.Add("errno ").Int(error);
    }
    line.Log();
    return nullptr;
  }
  line.Add("ok").Log();
  if (board.config_file != nullptr) Violation("configuration file opened twice");
  board.config_file = file;
  board.config_fd = fileno(file);
  board.config_writing = WantsWrite(mode);
  if (board.config_fd == board.closed_board_fd) board.closed_board_fd = -1;
  if (board.config_writing) Fault("open");
  return file;
}

// The C library's system(), whose wait a Ctrl-C at the shell does not end,
// run without the board: the clear-screen shell and its stty must not start
// runs of their own in the record.
int RunWithoutBoard(const char* command) {
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
  if (!board.ready) return real.system(command);
  if (command == nullptr) return 1;  // a shell is available
  Line line;
  line.Add("system ");
  if (Is(command, kClearCommand)) {
    line.Add("<clear-screen>").Log();
    if (board.stdout_is_tty) return RunWithoutBoard(kHostClear);
    fputs("<CLEAR>\n", stdout);
    return 0;
  }
  if (Is(command, kMountRo)) Fault("ro");
  line.Escaped(command).Log();
  if (Is(command, kMountRw)) {
    if (!board.stuck_ro) board.root_rw = true;
    Fault("rw");
  } else if (Is(command, kMountRo)) {
    board.root_rw = false;
  } else {
    Violation("shell command not allowed");
  }
  return 0;
}

}  // namespace

// Only the calls below leave the library; everything else stays hidden.
#define BOARD_API __attribute__((visibility("default")))

// The mode follows the flags only when they may create a file; variadic
// arguments can only be read in the function that received them.
#define BOARD_OPEN_MODE(flags)    \
  ({                              \
    mode_t mode_ = 0;             \
    if (NeedsMode(flags)) {       \
      va_list ap;                 \
      va_start(ap, flags);        \
      mode_ = va_arg(ap, mode_t); \
      va_end(ap);                 \
    }                             \
    mode_;                        \
  })

extern "C" {

BOARD_API int BOARD_CALL(open)(const char* path, int flags, ...) {
  const mode_t mode = BOARD_OPEN_MODE(flags);
  int result = 0;
  if (OpenHook(path, flags, &result)) return result;
  if (real.open == nullptr) ResolveRealCalls();
  return real.open(path, flags, mode);
}

BOARD_API int BOARD_CALL(open64)(const char* path, int flags, ...) {
  const mode_t mode = BOARD_OPEN_MODE(flags);
  int result = 0;
  if (OpenHook(path, flags, &result)) return result;
  if (real.open64 == nullptr) ResolveRealCalls();
  return real.open64(path, flags, mode);
}

// Fortified builds reach open through these when the flags are not constant.
BOARD_API int BOARD_CALL(__open_2)(const char* path, int flags) {
  return open(path, flags);
}
BOARD_API int BOARD_CALL(__open64_2)(const char* path, int flags) {
  return BOARD_CALL(open64)(path, flags);
}

BOARD_API int BOARD_CALL(openat)(int dirfd, const char* path, int flags, ...) {
  const mode_t mode = BOARD_OPEN_MODE(flags);
  int result = 0;
  if (OpenHook(path, flags, &result)) return result;
  if (real.openat == nullptr) ResolveRealCalls();
  return real.openat(dirfd, path, flags, mode);
}

BOARD_API int BOARD_CALL(openat64)(int dirfd, const char* path, int flags, ...) {
  const mode_t mode = BOARD_OPEN_MODE(flags);
  int result = 0;
  if (OpenHook(path, flags, &result)) return result;
  if (real.openat64 == nullptr) ResolveRealCalls();
  return real.openat64(dirfd, path, flags, mode);
}

BOARD_API int BOARD_CALL(ioctl)(int fd, unsigned long request, ...) {
  va_list ap;
  va_start(ap, request);
  const unsigned long raw = va_arg(ap, unsigned long);
  va_end(ap);
  if (!board.ready || fd < 0 || (fd != board.board_fd && fd != board.closed_board_fd)) {
    if (real.ioctl == nullptr) ResolveRealCalls();
    return real.ioctl(fd, request, raw);
  }
  KeepErrno keep;
  // The argument is a 32-bit value passed in a register of either width.
  const std::int32_t arg = static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
  const bool known = request < static_cast<unsigned long>(quivet::kCommandCount);
  const int code = known ? static_cast<int>(request) : -1;
  Line line;
  line.Add("ioctl ");
  if (known && !quivet::kCommands[code].name.empty()) {
    line.Add(quivet::kCommands[code].name.data(), quivet::kCommands[code].name.size());
  } else {
    line.Int(static_cast<std::int32_t>(request));
  }
  line.Add(" ").Int(arg).Log();
  if (fd != board.board_fd) {
    Violation("command sent after close");
    keep.Set(EBADF);
    return -1;
  }
  if (!known) {
    Line().Add("violation unknown code ").Int(static_cast<std::int32_t>(request)).Log();
    return -1;
  }
  if (quivet::kCommands[code].name.empty()) {
    Line().Add("violation reserved code ").Int(code).Log();
    return -1;
  }
  if (!quivet::CommandIsValid(code, arg)) {
    Line()
        .Add("violation argument out of range ")
        .Add(quivet::kCommands[code].name.data(), quivet::kCommands[code].name.size())
        .Add(" ")
        .Int(arg)
        .Log();
  }
  board.set[code] = true;
  board.reg[code] = arg;
  SaveRegisters();
  return 0;
}

BOARD_API int BOARD_CALL(close)(int fd) {
  if (real.close == nullptr) ResolveRealCalls();
  if (board.ready && fd >= 0) {
    if (fd == board.board_fd) {
      KeepErrno keep;
      Line().Add("close /dev/quivet").Log();
      board.board_fd = -1;
      board.closed_board_fd = fd;
    } else if (fd == board.closed_board_fd) {
      board.closed_board_fd = -1;  // the number is someone else's from now on
    }
  }
  return real.close(fd);
}

BOARD_API FILE* BOARD_CALL(fopen)(const char* path, const char* mode) {
  if (real.fopen == nullptr) ResolveRealCalls();
  return FopenHook(real.fopen, path, mode);
}

BOARD_API FILE* BOARD_CALL(fopen64)(const char* path, const char* mode) {
  if (real.fopen64 == nullptr) ResolveRealCalls();
  return FopenHook(real.fopen64, path, mode);
}

// A tool that waits for its keys says so here; one that spins never does.
BOARD_API int BOARD_CALL(poll)(struct pollfd* fds, nfds_t n, int timeout) {
  if (real.poll == nullptr) ResolveRealCalls();
  if (board.ready && n == 1 && fds[0].fd == 0) {
    KeepErrno keep;
    Line().Add("poll standard input").Log();
  }
  return real.poll(fds, n, timeout);
}

BOARD_API int BOARD_CALL(fsync)(int fd) {
  if (real.fsync == nullptr) ResolveRealCalls();
  if (board.ready && fd >= 0 && fd == board.config_fd) {
    KeepErrno keep;
    // The size at fsync is what a power cut would leave on the medium.
    struct stat st {};
    const std::int32_t size = fstat(fd, &st) == 0 ? static_cast<std::int32_t>(st.st_size) : -1;
    Fault("sync");
    Line().Add("fsync /etc/quivet.conf ").Int(size).Add(" bytes").Log();
  }
  return real.fsync(fd);
}

BOARD_API int BOARD_CALL(fclose)(FILE* file) {
  if (real.fclose == nullptr) ResolveRealCalls();
  if (board.ready && file != nullptr && file == board.config_file) {
    if (board.config_writing) Fault("close");
    {
      KeepErrno keep;
      Line().Add("fclose /etc/quivet.conf").Log();
    }
    board.config_file = nullptr;
    board.config_fd = -1;
  }
  return real.fclose(file);
}

// The tool asks whether its configuration file is a regular one.
BOARD_API int BOARD_CALL(stat)(const char* path, struct stat* st) noexcept {
  if (real.stat == nullptr) ResolveRealCalls();
  return real.stat(board.ready && Is(path, kConfigPath) ? board.config_path : path, st);
}

BOARD_API int BOARD_CALL(stat64)(const char* path, struct stat64* st) noexcept {
  if (real.stat64 == nullptr) ResolveRealCalls();
  return real.stat64(board.ready && Is(path, kConfigPath) ? board.config_path : path, st);
}

BOARD_API int BOARD_CALL(system)(const char* command) {
  if (real.system == nullptr) ResolveRealCalls();
  return SystemHook(command);
}

}  // extern "C"
