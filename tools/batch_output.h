#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane::batch {

// A file written in parts that appears whole or not at all: the parts go to
// a new file beside it, which replaces it on commit. A file that existed
// keeps its permissions; a link is followed and its target replaced. Left
// without a commit, the new file is removed and the old one stays.
class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Nothing when the new file is open, else why not.
  std::optional<std::string> open(const std::filesystem::path& file);
  std::optional<std::string> write(std::string_view bytes);
  // Flushes the new file to the disk and puts it in the old one's place.
  std::optional<std::string> commit();

 private:
  std::optional<std::string> failed(const std::string& what, int error);

  int fd_ = -1;
  std::filesystem::path target_;
  std::filesystem::path temporary_;
};

// Writes all the bytes to a descriptor: 0, or the error (errno) that stopped it.
int writeAll(int fd, std::string_view bytes);

}  // namespace kelvane::batch
