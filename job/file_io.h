#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/expected.h"
#include "job/job.h"
#include "job/price_list.h"

namespace kelvane::job {

// The message for a job that could not be opened: the file's name, then why.
std::string openFailureMessage(const std::filesystem::path& file, std::string_view reason);

// The job in a file. Reads at most kMaxFileBytes and one byte more, so a huge
// file or an endless device costs nothing; the failure names the file.
Expected<Job> readJobFile(const std::filesystem::path& file);

// Saves the job as 上書き保存 does: stamped with this program's version and
// the time (savedJobText), written as OutputFile writes; a failure is the
// Japanese sentence naming the file and why not.
Expected<void> saveJobFile(const std::filesystem::path& file, const Job& job);

// The price list in a file, read within the same limits; the failure names
// the file.
Expected<PriceList> readPriceListFile(const std::filesystem::path& file);

// The price list to price with: the file's, or the built-in list when there
// is no such file or it cannot be read, with the one sentence to tell the
// user why (empty when the file's list was taken).
struct LoadedPriceList {
  PriceList list;
  std::string problem;
};
LoadedPriceList loadPriceList(const std::filesystem::path& file);

// Saves the list stamped with the time as its savedAt, written as OutputFile
// writes; the list as saved, or the sentence naming the file and why not.
Expected<PriceList> savePriceListFile(const std::filesystem::path& file, PriceList list,
                                      std::chrono::system_clock::time_point now);

}  // namespace kelvane::job
