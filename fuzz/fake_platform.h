// In-process stand-in for the host: device, shell, configuration file and
// terminal. It checks every call the tool makes as it happens.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <string>
#include <string_view>

namespace fake {

struct Host {
  bool device_present = false;
  bool file_present = false;
  bool file_writable = false;
  std::string_view config;         // bytes served for mode "r"
  std::string_view keys;           // bytes served as stdin
  std::size_t progress_limit = 0;  // stdin reads and screen clears allowed

  // What the tool did.
  std::size_t stdin_reads = 0;
  std::size_t screens = 0;
  bool device_closed = false;
  bool root_rw = false;
  std::string save_events;  // "rw", "open", "openfail", "sync", "ro", space separated
  std::string saved;
  int open_files = 0;
  int exit_status = -1;
  std::jmp_buf exit_jump;
};

extern Host host;

// Points stdin at host.keys and stdout at a sink; End() undoes it.
void Begin();
void End();

}  // namespace fake
