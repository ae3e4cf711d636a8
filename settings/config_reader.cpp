#include "settings/config_reader.h"

#include <cstdio>

#include "platform/platform.h"
#include "settings/config_line.h"

namespace quivet {

namespace {

struct TunerCode {
  std::int32_t t_type;
  std::int32_t f_table;
};

constexpr TunerCode kOlderTunerCodes[] = {
    {TUNER_PHILIPS, FTABLE_AUSTRALIA},   {TUNER_SAMSUNG, FTABLE_AUSTRALIA},
    {TUNER_PHILIPS, FTABLE_NEW_ZEALAND}, {TUNER_PHILIPS, FTABLE_EUROPE_CCIR},
    {TUNER_PHILIPS, FTABLE_EUROPE_CATV}, {TUNER_SAMSUNG, FTABLE_NEW_ZEALAND},
};

}  // namespace

void ParseConfigurationLine(std::string_view line, Settings& s) {
  NoListener none;
  ReadConfigurationLine(line, s, none);
}

void MigrateTunerCode(Settings& s) {
  if (s.f_table != FTABLE_UNSET) return;
  if (s.t_type < 0 || s.t_type >= static_cast<std::int32_t>(std::size(kOlderTunerCodes))) return;
  const TunerCode code = kOlderTunerCodes[s.t_type];
  s.t_type = code.t_type;
  s.f_table = code.f_table;
}

void ReadFirstLine(std::FILE* file, char (&line)[kConfigLineBuffer]) {
  for (char& c : line) c = '\0';
  if (std::fgets(line, kConfigLineChars + 1, file) == nullptr) line[0] = '\0';
}

void LoadConfiguration() {
  // A FIFO would block the open; only a regular file holds settings.
  if (platform::IsSpecialFile(pathname)) return;
  std::FILE* file = platform::OpenFile(pathname, "r");
  if (file == nullptr) return;
  char line[kConfigLineBuffer];
  ReadFirstLine(file, line);
  platform::CloseFile(file);
  NoListener none;
  TakeConfigurationLine(std::string_view(line, sizeof line), settings, none);
}

}  // namespace quivet
