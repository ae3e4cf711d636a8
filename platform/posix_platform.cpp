#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "platform/platform.h"

namespace platform {

void OpenStandardStreams() {
  // Each open takes the lowest free number: the first above 2 is not needed.
  int fd = 0;
  do {
    fd = open("/dev/null", O_RDWR);
  } while (fd >= 0 && fd <= 2);
  (void)close(fd);
}

int OpenDevice(const char* path) {
  return open(path, O_RDWR);
}

bool LockDevice(int fd) {
  // Only a process that opened the device for writing can hold a write lock;
  // a read lock, which any reader could take, is no other instance. Without
  // the device both calls fail: no lock, and nothing live to fight over.
  struct flock lock {};
  lock.l_type = F_WRLCK;
  if (fcntl(fd, F_SETLK, &lock) == 0) return true;
  return fcntl(fd, F_GETLK, &lock) != 0 || lock.l_type != F_WRLCK;
}

void DeviceIoctl(int fd, int code, std::int32_t argument) {
  // The argument travels by value, sign-extended to the register width.
  (void)ioctl(fd, static_cast<unsigned long>(code), static_cast<long>(argument));
}

void CloseDevice(int fd) {
  (void)close(fd);
}

void RunShell(const char* command_line) {
  // Whatever we printed must reach the terminal before the child writes to it.
  (void)std::fflush(stdout);
  // Marked warn_unused_result under fortification, where a (void) cast
  // does not count as a use; the shell's status changes nothing here.
  [[maybe_unused]] const int status = std::system(command_line);
}

void WaitForInput() {
  pollfd input{0, POLLIN, 0};
  (void)poll(&input, 1, -1);
}

bool IsSpecialFile(const char* path) {
  struct stat st {};
  return stat(path, &st) == 0 && !S_ISREG(st.st_mode);
}

std::FILE* OpenFile(const char* path, const char* mode) {
  return std::fopen(path, mode);
}

void SyncAndCloseFile(std::FILE* file) {
  (void)std::fflush(file);
  (void)fsync(fileno(file));
  (void)std::fclose(file);
}

void CloseFile(std::FILE* file) {
  (void)std::fclose(file);
}

void ProtectSave() {
  // Ignored, not blocked: the mount shells inherit it across exec, and
  // nothing is left pending to strike once the root is read-only again.
  constexpr int kInterruptions[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGTERM, SIGTSTP,
                                    SIGTTIN, SIGTTOU, SIGPIPE, SIGALRM, SIGXFSZ};
  for (const int sig : kInterruptions) (void)std::signal(sig, SIG_IGN);
  (void)umask(S_IWGRP | S_IWOTH);
}

bool AllowFileSize(std::size_t bytes) {
  // CAP_SYS_RESOURCE may lift the limit altogether; anyone may raise it to its ceiling.
  rlimit limit{RLIM_INFINITY, RLIM_INFINITY};
  if (setrlimit(RLIMIT_FSIZE, &limit) != 0 && getrlimit(RLIMIT_FSIZE, &limit) == 0) {
    limit.rlim_cur = limit.rlim_max;
    (void)setrlimit(RLIMIT_FSIZE, &limit);
  }
  return limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= bytes;
}

void ExitProcess(int status) {
  (void)std::fflush(stdout);
  std::exit(status);
}

}  // namespace platform
