#include "app/console.h"

#include <cerrno>
#include <cstdio>

#include "platform/platform.h"
#include "settings/settings.h"

namespace quivet {

namespace {

// A standard input left non-blocking reports "no key yet" as an error:
// that is a wait, not the end of input.
int ReadKey() {
  for (;;) {
    const int c = std::fgetc(stdin);
    if (c != EOF || !std::ferror(stdin) || errno != EAGAIN) return c;
    std::clearerr(stdin);
    platform::WaitForInput();
  }
}

// A read error is treated like end of input: nothing more will come.
int NextChar() {
  const int c = ReadKey();
  if (c == EOF) ExitWithoutSaving();
  return c;
}

void DiscardRestOfLine() {
  int c = 0;
  do {
    c = ReadKey();
  } while (c != '\n' && c != EOF);
}

}  // namespace

void ClearScreen() {
  platform::RunShell(CLEAR_SCREEN_COMMAND);
}

void ExitWithoutSaving() {
  ClearScreen();
  platform::CloseDevice(settings.quivet_fd);
  platform::ExitProcess(0);
}

int ReadMenuChoice() {
  const int c = NextChar();
  if (c != '\n') DiscardRestOfLine();
  return c;
}

void ReadEntry(char* buffer, int size) {
  int n = 0;
  while (n < size - 1) {
    const int c = ReadKey();
    if (c == EOF) break;
    buffer[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  buffer[n] = '\0';
  // As fgets: nothing read, or a read error, ends the run; a line cut short
  // by end of input is still fresh input. A stale buffer is never used.
  if (n == 0 || std::ferror(stdin)) ExitWithoutSaving();
}

void PromptForValue(const char* current_line, std::int32_t current, const char* prompt, char* entry,
                    int size) {
  ClearScreen();
  std::printf(current_line, current);
  std::fputs(prompt, stdout);
  ReadEntry(entry, size);
}

void WaitForKey() {
  (void)NextChar();
}

void DiscardLine() {
  if (NextChar() != '\n') DiscardRestOfLine();
}

}  // namespace quivet
