#include "job/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "job/system_reason.h"

namespace kelvane::job {
namespace {

namespace fs = std::filesystem;

// Hidden stand-ins that exist on the disk right now, removed by an interrupt.
// Plain arrays and atomics: a signal handler may only read memory and unlink.
constexpr std::size_t kSlots = 8;
constexpr std::size_t kPathBytes = 4096;
std::array<std::array<char, kPathBytes>, kSlots> standInPaths;
std::array<std::atomic<bool>, kSlots> slotTaken;  // by a writer
std::array<std::atomic<bool>, kSlots> slotArmed;  // its path complete: removable
constexpr std::array kInterrupts{SIGINT, SIGTERM, SIGHUP};
std::array<struct sigaction, kInterrupts.size()> previousActions;
std::atomic<bool> handlersInstalled{false};

void removeStandInsAndGoOn(int signal) {
  for (std::size_t i = 0; i < kSlots; ++i) {
    if (slotArmed[i].load()) ::unlink(standInPaths[i].data());
  }
  for (std::size_t i = 0; i < kInterrupts.size(); ++i) {
    if (kInterrupts[i] != signal) continue;
    const auto& previous = previousActions[i];
    if (!(previous.sa_flags & SA_SIGINFO) && previous.sa_handler != SIG_DFL &&
        previous.sa_handler != SIG_IGN) {
      previous.sa_handler(signal);
      return;
    }
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void installHandlers() {
  if (handlersInstalled.exchange(true)) return;
  struct sigaction ours {};
  ours.sa_handler = removeStandInsAndGoOn;
  sigemptyset(&ours.sa_mask);
  for (std::size_t i = 0; i < kInterrupts.size(); ++i) {
    ::sigaction(kInterrupts[i], nullptr, &previousActions[i]);
    // A signal the program ignores (nohup) stays ignored.
    if (previousActions[i].sa_handler != SIG_IGN) ::sigaction(kInterrupts[i], &ours, nullptr);
  }
}

// Notes a stand-in for removal on an interrupt; false when its name is too
// long to note or every slot is taken (the caller then does without it).
bool noteStandIn(const fs::path& path) {
  const std::string& text = path.native();
  if (text.size() >= kPathBytes) return false;
  installHandlers();
  for (std::size_t i = 0; i < kSlots; ++i) {
    bool free = false;
    if (!slotTaken[i].compare_exchange_strong(free, true)) continue;
    std::memcpy(standInPaths[i].data(), text.c_str(), text.size() + 1);
    slotArmed[i] = true;
    return true;
  }
  return false;
}

void forgetStandIn(const fs::path& path) {
  for (std::size_t i = 0; i < kSlots; ++i) {
    if (slotArmed[i].load() && path.native() == standInPaths[i].data()) {
      slotArmed[i] = false;
      slotTaken[i] = false;
    }
  }
}

// A hidden name beside the target, not taken yet when tried.
fs::path standInName(const fs::path& target, int attempt) {
  return target.parent_path() / ("." + target.filename().string() + ".kelvane-" +
                                 std::to_string(::getpid()) + "-" + std::to_string(attempt));
}

// The file a name leads to: links followed, even one whose target does not
// exist yet, so the link stays and its target is written.
std::optional<fs::path> followLinks(fs::path path) {
  for (int depth = 0; depth < 40; ++depth) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    const fs::path next = fs::read_symlink(path, ec);
    if (ec) return std::nullopt;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  errno = ELOOP;
  return std::nullopt;
}

// Whether the user may write this existing file. Root may write anything, so
// for root a file without any write permission counts as read-only.
bool mayWrite(const fs::path& file, const struct stat& info) {
  if (::geteuid() == 0) return (info.st_mode & 0222) != 0;
  return ::access(file.c_str(), W_OK) == 0;
}

}  // namespace

int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n == 0 ? EIO : errno;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

std::string displayName(const fs::path& file) {
  const std::string name = file.filename().string();
  return name.empty() ? file.string() : name;
}

bool sameFile(const fs::path& a, const fs::path& b) {
  struct stat first {
  }, second{};
  const bool firstExists = ::stat(a.c_str(), &first) == 0;
  const bool secondExists = ::stat(b.c_str(), &second) == 0;
  if (firstExists && secondExists)
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  if (firstExists || secondExists) return false;
  // Two names of a file still to be made.
  std::error_code ec1, ec2;
  const fs::path left = fs::weakly_canonical(fs::absolute(a, ec1), ec1);
  const fs::path right = fs::weakly_canonical(fs::absolute(b, ec2), ec2);
  return !ec1 && !ec2 && left == right;
}

OutputFile::~OutputFile() { discard(); }

void OutputFile::discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!named_.empty()) {
    ::unlink(named_.c_str());
    forgetStandIn(named_);
    named_.clear();
  }
}

std::optional<std::string> OutputFile::refuse(const std::string& reason) {
  discard();
  failure_ = "「" + name_ + "」を保存できません（" + reason + "）。";
  return failure_;
}

std::optional<std::string> OutputFile::fail(int error) {
  if (error == ENOENT &&
      !fs::is_directory(target_.parent_path().empty() ? "." : target_.parent_path()))
    return refuse("保存先のフォルダーがありません");
  return refuse(systemReason(error));
}

std::optional<std::string> OutputFile::open(const fs::path& file, Reader absentReader) {
  discard();
  failure_.reset();
  synced_ = direct_ = false;
  name_ = displayName(file);
  const std::optional<fs::path> target = followLinks(file);
  if (!target) return fail(errno);
  target_ = *target;
  const fs::path folder = target_.parent_path().empty() ? fs::path(".") : target_.parent_path();

  struct stat existing {};
  const bool exists = ::stat(target_.c_str(), &existing) == 0;
  if (!exists && errno != ENOENT) return fail(errno);
  if (exists && S_ISDIR(existing.st_mode)) return refuse(systemReason(EISDIR));
  if (exists && (S_ISFIFO(existing.st_mode) || S_ISCHR(existing.st_mode))) {
    // Written into, never replaced.
    const int wait = absentReader == Reader::Await ? 0 : O_NONBLOCK;
    do {
      fd_ = ::open(target_.c_str(), O_WRONLY | wait | O_NOCTTY | O_CLOEXEC);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) return fail(errno);
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    direct_ = true;
    return std::nullopt;
  }
  if (exists && !S_ISREG(existing.st_mode)) return refuse("書き出せない種類のファイルです");
  if (exists && !mayWrite(target_, existing)) return refuse("読み取り専用のファイルです");

  fd_ = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
    // No unnamed files here: a hidden one that an interrupt removes.
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
      const fs::path candidate = standInName(target_, attempt);
      fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ >= 0) {
        named_ = candidate;
        noteStandIn(named_);
      } else if (errno != EEXIST) {
        break;
      }
    }
  }
  if (fd_ < 0) return fail(errno);
  if (exists) {
    // The owner only where the system lets us (root); the permissions always.
    if (::geteuid() == 0) (void)::fchown(fd_, existing.st_uid, existing.st_gid);
    if (::fchmod(fd_, existing.st_mode & 07777) != 0) return fail(errno);
  }
  return std::nullopt;
}

