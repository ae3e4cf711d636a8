// quivet_config_check [FILE...]: what quivet_config will make of each
// configuration file (default /etc/quivet.conf; "-" is standard input). On
// standard output, the line the tool would save for it; on standard error,
// every slip. Exit status 0: no slip; 1: a slip; 2: a file cannot be read.
// It never writes, never opens the board and runs no shell.
#include <cstdio>
#include <cstring>

#include "checker/input.h"
#include "checker/slips.h"
#include "settings/config_writer.h"
#include "settings/settings.h"

namespace {

constexpr char kUsage[] =
    "Usage: quivet_config_check [FILE...]\n"
    "Says what quivet_config will make of each configuration file (default\n"
    "/etc/quivet.conf; - reads standard input): the line it would save, on\n"
    "standard output, and every slip, on standard error.\n"
    "Exit status: 0 no slip, 1 a slip, 2 a file that cannot be read.\n";

// Kept out of the stack: the file's first kilobyte and the settings.
checker::Input in;
quivet::Settings settings;

int Check(const char* path) {
  const char* name = std::strcmp(path, "-") == 0 ? "<stdin>" : path;
  in = checker::Input{};
  checker::ReadInput(path, in);
  if (in.why != nullptr) {
    std::fprintf(stderr, "quivet_config_check: %s: %s%s\n", name, in.why, in.then);
    return 2;
  }
  settings = quivet::Settings{};
  const int slips = checker::CheckInput(name, in, settings);
  char line[quivet::kConfigLineSize];
  quivet::FormatConfigurationLine(settings, line);
  std::fputs(line, stdout);
  return slips == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  if (argc > 1 && std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc > 1 && std::strcmp(argv[1], "--") == 0) first = 2;
  for (int i = first; i < argc && first == 1; ++i) {
    if (argv[i][0] == '-' && argv[i][1] != '\0') {
      std::fprintf(stderr, "quivet_config_check: unknown option %s\n%s", argv[i], kUsage);
      return 2;
    }
  }
  int status = 0;
  for (int i = first; i < argc; ++i) {
    const int result = Check(argv[i]);
    status = result > status ? result : status;
  }
  if (first >= argc) status = Check(quivet::pathname);
  return status;
}
