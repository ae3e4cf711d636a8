#include "app/console.h"

#include <cstdio>

#include "platform/platform.h"

namespace quivet {

namespace {

// A read error is treated like end of input: nothing more will come.
int NextChar() {
  const int c = std::fgetc(stdin);
  if (c == EOF) ExitWithoutSaving();
  return c;
}

void DiscardRestOfLine() {
  int c = 0;
  do {
    c = std::fgetc(stdin);
  } while (c != '\n' && c != EOF);
}

}  // namespace

void ClearScreen() {
  platform::RunShell(CLEAR_SCREEN_COMMAND);
}

int ReadMenuChoice() {
  const int c = NextChar();
  if (c != '\n') DiscardRestOfLine();
  return c;
}

void ReadEntry(char* buffer, int size) {
  buffer[0] = '\0';
  // Nothing read at all means end of input; a stale buffer is never used.
  if (std::fgets(buffer, size, stdin) == nullptr) ExitWithoutSaving();
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
