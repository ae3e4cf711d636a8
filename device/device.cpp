#include "device/device.h"

#include "platform/platform.h"
#include "settings/settings.h"

namespace quivet {

void SendDeviceCommand(int code, std::int32_t argument) {
  if (settings.quivet_fd > 0) platform::DeviceIoctl(settings.quivet_fd, code, argument);
}

}  // namespace quivet
