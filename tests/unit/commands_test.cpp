#include "device/commands.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "settings/settings.h"
#include "test_support.h"

namespace quivet {
namespace {

TEST(PackFineTuneTest, ChannelHighByteFrequencyLow24Bits) {
  EXPECT_EQ(PackFineTune(5, 175500), 84061580);
  EXPECT_EQ(PackFineTune(69, 855250), 1158483154);
  EXPECT_EQ(PackFineTune(12, 16777217), 201326593);
  EXPECT_EQ(PackFineTune(5, -1), 100663295);
  for (const std::int32_t ch : {0, 1, 5, 12, 69}) {
    EXPECT_EQ(PackFineTune(ch, 0), ch * 16777216) << ch;
  }
}

TEST(PictureCommandTest, ThreeCodesPerSource) {
  int code = 0;
  for (int source : {SOURCE_TUNER, SOURCE_SVIDEO, SOURCE_COMPOSITE}) {
    for (int setting = 0; setting < 3; ++setting)
      EXPECT_EQ(PictureCommand(source, setting), code++);
  }
  const int named[] = {CMD_T_BRI,   CMD_T_CON,   CMD_T_SAT,  CMD_S_BRI, CMD_S_CON,   CMD_S_SAT,
                       CMD_C_BRI,   CMD_C_CON,   CMD_C_SAT,  CMD_H_RES, CMD_H_SHIFT, CMD_L_DELAY,
                       CMD_D_AUDIO, CMD_F_TABLE, CMD_RF_OUT, CMD_F_TUNE};
  const int codes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(named[i], codes[i]);
}

struct CommandCase {
  int code;
  std::int32_t arg;
  bool valid;
};

class CommandIsValidTest : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandIsValidTest, AcceptsOnlyTheDocumentedRange) {
  EXPECT_EQ(CommandIsValid(GetParam().code, GetParam().arg), GetParam().valid)
      << "code " << GetParam().code << " arg " << GetParam().arg;
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, CommandIsValidTest,
    testing::Values(CommandCase{CMD_T_BRI, 0, true}, CommandCase{CMD_S_BRI, 255, true},
                    CommandCase{CMD_C_BRI, 256, false}, CommandCase{CMD_T_BRI, -1, false},
                    CommandCase{CMD_T_CON, 127, true}, CommandCase{CMD_C_SAT, 128, false},
                    CommandCase{CMD_H_RES, 480, true}, CommandCase{CMD_H_RES, 544, true},
                    CommandCase{CMD_H_RES, 720, true}, CommandCase{CMD_H_RES, 600, false},
                    CommandCase{CMD_H_RES, 481, false}, CommandCase{CMD_H_SHIFT, 255, true},
                    CommandCase{CMD_L_DELAY, -4, true}, CommandCase{CMD_L_DELAY, 3, true},
                    CommandCase{CMD_L_DELAY, -5, false}, CommandCase{CMD_L_DELAY, 4, false},
                    CommandCase{CMD_D_AUDIO, 1, true}, CommandCase{CMD_D_AUDIO, 2, false},
                    CommandCase{13, 0, false}, CommandCase{CMD_F_TABLE, 4, true},
                    CommandCase{CMD_F_TABLE, 5, false}, CommandCase{CMD_RF_OUT, 28, true},
                    CommandCase{CMD_RF_OUT, 69, true}, CommandCase{CMD_RF_OUT, 27, false},
                    CommandCase{CMD_RF_OUT, 70, false},
                    CommandCase{CMD_F_TUNE, PackFineTune(0, 0), true},
                    CommandCase{CMD_F_TUNE, PackFineTune(69, 855250), true},
                    CommandCase{CMD_F_TUNE, PackFineTune(70, 1), false},
                    CommandCase{CMD_F_TUNE, -1, false}, CommandCase{-1, 0, false},
                    CommandCase{17, 0, false}));

TEST(SettingsTest, BuiltInDefaults) {
  EXPECT_EQ(test::Summary(Settings{}),
            "t_bri=125 t_con=67 t_sat=85 s_bri=125 s_con=67 s_sat=85 c_bri=125 c_con=67 "
            "c_sat=85 h_res=544 t_type=1 f_table=99 d_audio=0 h_shift=195 l_delay=0 rf_out=60 "
            "quivet_fd=-1 |");
  EXPECT_EQ(Settings{}.tv_chans, ChannelArray{});
  EXPECT_STREQ(pathname, "/etc/quivet.conf");
}

TEST(SettingsTest, NamesOutsideTheTablesAreEmpty) {
  EXPECT_STREQ(TunerName(TUNER_PHILIPS), "Philips");
  EXPECT_STREQ(TunerName(TUNER_SAMSUNG), "Samsung");
  for (const std::int32_t t : {2, -1, 7, INT32_MIN, INT32_MAX}) EXPECT_STREQ(TunerName(t), "");
  const char* tables[] = {"Australia", "New Zealand", "Europe CCIR", "Europe CATV", "Blank"};
  for (int f = 0; f < 5; ++f) EXPECT_STREQ(FreqName(f), tables[f]);
  for (const std::int32_t f : {5, FTABLE_UNSET, -1, INT32_MIN, INT32_MAX}) {
    EXPECT_STREQ(FreqName(f), "");
  }
}

}  // namespace
}  // namespace quivet
