// The calls the board catches, preloaded (LD_PRELOAD) or, in the static test
// copy of the tool (QUIVET_VBOARD_LINKED), routed here by -Wl,--wrap. Each
// hands the board's business to the file that models it and the rest to the
// C library.

#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>

#include "vboard/board.h"

#ifdef QUIVET_VBOARD_LINKED
// The tool's calls arrive as __wrap_<call>, and the C library's own are
// __real_<call>, as there is no loader to ask.
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

namespace vboard {

RealCalls real;

void ResolveRealCalls() {
  real.open = reinterpret_cast<decltype(real.open)>(NEXT(open));
  real.open64 = reinterpret_cast<decltype(real.open64)>(NEXT(open64));
  real.openat = reinterpret_cast<decltype(real.openat)>(NEXT(openat));
  real.openat64 = reinterpret_cast<decltype(real.openat64)>(NEXT(openat64));
  real.ioctl = reinterpret_cast<decltype(real.ioctl)>(NEXT(ioctl));
  real.close = reinterpret_cast<decltype(real.close)>(NEXT(close));
  real.fopen = reinterpret_cast<decltype(real.fopen)>(NEXT(fopen));
  real.fopen64 = reinterpret_cast<decltype(real.fopen64)>(NEXT(fopen64));
  real.fclose = reinterpret_cast<decltype(real.fclose)>(NEXT(fclose));
  real.fsync = reinterpret_cast<decltype(real.fsync)>(NEXT(fsync));
  real.system = reinterpret_cast<decltype(real.system)>(NEXT(system));
  real.poll = reinterpret_cast<decltype(real.poll)>(NEXT(poll));
  real.stat = reinterpret_cast<decltype(real.stat)>(NEXT(stat));
  real.stat64 = reinterpret_cast<decltype(real.stat64)>(NEXT(stat64));
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

static bool NeedsMode(int flags) {
  return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
}

}  // namespace vboard

using namespace vboard;

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
  return Command(fd, request, raw);
}

BOARD_API int BOARD_CALL(close)(int fd) {
  if (real.close == nullptr) ResolveRealCalls();
  if (board.ready && fd >= 0) CloseHook(fd);
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
  if (board.config_file != nullptr && fd == fileno(board.config_file)) FsyncHook(fd);
  return real.fsync(fd);
}

BOARD_API int BOARD_CALL(fclose)(FILE* file) {
  if (real.fclose == nullptr) ResolveRealCalls();
  if (file != nullptr && file == board.config_file) FcloseHook();
  return real.fclose(file);
}

// The tool asks whether its configuration file is a regular one.
BOARD_API int BOARD_CALL(stat)(const char* path, struct stat* st) noexcept {
  if (real.stat == nullptr) ResolveRealCalls();
  return real.stat(InSandbox(path), st);
}

BOARD_API int BOARD_CALL(stat64)(const char* path, struct stat64* st) noexcept {
  if (real.stat64 == nullptr) ResolveRealCalls();
  return real.stat64(InSandbox(path), st);
}

BOARD_API int BOARD_CALL(system)(const char* command) {
  if (real.system == nullptr) ResolveRealCalls();
  return SystemHook(command);
}

}  // extern "C"
