#include "job/file_io.h"

#include <cerrno>
#include <chrono>

#include "job/job_json.h"
#include "job/json_fields.h"
#include "job/output_file.h"
#include "job/platform_files.h"
#include "job/price_list.h"
#include "job/system_reason.h"

namespace kelvane::job {
namespace {

namespace fs = std::filesystem;

// Why opening `file` found nothing (ENOENT), when it is not that nothing is
// there: a link on the way that leads nowhere, the file's own or a folder's
// (a share that is not mounted). Empty when nothing is there: no such name,
// in a folder that is there or is missing in turn.
std::string linkToNowhereOnTheWay(const fs::path& file) {
  platform::FileStatus found;
  for (fs::path name = file; !name.empty(); name = name.parent_path()) {
    const int error = platform::linkStatus(name, found);
    if (error == ENOENT) {
      if (name == name.parent_path()) break;  // the root
      continue;
    }
    // The nearest name that is there: a folder ends the search, and so does
    // a name that cannot be looked at, which the caller finds in turn.
    if (error != 0 || found.kind != platform::FileKind::Link) break;
    platform::FileStatus target;
    if (platform::status(name, target) != ENOENT) break;
    if (name == file) return "リンク先がありません";
    return "フォルダー「" + name.string() + "」のリンク先がありません";
  }
  return {};
}

// The sentence for a file that could not be opened to be read.
std::string unreadable(const fs::path& file, int error) {
  std::string reason = error == ENOENT ? linkToNowhereOnTheWay(file) : std::string();
  if (reason.empty()) reason = systemReason(error);
  return openFailureMessage(file, "読み込めません（" + reason + "）。");
}

// Whether nothing at all is at `file`: its name is in no folder, and no link
// on the way to it leads nowhere. A name that cannot be looked at (a folder
// that cannot be searched) is not known to be missing.
bool nothingAt(const fs::path& file) {
  platform::FileStatus found;
  return platform::linkStatus(file, found) == ENOENT && linkToNowhereOnTheWay(file).empty();
}

// The bytes of a regular file of at most kMaxFileBytes, and one byte more
// when it is larger, so that a huge file or an endless device costs nothing.
// Opened without waiting, so a pipe with no writer cannot hold the reader.
// The failure names the file.
Expected<std::string> readSmallFile(const std::filesystem::path& file) {
  platform::OpenFile in;
  const int error = platform::open(file, platform::Access::Read, platform::Peer::Refuse, in.get());
  // A socket cannot be opened at all; it is no file of ours either.
  if (error == ENXIO) return Failure{openFailureMessage(file, "通常のファイルではありません。")};
  if (error != 0) return Failure{unreadable(file, error)};
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

// Keeps a file at `file` that holds no price list (damaged, cut short, of
// another format, too large) as NAME.bak, whole, before a list is saved over
// it: the figures in it may still be wanted. A file that cannot be opened is
// none of ours to keep, and what keeps the save from it is said by the save.
Expected<void> keepWhatHoldsNoList(const fs::path& file) {
  platform::OpenFile in;
  if (platform::open(file, platform::Access::Read, platform::Peer::Refuse, in.get()) != 0)
    return {};
  platform::FileStatus info;
  if (platform::status(in.get(), info) != 0 || info.kind != platform::FileKind::Regular) return {};
  const fs::path backup = fs::path(file) += ".bak";
  const auto notKept = [&](const std::string& why) {
    return Failure{why + "読めない単価表「" + displayName(file) +
                   "」を残せないので、新しい単価表は保存していません。"};
  };
  std::string bytes;
  char buffer[65536];
  bool ended = false;
  while (!ended && bytes.size() <= kMaxFileBytes) {
    std::size_t got = 0;
    if (const int failed = platform::read(in.get(), buffer, sizeof buffer, got))
      return notKept(unreadable(file, failed));
    bytes.append(buffer, got);
    ended = got == 0;
  }
  if (ended && readPriceList(bytes)) return {};
  OutputFile kept;
  if (auto opened = kept.open(backup); !opened.ok()) return notKept(opened.message());
  for (;;) {
    if (auto written = kept.write(bytes); !written.ok()) return notKept(written.message());
    if (ended) break;
    std::size_t got = 0;
    if (const int failed = platform::read(in.get(), buffer, sizeof buffer, got))
      return notKept(unreadable(file, failed));
    bytes.assign(buffer, got);
    ended = got == 0;
  }
  if (auto committed = kept.commit(); !committed.ok()) return notKept(committed.message());
  return {};
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

Expected<PriceList> readUserPriceListFile(const std::filesystem::path& file) {
  if (nothingAt(file)) return builtInPriceList();
  platform::FileStatus found;
  if (const int error = platform::linkStatus(file, found); error != 0 && error != ENOENT)
    return Failure{unreadable(file, error)};
  return readPriceListFile(file);
}

LoadedPriceList loadPriceList(const std::filesystem::path& file) {
  if (nothingAt(file)) {
    return {builtInPriceList(),
            "単価表「" + displayName(file) + "」がまだありません。組み込みの単価を使います。"};
  }
  Expected<PriceList> list = readUserPriceListFile(file);
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
  if (auto kept = keepWhatHoldsNoList(file); !kept.ok()) return kept.failure();
  if (auto written = writeFileAtomically(file, writePriceList(list)); !written.ok())
    return written.failure();
  return list;
}

}  // namespace kelvane::job
