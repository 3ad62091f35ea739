#include "job/file_io.h"

#include <cerrno>
#include <chrono>

#include "job/job_json.h"
#include "job/output_file.h"
#include "job/platform_files.h"
#include "job/price_list.h"
#include "job/system_reason.h"

namespace kelvane::job {
namespace {

// The bytes of a regular file of at most kMaxFileBytes, and one byte more
// when it is larger, so that a huge file or an endless device costs nothing.
// Opened without waiting, so a pipe with no writer cannot hold the reader.
// The failure names the file.
Expected<std::string> readSmallFile(const std::filesystem::path& file) {
  platform::OpenFile in;
  const int error = platform::open(file, platform::Access::Read, platform::Peer::Refuse, in.get());
  // A socket cannot be opened at all; it is no file of ours either.
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
  return bytes;
}

}  // namespace

std::string openFailureMessage(const std::filesystem::path& file, std::string_view reason) {
  return "「" + displayName(file) + "」を開けません。" + std::string(reason);
}

Expected<Job> readJobFile(const std::filesystem::path& file) {
  const Expected<std::string> bytes = readSmallFile(file);
  if (!bytes) return bytes.failure();
  Expected<Job> job = readJob(*bytes);
  if (!job) return Failure{openFailureMessage(file, job.message())};
  return job;
}

Expected<PriceList> readPriceListFile(const std::filesystem::path& file) {
  const Expected<std::string> bytes = readSmallFile(file);
  if (!bytes) return bytes.failure();
  Expected<PriceList> list = readPriceList(*bytes);
  if (!list) return Failure{openFailureMessage(file, list.message())};
  return list;
}

LoadedPriceList loadPriceList(const std::filesystem::path& file) {
  std::error_code ignored;
  if (!std::filesystem::exists(file, ignored)) {
    return {builtInPriceList(),
            "単価表「" + displayName(file) + "」がまだありません。組み込みの単価を使います。"};
  }
  Expected<PriceList> list = readPriceListFile(file);
  if (!list) return {builtInPriceList(), list.message() + "組み込みの単価を使います。"};
  return {std::move(list.value()), ""};
}

Expected<void> saveJobFile(const std::filesystem::path& file, const Job& job) {
  const Expected<std::string> text = savedJobText(job, std::chrono::system_clock::now());
  if (!text) return Failure{"「" + displayName(file) + "」を保存できません。" + text.message()};
  return writeFileAtomically(file, *text);
}

Expected<PriceList> savePriceListFile(const std::filesystem::path& file, PriceList list,
                                      std::chrono::system_clock::time_point now) {
  list.savedAt = isoTimestamp(now);
  if (auto written = writeFileAtomically(file, writePriceList(list)); !written.ok())
    return written.failure();
  return list;
}

}  // namespace kelvane::job
