#include "job/issue_json.h"

#include <utility>

#include "job/issue.h"
#include "job/job.h"
#include "job/job_json.h"
#include "job/json_fields.h"
#include "job/quotation.h"

namespace kelvane::job {
namespace {

using nlohmann::json;

Failure refusal(std::string message) { return Failure{std::move(message)}; }

// The largest sum of money a record may hold, 円: far above any quotation,
// well inside what a spreadsheet and JavaScript hold exactly.
constexpr std::int64_t kMaxYen = 1'000'000'000'000'000;  // 10^15

Expected<IssuedLine> readLine(const json& value, const std::string& at) {
  if (!value.is_object()) return refusal(quotedKey(at) + "がオブジェクトではありません。");
  IssuedLine line;
  for (const auto& [key, target] :
       {std::pair{"partNumber", &line.partNumber}, std::pair{"name", &line.name}}) {
    auto t = readText(value, key, at + "." + key, false);
    if (!t) return t.failure();
    *target = std::move(t.value());
  }
  const std::tuple<const char*, std::int64_t*, std::int64_t, std::int64_t> wholes[] = {
      {"quantity", &line.quantity, 1, kMaxQuantity},
      {"unitPriceSen", &line.unitPriceSen, 0, kMaxYen},
      {"amountYen", &line.amountYen, 0, kMaxYen}};
  for (const auto& [key, target, least, most] : wholes) {
    const auto it = value.find(key);
    if (it == value.end()) return refusal(quotedKey(at + "." + key) + "がありません。");
    const auto n = readWhole(*it, at + "." + key, least, most);
    if (!n) return n.failure();
    *target = *n;
  }
  return line;
}

}  // namespace

nlohmann::ordered_json issueJson(const IssueRecord& record) {
  nlohmann::ordered_json lines = nlohmann::ordered_json::array();
  for (const IssuedLine& line : record.lines)
    lines.push_back({{"partNumber", line.partNumber},
                     {"name", line.name},
                     {"quantity", line.quantity},
                     {"unitPriceSen", line.unitPriceSen},
                     {"amountYen", line.amountYen}});
  return {{"quotationNumber", record.quotationNumber},
          {"revision", record.revision},
          {"issuedOn", record.issuedOn},
          {"validUntil", record.validUntil},
          {"customer", record.customer},
          {"subject", record.subject},
          {"personInCharge", record.personInCharge},
          {"lines", std::move(lines)},
          {"subtotalYen", record.subtotalYen},
          {"taxYen", record.taxYen},
          {"totalYen", record.totalYen}};
}

Expected<IssueRecord> readIssue(const json& value, const std::string& at) {
  if (!value.is_object()) return refusal(quotedKey(at) + "がオブジェクトではありません。");
  IssueRecord record;
  const std::pair<const char*, std::string*> texts[] = {
      {"quotationNumber", &record.quotationNumber},
      {"issuedOn", &record.issuedOn},
      {"validUntil", &record.validUntil},
      {"customer", &record.customer},
      {"subject", &record.subject},
      {"personInCharge", &record.personInCharge}};
  for (const auto& [key, target] : texts) {
    auto t = readText(value, key, at + "." + key, false);
    if (!t) return t.failure();
    *target = std::move(t.value());
  }
  for (const auto& [key, day] :
       {std::pair{"issuedOn", &record.issuedOn}, std::pair{"validUntil", &record.validUntil}}) {
    if (!isCalendarDate(*day))
      return refusal(quotedKey(at + "." + key) +
                     "が日付ではありません（2026-12-08 の形の、暦にある日）。");
  }
  const std::tuple<const char*, std::int64_t*> money[] = {{"subtotalYen", &record.subtotalYen},
                                                          {"taxYen", &record.taxYen},
                                                          {"totalYen", &record.totalYen}};
  for (const auto& [key, target] : money) {
    const auto it = value.find(key);
    if (it == value.end()) return refusal(quotedKey(at + "." + key) + "がありません。");
    const auto n = readWhole(*it, at + "." + key, 0, kMaxYen);
    if (!n) return n.failure();
    *target = *n;
  }
  const auto revision = value.find("revision");
  if (revision == value.end()) return refusal(quotedKey(at + ".revision") + "がありません。");
  const auto n = readWhole(*revision, at + ".revision", 1, kMaxRevision);
  if (!n) return n.failure();
  record.revision = static_cast<int>(*n);
  const auto lines = value.find("lines");
  if (lines == value.end() || !lines->is_array() || lines->empty() || lines->size() > kMaxItems)
    return refusal(quotedKey(at + ".lines") + "は 1 から " + std::to_string(kMaxItems) +
                   " 行の配列です。");
  for (std::size_t i = 0; i < lines->size(); ++i) {
    auto line = readLine((*lines)[i], at + ".lines[" + std::to_string(i) + "]");
    if (!line) return line.failure();
    record.lines.push_back(std::move(line.value()));
  }
  return record;
}

Expected<std::vector<IssueRecord>> readIssues(const json& root) {
  std::vector<IssueRecord> issues;
  const auto it = root.find("issues");
  if (it == root.end()) return issues;
  if (!it->is_array()) return refusal("「issues」が配列ではありません。");
  if (it->size() > kMaxIssues)
    return refusal("「issues」の版が多すぎます（" + std::to_string(kMaxIssues) + " まで）。");
  issues.reserve(it->size());
  for (std::size_t i = 0; i < it->size(); ++i) {
    auto issue = readIssue((*it)[i], "issues[" + std::to_string(i) + "]");
    if (!issue) return issue.failure();
    issues.push_back(std::move(issue.value()));
  }
  return issues;
}

}  // namespace kelvane::job
