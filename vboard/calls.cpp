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
#define DECLARE_REAL(name, result, ...) result __real_##name(__VA_ARGS__);
extern "C" {
VBOARD_REAL_CALLS(DECLARE_REAL)
}
#else
#define BOARD_CALL(name) name
#define NEXT(name) dlsym(RTLD_NEXT, #name)
#endif

namespace vboard {

RealCalls real;

#define FIND(name, ...)                                          \
  real.name = reinterpret_cast<decltype(real.name)>(NEXT(name)); \
  found = found && real.name != nullptr;

void ResolveRealCalls() {
  bool found = true;
  VBOARD_REAL_CALLS(FIND)
  if (!found) Refuse("cannot find the C library's calls");
}

// Another library's constructor may call before the board's has run.
static const RealCalls& Real() {
  if (real.close == nullptr) ResolveRealCalls();
  return real;
}

// The mode follows the flags only when they may create a file.
static mode_t ModeOf(int flags, va_list ap) {
  const bool creates = (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
  return creates ? va_arg(ap, mode_t) : 0;
}

}  // namespace vboard

using namespace vboard;

// Only the calls below leave the library; everything else stays hidden.
#define BOARD_API __attribute__((visibility("default")))

// Each call in its plain and its 64-bit form, which differ in the name alone.
// Fortified builds reach open through __open_2 when the flags are not constant.
#define BOARD_FILE_CALLS(suffix)                                                               \
  BOARD_API int BOARD_CALL(open##suffix)(const char* path, int flags, ...) {                   \
    va_list ap;                                                                                \
    va_start(ap, flags);                                                                       \
    const mode_t mode = ModeOf(flags, ap);                                                     \
    va_end(ap);                                                                                \
    int result = 0;                                                                            \
    if (OpenHook(path, flags, &result)) return result;                                         \
    return Real().open##suffix(path, flags, mode);                                             \
  }                                                                                            \
  BOARD_API int BOARD_CALL(__open##suffix##_2)(const char* path, int flags) {                  \
    return BOARD_CALL(open##suffix)(path, flags);                                              \
  }                                                                                            \
  BOARD_API int BOARD_CALL(openat##suffix)(int dirfd, const char* path, int flags, ...) {      \
    va_list ap;                                                                                \
    va_start(ap, flags);                                                                       \
    const mode_t mode = ModeOf(flags, ap);                                                     \
    va_end(ap);                                                                                \
    int result = 0;                                                                            \
    if (OpenHook(path, flags, &result)) return result;                                         \
    return Real().openat##suffix(dirfd, path, flags, mode);                                    \
  }                                                                                            \
  BOARD_API FILE* BOARD_CALL(fopen##suffix)(const char* path, const char* mode) {              \
    return FopenHook(Real().fopen##suffix, path, mode);                                        \
  }                                                                                            \
  /* The tool asks whether its configuration file is a regular one. */                         \
  BOARD_API int BOARD_CALL(stat##suffix)(const char* path, struct stat##suffix* st) noexcept { \
    return Real().stat##suffix(InSandbox(path), st);                                           \
  }

extern "C" {

BOARD_FILE_CALLS()
BOARD_FILE_CALLS(64)

BOARD_API int BOARD_CALL(ioctl)(int fd, unsigned long request, ...) {
  va_list ap;
  va_start(ap, request);
  const unsigned long raw = va_arg(ap, unsigned long);
  va_end(ap);
  if (board.ready && fd >= 0 && (fd == board.board_fd || fd == board.closed_board_fd)) {
    return Command(fd, request, raw);
  }
  return Real().ioctl(fd, request, raw);
}

BOARD_API int BOARD_CALL(close)(int fd) {
  if (board.ready && fd >= 0) CloseHook(fd);
  return Real().close(fd);
}

// A tool that waits for its keys says so here; one that spins never does.
// Real() comes first: glibc declares fds write-only, and GCC warns of a read
// of them before any call.
BOARD_API int BOARD_CALL(poll)(struct pollfd* fds, nfds_t n, int timeout) {
  const RealCalls& next = Real();
  if (board.ready && n == 1 && fds[0].fd == 0) {
    KeepErrno keep;
    Line().Add("poll standard input").Log();
  }
  return next.poll(fds, n, timeout);
}

BOARD_API int BOARD_CALL(fsync)(int fd) {
  if (board.config_file != nullptr && fd == fileno(board.config_file)) FsyncHook(fd);
  return Real().fsync(fd);
}

BOARD_API int BOARD_CALL(fclose)(FILE* file) {
  if (file != nullptr && file == board.config_file) FcloseHook();
  return Real().fclose(file);
}

BOARD_API int BOARD_CALL(system)(const char* command) {
  if (!board.ready) return Real().system(command);
  return SystemHook(command);
}

}  // extern "C"
