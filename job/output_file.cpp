#include "job/output_file.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>

#include "core/expected.h"
#include "job/platform_files.h"
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

void removeStandIns() {
  for (std::size_t i = 0; i < kSlots; ++i) {
    if (slotArmed[i].load()) platform::remove(standInPaths[i].data());
  }
}

// Notes a stand-in for removal on an interrupt; false when its name is too
// long to note or every slot is taken (the caller then does without it).
bool noteStandIn(const fs::path& path) {
  const std::string text = path.string();
  if (text.size() >= kPathBytes) return false;
  platform::onInterrupt(removeStandIns);
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
  const std::string text = path.string();
  for (std::size_t i = 0; i < kSlots; ++i) {
    if (slotArmed[i].load() && text == standInPaths[i].data()) {
      slotArmed[i] = false;
      slotTaken[i] = false;
    }
  }
}

// What marks a hidden stand-in: ".NAME.kelvane-MACHINE-PID-N". The machine
// is in it because a shared drive is written by several computers, each
// with processes of its own numbers.
constexpr std::string_view kStandInMark = ".kelvane-";

const std::string& machineOfStandIns() {
  static const std::string machine = platform::machineName();
  return machine;
}

// A hidden name beside the target, not taken yet when tried.
fs::path standInName(const fs::path& target, int attempt) {
  const std::string& machine = machineOfStandIns();
  return target.parent_path() /
         ("." + target.filename().string() + std::string(kStandInMark) +
          (machine.empty() ? "" : machine + "-") + std::to_string(platform::processNumber()) + "-" +
          std::to_string(attempt));
}

// The process that made a stand-in on this computer, from its name; none
// for any other name, or a stand-in of another computer.
std::optional<int> standInMaker(const std::string& name) {
  const std::string& machine = machineOfStandIns();
  if (machine.empty() || !name.starts_with('.')) return std::nullopt;
  const std::size_t mark = name.rfind(std::string(kStandInMark) + machine + "-");
  if (mark == std::string::npos || mark <= 1) return std::nullopt;
  std::string_view rest =
      std::string_view(name).substr(mark + kStandInMark.size() + machine.size() + 1);
  // PID-N, both in digits.
  const std::size_t dash = rest.find('-');
  if (dash == std::string_view::npos || dash == 0 || dash > 9 || dash + 1 == rest.size())
    return std::nullopt;
  int pid = 0;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    const char c = rest[i];
    if (i == dash) continue;
    if (c < '0' || c > '9') return std::nullopt;
    if (i < dash) pid = pid * 10 + (c - '0');
  }
  return pid;
}

// Removes the stand-ins in the folder that a write killed outright (kill -9,
// a power cut) left behind: those of this computer whose process has ended.
// Nothing else is touched, and a folder that cannot be read is left alone.
void removeLeftStandIns(const fs::path& folder) {
  if (machineOfStandIns().empty()) return;
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  if (error) return;
  for (; entries != fs::directory_iterator(); entries.increment(error)) {
    if (error) return;
    const std::optional<int> maker = standInMaker(entries->path().filename().string());
    if (!maker || *maker == platform::processNumber() || !platform::processGone(*maker)) continue;
    std::error_code ignored;
    if (entries->is_regular_file(ignored) && !entries->is_symlink(ignored))
      platform::remove(entries->path().string().c_str());
  }
}

// The file a name leads to: links followed, even one whose target does not
// exist yet, so the link stays and its target is written.
Expected<fs::path> followLinks(fs::path path) {
  for (int depth = 0; depth < 40; ++depth) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    const fs::path next = fs::read_symlink(path, ec);
    if (ec) return Failure{systemReason(ec.default_error_condition().value())};
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return Failure{systemReason(ELOOP)};
}

fs::path folderOf(const fs::path& file) {
  return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

}  // namespace

std::string displayName(const fs::path& file) {
  const std::string name = file.filename().string();
  return name.empty() ? file.string() : name;
}

bool sameFile(const fs::path& a, const fs::path& b) {
  std::error_code ec1, ec2;
  const bool firstExists = fs::exists(a, ec1);
  const bool secondExists = fs::exists(b, ec2);
  if (firstExists && secondExists) return fs::equivalent(a, b, ec1);
  if (firstExists || secondExists) return false;
  // Two names of a file still to be made.
  const fs::path left = fs::weakly_canonical(fs::absolute(a, ec1), ec1);
  const fs::path right = fs::weakly_canonical(fs::absolute(b, ec2), ec2);
  return !ec1 && !ec2 && left == right;
}

OutputFile::~OutputFile() { discard(); }

void OutputFile::discard() {
  if (fd_ != platform::kNoFile) platform::close(fd_);
  fd_ = platform::kNoFile;
  if (!named_.empty()) {
    platform::remove(named_.string().c_str());
    forgetStandIn(named_);
    named_.clear();
  }
}

