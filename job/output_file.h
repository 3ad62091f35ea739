#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/expected.h"

namespace kelvane::job {

// The one way every file Kelvane makes is written: jobs, quotation sheets,
// CSV exports and batch results. The file appears whole or not at all, and
// nothing is replaced that should not be.
// - A regular file, or a name not yet taken: the bytes go to an unnamed file
//   in the same folder, which takes the name only once every byte is on the
//   disk. Where the file system has no unnamed files (vfat, SMB and NFS
//   shares), a hidden file beside it stands in, ".NAME.kelvane-MACHINE-PID-N",
//   removed again if the program is interrupted (Ctrl-C, SIGTERM). One that a
//   kill -9 or a power cut left is removed by the next write into the same
//   folder from the same computer, once its process has ended.
//   A replaced file keeps its permissions and owner; a link is followed and
//   its target replaced.
// - A file the user may not write is refused, and a read-only file stays
//   read-only for root too; so are a folder, a socket and a block device.
// - A pipe or a character device (/dev/null, a terminal) is written into,
//   never replaced. A pipe whose reader goes away is a failed write, never
//   the end of the program by SIGPIPE. A pipe nobody reads yet is waited for only where asked
//   (a command-line tool, which Ctrl-C ends); the window refuses it at once.
// Every failure is one Japanese sentence naming the file:
// 「NAME」を保存できません（why）。 Without a commit nothing is left behind.
class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  enum class Reader { Refuse, Await };  // a pipe that nobody reads yet
  Expected<void> open(const std::filesystem::path& file, Reader absentReader = Reader::Refuse);
  Expected<void> write(std::string_view bytes);
  // Every byte written so far is on the disk, checked to the last flush.
  Expected<void> sync();
  // Syncs, then puts the new file in the old one's place.
  Expected<void> commit();

 private:
  Failure fail(int error);
  Failure refuse(const std::string& reason);
  void discard();

  int fd_ = -1;          // a platform::Descriptor
  bool direct_ = false;  // a pipe or a device, written into
  bool synced_ = false;
  std::optional<Failure> failure_;
  std::string name_;
  std::filesystem::path target_;
  std::filesystem::path named_;  // the hidden stand-in, when there is one
};

// Writes the whole file as OutputFile does.
Expected<void> writeFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// Whether two names lead to one file: an existing one by any path, link or
// hard link, or one still to be made by the same path.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// The name a message gives a file: its last part, or the whole name as given
// when it ends in a slash.
std::string displayName(const std::filesystem::path& file);

}  // namespace kelvane::job
