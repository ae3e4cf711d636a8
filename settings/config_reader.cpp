#include "settings/config_reader.h"

#include <cstdio>

#include "platform/platform.h"
#include "settings/channel_tables.h"
#include "settings/fine_tune_list.h"
#include "settings/number.h"
#include "settings/text_builder.h"

namespace quivet {

namespace {

enum class Target : std::uint8_t {
  TBri,
  TCon,
  TSat,
  SBri,
  SCon,
  SSat,
  CBri,
  CCon,
  CSat,
  HRes,
  TType,
  FTable,
  DAudio,
  HShift,
  RfOut,
  FTune,
  LDelay,
  AvBri,
  AvCon,
  AvSat,
};

struct KeyRow {
  std::string_view key;
  Target target;
};

constexpr KeyRow kKeys[] = {
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

struct TunerCode {
  std::int32_t t_type;
  std::int32_t f_table;
};

constexpr TunerCode kOlderTunerCodes[] = {
    {TUNER_PHILIPS, FTABLE_AUSTRALIA},   {TUNER_SAMSUNG, FTABLE_AUSTRALIA},
    {TUNER_PHILIPS, FTABLE_NEW_ZEALAND}, {TUNER_PHILIPS, FTABLE_EUROPE_CCIR},
    {TUNER_PHILIPS, FTABLE_EUROPE_CATV}, {TUNER_SAMSUNG, FTABLE_NEW_ZEALAND},
};

// One-byte settings keep the low 8 bits of whatever the file says.
std::uint8_t LowByte(std::int32_t value) {
  return static_cast<std::uint8_t>(value & 0xFF);
}

void Store(Settings& s, Target target, std::string_view value) {
  if (target == Target::FTune) {
    // The opening quote is skipped; the decoder stops at the closing one.
    LoadFineTuneFrequencies(value.empty() ? value : Slice(value, 1), s.channel_freq);
    return;
  }
  const std::int32_t n = ConvertNumber(value);
  switch (target) {
    case Target::TBri:
      s.t_bri = n;
      break;
    case Target::TCon:
      s.t_con = LowByte(n);
      break;
    case Target::TSat:
      s.t_sat = LowByte(n);
      break;
    case Target::SBri:
      s.s_bri = n;
      break;
    case Target::SCon:
      s.s_con = LowByte(n);
      break;
    case Target::SSat:
      s.s_sat = LowByte(n);
      break;
    case Target::CBri:
      s.c_bri = n;
      break;
    case Target::CCon:
      s.c_con = LowByte(n);
      break;
    case Target::CSat:
      s.c_sat = LowByte(n);
      break;
    case Target::HRes:
      s.h_res = n;
      break;
    case Target::TType:
      s.t_type = n;
      break;
    case Target::FTable:
      s.f_table = n;
      break;
    case Target::DAudio:
      s.d_audio = n;
      break;
    case Target::HShift:
      s.h_shift = n;
      break;
    case Target::RfOut:
      s.rf_out = LowByte(n);
      break;
    case Target::LDelay:
      s.l_delay = n;
      break;
    case Target::AvBri:
      s.s_bri = s.c_bri = n;
      break;
    case Target::AvCon:
      s.s_con = s.c_con = LowByte(n);
      break;
    case Target::AvSat:
      s.s_sat = s.c_sat = LowByte(n);
      break;
    case Target::FTune:
      break;
  }
}

bool IsSeparator(char c) {
  return c == ' ' || c == '\n';
}

}  // namespace

void ParseConfigurationLine(std::string_view line, Settings& s) {
  // The text ends at its first NUL, as a C string would.
  const std::size_t nul = line.find('\0');
  if (nul != std::string_view::npos) line = Slice(line, 0, nul);
  std::size_t cursor = 0;
  while (cursor < line.size()) {
    std::size_t end = cursor;
    while (end < line.size() && !IsSeparator(line[end])) ++end;
    const std::string_view token = Slice(line, cursor, end - cursor);
    const std::size_t equals = token.find('=');
    if (equals == std::string_view::npos) return;  // also an empty token

    const std::string_view key = Slice(token, 0, equals);
    for (const KeyRow& row : kKeys) {
      if (row.key == key) Store(s, row.target, Slice(token, equals + 1));
    }
    cursor = end + 1;  // past the separator, or past the end
  }
}

void MigrateTunerCode(Settings& s) {
  if (s.f_table != FTABLE_UNSET) return;
  if (s.t_type < 0 || s.t_type >= static_cast<std::int32_t>(std::size(kOlderTunerCodes))) return;
  const TunerCode code = kOlderTunerCodes[s.t_type];
  s.t_type = code.t_type;
  s.f_table = code.f_table;
}

void LoadConfiguration() {
  // A FIFO would block the open; only a regular file holds settings.
  if (platform::IsSpecialFile(pathname)) return;
  std::FILE* file = platform::OpenFile(pathname, "r");
  if (file == nullptr) return;
  char line[512] = {};
  if (std::fgets(line, kConfigLineChars + 1, file) == nullptr) line[0] = '\0';
  platform::CloseFile(file);

  ParseConfigurationLine(std::string_view(line, sizeof line), settings);
  MigrateTunerCode(settings);
  FillDefaultFrequencies(settings.f_table, settings.tv_chans);
}

}  // namespace quivet
