#pragma once

#include <cstdint>

#include "device/commands.h"

namespace quivet {

inline constexpr char kDevicePath[] = "/dev/quivet";

// The one way to the board. Does nothing while the device is not open.
void SendDeviceCommand(int code, std::int32_t argument);

}  // namespace quivet
