#include "settings/settings.h"

namespace quivet {

Settings settings;

const char* TunerName(std::int32_t t_type) {
  return (t_type == TUNER_PHILIPS || t_type == TUNER_SAMSUNG) ? TunerText[t_type] : "";
}

const char* FreqName(std::int32_t f_table) {
  return (f_table >= FTABLE_AUSTRALIA && f_table <= FTABLE_BLANK) ? FreqText[f_table] : "";
}

}  // namespace quivet
