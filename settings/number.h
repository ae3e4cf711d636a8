#pragma once

#include <cstdint>
#include <string_view>

namespace quivet {

// Base-10 conversion used for every number the tool reads: leading white
// space, optional sign, leading digits; no digits gives 0; saturates at the
// ends of the signed 32-bit range whatever the host's long is.
std::int32_t ConvertNumber(std::string_view text);

}  // namespace quivet
