// Screen and keyboard primitives shared by every menu.
#pragma once

#include <cstdint>

namespace quivet {

// The ESC byte sits in the text itself; the shell does not expand it.
inline constexpr char CLEAR_SCREEN_COMMAND[] =
    "command echo -ne '\x1b"
    "c' && stty sane";

inline constexpr int kValueEntrySize = 5;       // settings values, channel numbers
inline constexpr int kFrequencyEntrySize = 10;  // frequencies
inline constexpr int kRfEntrySize = 20;         // RF output channel

void ClearScreen();

// Main menu choice 6, and how every screen leaves at end of input: changes
// already sent stay in the board, nothing is saved.
[[noreturn]] void ExitWithoutSaving();

// First character of the line; the rest of the line is discarded.
int ReadMenuChoice();

// One bounded line (fgets semantics): what does not fit stays pending.
void ReadEntry(char* buffer, int size);

// A value prompt: clear, the line with the current value (a %d format),
// the entry prompt, then one entry.
void PromptForValue(const char* current_line, std::int32_t current, const char* prompt, char* entry,
                    int size);

// "Press any key" pauses: one character, the rest of the line stays pending.
void WaitForKey();

// Reads and discards one line.
void DiscardLine();

}  // namespace quivet
