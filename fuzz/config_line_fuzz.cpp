// Any bytes as a configuration line: reading, migrating, naming, and writing
// the result out and reading it back.
#include <cstdint>
#include <cstring>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "settings/config_reader.h"
#include "settings/config_writer.h"
#include "settings/fine_tune_list.h"
#include "settings/settings.h"

namespace {

// A name is a row of its table, or "" for a code outside it.
template <std::size_t Rows>
void CheckName(const char* name, const char (&table)[Rows][30], std::int32_t code) {
  const bool listed = code >= 0 && code < static_cast<std::int32_t>(Rows);
  FUZZ_CHECK(listed ? name == table[code] : name != nullptr && name[0] == '\0',
             "code %d names another row or, outside the table, any", code);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  quivet::Settings s;
  quivet::ParseConfigurationLine(text, s);
  quivet::MigrateTunerCode(s);

  CheckName(quivet::TunerName(s.t_type), quivet::TunerText, s.t_type);
  CheckName(quivet::FreqName(s.f_table), quivet::FreqText, s.f_table);

  char line[quivet::kConfigLineSize];
  const std::size_t len = quivet::FormatConfigurationLine(s, line);
  FUZZ_CHECK(len == std::strlen(line) && len >= 1 && len <= 451 && line[len - 1] == '\n' &&
                 std::memchr(line, '\n', len - 1) == nullptr,
             "written line '%s'", line);

  quivet::Settings back;
  quivet::ParseConfigurationLine(std::string_view(line, len), back);
  quivet::MigrateTunerCode(back);
  CheckReadBack(back, s, line);
  return 0;
}
