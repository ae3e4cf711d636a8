#include "tests/e2e/harness.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace e2e {

namespace {

namespace fs = std::filesystem;

// Set by tests/e2e/CMakeLists.txt. The emulator prefix is "|"-separated and
// empty for a native build.
constexpr const char* kToolPath = QUIVET_E2E_TOOL;
constexpr const char* kBoardPath = QUIVET_E2E_BOARD;
constexpr const char* kEmulator = QUIVET_E2E_EMULATOR;

constexpr size_t kOutputLimit = 4 << 20;

std::vector<std::string> EmulatorPrefix() {
  std::vector<std::string> parts;
  std::string_view rest = kEmulator;
  while (!rest.empty()) {
    const size_t bar = rest.find('|');
    parts.emplace_back(rest.substr(0, bar));
    if (bar == std::string_view::npos) break;
    rest.remove_prefix(bar + 1);
  }
  return parts;
}

// QUIVET_TOOL_WRAPPER, e.g. a memory checker: blank-separated words put
// before the tool; leading NAME=VALUE words go into its environment.
const char* ToolWrapper() {
  return std::getenv("QUIVET_TOOL_WRAPPER");
}

std::chrono::milliseconds DefaultTimeout() {
  if (ToolWrapper() != nullptr) return std::chrono::milliseconds(60000);
  // qemu start-up and a loaded machine are slow; a spinning tool is not.
  return std::chrono::milliseconds(EmulatorPrefix().empty() ? 5000 : 20000);
}

std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const std::string& path, std::string_view bytes, mode_t mode = 0644) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  chmod(path.c_str(), mode);
}

// Class, byte order and machine: a board built for another target would be
// ignored by the loader and leave the tool running on this machine.
std::string ElfIdentity(const std::string& path) {
  const std::optional<std::string> bytes = ReadFile(path);
  if (!bytes || bytes->size() < 20 ||
      bytes->compare(0, 4,
                     "\x7f"
                     "ELF") != 0)
    return "";
  return bytes->substr(4, 2) + bytes->substr(18, 2);
}

std::string CheckBoardUsable() {
  if (!fs::exists(kToolPath)) return std::string("tool not built: ") + kToolPath;
  if (!fs::exists(kBoardPath)) return std::string("virtual board not built: ") + kBoardPath;
  const std::string tool = ElfIdentity(kToolPath);
  if (tool.empty() || tool != ElfIdentity(kBoardPath)) {
    return "virtual board and tool are built for different targets";
  }
  return "";
}

struct Child {
  pid_t pid = -1;
  int out = -1;
  int err = -1;
};

Child Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
            const std::string& input_path, const std::string& dir) {
  // Everything the child needs is built before fork.
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  std::vector<char*> envp;
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);

  int out[2];
  int err[2];
  if (pipe2(out, O_CLOEXEC) != 0) return {};
  if (pipe2(err, O_CLOEXEC) != 0) {
    close(out[0]);
    close(out[1]);
    return {};
  }
  const int input = open(input_path.c_str(), O_RDONLY | O_CLOEXEC);
  const pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    if (input < 0 || dup2(input, 0) < 0 || dup2(out[1], 1) < 0 || dup2(err[1], 2) < 0 ||
        chdir(dir.c_str()) != 0) {
      _exit(127);
    }
    execve(args[0], args.data(), envp.data());
    const char message[] = "exec failed\n";
    (void)!write(2, message, sizeof(message) - 1);
    _exit(127);
  }
  if (pid > 0) setpgid(pid, pid);  // both sides, so kill(-pid) never misses
  if (input >= 0) close(input);
  close(out[1]);
  close(err[1]);
  if (pid < 0) {
    close(out[0]);
    close(err[0]);
    return {};
  }
  return {pid, out[0], err[0]};
}

