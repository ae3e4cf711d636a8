#include "settings/settings.h"

#include <iterator>

namespace quivet {

Settings settings;

// Defined here, not inline: a sanitizer then guards the reads past their ends.
const char TunerText[2][30] = {"Philips", "Samsung"};
const char FreqText[5][30] = {"Australia", "New Zealand", "Europe CCIR", "Europe CATV", "Blank"};

const char* TunerName(std::int32_t t_type) {
  return (t_type == TUNER_PHILIPS || t_type == TUNER_SAMSUNG) ? TunerText[t_type] : "";
}

const char* FreqName(std::int32_t f_table) {
  // Bounded by the table itself, so no value can read past its last name.
  return (f_table >= 0 && f_table < static_cast<std::int32_t>(std::size(FreqText)))
             ? FreqText[f_table]
             : "";
}

}  // namespace quivet
