// The one way the tool reads a number from text: typed entries, values in
// the configuration file, the fine-tune list.
#pragma once

#include <cstdint>
#include <string_view>

namespace quivet {

// Leading white space, an optional sign, the leading digits; no digits give
// 0; saturates at the ends of the signed 32-bit range whatever the host's
// long is. What it passed over: settings/number_read.h.
std::int32_t ConvertNumber(std::string_view text);

}  // namespace quivet
