#include <cstdio>

#include "app/console.h"
#include "device/device.h"
#include "menus/menus.h"

namespace quivet {

void AudioSettingsMenu() {
  for (;;) {
    ClearScreen();
    std::fputs(settings.d_audio != 0 ? " Audio Settings [Dual audio input: enabled]\n\n"
                                     : " Audio Settings [Dual audio input: disabled]\n\n",
               stdout);
    std::fputs(
        " 1. Enable Dual Audio input\n"
        " 2. Disable Dual Audio input\n"
        " 3. Return to main menu\n\n"
        " Choice: ",
        stdout);
    switch (ReadMenuChoice()) {
      case '1':
        settings.d_audio = 1;
        SendDeviceCommand(CMD_D_AUDIO, 1);
        return;
      case '2':
        settings.d_audio = 0;
        SendDeviceCommand(CMD_D_AUDIO, 0);
        return;
      case '3': return;
      default: break;
    }
  }
}

}  // namespace quivet
