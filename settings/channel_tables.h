// Default vision carrier frequency of every channel of the four broadcast plans.
#pragma once

#include <cstdint>

#include "settings/settings.h"

namespace quivet {

struct ChannelEntry {
  std::int32_t channel;
  std::int32_t freq;  // kHz; 0 ends a table
};

// Room for every channel and the (0, 0) end row.
using ChannelRows = ChannelEntry[NUM_CHANNELS + 1];

// Rows of the plan that f_table selects, ending with (0, 0); returns the
// number of rows before the end row (0 for Blank and anything unknown).
int ChannelTableRows(std::int32_t f_table, ChannelRows& rows);

// Clears tv_chans, then fills it from the plan that f_table selects.
void FillDefaultFrequencies(std::int32_t f_table, ChannelArray& tv_chans);

}  // namespace quivet
