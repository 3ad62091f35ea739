#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/expected.h"
#include "job/job.h"

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

}  // namespace kelvane::job
