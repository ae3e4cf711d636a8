// The tool's only contact with the operating system beyond stdin and stdout.
// One real implementation; tests and fuzzers link their own.
#pragma once

#include <cstdint>
#include <cstdio>

namespace platform {

int OpenDevice(const char* path);  // open(path, O_RDWR)
void DeviceIoctl(int fd, int code, std::int32_t argument);
void CloseDevice(int fd);
void RunShell(const char* command_line);  // system(); result ignored
std::FILE* OpenFile(const char* path, const char* mode);
// Flush, fsync and close: what was written is on the medium when this returns.
void SyncAndCloseFile(std::FILE* file);
void CloseFile(std::FILE* file);
[[noreturn]] void ExitProcess(int status);

}  // namespace platform