// Reads both pipes until they close, the deadline passes or the output
// floods; then reaps the child.
void Collect(const Child& child, std::chrono::milliseconds timeout, RunResult* run) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  const Clock::time_point deadline = start + timeout;
  pollfd fds[2] = {{child.out, POLLIN, 0}, {child.err, POLLIN, 0}};
  std::string* sinks[2] = {&run->screen, &run->errors};
  int open_pipes = 2;
  bool kill_now = false;
  while (open_pipes > 0 && !kill_now) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) {
      run->timed_out = true;
      break;
    }
    if (poll(fds, 2, static_cast<int>(left)) < 0 && errno != EINTR) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[8192];
      const ssize_t n = read(fds[i].fd, buffer, sizeof(buffer));
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<size_t>(n));
        if (sinks[i]->size() > kOutputLimit) {
          run->output_flooded = true;
          kill_now = true;
        }
      } else if (n == 0 || errno != EINTR) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open_pipes;
      }
    }
  }
  for (pollfd& p : fds) {
    if (p.fd >= 0) close(p.fd);
  }
  // A tool that closed its output may still be running: wait for its exit
  // until the deadline, without reaping, so the group id stays ours.
  const bool stopped_early = run->timed_out || run->output_flooded;
  siginfo_t info{};
  while (!stopped_early) {
    info.si_pid = 0;
    if (waitid(P_PID, static_cast<id_t>(child.pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 &&
        errno != EINTR) {
      break;
    }
    if (info.si_pid == child.pid) break;
    if (Clock::now() >= deadline) {
      run->timed_out = true;
      break;
    }
    usleep(1000);
  }
  // Whatever the tool started must not outlive the run.
  kill(-child.pid, SIGKILL);
  int status = 0;
  while (waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) run->exit_code = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run->signal = WTERMSIG(status);
  run->seconds = std::chrono::duration<double>(Clock::now() - start).count();
}

// A `mount` that refuses and leaves a trace: the last line of defence if the
// board was not loaded.
void InstallMountFence(const std::string& dir) {
  fs::create_directories(dir + "/.harness/bin");
  WriteFile(dir + "/.harness/bin/mount",
            "#!/bin/sh\n"
            "echo \"mount $*\" >> \"" +
                dir +
                "/.harness/mount-refused.log\"\n"
                "echo 'mount: refused by the test harness' >&2\n"
                "exit 1\n",
            0755);
}

RunResult RunOnce(const std::string& dir, std::string_view keystrokes, const RunOptions& options);

// The tool on an empty input cannot reach a save, so this proves the board
// loads before any keystroke can ask for one.
std::string ProbeError(const std::string& dir) {
  const std::string usable = CheckBoardUsable();
  if (!usable.empty()) return usable;
  const RunResult probe = RunOnce(dir, "", RunOptions());
  if (!probe.board.started) return "the virtual board did not load into the tool: " + probe.errors;
  return "";
}

RunResult RunOnce(const std::string& dir, std::string_view keystrokes, const RunOptions& options) {
  RunResult run;
  const std::string usable = CheckBoardUsable();
  if (!usable.empty()) {
    run.harness_error = usable;
    return run;
  }
  const std::string log_path = dir + "/board.log";
  const std::string state_path = dir + "/board.state";
  const std::string fence_log = dir + "/.harness/mount-refused.log";
  const std::string input_path = dir + "/.harness/keystrokes";
  InstallMountFence(dir);
  WriteFile(input_path, keystrokes);
  fs::remove(state_path);
  fs::remove(fence_log);
  std::error_code ignored;
  const auto log_offset = fs::exists(log_path) ? fs::file_size(log_path, ignored) : 0;

  std::vector<std::string> argv = EmulatorPrefix();
  std::vector<std::string> env = {
      "PATH=" + dir + "/.harness/bin:/usr/local/bin:/usr/bin:/bin",
      "QUIVET_VBOARD_DIR=" + dir,
      "LANG=C",
  };
  if (argv.empty()) {
    env.push_back(std::string("LD_PRELOAD=") + kBoardPath);
  } else {
    // Preloading into the emulator itself would load the wrong target.
    argv.push_back("-E");
    argv.push_back(std::string("LD_PRELOAD=") + kBoardPath);
  }
  if (options.board_missing) env.push_back("QUIVET_VBOARD_MISSING=1");
  if (options.stuck_ro) env.push_back("QUIVET_VBOARD_STUCK_RO=1");
  if (options.program.empty()) {
    argv.push_back(kToolPath);
  } else {
    argv.insert(argv.end(), options.program.begin(), options.program.end());
  }
  std::vector<std::string> prefix;
  std::istringstream wrapper(ToolWrapper() != nullptr ? ToolWrapper() : "");
  for (std::string word; wrapper >> word;) {
    if (prefix.empty() && word.find('=') != std::string::npos) {
      env.push_back(word);
    } else {
      prefix.push_back(word);
    }
  }
  prefix.insert(prefix.end(), options.wrapper.begin(), options.wrapper.end());
  argv.insert(argv.begin(), prefix.begin(), prefix.end());

  const Child child = Spawn(argv, env, input_path, dir);
  if (child.pid < 0) {
    run.harness_error = std::string("cannot start the tool: ") + std::strerror(errno);
    return run;
  }
  Collect(child, options.timeout.count() > 0 ? options.timeout : DefaultTimeout(), &run);

  const std::string log = ReadFile(log_path).value_or("");
  run.board =
      vboard::ParseBoardLog(std::string_view(log).substr(std::min<size_t>(log_offset, log.size())));
  if (const auto state = ReadFile(state_path))
    run.board.registers = vboard::ParseBoardState(*state);
  run.config = ReadFile(dir + "/quivet.conf");
  run.mount_attempted = fs::exists(fence_log);
  return run;
}

}  // namespace

