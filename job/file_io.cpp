#include "job/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "job/job_json.h"

namespace kelvane::job {
namespace {

// Why the system refused, in words for the user where the cause is common.
std::string systemReason(int error) {
  switch (error) {
    case ENOENT:
      return "ファイルがありません";
    case EACCES:
      return "権限がありません";
    case EISDIR:
      return "フォルダーです";
    case ENOSPC:
      return "ディスクがいっぱいです";
    default:
      return std::strerror(error);
  }
}

// Closes the descriptor when the scope ends.
struct FileDescriptor {
  int fd = -1;
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
};

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = EIO;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::string openFailureMessage(const std::filesystem::path& file, std::string_view reason) {
  return "「" + file.filename().string() + "」を開けません。" + std::string(reason);
}

Expected<Job> readJobFile(const std::filesystem::path& file) {
  // Opened without waiting, so a pipe with no writer cannot hold the reader;
  // only a regular file is a job.
  FileDescriptor in{::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
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

std::optional<std::string> writeFileAtomically(const std::filesystem::path& file,
                                               std::string_view bytes) {
  std::error_code ec;
  std::filesystem::path target = file;
  if (std::filesystem::is_symlink(std::filesystem::symlink_status(file, ec))) {
    target = std::filesystem::weakly_canonical(file, ec);
    if (ec) return "保存先を確かめられません（" + ec.message() + "）。";
  }

  // A name of our own beside the target, so that the rename stays on one disk.
  FileDescriptor out;
  std::filesystem::path temporary;
  for (int attempt = 0; attempt < 100 && out.fd < 0; ++attempt) {
    temporary = target;
    temporary += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    out.fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out.fd < 0 && errno != EEXIST) break;
  }
  if (out.fd < 0) return "保存できません（" + systemReason(errno) + "）。";

  auto fail = [&](int error) -> std::optional<std::string> {
    ::unlink(temporary.c_str());
    return "保存できません（" + systemReason(error) + "）。";
  };
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0 && ::fchmod(out.fd, existing.st_mode & 07777) != 0)
    return fail(errno);
  if (!writeAll(out.fd, bytes) || ::fsync(out.fd) != 0) return fail(errno);
  const int fd = out.fd;
  out.fd = -1;
  if (::close(fd) != 0) return fail(errno);
  if (::rename(temporary.c_str(), target.c_str()) != 0) return fail(errno);

  // The rename itself reaches the disk with the directory.
  const std::filesystem::path directory =
      target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  FileDescriptor dir{::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
  if (dir.fd >= 0) ::fsync(dir.fd);
  return std::nullopt;
}

}  // namespace kelvane::job
