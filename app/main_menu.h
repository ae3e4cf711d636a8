#pragma once

namespace quivet {

#define QUIVET_VERSION_TEXT "1.13"

void DisplayMainMenu();
[[noreturn]] void MainMenu();

// Also how every screen leaves at end of input.
[[noreturn]] void ExitWithoutSaving();

}  // namespace quivet
