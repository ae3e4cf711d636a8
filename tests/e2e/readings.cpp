// File readings: a configuration file in, "Save settings and exit", the
// line out. What the reader took from the file, as the writer puts it.
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/cases.h"
#include "tests/e2e/screens.h"

namespace e2e {

using namespace std::string_literals;

namespace {

Case Read(const std::string& name, const std::optional<std::string>& file, const Line& saved) {
  return {name, file, "5\n", {MainMenu(), Saved()}, "", saved.Text()};
}

}  // namespace

// clang-format off
std::vector<Case> Readings() {
  return {
      Read("empty file: the tuner code read as Samsung and Australia", "", {.f_table = 0}),
      Read("every current key", "t_bri=1 t_con=2 t_sat=3 s_bri=4 s_con=5 s_sat=6 c_bri=7 c_con=8 "
       "c_sat=9 h_res=480 t_type=0 f_table=4 d_audio=1 h_shift=11 rf_out=30 f_tune=\"3:7\" "
       "l_delay=-2\n",
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 480, 1, 0, 4, 11, 30, -2, "3:7"}),
      Read("every older key; the av keys set both inputs", "brightness=1 contrast=2 saturation=3 "
       "avbrightness=4 avcontrast=5 avsaturation=6 screenwidth=720 tunertype=0 freqtable=3 "
       "dualaudioinput=1 horizontalshift=9 rfoutput=31 finetune=\"5:100\" luminanceDelay=-3\n",
       {1, 2, 3, 4, 5, 6, 4, 5, 6, 720, 1, 0, 3, 9, 31, -3, "5:100"}),
      Read("one-byte settings keep the low byte", "t_con=300 t_sat=-1 s_con=256 rf_out=300 "
       "c_sat=-2147483648 t_bri=-1 f_table=0\n",
       {.t_bri = -1, .t_con = 44, .t_sat = 255, .s_con = 0, .c_sat = 0, .f_table = 0,
        .rf_out = 44}),
      // A carriage return, as any character after the digits, ends a number.
      Read("numbers read like strtol and saturate at the 32-bit ends",
       "t_bri=12abc s_bri= c_bri=x5 h_res=+720 d_audio=\t\v\f\r7 h_shift=2147483647 "
       "l_delay=-2147483648 t_sat=2147483646 s_sat=-2147483647 c_con=99999999999 "
       "t_type=2147483648 f_table=-2147483649\r\n",
       {12, 67, 254, 0, 67, 1, 0, 255, 85, 720, 7, 2147483647, -2147483647 - 1, 2147483647, 60,
        -2147483647 - 1}),
      Read("the last occurrence wins; case and unknown keys are passed over",
       "t_bri=1 T_BRI=9 foo=3 =4 t_bri=2 avcontrast=50 c_con=20 f_table=0\n",
       {.t_bri = 2, .s_con = 50, .c_con = 20, .f_table = 0}),
      Read("two blanks end the line", "t_bri=1  t_con=2\n", {.t_bri = 1, .f_table = 0}),
      Read("a token without = ends the line", "t_bri=1 junk t_con=2\n", {.t_bri = 1, .f_table = 0}),
      Read("only the first line counts", "f_table=1\nt_bri=1\n", {.f_table = 1}),
      Read("the line ends at its first NUL", "t_bri=5\0 t_con=9\n"s, {.t_bri = 5, .f_table = 0}),
      Read("only 510 characters of it", "x=" + std::string(499, 'a') + " t_bri=123456\n",
       {.t_bri = 12, .f_table = 0}),
      Read("tuner code 0: Philips, Australia", "t_type=0\n", {.t_type = 0, .f_table = 0}),
      Read("tuner code 2: Philips, New Zealand", "t_type=2\n", {.t_type = 0, .f_table = 1}),
      Read("tuner code 3: Philips, Europe CCIR", "tunertype=3\n", {.t_type = 0, .f_table = 2}),
      Read("tuner code 4: Philips, Europe CATV", "t_type=4\n", {.t_type = 0, .f_table = 3}),
      Read("tuner code 5 with table 99: Samsung, New Zealand", "t_type=5 f_table=99\n",
       {.t_type = 1, .f_table = 1}),
      Read("tuner code 6 stays unresolved", "tunertype=6\n", {.t_type = 6, .f_table = 99}),
      Read("tuner code -1 stays unresolved", "t_type=-1\n", {.t_type = -1, .f_table = 99}),
      Read("a table of 7 is kept, no migration", "t_type=3 f_table=7\n", {.t_type = 3, .f_table = 7}),
      Read("fine-tune list: 70 skipped, 71 ends it", "f_tune=\"70:1,5:2,71:3,6:4\" f_table=0\n",
       {.f_table = 0, .f_tune = "5:2"}),
      Read("fine-tune list: frequency 0 ends it", "f_tune=\"5:9,6:0,7:2\" f_table=0\n",
       {.f_table = 0, .f_tune = "5:9"}),
      Read("fine-tune list: a three-character channel ends it",
       "f_tune=\"005:175500,6:1\" f_table=0\n", {.f_table = 0}),
      Read("fine-tune list: any order, later pair wins, negatives kept",
       "f_tune=\"9:7,3:-8,9:6\" f_table=0\n", {.f_table = 0, .f_tune = "3:-8,9:6"}),
      Read("fine-tune list: a seven-digit frequency loses its last digit and ends it",
       "f_tune=\"5:1234567,6:2\" f_table=0\n", {.f_table = 0, .f_tune = "5:123456"}),
      Read("fine-tune list: the later key replaces the whole list",
       "f_tune=\"5:1\" finetune=\"6:2\" f_table=0\n", {.f_table = 0, .f_tune = "6:2"}),
      Read("fine-tune list: a value of one character clears it",
       "f_tune=\"5:1\" f_tune=x f_table=0\n", {.f_table = 0}),
      Read("a list loaded overfull is saved as whole pairs up to 199 characters",
       "f_table=0 f_tune=\"" + Pairs(0, 21) + "\"\n", {.f_table = 0, .f_tune = Pairs(0, 20)}),
  };
}
// clang-format on

}  // namespace e2e
