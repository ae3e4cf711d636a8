#include "app/start_up.h"

#include <cstdio>

#include "app/console.h"
#include "device/device.h"
#include "platform/platform.h"
#include "settings/config_reader.h"
#include "settings/settings.h"

namespace quivet {

void StartUp() {
  // Otherwise the device could take descriptor 0, 1 or 2.
  platform::OpenStandardStreams();
  settings.quivet_fd = platform::OpenDevice(kDevicePath);
  // A second session would fight over the board and undo the first's save.
  if (!platform::LockDevice(settings.quivet_fd)) {
    platform::CloseDevice(settings.quivet_fd);
    std::fputs("quivet_config is already running; only one may run at a time.\n", stdout);
    platform::ExitProcess(0);
  }
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
}

}  // namespace quivet