Failure OutputFile::refuse(const std::string& reason) {
  discard();
  failure_ = Failure{"「" + name_ + "」を保存できません（" + reason + "）。"};
  return *failure_;
}

Failure OutputFile::fail(int error) {
  std::error_code ignored;
  if (error == ENOENT && !fs::is_directory(folderOf(target_), ignored))
    return refuse("保存先のフォルダーがありません");
  return refuse(systemReason(error));
}

Expected<void> OutputFile::open(const fs::path& file, Reader absentReader) {
  discard();
  failure_.reset();
  synced_ = direct_ = false;
  name_ = displayName(file);
  const Expected<fs::path> target = followLinks(file);
  if (!target) return refuse(target.message());
  target_ = *target;

  platform::FileStatus existing;
  const int missing = platform::status(target_, existing);
  const bool exists = missing == 0;
  if (!exists && missing != ENOENT) return fail(missing);
  using platform::FileKind;
  if (exists && existing.kind == FileKind::Folder) return refuse(systemReason(EISDIR));
  if (exists && (existing.kind == FileKind::Pipe || existing.kind == FileKind::CharacterDevice)) {
    // Written into, never replaced.
    const auto peer =
        absentReader == Reader::Await ? platform::Peer::Await : platform::Peer::Refuse;
    if (const int error = platform::open(target_, platform::Access::Write, peer, fd_))
      return fail(error);
    direct_ = true;
    return {};
  }
  if (exists && existing.kind != FileKind::Regular) return refuse("書き出せない種類のファイルです");
  if (exists && !platform::mayWrite(target_, existing)) return refuse("読み取り専用のファイルです");
  removeLeftStandIns(folderOf(target_));

  int error =
      platform::open(folderOf(target_), platform::Access::Unnamed, platform::Peer::Await, fd_);
  if (error == EOPNOTSUPP) {
    // No unnamed files here: a hidden one that an interrupt removes.
    for (int attempt = 0; attempt < 100 && fd_ == platform::kNoFile; ++attempt) {
      const fs::path candidate = standInName(target_, attempt);
      error = platform::open(candidate, platform::Access::CreateNew, platform::Peer::Await, fd_);
      if (error == 0) {
        named_ = candidate;
        noteStandIn(named_);
      } else if (error != EEXIST) {
        break;
      }
    }
  }
  if (fd_ == platform::kNoFile) return fail(error);
  // The owner only where the system lets us (root); the permissions always.
  if (exists) {
    if (const int failed = platform::takeOwnerAndPermissions(fd_, existing)) return fail(failed);
  }
  return {};
}

Expected<void> OutputFile::write(std::string_view bytes) {
  if (failure_) return *failure_;
  if (fd_ == platform::kNoFile) return refuse(systemReason(EBADF));
  synced_ = false;
  if (const int error = platform::writeAll(fd_, bytes)) return fail(error);
  return {};
}

Expected<void> OutputFile::sync() {
  if (failure_) return *failure_;
  if (fd_ == platform::kNoFile) return refuse(systemReason(EBADF));
  // A pipe or a terminal has nothing to flush to a disk.
  if (!synced_ && !direct_) {
    if (const int error = platform::sync(fd_)) return fail(error);
  }
  synced_ = true;
  return {};
}

Expected<void> OutputFile::commit() {
  if (Expected<void> synced = sync(); !synced.ok()) return synced;
  if (direct_) {
    const platform::Descriptor fd = fd_;
    fd_ = platform::kNoFile;
    if (const int error = platform::close(fd)) return fail(error);
    return {};
  }
  if (named_.empty()) {
    // The unnamed file gets a hidden name first: a link cannot replace a file.
    for (int attempt = 0; attempt < 100 && named_.empty(); ++attempt) {
      const fs::path candidate = standInName(target_, attempt);
      noteStandIn(candidate);
      const int error = platform::link(fd_, candidate);
      if (error == 0) {
        named_ = candidate;
      } else {
        forgetStandIn(candidate);
        if (error != EEXIST) return fail(error);
      }
    }
    if (named_.empty()) return fail(EEXIST);
  }
  const platform::Descriptor fd = fd_;
  fd_ = platform::kNoFile;
  if (const int error = platform::close(fd)) return fail(error);
  if (const int error = platform::rename(named_, target_)) return fail(error);
  forgetStandIn(named_);
  named_.clear();
  // The new name itself reaches the disk with its folder.
  platform::syncFolder(folderOf(target_));
  return {};
}

Expected<void> writeFileAtomically(const fs::path& file, std::string_view bytes) {
  OutputFile out;
  if (Expected<void> opened = out.open(file); !opened.ok()) return opened;
  if (Expected<void> written = out.write(bytes); !written.ok()) return written;
  return out.commit();
}

}  // namespace kelvane::job
