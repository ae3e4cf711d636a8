#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/platform.h"

namespace platform {

int OpenDevice(const char* path) {
  return open(path, O_RDWR);
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

void ExitProcess(int status) {
  (void)std::fflush(stdout);
  std::exit(status);
}

}  // namespace platform
