// quivet_config_check on files as a fleet ships them: the slips each must
// give, by kind, and the line it prints, which must be the line the tool
// itself saves for that file on the virtual board.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>

#include "tests/e2e/harness.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct Checked {
  int status = -1;
  std::string out, err;
  std::vector<std::string> slips;
};

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The checker on args, with standard input from f, in a folder that holds
// f with these bytes, a folder d and a FIFO p; slips without "f:" and "warning".
Checked Check(const std::string& bytes, std::vector<std::string> args = {"f"},
              const std::string& f = "f") {
  const fs::path dir = fs::temp_directory_path() / ("quivet-check-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "d");
  mkfifo((dir / "p").c_str(), 0644);
  std::ofstream(dir / f, std::ios::binary) << bytes;
  // One that spins ends after a second of its own time, as the tool does.
  std::string command =
      "cd '" + dir.string() + (*QUIVET_E2E_EMULATOR ? "' &&" : "' && ulimit -t 1 &&");
  for (const std::string& word : Split(QUIVET_E2E_EMULATOR, "|")) command += " '" + word + "'";
  command += " '" QUIVET_CHECKER "'";
  for (const std::string& word : args) command += " '" + word + "'";
  const int status = std::system((command + " <'" + f + "' >out 2>err").c_str());
  const std::string out = Read(dir / "out"), err = Read(dir / "err");
  fs::remove_all(dir);
  const std::regex warning("(^|\n)f:([0-9]+:[0-9]+): warning");
  return {WEXITSTATUS(status), out, err, Split(std::regex_replace(err, warning, "$1$2"), "\n")};
}

struct Row {
  std::string name;
  std::string file;
  std::vector<std::string> slips;
};

void PrintTo(const Row& row, std::ostream* out) {
  *out << row.name;
}

const std::string kSaved =
    "t_bri=125 t_con=67 t_sat=85 s_bri=125 s_con=67 s_sat=85 c_bri=125 c_con=67 c_sat=85 "
    "h_res=544 d_audio=0 t_type=1 f_table=2 h_shift=195 rf_out=60 l_delay=0 "
    "f_tune=\"5:175250,12:203250\"\n";

std::vector<Row> Rows() {
  return {
      {"a saved line is clean", kSaved, {}},
      {"and so is its Windows form", kSaved.substr(0, kSaved.size() - 1) + "\r\n", {}},
      // Reading stops early.
      {"a token without =",
       "t_bri=7 damaged c_sat=9\n",
       {"1:9: damaged: no =, so reading ends here; not read: damaged c_sat=9"}},
      {"two blanks", "t_bri=7  t_con=8\n", {"1:9: two blanks end reading here; not read: t_con=8"}},
      {"a first line that begins with a blank",
       " t_bri=7\n",
       {"1:1: the line begins with a blank, so none of it is read"}},
      {"a comment",
       "# site\nt_bri=7\n",
       {"1:1: #: no =, so reading ends here (the file has no comments); not read: # site",
        "2:1: only the first line is read"}},
      {"an empty file", "", {"1:1: the file is empty: no setting is read"}},
      {"an empty first line",
       "\nt_bri=7\n",
       {"1:1: the first line is empty: no setting is read", "2:1: only the first line is read"}},
      {"a NUL", "t_bri=7\0 t_con=8\n"s, {"1:8: a NUL byte ends the line; not read:  t_con=8"}},
      {"the cut after 510 characters",
       "t_con=" + std::string(504, '0') + "99\n",
       {"1:511: the tool reads 510 characters of the line; not read: 99"}},
      // Keys passed over.
      {"unknown keys, near one and not, a key in another case, no key, a byte-order mark",
       "\xEF\xBB\xBFt_bri=5 t_brt=7 colour=8 T_BRI=5 =6\n",
       {"1:1: \\xef\\xbb\\xbft_bri=5: a byte-order mark makes the key unknown; passed over",
        "1:10: t_brt=7: unknown key, passed over; did you mean t_bri?",
        "1:18: colour=8: unknown key, passed over",
        "1:27: T_BRI=5: keys are case-sensitive; passed over (the key is t_bri)",
        "1:35: =6: no key before =; passed over"}},
      // A setting given twice.
      {"twice, under an older and a current name",
       "brightness=3 avcontrast=50 t_bri=7 c_con=20\n",
       {"1:28: t_bri=7: sets t_bri again; the later value wins (first set by brightness=3)",
        "1:36: c_con=20: sets c_con again; the later value wins (first set by avcontrast=50)"}},
      // Values.
      {"no digits, characters after the number, assignments joined by a tab",
       "t_bri= t_sat=12abc c_bri=7\tt_con=8\n",
       {"1:1: t_bri=: no number; the tool reads 0",
        "1:8: t_sat=12abc: the tool reads 12 and ignores abc",
        "1:20: c_bri=7\\x09t_con=8: the tool reads 7 and ignores \\x09t_con=8; only a blank "
        "separates assignments"}},
      {"one byte, the 32-bit range, the menus' ranges",
       "t_con=300 rf_out=-1 s_bri=-99999999999 h_res=600 l_delay=-5 c_sat=128 c_bri=2147483648\n",
       {"1:1: t_con=300: the setting is one byte; the tool keeps 44",
        "1:11: rf_out=-1: the setting is one byte; the tool keeps 255",
        "1:21: s_bri=-99999999999: beyond the 32-bit range; the tool reads -2147483648",
        "1:40: h_res=600: the menus take 480, 544 or 720; the tool keeps it and saves it back",
        "1:50: l_delay=-5: the menus take -4 to 3; the tool keeps it and saves it back",
        "1:61: c_sat=128: the menus take 0 to 127; the tool keeps it and saves it back",
        "1:71: c_bri=2147483648: beyond the 32-bit range; the tool reads 2147483647"}},
      // The fine-tune list.
      {"a typographic quote",
       "f_tune=\xE2\x80\x9C"
       "5:175250\xE2\x80\x9D\n",
       {"1:8: f_tune=\\xe2\\x80\\x9c5:175250\\xe2\\x80\\x9d: the tool takes the character after = "
        "for the opening quote, and \\xe2 is not a plain \"",
        "1:9: the fine-tune list ends at \\x80\\x9c5:175250\\xe2\\x80\\x9d: a channel begins "
        "with a digit"}},
      {"pairs skipped and pairs that end the list",
       "f_tune=\"70:1,5:17525;12:9,123:4\"\n",
       {"1:9: 70:1,: channel 70 is read but not kept",
        "1:14: 5:17525;1: a frequency has 6 characters at most; the tool reads 17525 and passes "
        "over '1'",
        "1:27: the fine-tune list ends at 123:4\": a channel has 2 characters at most"}},
      {"a channel above 70, a channel with no frequency",
       "f_tune=\"71:1\" finetune=\"5\"\n",
       {"1:9: the fine-tune list ends at 71:1\": channels go to 70",
        "1:15: finetune=\"5\": sets f_tune again; the later value wins (first set by "
        "f_tune=\"71:1\")",
        "1:25: the fine-tune list ends at 5\": a channel without a frequency"}},
      {"a frequency too long",
       "f_tune=\"5:1234567,6:3000\"\n",
       {"1:9: 5:1234567: a frequency has 6 characters at most; the tool reads 123456 and passes "
        "over '7'",
        "1:18: the fine-tune list ends at ,6:3000\": a channel begins with a digit"}},
      {"a list too long for the next save",
       "f_tune=\"0:100000,1:100001,2:100002,3:100003,4:100004,5:100005,6:1000"
       "06,7:100007,8:100008,9:100009,10:100010,11:100011,12:100012,13:100013,"
       "14:100014,15:100015,16:100016,17:100017,18:100018,19:100019,20:100020,21:100021\"\n",
       {"1:1: the fine-tune list is 209 characters; the next save keeps 199 at most, so channel 21 "
        "and those after it are lost"}},
      // The tuner and the table.
      {"a table given as 99",
       "t_type=3 f_table=99\n",
       {"1:10: f_table=99: no table, so the tool reads tuner 3 as an older code: Philips and "
        "Europe CCIR, saved as t_type=0 f_table=2"}},
      {"a tuner and a table outside their names",
       "t_type=9 f_table=7\n",
       {"1:10: f_table=7: no table has this number: the menus show no name and every default "
        "frequency is 0",
        "1:1: t_type=9: no tuner has this number: the menus show no name and offer no RF output "
        "channel"}},
      {"99 with no older code",
       "tunertype=7 freqtable=99\n",
       {"1:13: freqtable=99: no table, and tuner 7 is no older tuner code: the menus show no "
        "table and every default frequency is 0",
        "1:1: tunertype=7: no tuner has this number: the menus show no name and offer no RF "
        "output channel"}},
  };
}

class Slips : public testing::TestWithParam<Row> {};

// The slips as told, and the line the tool saves for the file on the board.
TEST_P(Slips, AreToldAndTheToolsLinePrinted) {
  const Row& row = GetParam();
  const Checked checked = Check(row.file);
  EXPECT_EQ(checked.slips, row.slips);
  EXPECT_EQ(checked.status, row.slips.empty() ? 0 : 1);
  EXPECT_EQ(checked.out, RunTool("5\n", row.file).config.value_or("<none>"));
}

std::string Named(const testing::TestParamInfo<Row>& info) {
  return std::regex_replace(info.param.name, std::regex("[^A-Za-z0-9]"), "_");
}

INSTANTIATE_TEST_SUITE_P(Checker, Slips, testing::ValuesIn(Rows()), Named);

TEST(Checker, SavesTheToolsLineForRandomFiles) {
  const std::vector<std::string> keys = {"t_bri",     "t_con",      "rf_out", "f_table", "t_type",
                                         "tunertype", "avcontrast", "f_tune", "T_BRI",   "x",
                                         ""};
  const std::vector<std::string> values = {"7",           "-1",  "300",
                                           "99",          "3",   "99999999999",
                                           "12ab",        "",    "\"5:175250,70:1,12:203250\"",
                                           "\"1:1,2:0\"", "\t4", "\"0:1,1:999999,2:-5\""};
  const std::vector<std::string> gaps = {" ", " ", " ", "  ", "\t", "\n", "\r\n", "="};
  std::mt19937 random(20261208);
  const auto pick = [&random](const std::vector<std::string>& from) {
    return from[random() % from.size()];
  };
  for (int i = 0; i < 24; ++i) {
    std::string file;
    for (int n = static_cast<int>(random() % 9); n >= 0; --n)
      file += pick(keys) + "=" + pick(values) + pick(gaps);
    if (random() % 8 == 0) file.insert(random() % file.size(), 1, '\0');
    ASSERT_EQ(Check(file).out, RunTool("5\n", file).config.value_or("<none>")) << file;
  }
}

TEST(Checker, SaysWhyAFileCannotBeReadAndNeverWaits) {
  const std::string
      me = "quivet_config_check: ",
      passed_over =
          ", not a regular file; quivet_config passes it over, starts with every built-in setting, "
          "and cannot save\n";
  const Checked checked = Check("t_bri=7\n", {"f", "d", "p", "-", "gone"});
  EXPECT_EQ(checked.status, 2);
  EXPECT_EQ(checked.out, Check("t_bri=7\n").out + Check("t_bri=7\n").out);
  EXPECT_EQ(checked.err, me + "d: a folder" + passed_over + me + "p: a FIFO" + passed_over + me +
                             "gone: No such file or directory; quivet_config then starts with "
                             "every built-in setting\n");
  EXPECT_EQ(Check("", {"-x"}).status, 2);
}

// The README's example: its file, and what the checker says of it.
TEST(Checker, SaysWhatTheReadmeShows) {
  const std::string readme = Read(QUIVET_README), start = "$ printf '", end = "' > site.conf\n";
  const size_t file_at = readme.find(start) + start.size(), file_end = readme.find(end, file_at);
  ASSERT_NE(file_end, std::string::npos);
  const size_t shown_at = file_end + end.size();
  std::string file = readme.substr(file_at, file_end - file_at);
  file.replace(file.find("\\n"), 2, "\n");
  const Checked checked = Check(file, {"site.conf"}, "site.conf");
  EXPECT_EQ(readme.substr(shown_at, readme.find("```", shown_at) - shown_at),
            "$ quivet_config_check site.conf\n" + checked.err + checked.out);
}

}  // namespace
}  // namespace e2e
