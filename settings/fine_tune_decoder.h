// The fine-tune list read pair by pair, telling a listener what it does:
// the tool's hears nothing, quivet_config_check's turns it into warnings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/number.h"
#include "settings/settings.h"
#include "settings/text_builder.h"

namespace quivet {

// Why decoding ended before the end of the list.
enum class ListStop : std::uint8_t {
  kNoFrequency,   // a channel, then the end of the list
  kNotAChannel,   // the channel does not begin with a digit
  kChannelAbove,  // a channel above 70
  kZero,          // a frequency that reads as 0
};

// A pair read: its channel and frequency fields, where each ends (the
// character after it is passed over as the colon or the comma), the values.
struct ListPair {
  std::size_t channel_at;
  std::size_t channel_end;
  std::size_t freq_end;
  std::int32_t channel;  // 70 is read, not stored
  std::int32_t freq;
};

struct NoListListener {
  void Pair(const ListPair&) {}
  void Ended(std::size_t, ListStop) {}
};

inline constexpr std::size_t kChannelFieldMax = 2;
inline constexpr std::size_t kFrequencyFieldMax = 6;

// Length of the field at pos: up to stop, the end, or max characters.
inline std::size_t FieldLength(std::string_view text, std::size_t pos, char stop, std::size_t max) {
  std::size_t n = 0;
  while (pos + n < text.size() && text[pos + n] != stop && n < max) ++n;
  return n;
}

// Clears channel_freq, then stores the pairs of list up to the first it
// cannot read, telling heard of each pair and of an early end.
template <class Listener>
void DecodeFineTuneList(std::string_view list, ChannelArray& channel_freq, Listener& heard) {
  channel_freq.fill(0);
  std::size_t pos = 0;
  while (pos < list.size()) {
    const std::size_t channel_len = FieldLength(list, pos, ':', kChannelFieldMax);
    const std::size_t channel_stop = pos + channel_len;
    if (channel_stop >= list.size()) {
      heard.Ended(pos, ListStop::kNoFrequency);
      return;
    }
    if (channel_len == 0 || list[pos] < '0' || list[pos] > '9') {
      heard.Ended(pos, ListStop::kNotAChannel);
      return;
    }
    const std::int32_t channel = ConvertNumber(Slice(list, pos, channel_len));
    if (channel > NUM_CHANNELS) {
      heard.Ended(pos, ListStop::kChannelAbove);
      return;
    }

    const std::size_t freq_pos = channel_stop + 1;
    const std::size_t freq_len = FieldLength(list, freq_pos, ',', kFrequencyFieldMax);
    const std::int32_t freq = ConvertNumber(Slice(list, freq_pos, freq_len));
    if (freq == 0) {
      heard.Ended(pos, ListStop::kZero);
      return;
    }
    heard.Pair(ListPair{pos, channel_stop, freq_pos + freq_len, channel, freq});
    // Channel 70 is read but has nowhere to go.
    if (channel < NUM_CHANNELS) channel_freq[channel] = freq;

    // Whatever ends the frequency field is stepped over as the separator.
    pos = freq_pos + freq_len + 1;
  }
}

}  // namespace quivet
