// The tool's functions the unit tests call, behind signatures of their own:
// a changed tool header recompiles this small file, not the GoogleTest ones.
#include <span>

#include "device/commands.h"
#include "settings/channel_tables.h"

std::span<const std::int32_t> DefaultFrequencies(std::int32_t f_table) {
  static quivet::ChannelArray tv;
  tv.fill(-7);  // nothing may survive from before
  quivet::FillDefaultFrequencies(f_table, tv);
  return tv;
}

extern bool (*const BoardAccepts)(int code, std::int32_t arg) = quivet::CommandIsValid;
