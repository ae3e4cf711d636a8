#include "checker/input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace checker {

namespace {

const char* Kind(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  return "a device";
}

bool Blank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// Reads to the end, or until a later line shows it holds something.
void Scan(int fd, Input& in) {
  char chunk[4096];
  std::size_t offset = 0;
  int line = 1;
  bool newline = false;
  for (;;) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      in.why = std::strerror(errno);
      return;
    }
    if (n == 0) return;
    for (ssize_t i = 0; i < n; ++i, ++offset) {
      const char c = chunk[i];
      if (offset < sizeof in.head) in.head[in.kept++] = c;
      if (!newline) in.line_length += c == '\n' ? 0 : 1;
      if (c == '\n') {
        newline = true;
        ++line;
      } else if (line > 1 && !Blank(c)) {
        in.later_line = line;
        return;
      }
    }
  }
}

}  // namespace

void ReadInput(const char* path, Input& in) {
  if (std::strcmp(path, "-") == 0) {
    Scan(0, in);
    return;
  }
  struct stat st {};
  // Looked at before it is opened: a device could act on the open.
  if (stat(path, &st) != 0) {
    in.why = std::strerror(errno);
    if (errno == ENOENT) in.then = "; quivet_config then starts with every built-in setting";
    return;
  }
  if (!S_ISREG(st.st_mode)) {
    in.why = Kind(st.st_mode);
    in.then =
        ", not a regular file; quivet_config passes it over, starts with every built-in "
        "setting, and cannot save";
    return;
  }
  // Non-blocking, in case a FIFO took the file's place meanwhile.
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    in.why = fd < 0 ? std::strerror(errno) : "no longer a regular file";
  } else {
    Scan(fd, in);
  }
  if (fd >= 0) close(fd);
}

}  // namespace checker
