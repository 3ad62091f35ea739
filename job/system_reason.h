#pragma once

#include <exception>
#include <string>

namespace kelvane::job {

// Why the system refused to read or write a file, in words for the user: the
// common causes in Japanese, any other by the error's symbolic name (EIO…)
// where the C library knows it, else its number; never the C library's
// English sentence.
std::string systemReason(int error);

// What stopped a program, said by its main as one line: memory running out
// in Japanese like every other failure, never "std::bad_alloc"; any other
// exception by its own text.
std::string stoppedBecause(const std::exception& stop);

}  // namespace kelvane::job
