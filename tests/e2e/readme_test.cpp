// Each README block marked <!-- keys: ... --> is the screen the tool shows last for those keys
// (one line per word); lines are compared with their trailing blanks trimmed on both sides.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tests/e2e/harness.h"

namespace e2e {
namespace {

std::string Trimmed(const std::string& text) {
  std::string lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    lines += line.substr(0, line.find_last_not_of(' ') + 1) + '\n';
  }
  return lines.substr(0, lines.find_last_not_of('\n') + 1);
}

TEST(Readme, ScreensAreTheToolsOwn) {
  std::ifstream file(QUIVET_README);
  const std::string readme{std::istreambuf_iterator<char>(file), {}};
  const std::string mark = "<!-- keys:", fence = "```text\n", clear = "<CLEAR>\n";
  int blocks = 0;
  for (size_t at = readme.find(mark); at != std::string::npos; at = readme.find(mark, at + 1)) {
    const size_t words_at = at + mark.size(), words_end = readme.find("-->", at);
    const std::string words = readme.substr(words_at, words_end - words_at);
    const size_t body = readme.find(fence, words_end) + fence.size();
    std::istringstream in(words);
    std::string keys;
    for (std::string word; in >> word;) keys += word + '\n';
    // Input ends after the keys, so the tool leaves with one last clear.
    const std::string screen = RunTool(keys, std::nullopt).screen;
    const size_t end = screen.rfind(clear);
    const size_t start = end == 0 ? std::string::npos : screen.rfind(clear, end - 1);
    ASSERT_NE(start, std::string::npos) << "keys:" << words << "\n" << screen;
    EXPECT_EQ(Trimmed(readme.substr(body, readme.find("```", body) - body)),
              Trimmed(screen.substr(start + clear.size(), end - start - clear.size())))
        << "keys:" << words;
    ++blocks;
  }
  EXPECT_GE(blocks, 2) << QUIVET_README;
}

}  // namespace
}  // namespace e2e
