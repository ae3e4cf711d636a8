#include "app/main_menu.h"

#include <cstdio>

#include "app/console.h"
#include "menus/menus.h"
#include "platform/platform.h"
#include "settings/config_writer.h"
#include "settings/settings.h"

namespace quivet {

namespace {

// Drawn once per pass; one write keeps the screen cheap on the host.
constexpr char kMainMenuText[] = " Quivet Configuration Tool (v" QUIVET_VERSION_TEXT
                                 ")\n\n"
                                 " 1. Picture Settings\n"
                                 " 2. Audio Settings\n"
                                 " 3. Tuner Settings\n"
                                 " 4. Other Settings\n"
                                 " 5. Save settings and exit\n"
                                 " 6. Exit without saving\n\n"
                                 " Choice: ";

[[noreturn]] void SaveAndExit() {
  // Until the root is read-only again nothing may cut the save short.
  platform::ProtectSave();
  if (settings.quivet_fd > 0) platform::CloseDevice(settings.quivet_fd);
  ClearScreen();
  std::fputs(
      SaveConfiguration() ? "Quivet successfully configured.\n" : "Unable to save configuration.\n",
      stdout);
  platform::ExitProcess(0);
}

}  // namespace

void DisplayMainMenu() {
  ClearScreen();
  std::fputs(kMainMenuText, stdout);
}

void MainMenu() {
  for (;;) {
    DisplayMainMenu();
    switch (ReadMenuChoice()) {
      case '1': PictureSettingsMenu(); break;
      case '2': AudioSettingsMenu(); break;
      case '3': TunerSettingsMenu(); break;
      case '4': OtherSettingsMenu(); break;
      case '5': SaveAndExit();
      case '6': ExitWithoutSaving();
      default: break;
    }
  }
}

}  // namespace quivet
