#include <cstdio>

#include "app/console.h"
#include "device/device.h"
#include "menus/menus.h"
#include "settings/fine_tune_list.h"
#include "settings/number.h"

namespace quivet {

namespace {

bool DeviceOpen() {
  return settings.quivet_fd > 0;
}

// No change may push the saved list past its limit. One that does not
// lengthen it is always taken, so a list loaded overfull from a hand-edited
// file can still be cut down.
bool ListCanTake(std::int32_t channel, std::int32_t freq) {
  ChannelArray after = settings.channel_freq;
  after[channel] = freq;
  return FineTuneListFits(after) ||
         FineTuneListLength(after) <= FineTuneListLength(settings.channel_freq);
}

}  // namespace

void FineTuningMenu() {
  for (;;) {
    ClearScreen();
    std::fputs(
        " Fine Tuning\n\n"
        " 1. Display Current Settings\n"
        " 2. Fine Tune Channel\n"
        " 3. Return to previous menu\n\n"
        " Choice: ",
        stdout);
    switch (ReadMenuChoice()) {
      case '1': DisplayFrequencySettings(); break;
      case '2': FineTuning(); break;
      case '3': return;
      default: break;
    }
  }
}

void DisplayFrequencySettings() {
  ClearScreen();
  int shown = 0;
  for (int channel = 0; channel < NUM_CHANNELS; ++channel) {
    if (settings.channel_freq[channel] == 0) continue;
    std::printf("Channel %d : %d KHz\n", channel, settings.channel_freq[channel]);
    ++shown;
  }
  if (shown == 0) std::fputs("No channel frequencies have been modified\n", stdout);
  std::fputs("Press Enter to return...", stdout);
  DiscardLine();
}

void FineTuning() {
  char entry[kValueEntrySize];
  for (;;) {
    ClearScreen();
    std::fputs(" Select a channel to fine tune (0 to 69) or 'x' when done: ", stdout);
    ReadEntry(entry, sizeof entry);
    if (entry[0] == '\0') continue;
    if (entry[0] == 'x') return;
    const std::int32_t channel = ConvertNumber(entry);
    if (static_cast<std::uint32_t>(channel) > NUM_CHANNELS - 1) continue;
    FineTuneChannel(channel);
  }
}

void FineTuneChannel(std::int32_t channel) {
  char entry[kFrequencyEntrySize];
  for (;;) {
    ClearScreen();
    const std::int32_t fine = settings.channel_freq[channel];
    const std::int32_t default_freq = settings.tv_chans[channel];
    std::printf(
        " Fine tuning channel %d.\n"
        " Default frequency is: %d KHz\n"
        " A value of zero will remove the entry.\n"
        " Enter a new frequency [currently %d KHz] or 'x' when done: ",
        channel, default_freq, fine != 0 ? fine : default_freq);
    ReadEntry(entry, sizeof entry);
    if (entry[0] == '\0') continue;
    if (entry[0] == 'x') return;
    const std::int32_t freq = ConvertNumber(entry);
    if (freq < 0 || !DeviceOpen()) continue;
    // The saved list carries six digits: a larger frequency could not come
    // back after a restart, so it is never stored or sent.
    if (freq > kMaxFineTuneFrequency) continue;
    if (!ListCanTake(channel, freq)) {
      std::fputs("\nFine-tune list is full. Press any key to continue.\n", stdout);
      // The whole line: a key and Enter must not reach the frequency prompt.
      DiscardLine();
      continue;
    }
    settings.channel_freq[channel] = freq;
    SendDeviceCommand(CMD_F_TUNE, PackFineTune(channel, freq));
  }
}

}  // namespace quivet
