// The configuration line taken apart: its keys, and the one loop that reads
// it, which tells a listener what it does. The tool's listener hears nothing
// and compiles to nothing; quivet_config_check's turns the same steps into
// warnings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/channel_tables.h"
#include "settings/config_reader.h"
#include "settings/fine_tune_list.h"
#include "settings/number.h"
#include "settings/settings.h"
#include "settings/text_builder.h"

namespace quivet {

// The current keys in their table's order, then the older ones that set two settings.
// clang-format off
enum class Target : std::uint8_t {
  TBri, TCon, TSat, SBri, SCon, SSat, CBri, CCon, CSat, HRes, TType, FTable, DAudio, HShift, RfOut,
  FTune, LDelay, AvBri, AvCon, AvSat
};
// clang-format on

struct KeyRow {
  std::string_view key;
  Target target;
};

inline constexpr KeyRow kKeys[] = {
    {"t_bri", Target::TBri},
    {"t_con", Target::TCon},
    {"t_sat", Target::TSat},
    {"s_bri", Target::SBri},
    {"s_con", Target::SCon},
    {"s_sat", Target::SSat},
    {"c_bri", Target::CBri},
    {"c_con", Target::CCon},
    {"c_sat", Target::CSat},
    {"h_res", Target::HRes},
    {"t_type", Target::TType},
    {"f_table", Target::FTable},
    {"d_audio", Target::DAudio},
    {"h_shift", Target::HShift},
    {"rf_out", Target::RfOut},
    {"f_tune", Target::FTune},
    {"l_delay", Target::LDelay},
    // Names used by older versions; read, never written.
    {"brightness", Target::TBri},
    {"contrast", Target::TCon},
    {"saturation", Target::TSat},
    {"avbrightness", Target::AvBri},
    {"avcontrast", Target::AvCon},
    {"avsaturation", Target::AvSat},
    {"screenwidth", Target::HRes},
    {"tunertype", Target::TType},
    {"freqtable", Target::FTable},
    {"dualaudioinput", Target::DAudio},
    {"horizontalshift", Target::HShift},
    {"rfoutput", Target::RfOut},
    {"finetune", Target::FTune},
    {"luminanceDelay", Target::LDelay},
};

// The row of key, matched exactly, or nullptr.
inline const KeyRow* FindKey(std::string_view key) {
  for (const KeyRow& row : kKeys) {
    if (row.key == key) return &row;
  }
  return nullptr;
}

// Stores one value as the key's setting does: a number, its low byte (one-byte
// settings keep the low 8 bits of whatever the file says), or the fine-tune
// list that follows the opening quote.
inline void Store(Settings& s, Target target, std::string_view value) {
  if (target == Target::FTune) {
    // The opening quote is skipped; the decoder stops at the closing one.
    LoadFineTuneFrequencies(value.empty() ? value : Slice(value, 1), s.channel_freq);
    return;
  }
  const std::int32_t n = ConvertNumber(value);
  const auto byte = static_cast<std::uint8_t>(n & 0xFF);
  switch (target) {
    case Target::TBri: s.t_bri = n; break;
    case Target::TCon: s.t_con = byte; break;
    case Target::TSat: s.t_sat = byte; break;
    case Target::SBri: s.s_bri = n; break;
    case Target::SCon: s.s_con = byte; break;
    case Target::SSat: s.s_sat = byte; break;
    case Target::CBri: s.c_bri = n; break;
    case Target::CCon: s.c_con = byte; break;
    case Target::CSat: s.c_sat = byte; break;
    case Target::HRes: s.h_res = n; break;
    case Target::TType: s.t_type = n; break;
    case Target::FTable: s.f_table = n; break;
    case Target::DAudio: s.d_audio = n; break;
    case Target::HShift: s.h_shift = n; break;
    case Target::RfOut: s.rf_out = byte; break;
    case Target::LDelay: s.l_delay = n; break;
    case Target::AvBri: s.s_bri = s.c_bri = n; break;
    case Target::AvCon: s.s_con = s.c_con = byte; break;
    case Target::AvSat: s.s_sat = s.c_sat = byte; break;
    default: break;  // the fine-tune list, stored above
  }
}

// The tool's listener hears nothing.
struct NoListener {
  void Assignment(std::size_t, std::string_view, std::string_view, const KeyRow*) {}
  void Stopped(std::size_t) {}
};

// Applies every key=value token of one line to s, up to the first token
// without "=" or the first empty token. Offsets are into line.
template <class Listener>
void ReadConfigurationLine(std::string_view line, Settings& s, Listener& heard) {
  // The text ends at its first NUL, as a C string would.
  const std::size_t nul = line.find('\0');
  if (nul != std::string_view::npos) line = Slice(line, 0, nul);
  std::size_t cursor = 0;
  while (cursor < line.size()) {
    std::size_t end = cursor;
    while (end < line.size() && line[end] != ' ' && line[end] != '\n') ++end;
    const std::string_view token = Slice(line, cursor, end - cursor);
    const std::size_t equals = token.find('=');
    if (equals == std::string_view::npos) {  // also an empty token
      heard.Stopped(cursor);
      return;
    }
    const std::string_view key = Slice(token, 0, equals);
    const std::string_view value = Slice(token, equals + 1);
    const KeyRow* row = FindKey(key);
    heard.Assignment(cursor, key, value, row);
    if (row != nullptr) Store(s, row->target, value);
    cursor = end + 1;  // past the separator, or past the end
  }
}

// What start-up makes of the file's first line: the settings it names, then
// the older tuner code, then the default frequencies of the table.
template <class Listener>
void TakeConfigurationLine(std::string_view line, Settings& s, Listener& heard) {
  ReadConfigurationLine(line, s, heard);
  MigrateTunerCode(s);
  FillDefaultFrequencies(s.f_table, s.tv_chans);
}

}  // namespace quivet
