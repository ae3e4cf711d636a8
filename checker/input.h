// A configuration file as the checker holds it: its first bytes, enough for
// all the reader sees, and where its lines fall.
#pragma once

#include <cstddef>

namespace checker {

struct Input {
  char head[1024];
  std::size_t kept = 0;         // bytes of head filled
  std::size_t line_length = 0;  // of the first line, without its newline, however long
  int later_line = 0;           // the first line after it that holds anything, or 0
  const char* why = nullptr;    // it cannot be read: the error, or what it is
  const char* then = "";        // and what the tool does then
};

// Reads path ("-": standard input) without ever waiting on a FIFO or opening
// a device, a folder or a socket.
void ReadInput(const char* path, Input& in);

}  // namespace checker
