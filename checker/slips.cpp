#include "checker/slips.h"

#include <strings.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "device/commands.h"
#include "settings/config_line.h"
#include "settings/fine_tune_decoder.h"
#include "settings/fine_tune_list.h"
#include "settings/number_read.h"

namespace checker {

namespace {

using quivet::KeyRow;
using quivet::Target;

constexpr std::size_t kNone = std::string_view::npos;
constexpr int kFields = 17;  // the first Targets, one per setting
static_assert(static_cast<int>(Target::LDelay) == kFields - 1);

// substr, clamped, without the throwing check the tool's runtime lacks.
std::string_view Part(std::string_view text, std::size_t pos, std::size_t n = kNone) {
  pos = std::min(pos, text.size());
  return quivet::Slice(text, pos, std::min(n, text.size() - pos));
}

// A short, unambiguous excerpt: bytes that are not printable ASCII as \xNN.
class Shown {
 public:
  explicit Shown(std::string_view text) {
    std::size_t n = 0;
    for (const char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      if (n >= kMost) {
        std::memcpy(text_ + n, "...", 4);
        return;
      }
      if (byte >= 0x20 && byte < 0x7F) {
        text_[n++] = c;
      } else {
        n += static_cast<std::size_t>(std::snprintf(text_ + n, 5, "\\x%02x", byte));
      }
    }
  }
  const char* c_str() const { return text_; }

 private:
  static constexpr std::size_t kMost = 48;
  char text_[kMost + 8] = {};
};

// The board's command for each Target, whose range the menus keep; -1: none.
// clang-format off
constexpr int kCommandOf[] = {
    quivet::CMD_T_BRI, quivet::CMD_T_CON, quivet::CMD_T_SAT, quivet::CMD_S_BRI, quivet::CMD_S_CON,
    quivet::CMD_S_SAT, quivet::CMD_C_BRI, quivet::CMD_C_CON, quivet::CMD_C_SAT, quivet::CMD_H_RES,
    -1, -1, quivet::CMD_D_AUDIO, quivet::CMD_H_SHIFT, quivet::CMD_RF_OUT, -1, quivet::CMD_L_DELAY,
    quivet::CMD_S_BRI, quivet::CMD_S_CON, quivet::CMD_S_SAT};
// clang-format on

// Contrast, colour and the RF output channel.
bool OneByte(int code) {
  return code == quivet::CMD_RF_OUT || (code >= 0 && code <= quivet::CMD_C_SAT && code % 3 != 0);
}

std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::size_t row[24] = {};
  if (b.size() >= std::size(row)) return kNone;
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

class Slips {
 public:
  Slips(const char* name, const Input& in, std::string_view line)
      : name_(name), raw_(in.head, in.kept), line_(line) {
    for (std::size_t& at : set_at_) at = kNone;
  }

  // What the reader does not see of the file.
  void Unseen(const Input& in) {
    const std::string_view raw = Part(raw_, 0, in.line_length);
    if (raw.empty())
      Warn(0, in.kept == 0 ? "the file is empty: no setting is read"
                           : "the first line is empty: no setting is read");
    const std::size_t nul = raw.find('\0');
    if (nul < static_cast<std::size_t>(quivet::kConfigLineChars)) {
      Warn(nul, "a NUL byte ends the line; not read: %s", Shown(Part(raw, nul + 1)).c_str());
    }
    if (in.line_length > static_cast<std::size_t>(quivet::kConfigLineChars)) {
      Warn(quivet::kConfigLineChars, "the tool reads 510 characters of the line; not read: %s",
           Shown(Part(raw, quivet::kConfigLineChars)).c_str());
    }
    if (in.later_line == 0) return;
    std::fprintf(stderr, "%s:%d:1: warning: only the first line is read\n", name_, in.later_line);
    ++count_;
  }

