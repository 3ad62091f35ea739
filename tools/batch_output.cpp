#include "tools/batch_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kelvane::batch {

int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n == 0 ? EIO : errno;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

OutputFile::~OutputFile() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(temporary_.c_str());
  }
}

std::optional<std::string> OutputFile::failed(const std::string& what, int error) {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(temporary_.c_str());
    fd_ = -1;
  }
  return "cannot " + what + " " + target_.string() + ": " + std::strerror(error);
}

std::optional<std::string> OutputFile::open(const std::filesystem::path& file) {
  std::error_code ec;
  target_ = file;
  if (std::filesystem::is_symlink(std::filesystem::symlink_status(file, ec))) {
    target_ = std::filesystem::weakly_canonical(file, ec);
    if (ec) return "cannot follow the link " + file.string() + ": " + ec.message();
  }
  // A name of our own beside the target, so that the rename stays on one disk.
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temporary_ = target_;
    temporary_ += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) return failed("write", errno);
  struct stat existing {};
  if (::stat(target_.c_str(), &existing) == 0 && ::fchmod(fd_, existing.st_mode & 07777) != 0)
    return failed("write", errno);
  return std::nullopt;
}

std::optional<std::string> OutputFile::write(std::string_view bytes) {
  if (const int error = writeAll(fd_, bytes)) return failed("write", error);
  return std::nullopt;
}

std::optional<std::string> OutputFile::commit() {
  if (::fsync(fd_) != 0) return failed("write", errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary_.c_str());
    return "cannot write " + target_.string() + ": " + std::strerror(error);
  }
  // The rename itself reaches the disk with the directory.
  const std::filesystem::path directory =
      target_.has_parent_path() ? target_.parent_path() : std::filesystem::path(".");
  const int dir = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return std::nullopt;
}

}  // namespace kelvane::batch
