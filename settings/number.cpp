#include "settings/number.h"

#include "settings/number_read.h"

namespace quivet {

std::int32_t ConvertNumber(std::string_view text) {
  return ReadNumber(text).value;
}

}  // namespace quivet