std::optional<std::string> OutputFile::write(std::string_view bytes) {
  if (failure_) return failure_;
  if (fd_ < 0) return refuse(systemReason(EBADF));
  synced_ = false;
  if (const int error = writeAll(fd_, bytes)) return fail(error);
  return std::nullopt;
}

std::optional<std::string> OutputFile::sync() {
  if (failure_) return failure_;
  if (fd_ < 0) return refuse(systemReason(EBADF));
  // A pipe or a terminal has nothing to flush to a disk.
  if (!synced_ && !direct_ && ::fsync(fd_) != 0) return fail(errno);
  synced_ = true;
  return std::nullopt;
}

std::optional<std::string> OutputFile::commit() {
  if (auto error = sync()) return error;
  if (direct_) {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return fail(errno);
    return std::nullopt;
  }
  if (named_.empty()) {
    // The unnamed file gets a hidden name first: a link cannot replace a file.
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0; attempt < 100 && named_.empty(); ++attempt) {
      const fs::path candidate = standInName(target_, attempt);
      noteStandIn(candidate);
      if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
          ::linkat(fd_, "", AT_FDCWD, candidate.c_str(), AT_EMPTY_PATH) == 0) {
        named_ = candidate;
      } else {
        const int error = errno;
        forgetStandIn(candidate);
        if (error != EEXIST) return fail(error);
      }
    }
    if (named_.empty()) return fail(EEXIST);
  }
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return fail(errno);
  if (::rename(named_.c_str(), target_.c_str()) != 0) return fail(errno);
  forgetStandIn(named_);
  named_.clear();

  // The new name itself reaches the disk with its folder.
  const fs::path folder = target_.parent_path().empty() ? fs::path(".") : target_.parent_path();
  const int directory = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory >= 0) {
    ::fsync(directory);
    ::close(directory);
  }
  return std::nullopt;
}

std::optional<std::string> writeFileAtomically(const fs::path& file, std::string_view bytes) {
  OutputFile out;
  if (auto error = out.open(file)) return error;
  if (auto error = out.write(bytes)) return error;
  return out.commit();
}

}  // namespace kelvane::job
