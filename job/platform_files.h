#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The system's file calls: the one place that knows the platform. On a POSIX
// system they are the system's own (unnamed files, fsync, owners, signals);
// elsewhere, and in the browser, the C++ library's alone, with what it can
// promise, told at each call. Every call answers with an error number as
// errno has them (ENOENT…), 0 for none; an interrupted call is retried.
namespace kelvane::job::platform {

// An open file. Not owned: close() ends it (see OpenFile for a guard).
using Descriptor = int;
inline constexpr Descriptor kNoFile = -1;
inline constexpr Descriptor kStandardInput = 0;
inline constexpr Descriptor kStandardOutput = 1;
inline constexpr Descriptor kStandardError = 2;

enum class FileKind { Regular, Folder, Pipe, CharacterDevice, Link, Other };

struct FileStatus {
  FileKind kind = FileKind::Other;
  std::uint32_t permissions = 0;  // the mode's permission bits (07777)
  std::uint32_t owner = 0;        // user and group; 0 where the system has none
  std::uint32_t group = 0;
  std::uint64_t bytes = 0;  // a regular file's size
};

// What a path leads to, links followed; ENOENT when nothing.
int status(const std::filesystem::path& path, FileStatus& out);
// What the name itself is, a link not followed (FileKind::Link): a link to
// nowhere is there, only a name in no folder is ENOENT.
int linkStatus(const std::filesystem::path& path, FileStatus& out);
// What an open file is.
int status(Descriptor file, FileStatus& out);

// Whether the open file is the one the path leads to (the same device and
// inode): standard input redirected from the file a tool is told to write.
// False when either cannot be asked, and without POSIX.
bool isFileAt(Descriptor file, const std::filesystem::path& path);

// Whether this user may write the existing file. Root may write anything, so
// for root a file without any write permission counts as read-only. Without
// POSIX: whether any write permission is set.
bool mayWrite(const std::filesystem::path& path, const FileStatus& status);

enum class Access {
  Read,       // an existing file
  Write,      // an existing pipe or device, written into
  CreateNew,  // a new file, EEXIST when the name is taken
  Unnamed,    // a file without a name in the folder the path names (POSIX
              // with O_TMPFILE; elsewhere EOPNOTSUPP)
};
// A pipe with nobody at its other end: waited for, or refused (ENXIO).
enum class Peer { Await, Refuse };
int open(const std::filesystem::path& path, Access access, Peer peer, Descriptor& out);

// Reads up to `size` bytes; `got` is 0 at the end.
int read(Descriptor file, char* buffer, std::size_t size, std::size_t& got);
// Writes every byte. A pipe whose reader has gone answers EPIPE, never
// ending the program with SIGPIPE.
int writeAll(Descriptor file, std::string_view bytes);
// Every byte written is on the disk (fsync); without POSIX, out of the C
// library's buffers only.
int sync(Descriptor file);
int close(Descriptor file);
// Gives a new file the permissions and, where the system lets us (root), the
// owner of the file it replaces.
int takeOwnerAndPermissions(Descriptor file, const FileStatus& of);
// Gives an unnamed file (Access::Unnamed) a name; EEXIST when it is taken.
int link(Descriptor file, const std::filesystem::path& name);
// Puts the file at `from` in the place of `to`, replacing it.
int rename(const std::filesystem::path& from, const std::filesystem::path& to);
// Removes the name; safe to call from an interrupt's handler.
void remove(const char* path);
// The folder's new names reach the disk as well, where the system can say so.
void syncFolder(const std::filesystem::path& folder);
bool isTerminal(Descriptor file);
// A number of this process that no other running process has.
int processNumber();
// Whether the process of that number has certainly ended: true only when
// the system says no such process runs here (never for one of another user,
// which may not be asked). False where the system cannot tell.
bool processGone(int number);
// The name of this computer, as written into the names of hidden files on a
// shared drive where several computers write; empty where the system has
// none to tell.
std::string machineName();

// A pipe whose reader has gone no longer ends the program (SIGPIPE): every
// write into it fails with EPIPE, which the program says as any failed
// write. Called first thing by each program's main.
void ignoreBrokenPipes();

// Calls `beforehand` when the program is interrupted (Ctrl-C, SIGTERM,
// SIGHUP), then lets the interrupt do what it would have done. A signal the
// program ignores stays ignored. `beforehand` may only do what a signal
// handler may (read memory, call remove()).
void onInterrupt(void (*beforehand)());

// Closes the file when the scope ends.
class OpenFile {
 public:
  OpenFile() = default;
  explicit OpenFile(Descriptor file) : file_(file) {}
  ~OpenFile() {
    if (file_ != kNoFile) close(file_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  Descriptor& get() { return file_; }
  Descriptor get() const { return file_; }

 private:
  Descriptor file_ = kNoFile;
};

namespace testing {
// Makes opening the file for reading fail with `error` from now on, as a
// file the user may not read does for anyone but root; 0 undoes it.
void refuseReading(const std::filesystem::path& file, int error);
// Makes every look at a name inside the folder (status, linkStatus, open)
// fail with EACCES, as a folder without search permission does for anyone
// but root; false undoes it.
void refuseSearching(const std::filesystem::path& folder, bool refused);
// Makes the file system refuse unnamed files from now on, as vfat, SMB and
// NFS do, so that the hidden stand-in is used; false undoes it.
void refuseUnnamedFiles(bool refuse);
// Notes, in order, each call that puts a file's bytes and name on the disk:
// "write", "sync" (fsync; without POSIX the flush out of the C library's
// buffers), "close", "link", "rename" and "sync folder". A save that renames
// before its bytes are synced can lose them in a power cut, and nothing but
// this order shows it.
void recordCalls(bool on);
// The calls noted since recording began, and clears them.
std::vector<std::string> takeRecordedCalls();
}  // namespace testing

}  // namespace kelvane::job::platform
