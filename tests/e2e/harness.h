// Runs the shipped tool, unmodified, on the virtual board in a fresh sandbox:
// keystrokes in; screen transcript, board record and configuration file out.
#pragma once

#include <sys/resource.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

enum class Board { kPresent, kMissing, kStuckReadOnly, kNoSandbox };

// How the tool is started, beyond its keys and file.
struct Setup {
  Board board = Board::kPresent;
  std::vector<int> closed{};  // standard descriptors it starts without
  std::string fault{};        // the board's fault knob: "<signo>@<step>"
  mode_t umask = 022;
  rlim_t file_limit = 4 << 20;          // a run that floods its output dies on it
  bool fixed_limit = false;             // hard too, where it is otherwise 4 MiB
  bool late_keys = false;               // through a non-blocking pipe, once it waits
  std::optional<std::string> second{};  // keys of a second instance started while it waits
  bool fifo = false;                    // a FIFO stands at the file's path
  bool flocked = false;                 // another holds flocks on /etc and the board all along
  bool read_locked = false;             // a reader holds a read lock on the board all along
  bool terminal = false;  // stdout a terminal whose busybox interrupts the tool's group
  std::string kept{};     // board.state as an earlier run left it: "CMD_T_BRI 9\n"
  bool restart = false;   // the host restarts first
};

struct Outcome {
  int status = -1;        // exit status, 128 + signal, or -1 when killed at the deadline
  std::string screen;     // stdout or its terminal, "<CLEAR>" where the board saw a clear-screen
  std::string errors;     // stderr
  std::string record;     // board events but starts and clears, "; "-joined
  std::string registers;  // board state at exit, in code order, each ending in "; "
  std::optional<std::string> config;  // the file afterwards
  unsigned mode = 0;                  // its permission bits
  bool fenced_mount = false;          // a real mount was tried (and refused)
  int second_status = -1;             // the second instance's, when there was one
  std::string second_screen;
};

Outcome RunTool(const std::string& keys, const std::optional<std::string>& config,
                const Setup& setup = {});

// The non-empty parts of text between separators.
std::vector<std::string> Split(std::string_view text, std::string_view separator);

}  // namespace e2e
