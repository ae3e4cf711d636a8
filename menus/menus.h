// Entry points of the settings menus, one family per file.
#pragma once

#include <cstdint>

#include "settings/settings.h"

namespace quivet {

// picture_menus.cpp
void PictureSettingsMenu();
void DisplayPictureSettingsMenu();
void AdjustPictureSettings(std::uint8_t source);
void DisplayInputSourceMenu(std::uint8_t source);
void SetBrightness(std::uint8_t source);
void SetContrast(std::uint8_t source);
void SetSaturation(std::uint8_t source);

// other_menu.cpp
void OtherSettingsMenu();
void DisplayOtherSettingsMenu();
void SetHorizontalResolution();
void SetHorizontalShift();
void SetLuminanceDelay();

// audio_menu.cpp
void AudioSettingsMenu();

// tuner_menu.cpp
void TunerSettingsMenu();
void FreqSettingsMenu();
void SetRFOutputChannel();

// fine_tuning_menus.cpp
void FineTuningMenu();
void DisplayFrequencySettings();
void FineTuning();
void FineTuneChannel(std::int32_t channel);

}  // namespace quivet