  // What the line's reader tells.
  void Assignment(std::size_t at, std::string_view key, std::string_view value, const KeyRow* row) {
    const Shown token(TokenAt(at));
    if (row == nullptr) return Unknown(at, token, key);
    // An older av* key sets the S-Video and the composite input's setting.
    const int field = static_cast<int>(row->target), code = kCommandOf[field];
    const bool both = field >= kFields;
    for (const int f : {both ? code : field, both ? code + 3 : -1}) {
      if (f < 0) continue;
      if (set_at_[f] != kNone) {
        Warn(at, "%s: sets %s again; the later value wins (first set by %s)", token.c_str(),
             quivet::kKeys[f].key.data(), Shown(TokenAt(set_at_[f])).c_str());
      }
      set_at_[f] = at;
    }
    if (row->target == Target::FTune) return List(at + key.size() + 1, value, token);
    Number(at, row->target, value, token);
  }

  void Stopped(std::size_t at) {
    std::string_view rest = Part(line_, at);
    while (!rest.empty() && (rest.back() == '\n' || rest.back() == '\r' || rest.back() == ' ')) {
      rest.remove_suffix(1);
    }
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    if (rest.empty()) return;  // the blank and newline that end every saved line
    if (at == 0 && line_[0] == ' ')
      return Warn(0, "the line begins with a blank, so none of it is read");
    if (line_[at] == ' ' || line_[at] == '\n') {
      return Warn(at, "two blanks end reading here; not read: %s", Shown(rest).c_str());
    }
    Warn(at, "%s: no =, so reading ends here%s; not read: %s", Shown(TokenAt(at)).c_str(),
         line_[at] == '#' ? " (the file has no comments)" : "", Shown(rest).c_str());
  }

  // What the fine-tune list's decoder tells.
  void Pair(const quivet::ListPair& p) {
    const Shown pair(Part(list_, p.channel_at, p.freq_end - p.channel_at + 1));
    const std::string_view field = Part(list_, p.channel_end + 1, p.freq_end - p.channel_end - 1);
    const std::size_t used = quivet::ReadNumber(field).end;
    // Only the closing quote, and a carriage return, may follow the last pair.
    const bool closed = Part(list_, p.freq_end).find_first_not_of("\"\r") == kNone;
    if (list_[p.channel_end] != ':') {
      Warn(list_at_ + p.channel_at, "%s: a channel has 2 characters at most; the tool reads %d",
           pair.c_str(), p.channel);
    } else if (!closed && list_[p.freq_end] != ',') {
      Warn(list_at_ + p.channel_at,
           "%s: a frequency has 6 characters at most; the tool reads %d and passes over '%c'",
           pair.c_str(), p.freq, list_[p.freq_end]);
    } else if (used < field.size() && !(closed && Part(field, used) == "\"")) {
      Warn(list_at_ + p.channel_at, "%s: the tool reads %d kHz and ignores %s", pair.c_str(),
           p.freq, Shown(Part(field, used)).c_str());
    }
    if (p.channel == quivet::NUM_CHANNELS) {
      Warn(list_at_ + p.channel_at, "%s: channel 70 is read but not kept", pair.c_str());
    }
  }

  void Ended(std::size_t at, quivet::ListStop why) {
    const std::string_view rest = Part(list_, at);
    static constexpr const char* kWhy[] = {"a channel without a frequency",
                                           "a channel begins with a digit", "channels go to 70",
                                           "a frequency of 0 ends it"};
    if (rest.find_first_not_of("\"\r") == kNone) return;  // a comma before the closing quote
    // A third digit of a channel is its colon, and the frequency then reads 0.
    const std::size_t channel = quivet::FieldLength(list_, at, ':', quivet::kChannelFieldMax);
    const bool long_channel = why == quivet::ListStop::kZero && list_[at + channel] != ':';
    Warn(list_at_ + at, "the fine-tune list ends at %s: %s", Shown(rest).c_str(),
         long_channel ? "a channel has 2 characters at most" : kWhy[static_cast<int>(why)]);
  }

