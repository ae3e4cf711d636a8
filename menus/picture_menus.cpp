#include <cstdio>

#include "app/console.h"
#include "device/device.h"
#include "menus/menus.h"
#include "settings/number.h"

namespace quivet {

namespace {

enum PictureSetting { kBrightness = 0, kContrast = 1, kColour = 2 };

struct PicturePrompt {
  const char* current_line;
  const char* entry_prompt;
  std::uint32_t max;
};

constexpr PicturePrompt kPrompts[] = {
    {" Current Brightness setting is %d\n",
     " Enter a new value (0 to 255) or 'x' when done: ", 255},
    {" Current Contrast setting is %d\n", " Enter a new value (0 to 127) or 'x' when done: ", 127},
    {" Current Colour setting is %d\n", " Enter a new value (0 to 127) or 'x' when done: ", 127},
};

// By source (tuner, S-Video, composite), then setting.
constexpr DeviceCommandCode kPictureCommands[3][3] = {
    {CMD_T_BRI, CMD_T_CON, CMD_T_SAT},
    {CMD_S_BRI, CMD_S_CON, CMD_S_SAT},
    {CMD_C_BRI, CMD_C_CON, CMD_C_SAT},
};

// Any code other than tuner and S-Video means the composite input.
std::uint8_t NormalisedSource(std::uint8_t source) {
  if (source == SOURCE_TUNER || source == SOURCE_SVIDEO) return source;
  return SOURCE_COMPOSITE;
}

// By source, as the commands: the 32-bit brightness, the one-byte contrast and colour.
struct InputFields {
  std::int32_t Settings::*brightness;
  std::uint8_t Settings::*contrast;
  std::uint8_t Settings::*colour;
};

constexpr InputFields kInputFields[3] = {
    {&Settings::t_bri, &Settings::t_con, &Settings::t_sat},
    {&Settings::s_bri, &Settings::s_con, &Settings::s_sat},
    {&Settings::c_bri, &Settings::c_con, &Settings::c_sat},
};

std::int32_t CurrentValue(std::uint8_t source, PictureSetting setting) {
  const InputFields& f = kInputFields[NormalisedSource(source)];
  if (setting == kBrightness) return settings.*f.brightness;
  return settings.*(setting == kContrast ? f.contrast : f.colour);
}

void StoreValue(std::uint8_t source, PictureSetting setting, std::int32_t value) {
  const InputFields& f = kInputFields[NormalisedSource(source)];
  if (setting == kBrightness)
    settings.*f.brightness = value;
  else
    settings.*(setting == kContrast ? f.contrast : f.colour) = static_cast<std::uint8_t>(value);
}

void AdjustValue(std::uint8_t source, PictureSetting setting) {
  const PicturePrompt& prompt = kPrompts[setting];
  char entry[kValueEntrySize];
  for (;;) {
    const std::int32_t current = CurrentValue(source, setting);
    PromptForValue(prompt.current_line, current, prompt.entry_prompt, entry, sizeof entry);
    if (entry[0] == 'x') return;
    const std::int32_t value = entry[0] == '\0' ? current : ConvertNumber(entry);
    if (static_cast<std::uint32_t>(value) > prompt.max) continue;
    StoreValue(source, setting, value);
    SendDeviceCommand(kPictureCommands[NormalisedSource(source)][setting], value);
  }
}

}  // namespace

void DisplayPictureSettingsMenu() {
  ClearScreen();
  std::fputs(
      " Input Source Selection\n\n"
      " 1. Tuner Input\n"
      " 2. Composite Input\n"
      " 3. S-Video Input\n"
      " 4. Return to main menu\n\n"
      " Choice: ",
      stdout);
}

void PictureSettingsMenu() {
  for (;;) {
    DisplayPictureSettingsMenu();
    switch (ReadMenuChoice()) {
      case '1': AdjustPictureSettings(SOURCE_TUNER); break;
      case '2': AdjustPictureSettings(SOURCE_COMPOSITE); break;
      case '3': AdjustPictureSettings(SOURCE_SVIDEO); break;
      case '4': return;
      default: break;
    }
  }
}

void DisplayInputSourceMenu(std::uint8_t source) {
  const char* name = source == SOURCE_TUNER       ? "Tuner"
                     : source == SOURCE_COMPOSITE ? "Composite"
                                                  : "S-Video";
  ClearScreen();
  std::printf(" %s Input Settings\n\n", name);
  std::fputs(
      " 1. Brightness\n"
      " 2. Contrast\n"
      " 3. Colour\n"
      " 4. Return to previous menu\n\n"
      " Choice: ",
      stdout);
}

void AdjustPictureSettings(std::uint8_t source) {
  for (;;) {
    DisplayInputSourceMenu(source);
    switch (ReadMenuChoice()) {
      case '1': SetBrightness(source); break;
      case '2': SetContrast(source); break;
      case '3': SetSaturation(source); break;
      case '4': return;
      default: break;
    }
  }
}

void SetBrightness(std::uint8_t source) {
  AdjustValue(source, kBrightness);
}
void SetContrast(std::uint8_t source) {
  AdjustValue(source, kContrast);
}
void SetSaturation(std::uint8_t source) {
  AdjustValue(source, kColour);
}

}  // namespace quivet
