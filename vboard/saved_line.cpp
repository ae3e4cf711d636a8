// What a restarted host's start-up sends the board from the saved line: for
// each command, what the tool shows of it at its next start, as the tool's
// own reader takes the file (a hidden copy of it, linked into the board).

#include "device/commands.h"
#include "settings/config_reader.h"
#include "vboard/board.h"

namespace vboard {

// Fills values by command code; false when the sandbox holds no saved line.
bool SavedRegisters(std::int32_t* values) {
  char line[quivet::kConfigLineChars + 1] = {};
  const bool saved = ReadText(board.config_path, line, sizeof line);
  if (char* end = strchr(line, '\n')) *end = '\0';  // only the first line counts
  quivet::Settings s;
  quivet::ParseConfigurationLine(line, s);
  quivet::MigrateTunerCode(s);
  // Channels go up in order: the register holds the last pair. None: a refused channel.
  std::int32_t tune = quivet::PackFineTune(quivet::NUM_CHANNELS, 0);
  for (int channel = 0; channel < quivet::NUM_CHANNELS; ++channel)
    if (s.channel_freq[channel] != 0) tune = quivet::PackFineTune(channel, s.channel_freq[channel]);
  const std::int32_t sent[quivet::kCommandCount] = {
      s.t_bri, s.t_con,   s.t_sat,   s.s_bri,   s.s_con, s.s_sat,   s.c_bri,  s.c_con, s.c_sat,
      s.h_res, s.h_shift, s.l_delay, s.d_audio, 0,       s.f_table, s.rf_out, tune};
  memcpy(values, sent, sizeof sent);
  return saved;
}

}  // namespace vboard
