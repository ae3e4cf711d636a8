// Text form of the fine-tuned channels: "5:175250,12:203250".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/settings.h"

namespace quivet {

inline constexpr std::size_t kFineTuneListSize = 200;  // 199 characters and the NUL
// The reader takes at most six characters of a frequency.
inline constexpr std::int32_t kMaxFineTuneFrequency = 999999;

extern char FinetuneFrequencies[kFineTuneListSize];

// Pairs in ascending channel order. A pair that would take the list past 199
// characters is left out with all after it; returns false when that happened.
bool EncodeFineTuneList(const ChannelArray& channel_freq, char (&list)[kFineTuneListSize]);

// Length of the whole list, however long, without building it.
std::size_t FineTuneListLength(const ChannelArray& channel_freq);

// Whether every fine-tuned channel of channel_freq fits in one list.
bool FineTuneListFits(const ChannelArray& channel_freq);

// Clears channel_freq, then stores the pairs of list up to the first it
// cannot read.
void LoadFineTuneFrequencies(std::string_view list, ChannelArray& channel_freq);

}  // namespace quivet
