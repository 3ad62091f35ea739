#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

// What no text the program shows may ever contain.
inline bool looksBroken(std::string_view text) {
  for (std::string_view bad : {"nan", "NaN", "inf", "Inf", "INF", "NAN"})
    if (text.find(bad) != std::string_view::npos) return true;
  return false;
}

#define FUZZ_CHECK(condition)                                                              \
  do {                                                                                     \
    if (!(condition)) {                                                                    \
      std::fprintf(stderr, "check failed at %s:%d: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                        \
    }                                                                                      \
  } while (0)
