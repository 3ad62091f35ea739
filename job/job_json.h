#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/expected.h"
#include "job/job.h"
#include "job/json_fields.h"

namespace kelvane::job {

// The .kelvane format: a JSON object, UTF-8, described in docs/job-format.md.
inline constexpr std::string_view kFormatName = "kelvane-job";  // the "format" key
// The "formatVersion" key. Version 2 added the 見積条件 ("quotationTerms",
// "priceListSavedAt") and the customer quotation's fields of "job"; a job of
// version 1 opens without terms and with those fields at their defaults.
// Version 3 holds several items ("items"), each with its coil, terms, basis
// lot and requirement; a job of version 1 or 2 opens as one item.
inline constexpr int kFormatVersion = 3;
// What a job file may hold at most: kMaxFileBytes, kMaxTextChars and
// kMaxNesting of job/json_fields.h, and these.
inline constexpr int kMaxRevision = 999;    // 版
inline constexpr int kMaxValidDays = 3650;  // 有効期限, days: ten years

// The job as the text of a .kelvane file: indented JSON ending in a newline.
std::string writeJob(const Job& job);

// The job a .kelvane text holds, or the one Japanese sentence saying why the
// text is not a job this program can open. Keys this version does not know
// are ignored, so that a later version can add fields without breaking older
// readers; a key given twice counts with its last value.
Expected<Job> readJob(std::string_view text);

// The file's text of a job saved now: the job stamped with this program's
// version and the time. A job this program could not open again (a text
// beyond the reader's limit) is refused with the reader's reason, so that a
// save never leaves a file that loses the work.
Expected<std::string> savedJobText(const Job& job, std::chrono::system_clock::time_point now);

}  // namespace kelvane::job
