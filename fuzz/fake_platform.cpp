#include "fuzz/fake_platform.h"

#include <sys/types.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "device/commands.h"
#include "device/device.h"
#include "fuzz/fuzz_check.h"
#include "platform/platform.h"
#include "settings/fine_tune_list.h"
#include "settings/settings.h"

namespace fake {

Host host;

namespace {

constexpr int kDeviceFd = 3;
std::FILE* saved_stdin = nullptr;
std::FILE* saved_stdout = nullptr;
std::FILE* write_stream = nullptr;

struct Source {
  std::string_view bytes;
  std::size_t pos;
  bool counts_progress;
};
Source keys_source;

ssize_t ReadSource(void* cookie, char* buf, std::size_t size) {
  Source& s = *static_cast<Source*>(cookie);
  if (s.counts_progress) {
    ++host.stdin_reads;
    FUZZ_CHECK(host.stdin_reads <= host.progress_limit, "stdin read %zu times for %zu bytes",
               host.stdin_reads, host.keys.size());
  }
  const std::size_t n = std::min(size, s.bytes.size() - s.pos);
  if (n != 0) std::memcpy(buf, s.bytes.data() + s.pos, n);
  s.pos += n;
  return static_cast<ssize_t>(n);
}

ssize_t Discard(void*, const char*, std::size_t size) {
  return static_cast<ssize_t>(size);
}

ssize_t WriteSaved(void*, const char* buf, std::size_t size) {
  FUZZ_CHECK(host.root_rw, "configuration written while the root is read-only");
  host.saved.append(buf, size);
  return static_cast<ssize_t>(size);
}

// The tool's argument must be what it now holds in the matching field.
std::int32_t FieldFor(int code) {
  const quivet::Settings& s = quivet::settings;
  // Indexed by command code; 13 is never sent.
  const std::int32_t held[] = {s.t_bri,   s.t_con, s.t_sat,   s.s_bri, s.s_con,   s.s_sat,
                               s.c_bri,   s.c_con, s.c_sat,   s.h_res, s.h_shift, s.l_delay,
                               s.d_audio, 0,       s.f_table, s.rf_out};
  return code >= 0 && code < 16 ? held[code] : 0;
}

}  // namespace

void Begin() {
  keys_source = {host.keys, 0, true};
  saved_stdin = stdin;
  saved_stdout = stdout;
  stdin = fopencookie(&keys_source, "r", {ReadSource, nullptr, nullptr, nullptr});
  // One byte per read, as a terminal delivers them, so every read is counted.
  std::setvbuf(stdin, nullptr, _IONBF, 0);
  stdout = fopencookie(nullptr, "w", {nullptr, Discard, nullptr, nullptr});
}

void End() {
  std::fclose(stdin);
  std::fclose(stdout);
  stdin = saved_stdin;
  stdout = saved_stdout;
  if (write_stream != nullptr) std::fclose(write_stream);  // tool left it open
  write_stream = nullptr;
}

}  // namespace fake

namespace platform {

using fake::host;

int OpenDevice(const char* path) {
  FUZZ_CHECK(std::strcmp(path, quivet::kDevicePath) == 0, "opened %s", path);
  return host.device_present ? fake::kDeviceFd : -1;
}

void DeviceIoctl(int fd, int code, std::int32_t argument) {
  FUZZ_CHECK(host.device_present, "command %d sent without a device", code);
  FUZZ_CHECK(fd == fake::kDeviceFd && !host.device_closed, "command %d on fd %d", code, fd);
  FUZZ_CHECK(quivet::CommandIsValid(code, argument), "command %d argument %d", code, argument);
  if (code == quivet::CMD_F_TUNE) {
    const auto channel = static_cast<std::uint32_t>(argument) >> 24;
    const std::int32_t stored = quivet::settings.channel_freq[channel];
    FUZZ_CHECK(stored >= 0 && stored <= quivet::kMaxFineTuneFrequency,
               "channel %u fine-tuned to %d", channel, stored);
    FUZZ_CHECK((stored & 0xFFFFFF) == (argument & 0xFFFFFF), "channel %u holds %d, sent %d",
               channel, stored, argument & 0xFFFFFF);
    return;
  }
  FUZZ_CHECK(fake::FieldFor(code) == argument, "command %d sent %d, field holds %d", code, argument,
             fake::FieldFor(code));
}

void CloseDevice(int fd) {
  if (fd == fake::kDeviceFd) host.device_closed = true;
}

void RunShell(const char* command_line) {
  if (std::strcmp(command_line, "mount -o remount,rw /") == 0) {
    host.root_rw = true;
    host.save_events += "rw ";
  } else if (std::strcmp(command_line, "mount -o remount,ro /") == 0) {
    host.root_rw = false;
    host.save_events += "ro ";
  } else {
    FUZZ_CHECK(std::strcmp(command_line,
                           "command echo -ne '\x1b"
                           "c' && stty sane") == 0,
               "shell ran '%s'", command_line);
    ++host.screens;
    FUZZ_CHECK(host.screens <= host.progress_limit, "%zu screens drawn for %zu bytes", host.screens,
               host.keys.size());
  }
}

std::FILE* OpenFile(const char* path, const char* mode) {
  FUZZ_CHECK(std::strcmp(path, quivet::pathname) == 0, "opened %s", path);
  if (std::strcmp(mode, "r") == 0) {
    if (!host.file_present) return nullptr;
    static fake::Source config_source;
    config_source = {host.config, 0, false};
    ++host.open_files;
    return fopencookie(&config_source, "r", {fake::ReadSource, nullptr, nullptr, nullptr});
  }
  FUZZ_CHECK(std::strcmp(mode, "w+") == 0, "opened with mode %s", mode);
  FUZZ_CHECK(host.device_closed || !host.device_present, "file written with the device open");
  if (!host.root_rw || !host.file_writable) {
    host.save_events += "openfail ";
    return nullptr;
  }
  host.save_events += "open ";
  ++host.open_files;
  fake::write_stream = fopencookie(nullptr, "w", {nullptr, fake::WriteSaved, nullptr, nullptr});
  return fake::write_stream;
}

void SyncAndCloseFile(std::FILE* file) {
  FUZZ_CHECK(file == fake::write_stream, "synced a stream that was not written");
  std::fclose(file);
  fake::write_stream = nullptr;
  --host.open_files;
  host.save_events += "sync ";
}

void CloseFile(std::FILE* file) {
  FUZZ_CHECK(file != fake::write_stream, "written file closed without sync");
  std::fclose(file);
  --host.open_files;
}

void ExitProcess(int status) {
  host.exit_status = status;
  std::longjmp(host.exit_jump, 1);
}

}  // namespace platform
