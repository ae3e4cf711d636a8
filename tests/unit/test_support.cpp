#include "test_support.h"

#include <cstdlib>

#include "platform/platform.h"

namespace quivet::test {

FakePlatform fake;

std::string Summary(const Settings& s) {
  const std::pair<const char*, std::int32_t> fields[] = {
      {"t_bri", s.t_bri},     {"t_con", s.t_con},         {"t_sat", s.t_sat},
      {"s_bri", s.s_bri},     {"s_con", s.s_con},         {"s_sat", s.s_sat},
      {"c_bri", s.c_bri},     {"c_con", s.c_con},         {"c_sat", s.c_sat},
      {"h_res", s.h_res},     {"t_type", s.t_type},       {"f_table", s.f_table},
      {"d_audio", s.d_audio}, {"h_shift", s.h_shift},     {"l_delay", s.l_delay},
      {"rf_out", s.rf_out},   {"quivet_fd", s.quivet_fd},
  };
  std::string out;
  for (const auto& [name, value] : fields)
    out += std::string(name) + "=" + std::to_string(value) + " ";
  out += "|";
  for (int ch = 0; ch < NUM_CHANNELS; ++ch) {
    if (s.channel_freq[ch] != 0)
      out += " " + std::to_string(ch) + ":" + std::to_string(s.channel_freq[ch]);
  }
  return out;
}

ChannelArray Freqs(std::initializer_list<std::pair<int, std::int32_t>> pairs) {
  ChannelArray a{};
  for (const auto& [ch, freq] : pairs) a[ch] = freq;
  return a;
}

}  // namespace quivet::test

// The unit tests never touch the device, the shell or /etc: files are
// temporary files fed from and drained into the fake.
namespace platform {

using quivet::test::fake;

int OpenDevice(const char*) {
  return -1;
}
void DeviceIoctl(int, int, std::int32_t) {}
void CloseDevice(int) {}
void RunShell(const char* command_line) {
  fake.shell.emplace_back(command_line);
}

std::FILE* OpenFile(const char* path, const char* mode) {
  fake.opened.push_back(std::string(path) + " " + mode);
  const bool reading = std::string(mode) == "r";
  if (reading ? !fake.config_exists : !fake.config_writable) return nullptr;
  std::FILE* file = std::tmpfile();
  if (file != nullptr && reading) {
    std::fwrite(fake.config_text.data(), 1, fake.config_text.size(), file);
    std::rewind(file);
  }
  return file;
}

void SyncAndCloseFile(std::FILE* file) {
  std::fflush(file);
  std::rewind(file);
  fake.written.clear();
  for (int c; (c = std::fgetc(file)) != EOF;) fake.written += static_cast<char>(c);
  std::fclose(file);
}

void CloseFile(std::FILE* file) {
  std::fclose(file);
}
void ExitProcess(int status) {
  std::_Exit(status);
}

}  // namespace platform
