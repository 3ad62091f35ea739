#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "core/expected.h"
#include "job/issue_record.h"

namespace kelvane::job {

// An issue as a job file's "issues" hold it (docs/job-format.md), and back.
// `at` names the record in a refusal: 「issues[2].totalYen」.
nlohmann::ordered_json issueJson(const IssueRecord& record);
Expected<IssueRecord> readIssue(const nlohmann::json& value, const std::string& at);

// A job's issue history: none when the key is left out.
Expected<std::vector<IssueRecord>> readIssues(const nlohmann::json& root);

}  // namespace kelvane::job
