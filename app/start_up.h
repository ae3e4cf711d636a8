// What the tool does before its first menu.
#pragma once

namespace quivet {

// Opens the board (or says it cannot), refuses a second instance, and loads
// the saved settings.
void StartUp();

}  // namespace quivet
