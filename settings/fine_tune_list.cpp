#include "settings/fine_tune_list.h"

#include "settings/number.h"
#include "settings/text_builder.h"

namespace quivet {

char FinetuneFrequencies[kFineTuneListSize];

namespace {

constexpr std::size_t kChannelFieldMax = 2;
constexpr std::size_t kFrequencyFieldMax = 6;

// Length of the field at pos: up to stop, the end, or max characters.
std::size_t FieldLength(std::string_view text, std::size_t pos, char stop, std::size_t max) {
  std::size_t n = 0;
  while (pos + n < text.size() && text[pos + n] != stop && n < max) ++n;
  return n;
}

}  // namespace

bool EncodeFineTuneList(const ChannelArray& channel_freq, char (&list)[kFineTuneListSize]) {
  TextBuilder out(list, kFineTuneListSize);
  bool first = true;
  for (int channel = 0; channel < NUM_CHANNELS; ++channel) {
    const std::int32_t freq = channel_freq[channel];
    if (freq == 0) continue;
    // Build the pair on its own so a pair is either whole or absent.
    char pair[16];
    TextBuilder p(pair, sizeof pair);
    if (!first) p.Append(",");
    p.AppendInt(channel);
    p.Append(":");
    p.AppendInt(freq);
    if (!out.Append(std::string_view(pair, p.length()))) return false;
    first = false;
  }
  return true;
}

std::size_t FineTuneListLength(const ChannelArray& channel_freq) {
  std::size_t length = 0;
  for (int channel = 0; channel < NUM_CHANNELS; ++channel) {
    const std::int32_t freq = channel_freq[channel];
    if (freq == 0) continue;
    if (length != 0) ++length;  // the comma
    length += DecimalWidth(channel) + 1 + DecimalWidth(freq);
  }
  return length;
}

bool FineTuneListFits(const ChannelArray& channel_freq) {
  return FineTuneListLength(channel_freq) < kFineTuneListSize;
}

void LoadFineTuneFrequencies(std::string_view list, ChannelArray& channel_freq) {
  channel_freq.fill(0);
  std::size_t pos = 0;
  while (pos < list.size()) {
    const std::size_t channel_len = FieldLength(list, pos, ':', kChannelFieldMax);
    const std::size_t channel_stop = pos + channel_len;
    if (channel_stop >= list.size()) return;
    if (channel_len == 0 || list[pos] < '0' || list[pos] > '9') return;
    const std::int32_t channel = ConvertNumber(Slice(list, pos, channel_len));
    if (channel > NUM_CHANNELS) return;

    const std::size_t freq_pos = channel_stop + 1;
    const std::size_t freq_len = FieldLength(list, freq_pos, ',', kFrequencyFieldMax);
    const std::int32_t freq = ConvertNumber(Slice(list, freq_pos, freq_len));
    if (freq == 0) return;
    // Channel 70 is read but has nowhere to go.
    if (channel < NUM_CHANNELS) channel_freq[channel] = freq;

    // Whatever ends the frequency field is stepped over as the separator.
    pos = freq_pos + freq_len + 1;
  }
}

}  // namespace quivet
