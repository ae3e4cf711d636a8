// quivet_replay config_line|fine_tune_list|session FOLDER: feeds every file
// of the folder to that fuzz target once, so the kept corpora run in every
// build without libFuzzer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Each target's LLVMFuzzerTestOneInput, renamed by fuzz/CMakeLists.txt.
using Target = int(const std::uint8_t* data, std::size_t size);
extern "C" Target Replay_config_line, Replay_fine_tune_list, Replay_session;

int main(int argc, char** argv) {
  const std::string name = argc > 1 ? argv[1] : "";
  const auto run = name == "config_line"      ? Replay_config_line
                   : name == "fine_tune_list" ? Replay_fine_tune_list
                   : name == "session"        ? Replay_session
                                              : nullptr;
  if (run == nullptr || argc != 3) return 2;
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  for (const auto& entry : fs::directory_iterator(argv[2])) inputs.push_back(entry.path());
  std::sort(inputs.begin(), inputs.end());
  for (const fs::path& path : inputs) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    std::fprintf(stderr, "%s\n", path.c_str());  // names the input that aborts
    run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::fprintf(stderr, "replayed %zu inputs\n", inputs.size());
  return inputs.empty() ? 1 : 0;
}
