#pragma once

#include <QString>
#include <filesystem>
#include <string_view>

#include "core/expected.h"
#include "job/job.h"

namespace kelvane::ui {

// The file a name chosen in the window stands for, in the system's bytes.
std::filesystem::path fileOf(const QString& path);

// The job in a file, or one Japanese sentence naming the file and saying why
// it cannot be opened: a file that is no job, damaged, of a newer format,
// unreadable or too large (job::readJobFile's limits and texts), or no
// regular file at all (a pipe, a device).
Expected<job::Job> readJobFile(const QString& path);

// Replaces the file with the bytes, or leaves it as it was (job::OutputFile).
// The failure is the Japanese sentence naming the file and why.
Expected<void> saveFile(const QString& path, std::string_view bytes);

// Saves the job (job::saveJobFile).
Expected<void> saveJobFile(const QString& path, const job::Job& job);

}  // namespace kelvane::ui
