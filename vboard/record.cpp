// The record: <dir>/board.log, appended, one event per line, each in one
// write(2), from a line built on the stack:
//   start pid <pid>                          (before the first event of a run)
//   restart                                  (then the registers are those the
//     saved line gives, as the tool reads it, that the board accepts; the
//     last fine-tuned channel's pair in CMD_F_TUNE; none without the file)
//   open /dev/quivet O_RDWR -> ok | open /dev/quivet flags 0x<hex> -> ok
//     (-> failed when board.dev cannot be opened: a violation follows)
//   open /dev/quivet -> missing              (QUIVET_VBOARD_MISSING=1: ENOENT)
//   open <path> -> refused                   (/etc/quivet.conf via open)
//   ioctl <NAME> <arg>                       (ioctl <code> <arg> without a name)
//   close /dev/quivet
//   system <clear-screen> | system <command, non-printables as \xHH>
//   fopen /etc/quivet.conf <mode> -> ok | ENOENT | EROFS | EACCES | EISDIR | errno <n>
//   fopen <path> <mode> -> refused
//   fsync /etc/quivet.conf <size> bytes       (the file's size as synced)
//   fclose /etc/quivet.conf
//   poll standard input                      (the tool waits for its keys)
//   raise <signo>                            (the fault knob: after the event
//                                             of rw and open, before that of
//                                             sync, close and ro, whose call
//                                             has not been made)
//   violation <what>                         (follows the event it concerns)
//   exit

#include <unistd.h>

#include "vboard/board.h"

namespace vboard {

Line& Line::Digits(std::uint32_t value, std::uint32_t base) {
  char digits[32];
  char* first = digits + sizeof digits;
  do {
    *--first = "0123456789abcdef"[value % base];
    value /= base;
  } while (value != 0u);
  return Add({first, static_cast<size_t>(digits + sizeof digits - first)});
}

// Shell text on one line: non-printables as \xHH, backslash doubled.
Line& Line::Escaped(const char* text) {
  for (; *text != '\0'; ++text) {
    const unsigned char c = static_cast<unsigned char>(*text);
    if (c == '\\') {
      Add("\\\\");
    } else if (c < 0x20 || c >= 0x7F) {
      Add("\\x");
      Put("0123456789abcdef"[c >> 4]);
      Put("0123456789abcdef"[c & 0xFu]);
    } else {
      Put(static_cast<char>(c));
    }
  }
  return *this;
}

void Line::WriteTo(int fd) {
  if (truncated_) {
    len_ = sizeof(buf_) - 5;
    Add("...");
  }
  buf_[len_++] = '\n';
  size_t done = 0;
  while (done < len_) {
    const ssize_t n = write(fd, buf_ + done, len_ - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

// A run's record begins with the first event, not at load time: a wrapper
// that execs the tool (a shell script, say) loads the board too, and must
// leave no run of its own behind, nor restart the host.
void Line::Log() {
  if (!board.active) {
    board.active = true;
    board.pid = getpid();
    Line().Add("start pid ").Int(static_cast<std::int32_t>(board.pid)).WriteTo(board.log_fd);
    if (board.restart) Restart();
  }
  WriteTo(board.log_fd);
}

void Violation(const char* what) {
  Line().Add("violation ").Add(what).Log();
}

[[noreturn]] void Refuse(const char* message) {
  Line().Add("quivet_vboard: ").Add(message).WriteTo(2);
  _exit(2);
}

__attribute__((destructor)) void BoardStop() {
  if (!board.active || getpid() != board.pid) return;
  Line().Add("exit").Log();
}

}  // namespace vboard
