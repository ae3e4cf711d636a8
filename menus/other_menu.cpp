#include <cstdio>

#include "app/console.h"
#include "device/device.h"
#include "menus/menus.h"
#include "settings/number.h"

namespace quivet {

namespace {

// The shift only means something at the widest capture.
bool ShiftOffered() {
  return settings.h_res == 720;
}

}  // namespace

void DisplayOtherSettingsMenu() {
  ClearScreen();
  std::fputs(" Other Settings\n\n 1. Horizontal Resolution\n", stdout);
  if (ShiftOffered()) std::fputs(" 2. Horizontal Shift\n", stdout);
  std::fputs(
      " 3. Luminance Delay\n"
      " 4. Return to main menu\n\n"
      " Choice: ",
      stdout);
}

void OtherSettingsMenu() {
  for (;;) {
    DisplayOtherSettingsMenu();
    switch (ReadMenuChoice()) {
      case '1': SetHorizontalResolution(); break;
      case '2':
        if (ShiftOffered()) SetHorizontalShift();
        break;
      case '3': SetLuminanceDelay(); break;
      case '4': return;
      default: break;
    }
  }
}

void SetHorizontalResolution() {
  // Cleared once: a wrong choice prints the screen again below itself.
  ClearScreen();
  for (;;) {
    std::printf(" Horizontal Resolution  [currently: %d]\n\n", settings.h_res);
    std::fputs(
        " 1. 480 pixels\n"
        " 2. 544 pixels (default)\n"
        " 3. 720 pixels\n"
        " 4. Return to previous menu\n\n"
        " Choice: ",
        stdout);
    std::int32_t pixels = 0;
    switch (ReadMenuChoice()) {
      case '1': pixels = 480; break;
      case '2': pixels = 544; break;
      case '3': pixels = 720; break;
      case '4': return;
      default: continue;
    }
    settings.h_res = pixels;
    SendDeviceCommand(CMD_H_RES, pixels);
    return;
  }
}

void SetHorizontalShift() {
  char entry[kValueEntrySize];
  for (;;) {
    PromptForValue(" Current Horizontal Shift setting is %d\n", settings.h_shift,
                   " Enter a new value (0 to 108 or 128 to 236) or 'x' when done: ", entry,
                   sizeof entry);
    if (entry[0] == '\0' || entry[0] == 'x') return;
    const std::int32_t value = ConvertNumber(entry);
    if (static_cast<std::uint32_t>(value) > 255) continue;
    settings.h_shift = value;
    SendDeviceCommand(CMD_H_SHIFT, value);
  }
}

void SetLuminanceDelay() {
  char entry[kValueEntrySize];
  for (;;) {
    PromptForValue(" Current Luminance Delay setting is %d\n", settings.l_delay,
                   " Enter a new value (-4 to +3) or 'x' when done: ", entry, sizeof entry);
    if (entry[0] == '\0' || entry[0] == 'x') return;
    settings.l_delay = ConvertNumber(entry);
    if (settings.l_delay >= -4 && settings.l_delay <= 3) {
      SendDeviceCommand(CMD_L_DELAY, settings.l_delay);
      return;
    }
    settings.l_delay = 0;
    std::fputs("\nInvalid value. Press any key to continue.\n", stdout);
    WaitForKey();
  }
}

}  // namespace quivet
