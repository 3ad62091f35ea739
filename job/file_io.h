#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/expected.h"
#include "job/job.h"

namespace kelvane::job {

// For the Qt-free tools; the window reads and saves through Qt (QFile,
// QSaveFile) and shares only the texts and the limits.

// The message for a job that could not be opened: the file's name, then why.
std::string openFailureMessage(const std::filesystem::path& file, std::string_view reason);

// The job in a file. Reads at most kMaxFileBytes and one byte more, so a huge
// file or an endless device costs nothing; the failure names the file.
Expected<Job> readJobFile(const std::filesystem::path& file);

// Replaces the file with the bytes, or leaves it as it was: the bytes go to
// a new file beside it, flushed to the disk, which is then renamed over it.
// A file that existed keeps its permissions; a link is followed and its
// target replaced. Nothing when written, else the message saying why not.
std::optional<std::string> writeFileAtomically(const std::filesystem::path& file,
                                               std::string_view bytes);

}  // namespace kelvane::job
