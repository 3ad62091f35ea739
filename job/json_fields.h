#pragma once

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "core/expected.h"

namespace kelvane::job {

// What a file of this program (a job, a price list) may hold at most. Such a
// file is a page of short texts and figures; anything beyond these is not
// one, and is refused before it can cost time or memory.
inline constexpr std::size_t kMaxFileBytes = 1024 * 1024;  // the whole file
inline constexpr std::size_t kMaxTextChars = 10000;        // one text, in characters
inline constexpr int kMaxNesting = 16;                     // objects and arrays inside each other

// A key as a message names it: 「inputs.turns」.
std::string quotedKey(std::string_view key);

// What a file is, as its messages name it ("案件ファイル", "単価表"), and the
// "format" word and highest "formatVersion" this program reads of it.
struct FileKind {
  std::string_view noun;
  std::string_view format;
  int version;
};

// The JSON object of a file's text, within the limits above, whose "format"
// is the kind's and whose "formatVersion" is one this program reads; or the
// one Japanese sentence saying why not.
struct VersionedDocument {
  nlohmann::json root;
  int version = 0;
};
Expected<VersionedDocument> readVersionedDocument(std::string_view text, const FileKind& kind);

// The members of an object, each named in a failure by its full path
// ("inputs.turns"). A text that is not required reads empty when absent; a
// number is always required.
Expected<std::string> readText(const nlohmann::json& object, std::string_view key,
                               std::string_view path, bool required);
Expected<double> readNumber(const nlohmann::json& object, std::string_view key,
                            std::string_view path);
// A whole number from `least` to `most`; 100.0 counts as 100, as JSON has it.
Expected<std::int64_t> readWhole(const nlohmann::json& value, std::string_view path,
                                 std::int64_t least, std::int64_t most);
// The object at key: required, or an empty object when absent.
Expected<const nlohmann::json*> readObject(const nlohmann::json& object, std::string_view key,
                                           std::string_view path, bool required);

// "2026-12-08": a day the calendar has, with a four-digit year.
bool isCalendarDate(std::string_view text);

}  // namespace kelvane::job
