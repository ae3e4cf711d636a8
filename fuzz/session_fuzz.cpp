// The whole tool in-process on the fake host. Input: one flags byte (bit 0
// device present, bit 1 configuration file present, bit 2 file writable,
// bit 3 file size limit below the line, bit 4 a FIFO at the file's path),
// the file's bytes, the separator "\xff\xfe", then the keystrokes. Without a
// separator every byte after the flags is a keystroke.
#include <sys/types.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "app/main_menu.h"
#include "app/start_up.h"
#include "device/commands.h"
#include "fuzz/fuzz_check.h"
#include "platform/platform.h"
#include "settings/config_reader.h"
#include "settings/fine_tune_list.h"
#include "settings/settings.h"

// The host in-process: device, shell, configuration file and terminal, each
// call checked as it happens.
namespace fake {

struct Host {
  bool device_present = false;
  bool file_present = false;
  bool file_writable = false;
  bool size_limited = false;
  bool special_file = false;
  std::string_view config;         // bytes served for mode "r"
  std::string_view keys;           // bytes served as stdin
  std::size_t progress_limit = 0;  // stdin reads and screen clears allowed

  // What the tool did.
  std::size_t stdin_reads = 0;
  std::size_t keys_read = 0;
  std::size_t screens = 0;
  bool device_closed = false;
  bool root_rw = false;
  std::string save_events;  // "protect", "rw", "open", "openfail", "sync", "ro"
  std::string saved;
  int open_files = 0;
  int exit_status = -1;
  std::jmp_buf exit_jump;
};

Host host;

constexpr int kDeviceFd = 3;
std::FILE* saved_stdin = nullptr;
std::FILE* saved_stdout = nullptr;
std::FILE* write_stream = nullptr;

ssize_t ReadKeys(void*, char* buf, std::size_t size) {
  ++host.stdin_reads;
  FUZZ_CHECK(host.stdin_reads <= host.progress_limit, "stdin read %zu times for %zu bytes",
             host.stdin_reads, host.keys.size());
  const std::size_t n = std::min(size, host.keys.size() - host.keys_read);
  if (n != 0) std::memcpy(buf, host.keys.data() + host.keys_read, n);
  host.keys_read += n;
  return static_cast<ssize_t>(n);
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

void Begin() {
  saved_stdin = stdin;
  saved_stdout = stdout;
  stdin = fopencookie(nullptr, "r", {ReadKeys, nullptr, nullptr, nullptr});
  // One byte per read, as a terminal delivers them, so every read is counted.
  std::setvbuf(stdin, nullptr, _IONBF, 0);
  stdout = std::fopen("/dev/null", "w");
}

void End() {
  std::fclose(stdin);
  std::fclose(stdout);
  stdin = saved_stdin;
  stdout = saved_stdout;
}

}  // namespace fake

namespace platform {

using fake::host;

void OpenStandardStreams() {}

bool LockDevice(int /*fd*/) {
  return true;
}

void WaitForInput() {
  FUZZ_CHECK(false, "waited on a standard input that never blocks");
}

bool IsSpecialFile(const char* /*path*/) {
  return host.special_file;
}

void ProtectSave() {
  host.save_events += "protect ";
}

bool AllowFileSize(std::size_t bytes) {
  FUZZ_CHECK(host.root_rw, "size checked before the read-write remount");
  FUZZ_CHECK(bytes > 0 && bytes <= 451, "a line of %zu bytes", bytes);
  return !host.size_limited;
}

int OpenDevice(const char* /*path*/) {
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
    FUZZ_CHECK(std::strcmp(command_line, "command echo -ne '\033c' && stty sane") == 0,
               "shell ran '%s'", command_line);
    ++host.screens;
    FUZZ_CHECK(host.screens <= host.progress_limit, "%zu screens drawn for %zu bytes", host.screens,
               host.keys.size());
  }
}

std::FILE* OpenFile(const char* /*path*/, const char* mode) {
  FUZZ_CHECK(!host.special_file, "opened a FIFO in mode %s", mode);
  if (std::strcmp(mode, "r") == 0) {
    if (!host.file_present) return nullptr;
    ++host.open_files;
    return fmemopen(const_cast<char*>(host.config.data()), host.config.size(), "r");
  }
  FUZZ_CHECK(std::strcmp(mode, "w+") == 0, "opened with mode %s", mode);
  FUZZ_CHECK(!host.size_limited, "opened for a line the size limit would cut");
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

// The tool ends the process from deep inside its menus, as it must; here
// that end returns to the start of the input instead.
void ExitProcess(int status) {
  host.exit_status = status;
  std::longjmp(host.exit_jump, 1);
}

}  // namespace platform

namespace {

constexpr std::string_view kSeparator = "\xff\xfe";

void CheckSavedLine() {
  const std::string& line = fake::host.saved;
  FUZZ_CHECK(!line.empty() && line.find('\n') == line.size() - 1,
             "saved text is not one line: '%s'", line.c_str());
  FUZZ_CHECK(line.find('\0') == std::string::npos, "NUL in the saved line");
  FUZZ_CHECK(line.size() <= 451, "saved line of %zu characters", line.size());

  quivet::Settings back;
  quivet::ParseConfigurationLine(line, back);
  CheckReadBack(back, quivet::settings, line.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t sep = input.find(kSeparator);

  fake::host = {};
  fake::Host& host = fake::host;
  host.device_present = (data[0] & 1) != 0;
  host.file_present = (data[0] & 2) != 0;
  host.file_writable = (data[0] & 4) != 0;
  host.size_limited = (data[0] & 8) != 0;
  host.special_file = (data[0] & 16) != 0;
  host.config = input.substr(0, sep == std::string_view::npos ? 0 : sep);
  host.keys = sep == std::string_view::npos ? input : input.substr(sep + kSeparator.size());
  // Every read consumes a byte or meets the end; every screen waits for one.
  host.progress_limit = 4 * host.keys.size() + 16;
  quivet::settings = quivet::Settings{};
  std::memset(quivet::FinetuneFrequencies, 0, sizeof quivet::FinetuneFrequencies);

  fake::Begin();
  if (setjmp(host.exit_jump) == 0) {
    quivet::StartUp();
    quivet::MainMenu();
  }
  fake::End();

  FUZZ_CHECK(host.exit_status == 0, "exit status %d", host.exit_status);
  FUZZ_CHECK(!host.root_rw, "left the root read-write");
  FUZZ_CHECK(host.open_files == 0, "%d files left open", host.open_files);
  const std::string& ev = host.save_events;
  const bool refused = host.size_limited || host.special_file;
  FUZZ_CHECK(ev.empty() || ev == (refused ? "protect rw ro " : "protect rw open sync ro ") ||
                 (!refused && ev == "protect rw openfail ro "),
             "save sequence '%s'", ev.c_str());
  if (ev == "protect rw open sync ro ") CheckSavedLine();
  return 0;
}
