// The tool's entry point. It takes no arguments; the main menu ends the process.
#include "app/main_menu.h"
#include "app/start_up.h"

int main() {
  quivet::StartUp();
  quivet::MainMenu();
}
