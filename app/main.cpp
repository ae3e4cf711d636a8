#include <cstdio>

#include "app/console.h"
#include "app/main_menu.h"
#include "device/device.h"
#include "platform/platform.h"
#include "settings/config_reader.h"
#include "settings/settings.h"

int main() {
  using namespace quivet;
  settings.quivet_fd = platform::OpenDevice(kDevicePath);
  if (settings.quivet_fd < 0) {
    ClearScreen();
    std::printf("Unable to open quivet interface (%d). Any changes\n", settings.quivet_fd);
    std::fputs(
        "made will not take effect until Dravo is rebooted.\n"
        "Press any key to continue...",
        stdout);
    WaitForKey();
  }
  LoadConfiguration();
  MainMenu();
}
