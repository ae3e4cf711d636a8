// The whole tool in-process on the fake host. Input: one flags byte (bit 0
// device present, bit 1 configuration file present, bit 2 file writable),
// the file's bytes, the separator "\xff\xfe", then the keystrokes. Without a
// separator every byte after the flags is a keystroke.
#include <cstdint>
#include <cstring>
#include <string_view>

#include "fuzz/fake_platform.h"
#include "fuzz/fuzz_check.h"
#include "settings/config_reader.h"
#include "settings/fine_tune_list.h"
#include "settings/settings.h"

int QuivetMain();  // app/main.cpp, renamed for this build

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
  FUZZ_CHECK(SameSettings(back, quivet::settings), "saved line reads back differently: %s",
             line.c_str());
  // Pairs beyond the list's limit are left out; what was kept must come back.
  char list[quivet::kFineTuneListSize];
  quivet::ChannelArray kept = quivet::settings.channel_freq;
  if (!quivet::EncodeFineTuneList(kept, list)) quivet::LoadFineTuneFrequencies(list, kept);
  FUZZ_CHECK(back.channel_freq == kept, "fine-tune list reads back differently: %s", line.c_str());
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
  host.config = sep == std::string_view::npos ? std::string_view() : input.substr(0, sep);
  host.keys = sep == std::string_view::npos ? input : input.substr(sep + kSeparator.size());
  // Every read consumes a byte or meets the end; every screen waits for one.
  host.progress_limit = 4 * host.keys.size() + 16;
  quivet::settings = quivet::Settings{};
  std::memset(quivet::FinetuneFrequencies, 0, sizeof quivet::FinetuneFrequencies);

  fake::Begin();
  if (setjmp(host.exit_jump) == 0) {
    QuivetMain();
    FUZZ_CHECK(false, "the tool returned from main instead of exiting");
  }
  fake::End();

  FUZZ_CHECK(host.exit_status == 0, "exit status %d", host.exit_status);
  FUZZ_CHECK(!host.root_rw, "left the root read-write");
  FUZZ_CHECK(host.open_files == 0, "%d files left open", host.open_files);
  const std::string& ev = host.save_events;
  FUZZ_CHECK(ev.empty() || ev == "rw open sync ro " || ev == "rw openfail ro ",
             "save sequence '%s'", ev.c_str());
  if (ev == "rw open sync ro ") CheckSavedLine();
  return 0;
}
