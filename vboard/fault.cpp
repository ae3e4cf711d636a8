// The fault knob, QUIVET_VBOARD_SIGNAL=<signo>@<step>: the signal a hangup,
// Ctrl-C or shutdown would bring, raised at one step of a save:
//   rw     once "mount -o remount,rw /" has returned
//   open   once /etc/quivet.conf is open for writing
//   sync   when the tool syncs that file, before the sync
//   close  when the tool closes it, before the close
//   ro     when "mount -o remount,ro /" runs, before the root is read-only again
// <step> is one of these five; <signo> is digits alone, no sign, blank or
// leading zero, from 1 to SIGRTMAX. Any other value stops the process before
// main: a mistyped knob must not pass for a save that nothing interrupted.

#include <signal.h>

#include "vboard/board.h"

namespace vboard {

static const char* const kSteps[] = {"rw", "open", "sync", "close", "ro"};
static int fault_signal;  // 0: none
static const char* fault_step;

void ReadFaultKnob(const char* value) {
  if (value == nullptr) return;
  int signo = 0;
  const char* at = value;
  for (; *at >= '0' && *at <= '9' && signo <= SIGRTMAX; ++at) signo = signo * 10 + (*at - '0');
  for (const char* step : kSteps)
    if (*at == '@' && strcmp(at + 1, step) == 0) fault_step = step;
  if (value[0] == '0' || signo < 1 || signo > SIGRTMAX || fault_step == nullptr) {
    Refuse("QUIVET_VBOARD_SIGNAL is not <signo>@<step>");
  }
  fault_signal = signo;
}

void Fault(const char* step) {
  if (fault_signal == 0 || strcmp(step, fault_step) != 0) return;
  KeepErrno keep;
  Line().Add("raise ").Int(fault_signal).Log();
  raise(fault_signal);
}

}  // namespace vboard
