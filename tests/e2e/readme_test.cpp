// Each README block marked <!-- keys: ... --> is the screen the tool shows last for those keys
// (one line per word); lines are compared with their trailing blanks trimmed on both sides.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>

#include "tests/e2e/harness.h"

namespace e2e {
namespace {

std::string Trimmed(const std::string& text) {
  return std::regex_replace(text, std::regex(" +(?=\n)|\\s+$"), "");
}

TEST(Readme, ScreensAreTheToolsOwn) {
  std::ifstream file(QUIVET_README);
  const std::string readme{std::istreambuf_iterator<char>(file), {}};
  const std::regex marked("<!-- keys:([^>]*)-->[\\s\\S]*?```text\n([^`]*)```");
  const std::string clear = "<CLEAR>\n";
  int blocks = 0;
  for (std::sregex_iterator block(readme.begin(), readme.end(), marked), none; block != none;
       ++block, ++blocks) {
    const std::string words = (*block)[1];
    // Input ends after the keys, so the tool leaves with one last clear.
    const std::string keys = std::regex_replace(words, std::regex("\\s*(\\S+)\\s*"), "$1\n");
    const std::string screen = RunTool(keys, std::nullopt).screen;
    const size_t end = screen.rfind(clear);
    const size_t start = end == 0 ? std::string::npos : screen.rfind(clear, end - 1);
    ASSERT_NE(start, std::string::npos) << "keys:" << words << "\n" << screen;
    EXPECT_EQ(Trimmed((*block)[2]),
              Trimmed(screen.substr(start + clear.size(), end - start - clear.size())))
        << "keys:" << words;
  }
  EXPECT_GE(blocks, 2) << QUIVET_README;
}

}  // namespace
}  // namespace e2e
