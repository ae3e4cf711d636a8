// The fault knob, QUIVET_VBOARD_SIGNAL=<signo>@<step>: the signal a hangup,
// Ctrl-C or shutdown would bring, raised at one step of a save:
//   rw     once "mount -o remount,rw /" has returned
//   open   once /etc/quivet.conf is open for writing
//   sync   when the tool syncs that file, before the sync
//   close  when the tool closes it, before the close
//   ro     when "mount -o remount,ro /" runs, before the root is read-only again
// Another step name raises nothing; a value without @ or with another number
// before it stops the process before main.

#include <signal.h>
#include <stdlib.h>

#include "vboard/board.h"

namespace vboard {

static int fault_signal;  // 0: none
static char fault_step[8];

void ReadFaultKnob(const char* value) {
  if (value == nullptr) return;
  char* at = nullptr;
  const long signo = strtol(value, &at, 10);
  if (at == value || *at != '@' || signo < 1 || signo > SIGRTMAX) {
    Refuse("QUIVET_VBOARD_SIGNAL is not <signo>@<step>");
  }
  fault_signal = static_cast<int>(signo);
  snprintf(fault_step, sizeof fault_step, "%s", at + 1);
}

void Fault(const char* step) {
  if (fault_signal == 0 || strcmp(step, fault_step) != 0) return;
  KeepErrno keep;
  Line().Add("raise ").Int(fault_signal).Log();
  raise(fault_signal);
}

}  // namespace vboard
