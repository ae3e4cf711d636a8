#include "settings/config_writer.h"

#include <cstdio>
#include <string_view>

#include "platform/platform.h"
#include "settings/fine_tune_list.h"
#include "settings/text_builder.h"

namespace quivet {

std::size_t FormatConfigurationLine(const Settings& s, char (&line)[kConfigLineSize]) {
  struct Assignment {
    std::string_view key;
    std::int32_t value;
  };
  const Assignment assignments[] = {
      {"t_bri=", s.t_bri},     {"t_con=", s.t_con},     {"t_sat=", s.t_sat},
      {"s_bri=", s.s_bri},     {"s_con=", s.s_con},     {"s_sat=", s.s_sat},
      {"c_bri=", s.c_bri},     {"c_con=", s.c_con},     {"c_sat=", s.c_sat},
      {"h_res=", s.h_res},     {"d_audio=", s.d_audio}, {"t_type=", s.t_type},
      {"f_table=", s.f_table}, {"h_shift=", s.h_shift}, {"rf_out=", s.rf_out},
      {"l_delay=", s.l_delay},
  };
  TextBuilder out(line, kConfigLineSize);
  for (const Assignment& a : assignments) {
    out.Append(a.key);
    out.AppendInt(a.value);
    out.Append(" ");
  }
  EncodeFineTuneList(s.channel_freq, FinetuneFrequencies);
  if (FinetuneFrequencies[0] != '\0') {
    out.Append("f_tune=\"");
    out.Append(FinetuneFrequencies);
    out.Append("\"");
  }
  out.Append("\n");
  return out.length();
}

int SaveConfiguration() {
  char line[kConfigLineSize];
  const std::size_t length = FormatConfigurationLine(settings, line);
  platform::RunShell("mount -o remount,rw /");
  // Never begin what cannot be finished: a file size limit would cut the
  // line, and a FIFO or device there is no place for settings.
  std::FILE* file = platform::AllowFileSize(length) && !platform::IsSpecialFile(pathname)
                        ? platform::OpenFile(pathname, "w+")
                        : nullptr;
  if (file == nullptr) {
    platform::RunShell("mount -o remount,ro /");
    return 0;
  }
  (void)std::fputs(line, file);
  // On the medium before the root goes read-only again: the host loses
  // power without warning.
  platform::SyncAndCloseFile(file);
  platform::RunShell("mount -o remount,ro /");
  return 1;
}

}  // namespace quivet
