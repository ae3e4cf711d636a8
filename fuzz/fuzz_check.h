// A failed property prints what broke and aborts: libFuzzer keeps the input
// as a crash, the corpus replay fails its test.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond, ...)                                                          \
  do {                                                                                 \
    if (!(cond)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property failed: %s: ", __FILE__, __LINE__, #cond); \
      std::fprintf(stderr, __VA_ARGS__);                                               \
      std::fputc('\n', stderr);                                                        \
      std::abort();                                                                    \
    }                                                                                  \
  } while (0)