  int count() const { return count_; }

  // What the menus and the next save make of the settings read.
  void Read(const quivet::Settings& s) {
    const std::size_t tuner_at = set_at_[static_cast<int>(Target::TType)];
    const std::size_t table_at = set_at_[static_cast<int>(Target::FTable)];
    if (table_at != kNone && table_ == quivet::FTABLE_UNSET) {
      if (s.f_table == quivet::FTABLE_UNSET) {
        Warn(table_at,
             "%s: no table, and tuner %d is no older tuner code: the menus show "
             "no table and every default frequency is 0",
             Shown(TokenAt(table_at)).c_str(), tuner_);
      } else {
        Warn(table_at,
             "%s: no table, so the tool reads tuner %d as an older code: %s and "
             "%s, saved as t_type=%d f_table=%d",
             Shown(TokenAt(table_at)).c_str(), tuner_, quivet::TunerName(s.t_type),
             quivet::FreqName(s.f_table), s.t_type, s.f_table);
      }
    } else if (table_at != kNone && *quivet::FreqName(s.f_table) == '\0') {
      Warn(table_at,
           "%s: no table has this number: the menus show no name and every "
           "default frequency is 0",
           Shown(TokenAt(table_at)).c_str());
    }
    if (*quivet::TunerName(s.t_type) == '\0') {
      Warn(tuner_at,
           "%s: no tuner has this number: the menus show no name and offer no RF "
           "output channel",
           Shown(TokenAt(tuner_at)).c_str());
    }
    ListLength(s);
  }

  void ListLength(const quivet::Settings& s) {
    const std::size_t length = quivet::FineTuneListLength(s.channel_freq);
    if (length < quivet::kFineTuneListSize) return;
    char list[quivet::kFineTuneListSize];
    quivet::EncodeFineTuneList(s.channel_freq, list);
    quivet::ChannelArray kept;
    quivet::LoadFineTuneFrequencies(list, kept);
    int first = 0;
    while (s.channel_freq[first] == 0 || kept[first] != 0) ++first;
    Warn(set_at_[static_cast<int>(Target::FTune)],
         "the fine-tune list is %zu characters; the next save keeps 199 at most, so channel "
         "%d and those after it are lost",
         length, first);
  }

 private:
  [[gnu::format(printf, 3, 4)]] void Warn(std::size_t at, const char* format, ...) {
    std::fprintf(stderr, "%s:1:%zu: warning: ", name_, Column(at));
    std::va_list args;
    va_start(args, format);
    // NOLINTNEXTLINE(clang-analyzer-valist.Uninitialized): it is, just above
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
    ++count_;
  }

  std::string_view TokenAt(std::size_t at) const {
    const std::size_t end = line_.find_first_of(" \n", at);
    return Part(line_, at, end == kNone ? kNone : end - at);
  }

  // Columns from 1, tabs to stops every 8, a UTF-8 character one column.
  std::size_t Column(std::size_t at) const {
    std::size_t column = 1;
    for (std::size_t i = 0; i < at && i < raw_.size(); ++i) {
      if (raw_[i] == '\t')
        column = (column + 7) / 8 * 8 + 1;
      else if ((raw_[i] & 0xC0) != 0x80)
        ++column;
    }
    return column;
  }

  void Unknown(std::size_t at, const Shown& token, std::string_view key) {
    if (key.empty()) return Warn(at, "%s: no key before =; passed over", token.c_str());
    if (key.starts_with("\xEF\xBB\xBF") && quivet::FindKey(Part(key, 3))) {
      return Warn(at, "%s: a byte-order mark makes the key unknown; passed over", token.c_str());
    }
    const KeyRow* nearest = nullptr;
    std::size_t best = 3;
    for (const KeyRow& row : quivet::kKeys) {
      if (key.size() == row.key.size() &&
          strncasecmp(key.data(), row.key.data(), key.size()) == 0) {
        return Warn(at, "%s: keys are case-sensitive; passed over (the key is %s)", token.c_str(),
                    row.key.data());
      }
      const std::size_t d = EditDistance(key, row.key);
      if (d < best && d < key.size()) {
        best = d;
        nearest = &row;
      }
    }
    if (nearest != nullptr) {
      return Warn(at, "%s: unknown key, passed over; did you mean %s?", token.c_str(),
                  nearest->key.data());
    }
    Warn(at, "%s: unknown key, passed over", token.c_str());
  }

