#include "job/platform_files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

// The system's own calls where it has them; the C++ library's alone in the
// browser, where the page downloads and uploads instead, on a system without
// POSIX, and where a build asks for them (the tests of that branch).
#if !defined(KELVANE_PORTABLE_FILES) && !defined(__EMSCRIPTEN__) && __has_include(<unistd.h>)
#define KELVANE_POSIX_FILES 1
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#else
#include <cstdio>
#include <random>
#include <vector>
#endif

namespace kelvane::job::platform {
namespace {

namespace fs = std::filesystem;

// The files a test has made unreadable, with the error each gives.
std::mutex refusalsMutex;
std::map<fs::path, int>& refusals() {
  static std::map<fs::path, int> files;
  return files;
}
int refusalOf(const fs::path& path) {
  const std::lock_guard lock(refusalsMutex);
  const auto it = refusals().find(path);
  return it == refusals().end() ? 0 : it->second;
}

// The folders a test has made unsearchable.
std::set<fs::path>& unsearchable() {
  static std::set<fs::path> folders;
  return folders;
}
fs::path withoutTrailingSlash(const fs::path& path) {
  fs::path normal = path.lexically_normal();
  return normal.has_filename() ? normal : normal.parent_path();
}
// EACCES when the name is looked up through a folder a test has made
// unsearchable (or, with `itself`, is that folder, to make a file in).
int searchRefusalOf(const fs::path& path, bool itself = false) {
  const std::lock_guard lock(refusalsMutex);
  const fs::path name = withoutTrailingSlash(path);
  for (const fs::path& folder : unsearchable()) {
    const auto [inFolder, inName] =
        std::mismatch(folder.begin(), folder.end(), name.begin(), name.end());
    if (inFolder == folder.end() && (itself || inName != name.end())) return EACCES;
  }
  return 0;
}
std::atomic<bool> unnamedRefused{false};

// The calls a test asked to see, in order.
std::atomic<bool> recording{false};
std::mutex recordedMutex;
std::vector<std::string>& recorded() {
  static std::vector<std::string> calls;
  return calls;
}
void note(const char* call) {
  if (!recording.load(std::memory_order_relaxed)) return;
  const std::lock_guard lock(recordedMutex);
  recorded().emplace_back(call);
}

}  // namespace

namespace testing {
void refuseReading(const fs::path& file, int error) {
  const std::lock_guard lock(refusalsMutex);
  if (error == 0) {
    refusals().erase(file);
  } else {
    refusals()[file] = error;
  }
}
void refuseSearching(const fs::path& folder, bool refused) {
  const std::lock_guard lock(refusalsMutex);
  if (refused) {
    unsearchable().insert(withoutTrailingSlash(folder));
  } else {
    unsearchable().erase(withoutTrailingSlash(folder));
  }
}
void refuseUnnamedFiles(bool refuse) { unnamedRefused = refuse; }
void recordCalls(bool on) { recording = on; }
std::vector<std::string> takeRecordedCalls() {
  const std::lock_guard lock(recordedMutex);
  return std::exchange(recorded(), {});
}
}  // namespace testing

#ifdef KELVANE_POSIX_FILES

namespace {

FileStatus statusFrom(const struct stat& info) {
  FileStatus out;
  if (S_ISREG(info.st_mode)) {
    out.kind = FileKind::Regular;
  } else if (S_ISDIR(info.st_mode)) {
    out.kind = FileKind::Folder;
  } else if (S_ISFIFO(info.st_mode)) {
    out.kind = FileKind::Pipe;
  } else if (S_ISCHR(info.st_mode)) {
    out.kind = FileKind::CharacterDevice;
  }
  out.permissions = info.st_mode & 07777;
  out.owner = info.st_uid;
  out.group = info.st_gid;
  out.bytes = out.kind == FileKind::Regular ? static_cast<std::uint64_t>(info.st_size) : 0;
  return out;
}

// What an interrupt calls first, and what it did before we came.
std::atomic<void (*)()> interruptHook{nullptr};
constexpr std::array kInterrupts{SIGINT, SIGTERM, SIGHUP};
std::array<struct sigaction, kInterrupts.size()> previousActions;
std::atomic<bool> handlersInstalled{false};

void hookThenGoOn(int signal) {
  if (auto* hook = interruptHook.load()) hook();
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

}  // namespace

int status(const fs::path& path, FileStatus& out) {
  if (const int refused = searchRefusalOf(path)) return refused;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return errno;
  out = statusFrom(info);
  return 0;
}

int linkStatus(const fs::path& path, FileStatus& out) {
  if (const int refused = searchRefusalOf(path)) return refused;
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return errno;
  out = statusFrom(info);
  if (S_ISLNK(info.st_mode)) out.kind = FileKind::Link;
  return 0;
}

int status(Descriptor file, FileStatus& out) {
  struct stat info {};
  if (::fstat(file, &info) != 0) return errno;
  out = statusFrom(info);
  return 0;
}

bool isFileAt(Descriptor file, const fs::path& path) {
  struct stat open {
  }, named{};
  return ::fstat(file, &open) == 0 && ::stat(path.c_str(), &named) == 0 &&
         open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

bool mayWrite(const fs::path& path, const FileStatus& status) {
  if (::geteuid() == 0) return (status.permissions & 0222) != 0;
  return ::access(path.c_str(), W_OK) == 0;
}

int open(const fs::path& path, Access access, Peer peer, Descriptor& out) {
  out = kNoFile;
  if (const int refused = searchRefusalOf(path, access == Access::Unnamed)) return refused;
  int flags = O_CLOEXEC;
  switch (access) {
    case Access::Read:
      if (const int refused = refusalOf(path)) return refused;
      flags |= O_RDONLY;
      break;
    case Access::Write:
      flags |= O_WRONLY | O_NOCTTY;
      break;
    case Access::CreateNew:
      flags |= O_WRONLY | O_CREAT | O_EXCL;
      break;
    case Access::Unnamed:
      if (unnamedRefused) return EOPNOTSUPP;
#ifdef O_TMPFILE
      flags |= O_WRONLY | O_TMPFILE;
      break;
#else
      return EOPNOTSUPP;
#endif
  }
  // Opened without waiting, then written and read as any file is.
  const bool refuseAbsentPeer =
      peer == Peer::Refuse && (access == Access::Read || access == Access::Write);
  if (refuseAbsentPeer) flags |= O_NONBLOCK;
  do {
    out = ::open(path.c_str(), flags, 0666);
  } while (out < 0 && errno == EINTR);
  if (out < 0) {
    const int error = errno;
    out = kNoFile;
    // A file system without unnamed files says so in one of three ways.
    if (access == Access::Unnamed && (error == EISDIR || error == EINVAL)) return EOPNOTSUPP;
    return error;
  }
  if (refuseAbsentPeer) ::fcntl(out, F_SETFL, ::fcntl(out, F_GETFL) & ~O_NONBLOCK);
  return 0;
}

int read(Descriptor file, char* buffer, std::size_t size, std::size_t& got) {
  for (;;) {
    const ssize_t n = ::read(file, buffer, size);
    if (n >= 0) {
      got = static_cast<std::size_t>(n);
      return 0;
    }
    if (errno != EINTR) return errno;
  }
}

// SIGPIPE held back from this thread while it writes: a pipe whose reader
// has gone then answers EPIPE, and the signal that write raised is taken
// back, so it neither ends the program nor waits for a later unblocking.
// One that was pending already is left as it was.
class PipeSignalHeld {
 public:
  PipeSignalHeld() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    sigemptyset(&pending);
    wasPending_ = ::sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
    ::pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
  }
  ~PipeSignalHeld() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
  PipeSignalHeld(const PipeSignalHeld&) = delete;
  PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;

  void takeBack() {
    if (wasPending_) return;
    const struct timespec now {};
    while (::sigtimedwait(&pipe_, nullptr, &now) < 0 && errno == EINTR) {
    }
  }

 private:
  sigset_t pipe_{};
  sigset_t previous_{};
  bool wasPending_ = false;
};

int writeAll(Descriptor file, std::string_view bytes) {
  note("write");
  PipeSignalHeld held;
  while (!bytes.empty()) {
    const ssize_t n = ::write(file, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EPIPE) {
      held.takeBack();
      return EPIPE;
    }
    if (n <= 0) return n == 0 ? EIO : errno;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

int sync(Descriptor file) {
  note("sync");
  return ::fsync(file) == 0 ? 0 : errno;
}

int close(Descriptor file) {
  note("close");
  return ::close(file) == 0 ? 0 : errno;
}

int takeOwnerAndPermissions(Descriptor file, const FileStatus& of) {
  if (::geteuid() == 0) (void)::fchown(file, of.owner, of.group);
  return ::fchmod(file, of.permissions) == 0 ? 0 : errno;
}

int link(Descriptor file, const fs::path& name) {
  note("link");
#ifdef O_TMPFILE
  // Through /proc where it is mounted; else by the descriptor itself, which
  // needs a privilege.
  const std::string self = "/proc/self/fd/" + std::to_string(file);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
      ::linkat(file, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0)
    return 0;
  return errno;
#else
  (void)file;
  (void)name;
  return EOPNOTSUPP;
#endif
}

int rename(const fs::path& from, const fs::path& to) {
  note("rename");
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

void remove(const char* path) { ::unlink(path); }

void syncFolder(const fs::path& folder) {
  note("sync folder");
  const int directory = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory >= 0) {
    ::fsync(directory);
    ::close(directory);
  }
}

bool isTerminal(Descriptor file) { return ::isatty(file) == 1; }

int processNumber() { return static_cast<int>(::getpid()); }

bool processGone(int number) { return number > 0 && ::kill(number, 0) != 0 && errno == ESRCH; }

std::string machineName() {
  std::array<char, 256> name{};
  if (::gethostname(name.data(), name.size() - 1) != 0) return {};
  return name.data();
}

void ignoreBrokenPipes() { ::signal(SIGPIPE, SIG_IGN); }

void onInterrupt(void (*beforehand)()) {
  interruptHook = beforehand;
  if (handlersInstalled.exchange(true)) return;
  struct sigaction ours {};
  ours.sa_handler = hookThenGoOn;
  sigemptyset(&ours.sa_mask);
  for (std::size_t i = 0; i < kInterrupts.size(); ++i) {
    ::sigaction(kInterrupts[i], nullptr, &previousActions[i]);
    if (previousActions[i].sa_handler != SIG_IGN) ::sigaction(kInterrupts[i], &ours, nullptr);
  }
}

#else  // the C++ library alone

namespace {

// The open files, by their number; the first three are the standard streams.
struct Stream {
  std::FILE* file = nullptr;
  fs::path path;  // empty for the standard streams
};
std::mutex streamsMutex;
std::vector<Stream>& streams() {
  static std::vector<Stream> open = {{stdin, {}}, {stdout, {}}, {stderr, {}}};
  return open;
}
Stream streamOf(Descriptor file) {
  const std::lock_guard lock(streamsMutex);
  auto& all = streams();
  return file >= 0 && static_cast<std::size_t>(file) < all.size() ? all[file] : Stream{};
}

// The C library may leave errno unset; then the likeliest cause.
int errorOr(int likeliest) { return errno != 0 ? errno : likeliest; }

int errorOf(const std::error_code& error) {
  return error.default_error_condition().category() == std::generic_category()
             ? error.default_error_condition().value()
             : EIO;
}

std::atomic<void (*)()> interruptHook{nullptr};

void hookThenGoOn(int signal) {
  if (auto* hook = interruptHook.load()) hook();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// What `found` is, with the size of a regular file at `path`.
FileStatus statusFrom(const fs::path& path, const fs::file_status& found) {
  std::error_code error;
  FileStatus out;
  switch (found.type()) {
    case fs::file_type::regular:
      out.kind = FileKind::Regular;
      out.bytes = fs::file_size(path, error);
      break;
    case fs::file_type::directory:
      out.kind = FileKind::Folder;
      break;
    case fs::file_type::fifo:
      out.kind = FileKind::Pipe;
      break;
    case fs::file_type::character:
      out.kind = FileKind::CharacterDevice;
      break;
    case fs::file_type::symlink:
      out.kind = FileKind::Link;
      break;
    default:
      break;
  }
  out.permissions = static_cast<std::uint32_t>(found.permissions()) & 07777;
  return out;
}

}  // namespace

int status(const fs::path& path, FileStatus& out) {
  if (const int refused = searchRefusalOf(path)) return refused;
  std::error_code error;
  const fs::file_status found = fs::status(path, error);
  if (found.type() == fs::file_type::not_found) return ENOENT;
  if (error) return errorOf(error);
  out = statusFrom(path, found);
  return 0;
}

int linkStatus(const fs::path& path, FileStatus& out) {
  if (const int refused = searchRefusalOf(path)) return refused;
  std::error_code error;
  const fs::file_status found = fs::symlink_status(path, error);
  if (found.type() == fs::file_type::not_found) return ENOENT;
  if (error) return errorOf(error);
  out = statusFrom(path, found);
  return 0;
}

int status(Descriptor file, FileStatus& out) {
  const Stream stream = streamOf(file);
  if (!stream.file) return EBADF;
  if (stream.path.empty()) {
    out = FileStatus{};  // a standard stream: nothing known
    return 0;
  }
  return status(stream.path, out);
}

bool isFileAt(Descriptor, const fs::path&) { return false; }

bool mayWrite(const fs::path&, const FileStatus& status) {
  return (status.permissions & 0222) != 0;
}

int open(const fs::path& path, Access access, Peer, Descriptor& out) {
  out = kNoFile;
  if (const int refused = searchRefusalOf(path, access == Access::Unnamed)) return refused;
  const char* mode = nullptr;
  switch (access) {
    case Access::Read:
      if (const int refused = refusalOf(path)) return refused;
      mode = "rb";
      break;
    case Access::Write:
      mode = "ab";
      break;
    case Access::CreateNew:
      mode = "wbx";
      break;
    case Access::Unnamed:
      return EOPNOTSUPP;
  }
  errno = 0;
  std::FILE* file = std::fopen(path.string().c_str(), mode);
  if (!file) {
    std::error_code ignored;
    if (access == Access::CreateNew && fs::exists(path, ignored)) return EEXIST;
    return errorOr(fs::exists(path, ignored) ? EACCES : ENOENT);
  }
  const std::lock_guard lock(streamsMutex);
  auto& all = streams();
  std::size_t slot = 3;
  while (slot < all.size() && all[slot].file) ++slot;
  if (slot == all.size()) all.emplace_back();
  all[slot] = {file, path};
  out = static_cast<Descriptor>(slot);
  return 0;
}

int read(Descriptor file, char* buffer, std::size_t size, std::size_t& got) {
  const Stream stream = streamOf(file);
  if (!stream.file) return EBADF;
  errno = 0;
  got = std::fread(buffer, 1, size, stream.file);
  return got == 0 && std::ferror(stream.file) ? errorOr(EIO) : 0;
}

int writeAll(Descriptor file, std::string_view bytes) {
  note("write");
  const Stream stream = streamOf(file);
  if (!stream.file) return EBADF;
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), stream.file) != bytes.size()) return errorOr(EIO);
  return 0;
}

int sync(Descriptor file) {
  note("sync");
  const Stream stream = streamOf(file);
  if (!stream.file) return EBADF;
  errno = 0;
  return std::fflush(stream.file) == 0 ? 0 : errorOr(EIO);
}

int close(Descriptor file) {
  note("close");
  std::FILE* stream = nullptr;
  {
    const std::lock_guard lock(streamsMutex);
    auto& all = streams();
    if (file < 0 || static_cast<std::size_t>(file) >= all.size() || !all[file].file) return EBADF;
    stream = all[file].file;
    all[file] = {};
  }
  errno = 0;
  return std::fclose(stream) == 0 ? 0 : errorOr(EIO);
}

int takeOwnerAndPermissions(Descriptor file, const FileStatus& of) {
  const Stream stream = streamOf(file);
  if (stream.path.empty()) return EBADF;
  std::error_code error;
  fs::permissions(stream.path, static_cast<fs::perms>(of.permissions & 07777), error);
  return error ? errorOf(error) : 0;
}

int link(Descriptor, const fs::path&) {
  note("link");
  return EOPNOTSUPP;
}

int rename(const fs::path& from, const fs::path& to) {
  note("rename");
  std::error_code error;
  fs::rename(from, to, error);
  return error ? errorOf(error) : 0;
}

void remove(const char* path) { std::remove(path); }

void syncFolder(const fs::path&) { note("sync folder"); }

bool isTerminal(Descriptor) { return false; }

int processNumber() {
  static const int number = static_cast<int>(std::random_device{}() & 0x7fffffff);
  return number;
}

// Without the system's processes nothing can be said to have ended.
bool processGone(int) { return false; }

std::string machineName() { return {}; }

// No SIGPIPE without POSIX.
void ignoreBrokenPipes() {}

void onInterrupt(void (*beforehand)()) {
  interruptHook = beforehand;
  for (const int signal : {SIGINT, SIGTERM}) {
    if (std::signal(signal, hookThenGoOn) == SIG_IGN) std::signal(signal, SIG_IGN);
  }
}

#endif

}  // namespace kelvane::job::platform
