#include "tests/e2e/harness.h"

#include <fcntl.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace e2e {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> Slurp(const fs::path& path) {
  if (!fs::is_regular_file(path)) return std::nullopt;  // a FIFO would block
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Spit(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

struct Child {
  pid_t pid = -1;
  int keys = -1;      // the write end of its keys' pipe
  int terminal = -1;  // the master side of its standard output's terminal
};

std::chrono::steady_clock::time_point Deadline() {
  const int seconds = std::getenv("QUIVET_TOOL_WRAPPER") ? 60 : *QUIVET_E2E_EMULATOR ? 20 : 5;
  return std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
}

// Forks the tool in dir, its keys to come through a pipe (non-blocking for
// late keys), its output in .out<tag> and .err<tag>. One that floods its
// output dies on the file size limit.
Child Start(const fs::path& dir, std::vector<std::string> argv, std::vector<std::string> env,
            const Setup& setup, const std::string& tag) {
  std::vector<char*> args, envp;
  for (std::string& a : argv) args.push_back(a.data());
  for (std::string& e : env) envp.push_back(e.data());
  args.push_back(nullptr);
  envp.push_back(nullptr);
  int ends[2] = {-1, -1};
  if (pipe2(ends, O_CLOEXEC) != 0) return {};
  const int pty = setup.terminal ? posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC) : -1;
  if (setup.terminal && (pty < 0 || grantpt(pty) != 0 || unlockpt(pty) != 0)) return {};
  const std::string tty = pty < 0 ? "" : ptsname(pty);
  // Keys for a tool that left early must not end the harness.
  signal(SIGPIPE, SIG_IGN);
  const pid_t pid = fork();
  if (pid == 0) {
    signal(SIGPIPE, SIG_DFL);
    setpgid(0, 0);
    umask(setup.umask);
    const rlim_t flood = 4 << 20;
    const rlimit limit{setup.file_limit, setup.fixed_limit ? setup.file_limit : flood};
    setrlimit(RLIMIT_FSIZE, &limit);
    // A row's own limit holds for root as for anyone: none may pass the hard one.
    if (setup.file_limit < flood) prctl(PR_CAPBSET_DROP, CAP_SYS_RESOURCE, 0, 0, 0);
    // One that spins dies after a second of its own time (a sanitized run takes
    // a tenth), sooner than at the deadline and however loaded the machine.
    const rlimit spin{1, 2};
    if (!std::getenv("QUIVET_TOOL_WRAPPER") && !*QUIVET_E2E_EMULATOR) setrlimit(RLIMIT_CPU, &spin);
    // A step that fails leaves the tool unstarted, with status 127.
    if (chdir(dir.c_str()) != 0 || dup2(ends[0], 0) != 0) _exit(127);
    if (setup.late_keys && fcntl(0, F_SETFL, O_NONBLOCK) != 0) _exit(127);
    if (pty < 0 && freopen((".out" + tag).c_str(), "w", stdout) == nullptr) _exit(127);
    if (pty >= 0 && dup2(open(tty.c_str(), O_RDWR | O_NOCTTY), 1) != 1) _exit(127);
    if (freopen((".err" + tag).c_str(), "w", stderr) == nullptr) _exit(127);
    // A checker reports on descriptor 9, so it works whatever the tool's own are.
    if (std::getenv("QUIVET_TOOL_WRAPPER") && dup2(2, 9) != 9) _exit(127);
    for (const int fd : setup.closed) close(fd);
    execve(args[0], args.data(), envp.data());
    _exit(127);
  }
  close(ends[0]);
  return {pid, ends[1], pty};
}

