#include "job/job_json.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>
#include <tuple>
#include <utility>

#include "job/terms_json.h"

namespace kelvane::job {
namespace {

using nlohmann::json;

constexpr FileKind kJobFile{"案件ファイル", kFormatName, kFormatVersion};

Failure refusal(std::string message) { return Failure{std::move(message)}; }

Expected<std::optional<FormerShape>> readFormer(const json& root) {
  const auto it = root.find("former");
  if (it == root.end()) return refusal("「former」がありません。");
  if (it->is_null()) return std::optional<FormerShape>();
  if (it->is_string()) {
    if (auto shape = formerFromWord(it->get<std::string>())) return std::optional(*shape);
  }
  return refusal("「former」は round、rectangular、fan、null のどれかです。");
}

Expected<ConductorMaterial> readMaterial(const json& root) {
  const auto it = root.find("material");
  if (it == root.end()) return refusal("「material」がありません。");
  if (it->is_string()) {
    if (auto material = materialFromWord(it->get<std::string>())) return *material;
  }
  return refusal("「material」は copper、aluminium、copperCladAluminium85 のどれかです。");
}

// 使用温度 in the job's fields: a number within the span a quotation may
// name; 20 °C when a job does not give one.
Expected<double> readWorkingCelsius(const json& fields) {
  const auto it = fields.find("workingTemperature");
  if (it == fields.end()) return kReferenceCelsius;
  if (!it->is_number()) return refusal("「job.workingTemperature」が数ではありません。");
  const double celsius = it->get<double>();
  if (auto within = checkWorkingTemperature(celsius); !within.ok())
    return refusal("「job.workingTemperature」: " + within.message());
  return celsius;
}

// The customer quotation's fields of a version 2 job, each with its default
// when left out.
std::optional<Failure> readQuotationFields(const json& fields, JobFields& into) {
  const std::pair<const char*, std::string*> texts[] = {{"subject", &into.subject},
                                                        {"deliveryTerms", &into.deliveryTerms},
                                                        {"paymentTerms", &into.paymentTerms},
                                                        {"remarks", &into.remarks},
                                                        {"issuedOn", &into.issuedOn}};
  for (const auto& [key, target] : texts) {
    auto t = readText(fields, key, std::string("job.") + key, false);
    if (!t) return t.failure();
    *target = std::move(t.value());
  }
  const std::tuple<const char*, int*, int> wholes[] = {
      {"revision", &into.revision, kMaxRevision}, {"validDays", &into.validDays, kMaxValidDays}};
  for (const auto& [key, target, most] : wholes) {
    const auto it = fields.find(key);
    if (it == fields.end()) continue;
    const auto n = readWhole(*it, std::string("job.") + key, 0, most);
    if (!n) return n.failure();
    *target = static_cast<int>(*n);
  }
  return std::nullopt;
}

// 見積条件 of a version 2 job: none when left out or null. Their wire price
// is for `material`, the job's, unless they name another.
Expected<std::optional<QuotationTerms>> readJobTerms(const json& root, ConductorMaterial material) {
  const auto it = root.find("quotationTerms");
  if (it == root.end() || it->is_null()) return std::optional<QuotationTerms>();
  if (!it->is_object())
    return refusal("「quotationTerms」がオブジェクトでも null でもありません。");
  auto terms = readTerms(*it, "quotationTerms", material);
  if (!terms) return terms.failure();
  return std::optional(std::move(terms.value()));
}

// "2026-12-08": a day the calendar has, four-digit year.
bool isCalendarDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  int parts[3] = {0, 0, 0};
  const std::size_t starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
  for (int p = 0; p < 3; ++p) {
    for (std::size_t i = starts[p]; i < starts[p] + lengths[p]; ++i) {
      if (text[i] < '0' || text[i] > '9') return false;
      parts[p] = parts[p] * 10 + (text[i] - '0');
    }
  }
  const int year = parts[0], month = parts[1], day = parts[2];
  if (month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

// "2026-12-08T01:15:30Z", as the program saves a time.
bool isSavedTime(std::string_view text) {
  if (text.size() != 20 || text[10] != 'T' || text[13] != ':' || text[16] != ':' ||
      text[19] != 'Z' || !isCalendarDate(text.substr(0, 10)))
    return false;
  int fields[3] = {0, 0, 0};
  for (std::size_t f = 0; f < 3; ++f) {
    for (std::size_t i = 11 + 3 * f; i < 13 + 3 * f; ++i) {
      if (text[i] < '0' || text[i] > '9') return false;
      fields[f] = fields[f] * 10 + (text[i] - '0');
    }
  }
  return fields[0] <= 23 && fields[1] <= 59 && fields[2] <= 60;  // a leap second
}

// A date that is no day of the calendar ("2026-02-30") would otherwise be
// printed as today's on the customer's 見積書; the job is refused instead,
// naming the key. Each may be empty.
std::optional<Failure> wrongDate(const Job& job) {
  if (!job.fields.issuedOn.empty() && !isCalendarDate(job.fields.issuedOn))
    return refusal("「job.issuedOn」が日付ではありません（2026-12-08 の形の、暦にある日）。");
  for (const auto& [key, time] :
       {std::pair{"savedAt", &job.savedAt}, std::pair{"priceListSavedAt", &job.priceListSavedAt}}) {
    if (!time->empty() && !isSavedTime(*time))
      return refusal("「" + std::string(key) +
                     "」が日時ではありません（2026-12-08T01:15:30Z の形の、暦にある日時）。");
  }
  return std::nullopt;
}

}  // namespace

std::string writeJob(const Job& job) {
  nlohmann::ordered_json root;
  root["format"] = kFormatName;
  root["formatVersion"] = kFormatVersion;
  root["programVersion"] = job.programVersion;
  root["savedAt"] = job.savedAt;
  root["job"] = {{"customer", job.fields.customer},
                 {"customerPerson", job.fields.customerPerson},
                 {"partNumber", job.fields.partNumber},
                 {"quotationNumber", job.fields.quotationNumber},
                 {"personInCharge", job.fields.personInCharge},
                 {"memo", job.fields.memo},
                 {"workingTemperature", job.fields.workingCelsius},
                 {"subject", job.fields.subject},
                 {"deliveryTerms", job.fields.deliveryTerms},
                 {"paymentTerms", job.fields.paymentTerms},
                 {"remarks", job.fields.remarks},
                 {"revision", job.fields.revision},
                 {"issuedOn", job.fields.issuedOn},
                 {"validDays", job.fields.validDays}};
  root["former"] = job.former ? nlohmann::ordered_json(formerWord(*job.former)) : nullptr;
  root["material"] = materialWord(job.material);
  nlohmann::ordered_json& inputs = root["inputs"];
  for (int i = 0; i < kInputBoxCount; ++i) {
    const auto b = static_cast<InputBox>(i);
    inputs[std::string(inputField(b).key)] = job.input(b);
  }
  root["quotationTerms"] = job.terms ? termsJson(*job.terms, true) : nullptr;
  root["priceListSavedAt"] = job.priceListSavedAt;
  // Texts come from the window and are UTF-8; a stray byte that is not is
  // written as U+FFFD rather than failing the save.
  return root.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

Expected<Job> readJob(std::string_view text) {
  const Expected<VersionedDocument> document = readVersionedDocument(text, kJobFile);
  if (!document) return document.failure();
  const json& root = document->root;

  Job job;
  const auto inputs = readObject(root, "inputs", "inputs", true);
  if (!inputs) return inputs.failure();
  for (int i = 0; i < kInputBoxCount; ++i) {
    const auto b = static_cast<InputBox>(i);
    const std::string key(inputField(b).key);
    auto t = readText(**inputs, key, "inputs." + key, true);
    if (!t) return t.failure();
    job.input(b) = std::move(t.value());
  }
  const auto former = readFormer(root);
  if (!former) return former.failure();
  job.former = *former;
  const auto material = readMaterial(root);
  if (!material) return material.failure();
  job.material = *material;

  const auto fields = readObject(root, "job", "job", false);
  if (!fields) return fields.failure();
  const std::pair<const char*, std::string*> fieldKeys[] = {
      {"customer", &job.fields.customer},
      {"customerPerson", &job.fields.customerPerson},
      {"partNumber", &job.fields.partNumber},
      {"quotationNumber", &job.fields.quotationNumber},
      {"personInCharge", &job.fields.personInCharge},
      {"memo", &job.fields.memo}};
  for (const auto& [key, target] : fieldKeys) {
    auto t = readText(**fields, key, std::string("job.") + key, false);
    if (!t) return t.failure();
    *target = std::move(t.value());
  }
  const auto celsius = readWorkingCelsius(**fields);
  if (!celsius) return celsius.failure();
  job.fields.workingCelsius = *celsius;
  for (const auto& [key, target] :
       {std::pair{"programVersion", &job.programVersion}, std::pair{"savedAt", &job.savedAt}}) {
    auto t = readText(root, key, key, false);
    if (!t) return t.failure();
    *target = std::move(t.value());
  }
  // What version 2 added; in a version 1 job these keys mean nothing yet.
  if (document->version < 2) {
    if (auto wrong = wrongDate(job)) return *wrong;
    return job;
  }
  if (auto wrong = readQuotationFields(**fields, job.fields)) return *wrong;
  auto terms = readJobTerms(root, job.material);
  if (!terms) return terms.failure();
  job.terms = std::move(terms.value());
  auto savedAt = readText(root, "priceListSavedAt", "priceListSavedAt", false);
  if (!savedAt) return savedAt.failure();
  job.priceListSavedAt = std::move(savedAt.value());
  if (auto wrong = wrongDate(job)) return *wrong;
  return job;
}

Expected<std::string> savedJobText(const Job& job, std::chrono::system_clock::time_point now) {
  std::string text = writeJob(stampForSaving(job, now));
  const Expected<Job> again = readJob(text);
  if (!again) return again.failure();
  return text;
}

}  // namespace kelvane::job
