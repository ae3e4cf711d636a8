#include "settings/fine_tune_list.h"

#include "settings/fine_tune_decoder.h"
#include "settings/text_builder.h"

namespace quivet {

char FinetuneFrequencies[kFineTuneListSize];

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
  NoListListener none;
  DecodeFineTuneList(list, channel_freq, none);
}

}  // namespace quivet
