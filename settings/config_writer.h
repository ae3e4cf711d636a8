#pragma once

#include <cstddef>

#include "settings/settings.h"

namespace quivet {

// Sixteen assignments (at most 242 characters), the f_tune token (at most
// 208), the newline and the NUL.
inline constexpr std::size_t kConfigLineSize = 512;

// The one line the configuration file holds, newline included; returns its
// length. Uses FinetuneFrequencies for the fine-tune list.
std::size_t FormatConfigurationLine(const Settings& s, char (&line)[kConfigLineSize]);

// Remounts the root read-write, replaces the file, remounts it read-only.
// 1 when the file was opened and written, 0 when it could not be opened
// (or not for the whole line).
int SaveConfiguration();

}  // namespace quivet
