// A failed property prints what broke and aborts: libFuzzer keeps the input
// as a crash, the corpus replay fails its test.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "settings/fine_tune_list.h"
#include "settings/settings.h"

#define FUZZ_CHECK(cond, ...)                                                          \
  do {                                                                                 \
    if (!(cond)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property failed: %s: ", __FILE__, __LINE__, #cond); \
      std::fprintf(stderr, __VA_ARGS__);                                               \
      std::fputc('\n', stderr);                                                        \
      std::abort();                                                                    \
    }                                                                                  \
  } while (0)

// Every scalar setting; the channel arrays are compared where they matter.
inline bool SameSettings(const quivet::Settings& a, const quivet::Settings& b) {
  return a.t_bri == b.t_bri && a.t_con == b.t_con && a.t_sat == b.t_sat && a.s_bri == b.s_bri &&
         a.s_con == b.s_con && a.s_sat == b.s_sat && a.c_bri == b.c_bri && a.c_con == b.c_con &&
         a.c_sat == b.c_sat && a.h_res == b.h_res && a.t_type == b.t_type &&
         a.f_table == b.f_table && a.d_audio == b.d_audio && a.h_shift == b.h_shift &&
         a.l_delay == b.l_delay && a.rf_out == b.rf_out;
}

// Read back from line, settings s come out the same, but for fine-tuned
// channels the list had no room for.
inline void CheckReadBack(const quivet::Settings& back, const quivet::Settings& s,
                          const char* line) {
  FUZZ_CHECK(SameSettings(back, s), "'%s' reads back changed", line);
  char list[quivet::kFineTuneListSize];
  quivet::ChannelArray kept = s.channel_freq;
  if (!quivet::EncodeFineTuneList(kept, list)) quivet::LoadFineTuneFrequencies(list, kept);
  FUZZ_CHECK(back.channel_freq == kept, "fine-tune list changed through '%s'", line);
}
