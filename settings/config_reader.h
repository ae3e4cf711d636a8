#pragma once

#include <cstdio>
#include <string_view>

#include "settings/settings.h"

namespace quivet {

// The reader sees at most this many characters of the first line.
inline constexpr int kConfigLineChars = 510;
inline constexpr int kConfigLineBuffer = 512;

// The part of the file's first line the reader sees, NUL-terminated, the
// rest of the buffer zero; empty when nothing can be read.
void ReadFirstLine(std::FILE* file, char (&line)[kConfigLineBuffer]);

// Applies every key=value token of one configuration line to s, stopping at
// the first token without "=" or the first empty token.
void ParseConfigurationLine(std::string_view line, Settings& s);

// Files of older versions kept tuner and table in one code in the tuner type.
void MigrateTunerCode(Settings& s);

// Start-up: fills the settings record from the configuration file, if any.
void LoadConfiguration();

}  // namespace quivet
