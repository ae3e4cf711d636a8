#include <cstdio>

#include "app/console.h"
#include "device/device.h"
#include "menus/menus.h"
#include "settings/number.h"

namespace quivet {

namespace {

// Only the Samsung/ALPS tuner has an RF output.
bool RfOutputOffered() {
  return settings.t_type == TUNER_SAMSUNG;
}

}  // namespace

void TunerSettingsMenu() {
  for (;;) {
    ClearScreen();
    std::printf(" Tuner Settings [currently: %s/%s]\n\n", TunerName(settings.t_type),
                FreqName(settings.f_table));
    std::fputs(
        " 1. Philips Tuner\n"
        " 2. Samsung/ALPS Tuner\n"
        " 3. Select Frequency Table\n"
        " 4. Fine Tuning\n",
        stdout);
    // An empty line keeps the place of a hidden item.
    std::fputs(RfOutputOffered() ? " 5. RF Output Channel\n" : "\n", stdout);
    std::fputs(" 6. Return to main menu\n\n Choice: ", stdout);
    switch (ReadMenuChoice()) {
      case '1': settings.t_type = TUNER_PHILIPS; break;
      case '2': settings.t_type = TUNER_SAMSUNG; break;
      case '3': FreqSettingsMenu(); break;
      case '4': FineTuningMenu(); break;
      case '5':
        if (RfOutputOffered()) SetRFOutputChannel();
        break;
      case '6': return;
      default: break;
    }
  }
}

void FreqSettingsMenu() {
  for (;;) {
    ClearScreen();
    std::printf(" Select Frequency Table [currently: %s]\n\n", FreqName(settings.f_table));
    std::fputs(
        " 1. Australia\n"
        " 2. New Zealand\n"
        " 3. Europe CCIR\n"
        " 4. Europe CATV\n"
        " 5. Blank\n"
        " 6. Return to previous menu\n\n"
        " Choice: ",
        stdout);
    const int choice = ReadMenuChoice();
    if (choice == '6') return;
    if (choice >= '1' && choice <= '5') {
      // tv_chans keeps the start-up table's defaults until the next start.
      settings.f_table = choice - '1';
      SendDeviceCommand(CMD_F_TABLE, settings.f_table);
      return;
    }
  }
}

void SetRFOutputChannel() {
  char entry[kRfEntrySize];
  ClearScreen();
  std::printf(" Enter RF Output Channel (28 to 69) [currently %d]: ", settings.rf_out);
  ReadEntry(entry, sizeof entry);
  if (entry[0] == '\0') return;
  // The range test applies to the stored byte, not to the number typed.
  settings.rf_out = static_cast<std::uint8_t>(ConvertNumber(entry));
  if (settings.rf_out < 28 || settings.rf_out > 69) settings.rf_out = 60;
  SendDeviceCommand(CMD_RF_OUT, settings.rf_out);
}

}  // namespace quivet