  void Number(std::size_t at, Target target, std::string_view value, const Shown& token) {
    const quivet::NumberRead read = quivet::ReadNumber(value);
    if (target == Target::TType) tuner_ = read.value;
    if (target == Target::FTable) table_ = read.value;
    if (!read.digits) return Warn(at, "%s: no number; the tool reads 0", token.c_str());
    if (read.clamped) {
      Warn(at, "%s: beyond the 32-bit range; the tool reads %d", token.c_str(), read.value);
    }
    const std::string_view rest = Part(value, read.end);
    const std::size_t after = static_cast<std::size_t>(value.data() - line_.data()) + value.size();
    const bool line_end = after >= line_.size() || line_[after] == '\n';
    if (!rest.empty() && !(rest == "\r" && line_end)) {
      Warn(at, "%s: the tool reads %d and ignores %s%s", token.c_str(), read.value,
           Shown(rest).c_str(),
           rest.find('=') != kNone ? "; only a blank separates assignments" : "");
    }
    const int code = kCommandOf[static_cast<int>(target)];
    if (OneByte(code) && (read.value < 0 || read.value > 255)) {
      return Warn(at, "%s: the setting is one byte; the tool keeps %d", token.c_str(),
                  read.value & 0xFF);
    }
    if (read.clamped || code < 0 || quivet::CommandIsValid(code, read.value)) return;
    if (code == quivet::CMD_H_RES) {
      return Warn(at, "%s: the menus take 480, 544 or 720; the tool keeps it and saves it back",
                  token.c_str());
    }
    Warn(at, "%s: the menus take %d to %d; the tool keeps it and saves it back", token.c_str(),
         quivet::kCommands[code].min, quivet::kCommands[code].max);
  }

  void List(std::size_t value_at, std::string_view value, const Shown& token) {
    if (!value.empty() && value[0] != '"') {
      Warn(value_at,
           "%s: the tool takes the character after = for the opening quote, "
           "and %s is not a plain \"",
           token.c_str(), Shown(Part(value, 0, 1)).c_str());
    }
    list_ = value.empty() ? value : Part(value, 1);
    list_at_ = value_at + 1;
    quivet::ChannelArray scratch;
    quivet::DecodeFineTuneList(list_, scratch, *this);
  }

  const char* name_;
  std::string_view raw_;                        // the file's first bytes, NULs and all
  std::string_view line_;                       // what the reader reads
  std::size_t set_at_[kFields];                 // where each setting was last set
  std::int32_t tuner_ = quivet::TUNER_SAMSUNG;  // as the file gives them
  std::int32_t table_ = quivet::FTABLE_UNSET;
  std::string_view list_;  // the fine-tune list being decoded, after its quote
  std::size_t list_at_ = 0;
  int count_ = 0;
};

}  // namespace

int CheckInput(const char* name, const Input& in, quivet::Settings& s) {
  char line[quivet::kConfigLineBuffer] = {};
  if (std::FILE* file = fmemopen(const_cast<char*>(in.head), in.kept, "r")) {
    quivet::ReadFirstLine(file, line);
    std::fclose(file);
  }
  Slips slips(name, in, std::string_view(line));
  quivet::TakeConfigurationLine(std::string_view(line, sizeof line), s, slips);
  slips.Read(s);
  slips.Unseen(in);
  return slips.count();
}

}  // namespace checker
