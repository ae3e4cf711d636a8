// The tool's only contact with the operating system beyond stdin and stdout.
// One real implementation; tests and fuzzers link their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace platform {

// Descriptors 0-2 left closed by whoever started us are opened on /dev/null.
void OpenStandardStreams();
int OpenDevice(const char* path);  // open(path, O_RDWR)
// False while another instance holds the device; the lock ends with CloseDevice.
bool LockDevice(int fd);
void DeviceIoctl(int fd, int code, std::int32_t argument);
void CloseDevice(int fd);
void RunShell(const char* command_line);  // system(); result ignored
// Blocks until standard input has something to read.
void WaitForInput();
// True when path exists and is not a regular file (FIFO, device, folder...).
bool IsSpecialFile(const char* path);
std::FILE* OpenFile(const char* path, const char* mode);
// Flush, fsync and close: what was written is on the medium when this returns.
void SyncAndCloseFile(std::FILE* file);
void CloseFile(std::FILE* file);
// From here on no terminal signal ends the process, for its children too,
// and files are created 0644.
void ProtectSave();
// Raises the file size limit as far as allowed; true when bytes now fit.
bool AllowFileSize(std::size_t bytes);
[[noreturn]] void ExitProcess(int status);

}  // namespace platform
