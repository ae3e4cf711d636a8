// The one settings record of the process, with its defaults and name tables.
#pragma once

#include <array>
#include <cstdint>

namespace quivet {

enum InputSource : std::uint8_t {
  SOURCE_TUNER = 0,
  SOURCE_SVIDEO = 1,
  SOURCE_COMPOSITE = 2,
};

inline constexpr std::int32_t TUNER_PHILIPS = 0;
inline constexpr std::int32_t TUNER_SAMSUNG = 1;

inline constexpr std::int32_t FTABLE_AUSTRALIA = 0;
inline constexpr std::int32_t FTABLE_NEW_ZEALAND = 1;
inline constexpr std::int32_t FTABLE_EUROPE_CCIR = 2;
inline constexpr std::int32_t FTABLE_EUROPE_CATV = 3;
inline constexpr std::int32_t FTABLE_BLANK = 4;
inline constexpr std::int32_t FTABLE_UNSET = 99;

inline constexpr int NUM_CHANNELS = 70;
using ChannelArray = std::array<std::int32_t, NUM_CHANNELS>;

struct Settings {
  std::int32_t t_bri = 125;
  std::uint8_t t_con = 67;
  std::uint8_t t_sat = 85;
  std::int32_t s_bri = 125;
  std::uint8_t s_con = 67;
  std::uint8_t s_sat = 85;
  std::int32_t c_bri = 125;
  std::uint8_t c_con = 67;
  std::uint8_t c_sat = 85;
  std::int32_t h_res = 544;
  std::int32_t t_type = TUNER_SAMSUNG;
  std::int32_t f_table = FTABLE_UNSET;
  std::int32_t d_audio = 0;
  std::int32_t h_shift = 195;
  std::int32_t l_delay = 0;
  std::uint8_t rf_out = 60;
  std::int32_t quivet_fd = -1;
  ChannelArray tv_chans{};      // defaults of the table in force at start-up
  ChannelArray channel_freq{};  // fine-tuned frequencies, 0 = not fine-tuned
};

extern Settings settings;

inline constexpr char pathname[17] = "/etc/quivet.conf";
extern const char TunerText[2][30];
extern const char FreqText[5][30];

// The file may hold any number here; anything outside the tables shows as "".
const char* TunerName(std::int32_t t_type);
const char* FreqName(std::int32_t f_table);

}  // namespace quivet