Sandbox::Sandbox() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/quivet-e2e-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot make a sandbox folder: " << std::strerror(errno);
  }
  dir_ = pattern;
}

Sandbox::Sandbox(std::string_view initial_config) : Sandbox() {
  WriteConfig(initial_config);
}

Sandbox::~Sandbox() {
  if (std::getenv("QUIVET_E2E_KEEP") != nullptr) {
    std::fprintf(stderr, "sandbox kept: %s\n", dir_.c_str());
    return;
  }
  std::error_code ignored;
  fs::remove_all(dir_, ignored);
}

void Sandbox::WriteConfig(std::string_view bytes) const {
  WriteFile(dir_ + "/quivet.conf", bytes);
}

std::optional<std::string> Sandbox::ReadConfig() const {
  return ReadFile(dir_ + "/quivet.conf");
}

RunResult Sandbox::Run(std::string_view keystrokes, const RunOptions& options) const {
  // Once per process, in a sandbox of its own so this one's record stays clean.
  static const std::string probe_error = [] {
    Sandbox probe;
    return ProbeError(probe.dir());
  }();
  if (!probe_error.empty()) {
    RunResult refused;
    refused.harness_error = probe_error;
    return refused;
  }
  return RunOnce(dir_, keystrokes, options);
}

::testing::AssertionResult RanCleanly(const RunResult& run) {
  auto failure = [&run](const std::string& why) {
    std::ostringstream text;
    PrintTo(run, &text);
    return ::testing::AssertionFailure() << why << "\n" << text.str();
  };
  if (!run.harness_error.empty()) return failure("harness: " + run.harness_error);
  if (run.timed_out) return failure("the tool did not finish in time (killed)");
  if (run.output_flooded) return failure("the tool wrote without end (killed)");
  if (run.signal != 0) return failure("the tool died from signal " + std::to_string(run.signal));
  if (run.exit_code != 0) return failure("exit status " + std::to_string(run.exit_code));
  if (!run.board.started) return failure("the virtual board was not loaded");
  if (!run.board.exited) return failure("the tool did not leave through exit()");
  if (!run.board.violations.empty())
    return failure("protocol violation: " + run.board.violations[0]);
  if (run.mount_attempted) return failure("a real mount was attempted");
  if (!run.errors.empty()) return failure("the tool wrote to stderr");
  return ::testing::AssertionSuccess();
}

std::string Escape(std::string_view bytes) {
  std::string text;
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\n') {
      text += "\\n";
    } else if (c == '\\') {
      text += "\\\\";
    } else if (c == 0x1B) {
      text += "\\e";
    } else if (c < 0x20 || c >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof(hex), "\\x%02x", c);
      text += hex;
    } else {
      text += ch;
    }
  }
  return text;
}

::testing::AssertionResult ScreensEqual(const char* expected_expr, const char* actual_expr,
                                        std::string_view expected, std::string_view actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  constexpr size_t kBefore = 60;
  constexpr size_t kAfter = 80;
  const size_t from = at > kBefore ? at - kBefore : 0;
  auto excerpt = [&](std::string_view side) {
    if (from >= side.size()) return std::string("<end>");
    return Escape(side.substr(from, at - from)) + "|>>" + Escape(side.substr(at, kAfter)) +
           (at + kAfter < side.size() ? "..." : "<end>");
  };
  return ::testing::AssertionFailure()
         << actual_expr << " differs from " << expected_expr << " at byte " << at << " (expected "
         << expected.size() << " bytes, got " << actual.size() << ")\n"
         << "  expected: ..." << excerpt(expected) << "\n"
         << "  actual:   ..." << excerpt(actual);
}

::testing::AssertionResult Shows(const std::string& screen, const std::string& part) {
  if (screen.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "the screen never shows \"" << Escape(part) << "\"\n  transcript: " << Escape(screen);
}

void PrintTo(const RunResult& run, std::ostream* out) {
  *out << "exit " << run.exit_code << ", signal " << run.signal << ", " << run.seconds << " s"
       << (run.timed_out ? ", timed out" : "") << (run.output_flooded ? ", flooded" : "") << "\n";
  if (!run.harness_error.empty()) *out << "harness: " << run.harness_error << "\n";
  if (!run.errors.empty()) *out << "stderr: " << Escape(run.errors) << "\n";
  *out << "board:";
  for (const std::string& event : run.board.events) *out << "\n  " << event;
  *out << "\nscreen (" << run.screen.size() << " bytes, tail): "
       << Escape(run.screen.size() > 400 ? run.screen.substr(run.screen.size() - 400) : run.screen)
       << "\nconfig: " << (run.config ? Escape(*run.config) : "<none>") << "\n";
}

}  // namespace e2e
