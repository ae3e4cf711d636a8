// Helpers shared by the unit tests: a readable summary of a settings record
// and a link-time stand-in for the platform.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "settings/settings.h"

namespace quivet::test {

// Every field as "name=value", then the fine-tuned channels as "ch:freq",
// so a failed comparison names the field that differs.
std::string Summary(const Settings& s);

ChannelArray Freqs(std::initializer_list<std::pair<int, std::int32_t>> pairs);

// What the stand-in platform was asked to do, and what it answers.
struct FakePlatform {
  bool config_exists = true;
  std::string config_text;  // what a read of the file returns
  bool config_writable = true;
  std::string written;              // what a write left in the file
  std::vector<std::string> opened;  // "path mode"
  std::vector<std::string> shell;
};
extern FakePlatform fake;

}  // namespace quivet::test
