// What quivet_config will make of a configuration file and would never say:
// each slip as a warning in the form compilers use.
#pragma once

#include "checker/input.h"
#include "settings/settings.h"

namespace checker {

// Reads in's first line with the tool's own reader into s, which holds the
// built-in settings, and writes "NAME:LINE:COLUMN: warning: ..." to standard
// error for every slip; returns how many there were.
int CheckInput(const char* name, const Input& in, quivet::Settings& s);

}  // namespace checker
