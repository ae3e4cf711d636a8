#include "settings/config_writer.h"

#include <cstdio>

#include "platform/platform.h"
#include "settings/fine_tune_list.h"

namespace quivet {

std::size_t FormatConfigurationLine(const Settings& s, char (&line)[kConfigLineSize]) {
  EncodeFineTuneList(s.channel_freq, FinetuneFrequencies);
  const bool listed = FinetuneFrequencies[0] != '\0';
  // Each setting's format ends in a blank; at most 451 characters in all.
  const int length = std::snprintf(
      line, kConfigLineSize,
      "t_bri=%d t_con=%d t_sat=%d s_bri=%d s_con=%d s_sat=%d c_bri=%d c_con=%d c_sat=%d "
      "h_res=%d d_audio=%d t_type=%d f_table=%d h_shift=%d rf_out=%d l_delay=%d %s%s%s\n",
      s.t_bri, s.t_con, s.t_sat, s.s_bri, s.s_con, s.s_sat, s.c_bri, s.c_con, s.c_sat, s.h_res,
      s.d_audio, s.t_type, s.f_table, s.h_shift, s.rf_out, s.l_delay, listed ? "f_tune=\"" : "",
      FinetuneFrequencies, listed ? "\"" : "");
  return static_cast<std::size_t>(length);
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
