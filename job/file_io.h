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

// The user's price list: the list in the file, or the built-in list only
// when nothing at all is there (until the user saves a list, the built-in
// one is theirs). A link on the way that leads nowhere (a share that is not
// mounted), a folder that cannot be searched, a file that cannot be read or
// holds no list: the sentence naming the file and why, never another list
// in its place.
Expected<PriceList> readUserPriceListFile(const std::filesystem::path& file);

// The price list to price with: the file's, or the built-in list when there
// is no such file or it cannot be read, with the one sentence to tell the
// user why (empty when the file's list was taken).
struct LoadedPriceList {
  PriceList list;
  std::string problem;
};
LoadedPriceList loadPriceList(const std::filesystem::path& file);

// Saves the list stamped with the time as its savedAt, written as OutputFile
// writes; the list as saved, or the sentence naming the file and why not. A
// file there that holds no list (damaged, of another format) is first kept
// whole beside it as NAME.bak, replacing an older one; when it cannot be,
// nothing is saved.
Expected<PriceList> savePriceListFile(const std::filesystem::path& file, PriceList list,
                                      std::chrono::system_clock::time_point now);

}  // namespace kelvane::job
