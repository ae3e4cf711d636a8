#pragma once

namespace quivet {

#define QUIVET_VERSION_TEXT "1.13"

void DisplayMainMenu();
[[noreturn]] void MainMenu();

}  // namespace quivet
