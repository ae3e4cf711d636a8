// Whole sessions of the shipped tool on the virtual board: the check every
// row gets, the menu journeys, the save interrupted at each step, and the
// board's own tests. The file readings are in readings.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "tests/e2e/cases.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"

namespace e2e {
namespace {

using namespace std::string_literals;

// Dual audio enabled, then saved: the session of the rows about how the tool
// is started or how its save is interrupted.
std::vector<Screen> AudioOn() {
  return {MainMenu(), Audio(false), MainMenu(), Saved()};
}

// What the board must have seen, from the row's file, commands and last screen.
std::string ExpectedRecord(const Case& c) {
  const bool board = c.setup.board != Board::kMissing;
  const std::string& last = c.screens.back().name;
  std::string r = board ? "open /dev/quivet O_RDWR -> ok; " : "open /dev/quivet -> missing; ";
  // The file is read once the start-up pause, if any, is passed; a FIFO never.
  if ((c.screens[0].name != "missing board" || c.screens[1].name != "leaving") && !c.setup.fifo) {
    r += c.file ? "fopen /etc/quivet.conf r -> ok; fclose /etc/quivet.conf; "
                : "fopen /etc/quivet.conf r -> ENOENT; ";
  }
  if (c.setup.late_keys) r += "poll standard input; ";
  // Started meanwhile, a second instance only opens the board and closes it.
  if (c.setup.second) r += "open /dev/quivet O_RDWR -> ok; close /dev/quivet; exit; ";
  for (const std::string& command : Split(c.sent, "; ")) r += "ioctl " + command + "; ";
  if (board) r += "close /dev/quivet; ";
  if (last != "leaving") r += "system mount -o remount,rw /; ";
  if (last == "saved") {
    r += "fopen /etc/quivet.conf w+ -> ok; fsync /etc/quivet.conf " + to_string(c.saved->size()) +
         " bytes; fclose /etc/quivet.conf; ";
  }
  // Refused by the read-only root; a size limit or a FIFO is never opened.
  if (last == "not saved" && c.setup.board == Board::kStuckReadOnly) {
    r += "fopen /etc/quivet.conf w+ -> EROFS; ";
  }
  if (last != "leaving") r += "system mount -o remount,ro /; ";
  r += "exit";
  // The fault knob's signal follows the event of a step done (rw, open) and
  // comes before that of one about to be done (sync, close, ro).
  const std::tuple<std::string, std::string, bool> steps[] = {
      {"rw", "system mount -o remount,rw /; ", true},
      {"open", "fopen /etc/quivet.conf w+ -> ok; ", true},
      {"sync", "fsync", false},
      {"close", "fclose", false},
      {"ro", "system mount -o remount,ro", false}};
  for (const auto& [step, event, done] : steps) {
    if (!c.setup.fault.ends_with("@" + step)) continue;
    const std::string signal = c.setup.fault.substr(0, c.setup.fault.find('@'));
    r.insert(r.rfind(event) + (done ? event.size() : 0), "raise " + signal + "; ");
  }
  return r;
}

class Session : public testing::TestWithParam<Case> {};

TEST_P(Session, ShowsSendsAndSaves) {
  const Case& c = GetParam();
  const Outcome run = RunTool(c.keys, c.file, c.setup);
  ASSERT_EQ(run.errors, "");
  EXPECT_EQ(run.status, 0);
  EXPECT_FALSE(run.fenced_mount);
  // Nothing is seen of the screens when standard output was closed; a terminal
  // shows the host's shell clearing it with ESC c, and each newline as CR LF.
  std::string shown;
  for (const Screen& s : c.screens) shown += s.text;
  if (std::count(c.setup.closed.begin(), c.setup.closed.end(), 1) != 0) shown = "";
  if (c.setup.terminal) {
    shown = std::regex_replace(std::regex_replace(shown, std::regex("<CLEAR>\n"), "\033c"),
                               std::regex("\n"), "\r\n");
  }
  EXPECT_EQ(run.screen, shown);
  EXPECT_EQ(run.record, ExpectedRecord(c));
  EXPECT_EQ(run.config, c.saved ? c.saved : c.file);
  EXPECT_EQ(run.config ? run.mode : 0644u, 0644u);
  EXPECT_EQ(run.second_status, c.setup.second ? 0 : -1);
  EXPECT_EQ(run.second_screen, c.setup.second ? AlreadyRunning : "");
}

// clang-format off
std::vector<Case> Sessions() {
  const Screen unset = Tuner("Samsung", "", true);
  const Screen ccir = Tuner("Samsung", "Europe CCIR", true);
  const Screen philips = Tuner("Philips", "Europe CCIR", false);
  const Screen aus = Tuner("Samsung", "Australia", true);
  const Screen five = Channel(5, 138250, 175500);
  const std::string full = "f_table=0 f_tune=\"" + Pairs(10, 29) + "\"\n";
  // A line of 434 characters: a size limit below it still leaves room for
  // the screens and the board's record.
  const int min = -2147483647 - 1;
  Line wide{.t_bri = min, .t_con = 300, .s_bri = min, .c_bri = min, .h_res = min,
            .d_audio = min, .t_type = min, .f_table = 0, .h_shift = min, .l_delay = min,
            .f_tune = Pairs(10, 29)};
  const std::string wide_file = wide.Text();
  wide.t_con = 44;
  const rlim_t wide_size = wide.Text().size();
  std::string short_pairs;  // nine pairs of eight characters
  for (int c = 10; c <= 18; ++c) short_pairs += to_string(c) + ":" + to_string(50000 + c) + ",";
  return {
      {"main menu takes the first character of a line and redraws on anything else",
       "t_bri=9\n", "7\n0\n\n\xff\n\x01\n12\n4\n2zzz\n3\n4" + std::string(3000, 'z') + "\n4\n6\n",
       {MainMenu(), MainMenu(), MainMenu(), MainMenu(), MainMenu(), MainMenu(), Inputs(),
        MainMenu(), Audio(false), MainMenu(), Other(false), MainMenu(), Left()},
       ""},
      {"picture prompts store and send each input's own setting within its bound", std::nullopt,
       "1\n1\n1\n255\n256\n-5\nx\n2\n127\n128\n\nx\n3\n\0\nx\n9\n4\n"s
       "2\n1\n7\nx\n2\n126\nx\n3\n127\nx\n4\n"
       "3\n1\n0\nx\n2\n9\nx\n3\n1\nx\n4\n5\n4\n5\n",
       {MainMenu(), Inputs(), Input("Tuner"), Picture("Brightness", 125),
        Picture("Brightness", 255), Picture("Brightness", 255), Picture("Brightness", 255),
        Input("Tuner"), Picture("Contrast", 67), Picture("Contrast", 127),
        Picture("Contrast", 127), Picture("Contrast", 0), Input("Tuner"), Picture("Colour", 85),
        Picture("Colour", 85), Input("Tuner"), Input("Tuner"), Inputs(), Input("Composite"),
        Picture("Brightness", 125), Picture("Brightness", 7), Input("Composite"),
        Picture("Contrast", 67), Picture("Contrast", 126), Input("Composite"),
        Picture("Colour", 85), Picture("Colour", 127), Input("Composite"), Inputs(),
        Input("S-Video"), Picture("Brightness", 125), Picture("Brightness", 0),
        Input("S-Video"), Picture("Contrast", 67), Picture("Contrast", 9), Input("S-Video"),
        Picture("Colour", 85), Picture("Colour", 1), Input("S-Video"), Inputs(), Inputs(),
        MainMenu(), Saved()},
       "CMD_T_BRI 255; CMD_T_CON 127; CMD_T_CON 0; CMD_T_SAT 85; CMD_C_BRI 7; CMD_C_CON 126; "
       "CMD_C_SAT 127; CMD_S_BRI 0; CMD_S_CON 9; CMD_S_SAT 1",
       Line{.t_bri = 255, .t_con = 0, .s_bri = 0, .s_con = 9, .s_sat = 1, .c_bri = 7,
            .c_con = 126, .c_sat = 127}.Text()},
      {"audio switch is sent on every choice, also unchanged", "d_audio=7\n",
       "2\n2\n2\n2\n2\n1\n2\n9\n3\n2\n",
       {MainMenu(), Audio(true), MainMenu(), Audio(false), MainMenu(), Audio(false), MainMenu(),
        Audio(true), Audio(true), MainMenu(), Audio(true), Left()},
       "CMD_D_AUDIO 0; CMD_D_AUDIO 0; CMD_D_AUDIO 1"},
      // 1000 is refused and leaves its Enter: alone, the number 0, not an empty entry.
      {"shift is offered at 720 only and takes 0 to 255; delay takes -4 to +3, x leaves it", std::nullopt,
       "4\n2\n1\n7\n3\n2\n256\n-1\n255\n1000\nx\n3\n4\n\n+4\n\n-5\n\n-4\n"
       "3\n3\n3\n\0\n3\nx\n1\n1\n1\n4\n2\n1\n2\n4\n5\n"s,
       {MainMenu(), Other(false), Other(false), Resolution(544), Resolution(544, false),
        Other(true), Shift(195), Shift(195), Shift(195), Shift(255), Shift(255), Shift(0),
        Other(true), Delay(0), InvalidDelay(), Delay(0), InvalidDelay(), Delay(0),
        InvalidDelay(), Delay(0), Other(true), Delay(-4), Other(true), Delay(3), Other(true),
        Delay(3), Other(true), Resolution(720), Other(false), Resolution(480), Other(false), Other(false),
        Resolution(480), Other(false), MainMenu(), Saved()},
       "CMD_H_RES 720; CMD_H_SHIFT 255; CMD_H_SHIFT 0; CMD_L_DELAY -4; CMD_L_DELAY 3; "
       "CMD_H_RES 480; CMD_H_RES 544",
       Line{.h_shift = 0, .l_delay = 3}.Text()},
      {"tuner type is only recorded; every table choice is sent", "t_type=1 f_table=2\n",
       "3\n1\n5\n2\n3\n3\n3\n7\n5\n3\n6\n3\n1\n3\n2\n3\n4\n6\n5\n",
       {MainMenu(), ccir, philips, philips, ccir, Tables("Europe CCIR"), ccir,
        Tables("Europe CCIR"), Tables("Europe CCIR"), Tuner("Samsung", "Blank", true),
        Tables("Blank"), Tuner("Samsung", "Blank", true), Tables("Blank"), aus,
        Tables("Australia"), Tuner("Samsung", "New Zealand", true), Tables("New Zealand"),
        Tuner("Samsung", "Europe CATV", true), MainMenu(), Saved()},
       "CMD_F_TABLE 2; CMD_F_TABLE 4; CMD_F_TABLE 0; CMD_F_TABLE 1; CMD_F_TABLE 3",
       Line{.f_table = 3}.Text()},
      {"RF channel keeps its low byte and falls back to 60 outside 28 to 69", std::nullopt,
       "3\n5\n45\n5\n27\n5\n70\n5\n300\n5\n284\n5\n-200\n5\nx\n5\n69\n5\n\0\n"
       "1\n5\n2\n5\n28\n6\n5\n"s,
       {MainMenu(), unset, Rf(60), unset, Rf(45), unset, Rf(60), unset, Rf(60), unset, Rf(44),
        unset, Rf(28), unset, Rf(56), unset, Rf(60), unset, Rf(69), unset,
        Tuner("Philips", "", false), Tuner("Philips", "", false), unset, Rf(69), unset,
        MainMenu(), Saved()},
       "CMD_RF_OUT 45; CMD_RF_OUT 60; CMD_RF_OUT 60; CMD_RF_OUT 44; CMD_RF_OUT 28; "
       "CMD_RF_OUT 56; CMD_RF_OUT 60; CMD_RF_OUT 69; CMD_RF_OUT 28",
       Line{.rf_out = 28}.Text()},
      {"fine tuning stores, sends the packed argument, lists and removes channels", "f_table=0\n",
       "3\n4\n1\n\n2\n5\n175500\n-1\n1000000\n\0\nx\n70\n-1\n\0\n\nx\nX\n46000\nx\n"s
       "69\n855250\nx\n40\n203250\n0\n203250\nx\n12\n999999\nx\nx\n1\n\n3\n6\n5\n",
       {MainMenu(), aus, FineTuning(), FineTuned({}), FineTuning(), Channels(),
        Channel(5, 138250, 138250), five, five, five, five, Channels(), Channels(), Channels(),
        Channels(), Channel(0, 46250, 46250), Channels(), Channel(0, 46250, 46250),
        Channel(0, 46250, 46000), Channels(), Channel(69, 814250, 814250),
        Channel(69, 814250, 855250), Channels(), Channel(40, 611250, 611250),
        Channel(40, 611250, 203250), Channel(40, 611250, 611250), Channel(40, 611250, 203250),
        Channels(), Channel(12, 224250, 224250), Channel(12, 224250, 999999), Channels(),
        FineTuning(), FineTuned({{0, 46000}, {5, 175500}, {12, 999999}, {40, 203250}, {69, 855250}}),
        FineTuning(), aus, MainMenu(), Saved()},
       "CMD_F_TUNE 84061580; CMD_F_TUNE 46000; CMD_F_TUNE 1158483154; CMD_F_TUNE 671291890; "
       "CMD_F_TUNE 671088640; CMD_F_TUNE 671291890; CMD_F_TUNE 202326591",
       Line{.f_table = 0, .f_tune = "0:46000,5:175500,12:999999,40:203250,69:855250"}.Text()},
      {"a full fine-tune list refuses a longer one but takes changes that do not lengthen it",
       full, "3\n4\n2\n30\n100000\n\nx\n10\n1\n0\nx\n30\n100000\nx\nx\n3\n6\n5\n",
       {MainMenu(), aus, FineTuning(), Channels(), Channel(30, 541250, 541250), ListFull(),
        Channel(30, 541250, 541250), Channels(), Channel(10, 209250, 500010),
        Channel(10, 209250, 1), Channel(10, 209250, 209250), Channels(),
        Channel(30, 541250, 541250), Channel(30, 541250, 100000), Channels(), FineTuning(), aus,
        MainMenu(), Saved()},
       "CMD_F_TUNE 167772161; CMD_F_TUNE 167772160; CMD_F_TUNE 503416480",
       Line{.f_table = 0, .f_tune = Pairs(11, 29) + ",30:100000"}.Text()},
      {"a list of 190 characters takes a pair of nine, not of ten; its pause takes a whole line",
       "f_table=0 f_tune=\"" + short_pairs + Pairs(19, 29) + "\"\n", "3\n4\n2\n30\n100000\na\n12345\n",
       {MainMenu(), aus, FineTuning(), Channels(), Channel(30, 541250, 541250), ListFull(),
        Channel(30, 541250, 541250), Channel(30, 541250, 12345), Left()},
       "CMD_F_TUNE 503328825"},
      {"a list loaded overfull can still be cut down, never lengthened",
       "f_table=0 f_tune=\"" + Pairs(10, 34) + "\"\n",
       "3\n4\n2\n10\n0\nx\n11\n100000\nx\n35\n100000\n\nx\nx\n3\n6\n5\n",
       {MainMenu(), aus, FineTuning(), Channels(), Channel(10, 209250, 500010),
        Channel(10, 209250, 209250), Channels(), Channel(11, 216250, 500011),
        Channel(11, 216250, 100000), Channels(), Channel(35, 576250, 576250), ListFull(),
        Channel(35, 576250, 576250), Channels(), FineTuning(), aus, MainMenu(), Saved()},
       "CMD_F_TUNE 167772160; CMD_F_TUNE 184649376",
       Line{.f_table = 0, .f_tune = "11:100000," + Pairs(12, 30)}.Text()},
      {"without the board changes are stored, shown and saved but never sent", std::nullopt,
       "k\n1\n1\n1\n200\nx\n4\n4\n3\n5\n50\n5\n\0\n4\n2\n5\n500000\nx\nx\n1\n\n3\n6\n2\n1\n5\n"s,
       {MissingBoard(), MainMenu(), MainMenu(), Inputs(), Input("Tuner"),
        Picture("Brightness", 125), Picture("Brightness", 200), Input("Tuner"), Inputs(),
        MainMenu(), unset, Rf(60), unset, Rf(50), unset, FineTuning(), Channels(),
        Channel(5, 0, 0), Channel(5, 0, 0), Channels(), FineTuning(), FineTuned({}), FineTuning(),
        unset, MainMenu(), Audio(false), MainMenu(), Saved()},
       "", Line{.t_bri = 200, .d_audio = 1, .rf_out = 50}.Text(), {.board = Board::kMissing}},
      {"a root that stays read-only: not saved, the file as it was", "t_bri=1\n", "5\n",
       {MainMenu(), NotSaved()}, "", std::nullopt, {.board = Board::kStuckReadOnly}},
      // Started oddly: nothing may reach the device but its commands, and
      // nothing may be lost.
      {"with standard input closed it leaves at once, the device above descriptor 2",
       std::nullopt, "", {MainMenu(), Left()}, "", std::nullopt, {.closed = {0}}},
      {"with standard output and error closed the device stays above descriptor 2",
       std::nullopt, "2\n1\n5\n", AudioOn(), "CMD_D_AUDIO 1", Line{.d_audio = 1}.Text(),
       {.closed = {1, 2}}},
      {"keys late on a non-blocking pipe are waited for, not taken for the end", std::nullopt,
       "1\n1\n1\n200\nx\n4\n4\n5\n",
       {MainMenu(), Inputs(), Input("Tuner"), Picture("Brightness", 125),
        Picture("Brightness", 200), Input("Tuner"), Inputs(), MainMenu(), Saved()},
       "CMD_T_BRI 200", Line{.t_bri = 200}.Text(), {.late_keys = true}},
      {"a Ctrl-C at the clear-screen shell of a terminal spares the tool", std::nullopt,
       "2\n1\n5\n", AudioOn(), "CMD_D_AUDIO 1", Line{.d_audio = 1}.Text(), {.terminal = true}},
      // One at a time, whatever locks others without the board's write access hold.
      {"a second instance is refused while the first runs and saves, others' flocks aside",
       std::nullopt, "2\n1\n5\n", AudioOn(), "CMD_D_AUDIO 1", Line{.d_audio = 1}.Text(),
       {.late_keys = true, .second = "5\n", .flocked = true}},
      {"a read lock on the board held by a reader does not stop the tool", std::nullopt,
       "2\n1\n5\n", AudioOn(), "CMD_D_AUDIO 1", Line{.d_audio = 1}.Text(), {.read_locked = true}},
      {"a FIFO at the file's path is passed over at start and never written", std::nullopt,
       "3\n6\n5\n", {MainMenu(), unset, MainMenu(), NotSaved()}, "", std::nullopt,
       {.fifo = true}},
      // The save's own surroundings.
      {"with a umask of 000 a new file is still created 0644", std::nullopt, "5\n",
       {MainMenu(), Saved()}, "", Line{}.Text(), {.umask = 0}},
      {"a file size limit below the line is raised to its ceiling for the save", wide_file,
       "5\n",
       {MainMenu(), Saved()}, "", wide.Text(), {.file_limit = 400}},
      {"a hard file size limit one byte short of the line leaves the file as it was", wide_file,
       "5\n", {MainMenu(), NotSaved()}, "", std::nullopt,
       {.file_limit = wide_size - 1, .fixed_limit = true}},
      {"a hard file size limit of the line's length is enough", wide_file, "5\n",
       {MainMenu(), Saved()}, "", wide.Text(), {.file_limit = wide_size, .fixed_limit = true}},
      {"a last line without its newline is still acted on", std::nullopt, "1\n2\n2\n12",
       {MainMenu(), Inputs(), Input("Composite"), Picture("Contrast", 67),
        Picture("Contrast", 12), Left()},
       "CMD_C_CON 12"},
      {"names outside the tables show empty", "t_type=7 f_table=5\n", "3\n",
       {MainMenu(), Tuner("", "", false), Left()}, ""},
      // Entries longer than their buffers: the rest is the next entry.
      {"RF entry of 20 characters, rest of line chooses fine tuning", std::nullopt,
       "3\n5\n" + std::string(19, '0') + "45\n",
       {MainMenu(), unset, Rf(60), unset, FineTuning(), Left()}, "CMD_RF_OUT 60"},
      {"channel entries of 4 characters, frequencies of 9", std::nullopt,
       "3\n4\n2\n4294967365\n1000000123\n\xff\n",
       {MainMenu(), unset, FineTuning(), Channels(), Channels(), Channels(), Channel(65, 0, 0),
        Channel(65, 0, 0), Channel(65, 0, 3), Channel(65, 0, 0), Left()},
       "CMD_F_TUNE 1090519043; CMD_F_TUNE 1090519040"},
      // End of input leaves as "Exit without saving" does, whatever reads it; rows
      // above end at menu choices and entries, these at pauses of a key or a line.
      {"end of input at the missing-board pause", std::nullopt, "", {MissingBoard(), Left()}, "",
       std::nullopt, {.board = Board::kMissing}},
      {"end of input at the fine-tuned list", std::nullopt, "3\n4\n1\n",
       {MainMenu(), unset, FineTuning(), FineTuned({}), Left()}, ""},
  };
}

// Whatever a dropped line, a key or a shutdown sends, at whatever step of
// the save: the whole new line, the root read-only again, exit status 0.
std::vector<Case> Interruptions() {
  const std::pair<int, const char*> signals[] = {
      {SIGHUP, "HUP"},   {SIGINT, "INT"},   {SIGQUIT, "QUIT"}, {SIGTERM, "TERM"},
      {SIGTSTP, "TSTP"}, {SIGTTIN, "TTIN"}, {SIGTTOU, "TTOU"}, {SIGPIPE, "PIPE"},
      {SIGALRM, "ALRM"}, {SIGXFSZ, "XFSZ"}};
  std::vector<Case> cases;
  for (const auto& [signal, name] : signals) {
    for (const std::string step : {"rw", "open", "sync", "close", "ro"}) {
      cases.push_back({"SIG"s + name + " at " + step, std::nullopt, "2\n1\n5\n",
                       AudioOn(), "CMD_D_AUDIO 1",
                       Line{.d_audio = 1}.Text(), {.fault = to_string(signal) + "@" + step}});
    }
  }
  return cases;
}

// clang-format on

// Test names take letters, digits and underscores only.
std::string Named(const testing::TestParamInfo<Case>& info) {
  static const std::regex other("[^A-Za-z0-9]");
  return std::regex_replace(info.param.name, other, "_");
}

INSTANTIATE_TEST_SUITE_P(Menus, Session, testing::ValuesIn(Sessions()), Named);
INSTANTIATE_TEST_SUITE_P(File, Session, testing::ValuesIn(Readings()), Named);
INSTANTIATE_TEST_SUITE_P(Save, Session, testing::ValuesIn(Interruptions()), Named);

// The board keeps its registers from run to run until a command replaces one
// or the host restarts; then the host's start-up sends what the tool reads
// of the saved line, and the board keeps what it accepts.
TEST(Board, KeepsItsRegistersUntilReplacedOrARestart) {
  const std::tuple<bool, std::optional<std::string>, std::string, std::string> rows[] = {
      {false, std::nullopt, "2\n1\n6\n", "CMD_T_BRI 9; CMD_D_AUDIO 1; "},
      {true, std::nullopt, "6\n", ""},
      {true, "t_bri=-1 t_con=300 h_res=720 t_type=7 f_table=99 rf_out=27 f_tune=\"9:100,5:-2\"\n",
       "6\n",
       "CMD_T_CON 44; CMD_T_SAT 85; CMD_S_BRI 125; CMD_S_CON 67; CMD_S_SAT 85; CMD_C_BRI 125; "
       "CMD_C_CON 67; CMD_C_SAT 85; CMD_H_RES 720; CMD_H_SHIFT 195; CMD_L_DELAY 0; "
       "CMD_D_AUDIO 0; CMD_F_TUNE 150995044; "},
  };
  for (const auto& [restart, file, keys, registers] : rows) {
    const Outcome run =
        RunTool(keys, file, {.kept = "CMD_D_AUDIO 0\nCMD_T_BRI 9\n", .restart = restart});
    EXPECT_EQ(run.record.starts_with("restart; open /dev/quivet"), restart) << run.record;
    EXPECT_EQ(run.registers, registers) << file.value_or("no file");
  }
}

TEST(Board, RefusesToRunTheToolWithoutASandboxOrWithAMistypedFaultKnob) {
  std::vector<std::pair<e2e::Setup, std::string>> rows = {
      {{.board = Board::kNoSandbox}, "QUIVET_VBOARD_DIR"}};
  for (const char* fault : {" 2@rw", "+2@rw", "02@rw", "0@rw", "65@rw", "2@", "2@rw ", "2rw"})
    rows.push_back({{.fault = fault}, "QUIVET_VBOARD_SIGNAL"});
  for (const auto& [setup, variable] : rows) {
    const Outcome run = RunTool("5\n", std::nullopt, setup);
    EXPECT_EQ(run.status, 2) << setup.fault;
    EXPECT_EQ(run.screen, "");
    EXPECT_NE(run.errors.find(variable), std::string::npos) << run.errors;
  }
}

}  // namespace
}  // namespace e2e