// Whether the board log in dir shows text before the child ends or the deadline passes.
bool Logged(const fs::path& dir, const std::string& text, const Child& child,
            std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    if (Slurp(dir / "board.log").value_or("").find(text) != std::string::npos) return true;
    siginfo_t ended{};
    waitid(P_PID, child.pid, &ended, WEXITED | WNOHANG | WNOWAIT);
    if (ended.si_pid != 0 || std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
}

// No key reaches a tool whose board has not recorded that run's start: without
// the board a save would write this machine's /etc. Late keys also wait until
// the tool waits for them. The keys end with the pipe.
bool Feed(const fs::path& dir, const Child& child, const std::string& keys, bool late,
          std::chrono::steady_clock::time_point deadline) {
  const bool ready =
      Logged(dir, "start pid " + std::to_string(child.pid) + "\n", child, deadline) &&
      (!late || Logged(dir, "poll standard input", child, deadline));
  const bool fed = ready && write(child.keys, keys.data(), keys.size()) == ssize_t(keys.size());
  close(child.keys);
  return fed;
}

// Waits for the child; one still running at the deadline is killed with all it started.
int Finish(const Child& child, std::chrono::steady_clock::time_point deadline) {
  int status = 0;
  while (waitpid(child.pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(-child.pid, SIGKILL);
      waitpid(child.pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

struct Sandbox {
  fs::path dir;
  Sandbox() {
    std::string pattern = (fs::temp_directory_path() / "quivet-e2e-XXXXXX").string();
    dir = mkdtemp(pattern.data()) != nullptr ? pattern : "/nonexistent";
  }
  ~Sandbox() {
    if (std::getenv("QUIVET_E2E_KEEP") == nullptr) fs::remove_all(dir);
  }
};

}  // namespace

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
  std::vector<std::string> parts;
  for (size_t at = 0, end = 0; at < text.size(); at = end + separator.size()) {
    end = std::min(text.find(separator, at), text.size());
    if (end > at) parts.emplace_back(text.substr(at, end - at));
  }
  return parts;
}

Outcome RunTool(const std::string& keys, const std::optional<std::string>& config,
                const Setup& setup) {
  const Sandbox box;
  const fs::path& dir = box.dir;
  if (config) Spit(dir / "quivet.conf", *config);
  if (setup.fifo) mkfifo((dir / "quivet.conf").c_str(), 0644);
  fs::create_directories(dir / ".bin");
  // A second fence: a mount that refuses, and leaves .mount-refused, first on PATH.
  Spit(dir / ".bin/mount", "#!/bin/sh\n: >\"${0%/*}/../.mount-refused\"\nexit 1\n");
  fs::permissions(dir / ".bin/mount", fs::perms::owner_all);
  // A Ctrl-C at the host's shell, which then clears the terminal as usual.
  const std::string ctrl_c = "#!/bin/sh\ntrap '' INT\nkill -INT 0\nexec /bin/busybox \"$@\" <&1\n";
  if (setup.terminal) Spit(dir / ".bin/busybox", ctrl_c);
  if (setup.terminal) fs::permissions(dir / ".bin/busybox", fs::perms::owner_all);
  Spit(dir / "board.state", setup.kept);
  // Named relative to dir, where the tool starts: LD_PRELOAD splits at blanks.
  fs::create_symlink(QUIVET_E2E_BOARD, dir / ".board.so");

  std::vector<std::string> env = {"PATH=" + (dir / ".bin:").string() + "/usr/bin:/bin", "LANG=C"};
  if (setup.board != Board::kNoSandbox) env.push_back("QUIVET_VBOARD_DIR=" + dir.string());
  if (setup.board == Board::kMissing) env.push_back("QUIVET_VBOARD_MISSING=1");
  if (setup.board == Board::kStuckReadOnly) env.push_back("QUIVET_VBOARD_STUCK_RO=1");
  if (!setup.fault.empty()) env.push_back("QUIVET_VBOARD_SIGNAL=" + setup.fault);
  if (setup.restart) env.push_back("QUIVET_VBOARD_RESTART=1");
  // A checker such as memcheck goes first; its leading NAME=VALUE words are environment.
  const char* wrapper = std::getenv("QUIVET_TOOL_WRAPPER");
  std::vector<std::string> argv;
  for (const std::string& word : Split(wrapper != nullptr ? wrapper : "", " ")) {
    (argv.empty() && word.find('=') != std::string::npos ? env : argv).push_back(word);
  }
  const std::string preload = "LD_PRELOAD=./.board.so";
  std::vector<std::string> emulator = Split(QUIVET_E2E_EMULATOR, "|");
  // A stage picks the tool's CPU model; the test runner keeps the default one.
  const char* cpu = std::getenv("QUIVET_E2E_CPU");
  if (cpu != nullptr && *cpu != 0 && !emulator.empty())
    emulator.insert(emulator.begin() + 1, {"-cpu", cpu});
  argv.insert(argv.end(), emulator.begin(), emulator.end());
  // Under an emulator the board is handed to the guest, never to the host's loader.
  if (emulator.empty()) env.push_back(preload);
  if (!emulator.empty()) argv.insert(argv.end(), {"-E", preload});
  argv.emplace_back(QUIVET_E2E_TOOL);

  Outcome run;
  // Locks held all along by someone who never opens the board for writing.
  Spit(dir / "board.dev", "");
  const int etc = open(dir.c_str(), O_RDONLY), board = open((dir / "board.dev").c_str(), O_RDONLY);
  struct flock read_lock {};
  read_lock.l_type = F_RDLCK;
  if ((setup.flocked && (flock(etc, LOCK_EX) != 0 || flock(board, LOCK_EX) != 0)) ||
      (setup.read_locked && fcntl(board, F_SETLK, &read_lock) != 0)) {
    run.errors = "a lock was not taken; ";
  }
  const auto deadline = Deadline();
  const Child tool = Start(dir, argv, env, setup, "");
  // A second instance comes once the first waits for its keys.
  if (setup.second && Logged(dir, "poll standard input", tool, deadline)) {
    const Child second = Start(dir, argv, env, {}, "2");
    Feed(dir, second, *setup.second, false, Deadline());
    run.second_status = Finish(second, Deadline());
    run.second_screen = Slurp(dir / ".out2").value_or("");
  }
  if (!Feed(dir, tool, keys, setup.late_keys, deadline)) run.errors += "the keys were not sent; ";
  run.status = Finish(tool, deadline + std::chrono::seconds(setup.late_keys ? 2 : 0));
  // A terminal's screen ends once the tool and its shells are gone.
  char bytes[4096];
  for (ssize_t n; tool.terminal >= 0 && (n = read(tool.terminal, bytes, sizeof bytes)) > 0;)
    run.screen.append(bytes, static_cast<size_t>(n));
  for (const int fd : {tool.terminal, etc, board}) close(fd);
  run.screen += Slurp(dir / ".out").value_or("");
  run.errors += Slurp(dir / ".err").value_or("");
  run.config = Slurp(dir / "quivet.conf");
  run.mode = static_cast<unsigned>(fs::status(dir / "quivet.conf").permissions()) & 07777;
  run.fenced_mount = fs::exists(dir / ".mount-refused");
  // Every run's events, the second instance's among them.
  for (const std::string& event : Split(Slurp(dir / "board.log").value_or(""), "\n")) {
    if (!event.starts_with("start pid") && event != "system <clear-screen>") {
      run.record += (run.record.empty() ? "" : "; ") + event;
    }
  }
  for (const std::string& reg : Split(Slurp(dir / "board.state").value_or(""), "\n"))
    run.registers += reg + "; ";
  return run;
}

}  // namespace e2e
