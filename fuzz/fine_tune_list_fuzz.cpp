// Any bytes as a fine-tune list: decoding, then encoding what was decoded.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "settings/fine_tune_list.h"

namespace {

// With a digit after the end, so that reading past the text shows.
void Decode(std::string_view text, quivet::ChannelArray& freq) {
  const std::string padded = std::string(text) + '7';
  quivet::LoadFineTuneFrequencies(std::string_view(padded.data(), text.size()), freq);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quivet::ChannelArray freq;
  freq.fill(12345);  // the decoder must clear what it does not set
  Decode(std::string_view(reinterpret_cast<const char*>(data), size), freq);
  for (std::int32_t f : freq)
    FUZZ_CHECK(f >= -99999 && f <= 999999, "six characters decoded to %d", f);

  char list[quivet::kFineTuneListSize];
  std::memset(list, 'z', sizeof list);
  const bool whole = quivet::EncodeFineTuneList(freq, list);
  const std::size_t len = strnlen(list, sizeof list);
  FUZZ_CHECK(len < sizeof list, "list not terminated");
  FUZZ_CHECK(whole == quivet::FineTuneListFits(freq), "fit test disagrees with the encoder");

  quivet::ChannelArray back;
  Decode(std::string_view(list, len), back);
  // Kept pairs are the channels from the lowest up, and the next one would
  // not have fitted.
  int channel = 0;
  while (channel < quivet::NUM_CHANNELS && back[channel] == freq[channel]) ++channel;
  if (whole) {
    FUZZ_CHECK(channel == quivet::NUM_CHANNELS, "channel %d did not come back from '%s'", channel,
               list);
    return 0;
  }
  FUZZ_CHECK(channel < quivet::NUM_CHANNELS && back[channel] == 0,
             "list '%s' left out nothing yet reported so", list);
  for (int c = channel; c < quivet::NUM_CHANNELS; ++c)
    FUZZ_CHECK(back[c] == 0, "channel %d kept after a dropped channel %d", c, channel);
  char pair[24];
  const int n = std::snprintf(pair, sizeof pair, ",%d:%d", channel, freq[channel]);
  FUZZ_CHECK(len + static_cast<std::size_t>(n) - (len == 0 ? 1 : 0) > 199,
             "pair %s would have fitted after '%s'", pair, list);
  return 0;
}
