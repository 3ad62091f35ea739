#include "job/file_io.h"

#include <cerrno>
#include <chrono>

#include "job/job_json.h"
#include "job/output_file.h"
#include "job/platform_files.h"
#include "job/system_reason.h"

namespace kelvane::job {

std::string openFailureMessage(const std::filesystem::path& file, std::string_view reason) {
  return "「" + displayName(file) + "」を開けません。" + std::string(reason);
}

Expected<Job> readJobFile(const std::filesystem::path& file) {
  // Opened without waiting, so a pipe with no writer cannot hold the reader;
  // only a regular file is a job.
  platform::OpenFile in;
  const int error = platform::open(file, platform::Access::Read, platform::Peer::Refuse, in.get());
  // A socket cannot be opened at all; it is no job either.
  if (error == ENXIO) return Failure{openFailureMessage(file, "通常のファイルではありません。")};
  if (error != 0) {
    return Failure{openFailureMessage(file, "読み込めません（" + systemReason(error) + "）。")};
  }
  platform::FileStatus info;
  if (platform::status(in.get(), info) != 0 || info.kind != platform::FileKind::Regular)
    return Failure{openFailureMessage(file, "通常のファイルではありません。")};
  std::string bytes;
  char buffer[65536];
  while (bytes.size() <= kMaxFileBytes) {
    std::size_t got = 0;
    if (const int failed = platform::read(in.get(), buffer, sizeof buffer, got)) {
      return Failure{openFailureMessage(file, "読み込めません（" + systemReason(failed) + "）。")};
    }
    if (got == 0) break;
    bytes.append(buffer, got);
  }
  Expected<Job> job = readJob(bytes);
  if (!job) return Failure{openFailureMessage(file, job.message())};
  return job;
}

Expected<void> saveJobFile(const std::filesystem::path& file, const Job& job) {
  const Expected<std::string> text = savedJobText(job, std::chrono::system_clock::now());
  if (!text) return Failure{"「" + displayName(file) + "」を保存できません。" + text.message()};
  return writeFileAtomically(file, *text);
}

}  // namespace kelvane::job
