#include "settings/channel_tables.h"

#include <span>

namespace quivet {

namespace {

// The plans are runs of channels with an even spacing; storing the runs
// keeps the tables a few hundred bytes instead of two kilobytes.
struct ChannelRun {
  std::uint8_t first;
  std::uint8_t last;
  std::int32_t freq;  // of the first channel
  std::int32_t step;
};

constexpr ChannelRun aus_tv_chans[] = {
    {0, 0, 46250, 0},       {1, 1, 57250, 0},    {2, 2, 64250, 0},       {3, 3, 86250, 0},
    {4, 4, 95250, 0},       {5, 5, 138250, 0},   {6, 9, 175250, 7000},   {10, 11, 209250, 7000},
    {12, 12, 224250, 0},    {27, 27, 521250, 0}, {28, 35, 527250, 7000}, {36, 36, 591250, 0},
    {39, 69, 604250, 7000},
};

constexpr ChannelRun nz_tv_chans[] = {
    {1, 1, 45250, 0},
    {2, 3, 55250, 7000},
    {4, 11, 175250, 7000},
    {21, 69, 471250, 8000},
};

constexpr ChannelRun ccir_tv_chans[] = {
    {2, 4, 48250, 7000},
    {5, 12, 175250, 7000},
    {21, 69, 471250, 8000},
};

constexpr ChannelRun ccir_catv_tv_chans[] = {
    {0, 7, 48250, 7000},
    {8, 35, 105250, 7000},
    {36, 56, 303250, 8000},
};

std::span<const ChannelRun> RunsOf(std::int32_t f_table) {
  switch (f_table) {
    case FTABLE_AUSTRALIA: return aus_tv_chans;
    case FTABLE_NEW_ZEALAND: return nz_tv_chans;
    case FTABLE_EUROPE_CCIR: return ccir_tv_chans;
    case FTABLE_EUROPE_CATV: return ccir_catv_tv_chans;
    default: return {};
  }
}

}  // namespace

int ChannelTableRows(std::int32_t f_table, ChannelRows& rows) {
  int count = 0;
  for (const ChannelRun& run : RunsOf(f_table)) {
    for (int channel = run.first; channel <= run.last; ++channel) {
      rows[count++] = {channel, run.freq + run.step * (channel - run.first)};
    }
  }
  rows[count] = {0, 0};
  return count;
}

void FillDefaultFrequencies(std::int32_t f_table, ChannelArray& tv_chans) {
  tv_chans.fill(0);
  ChannelRows rows;
  ChannelTableRows(f_table, rows);
  // The end row is known by its frequency alone.
  for (const ChannelEntry* row = rows; row->freq != 0; ++row) {
    if (row->channel > NUM_CHANNELS - 1) break;
    tv_chans[row->channel] = row->freq;
  }
}

}  // namespace quivet
