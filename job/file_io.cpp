#include "job/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "job/job_json.h"
#include "job/output_file.h"
#include "job/system_reason.h"

namespace kelvane::job {
namespace {

// Closes the descriptor when the scope ends.
struct FileDescriptor {
  int fd = -1;
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

std::string openFailureMessage(const std::filesystem::path& file, std::string_view reason) {
  return "「" + displayName(file) + "」を開けません。" + std::string(reason);
}

Expected<Job> readJobFile(const std::filesystem::path& file) {
  // Opened without waiting, so a pipe with no writer cannot hold the reader;
  // only a regular file is a job.
  FileDescriptor in{::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  // A socket cannot be opened at all; it is no job either.
  if (in.fd < 0 && errno == ENXIO)
    return Failure{openFailureMessage(file, "通常のファイルではありません。")};
  if (in.fd < 0) {
    return Failure{openFailureMessage(file, "読み込めません（" + systemReason(errno) + "）。")};
  }
  struct stat info {};
  if (::fstat(in.fd, &info) != 0 || !S_ISREG(info.st_mode))
    return Failure{openFailureMessage(file, "通常のファイルではありません。")};
  std::string bytes;
  char buffer[65536];
  while (bytes.size() <= kMaxFileBytes) {
    const ssize_t n = ::read(in.fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      return Failure{openFailureMessage(file, "読み込めません（" + systemReason(errno) + "）。")};
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  Expected<Job> job = readJob(bytes);
  if (!job) return Failure{openFailureMessage(file, job.message())};
  return job;
}

std::optional<std::string> saveJobFile(const std::filesystem::path& file, const Job& job) {
  const Expected<std::string> text = savedJobText(job, std::chrono::system_clock::now());
  if (!text) return "「" + displayName(file) + "」を保存できません。" + text.message();
  return writeFileAtomically(file, *text);
}

}  // namespace kelvane::job
