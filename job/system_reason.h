#pragma once

#include <string>

namespace kelvane::job {

// Why the system refused to read or write a file, in words for the user: the
// common causes in Japanese, any other by the error's symbolic name (EIO…)
// where the C library knows it, else its number; never the C library's
// English sentence.
std::string systemReason(int error);

}  // namespace kelvane::job
