#include "job/job_json.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>
#include <tuple>
#include <utility>

#include "job/issue_json.h"
#include "job/item_stack.h"
#include "job/requirement.h"
#include "job/terms_json.h"

namespace kelvane::job {
namespace {

using nlohmann::json;

constexpr FileKind kJobFile{"案件ファイル", kFormatName, kFormatVersion};

Failure refusal(std::string message) { return Failure{std::move(message)}; }

Expected<std::optional<FormerShape>> readFormer(const json& item, const std::string& at) {
  const auto it = item.find("former");
  if (it == item.end()) return refusal("「" + at + "former」がありません。");
  if (it->is_null()) return std::optional<FormerShape>();
  if (it->is_string()) {
    if (auto shape = formerFromWord(it->get<std::string>())) return std::optional(*shape);
  }
  return refusal("「" + at + "former」は round、rectangular、fan、null のどれかです。");
}

Expected<ConductorMaterial> readMaterial(const json& item, const std::string& at) {
  const auto it = item.find("material");
  if (it == item.end()) return refusal("「" + at + "material」がありません。");
  if (it->is_string()) {
    if (auto material = materialFromWord(it->get<std::string>())) return *material;
  }
  return refusal("「" + at +
                 "material」は copper、aluminium、copperCladAluminium85 のどれかです。");
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

// An item's 見積条件: none when left out or null. Their wire price is for
// `material`, the item's, unless they name another.
Expected<std::optional<QuotationTerms>> readItemTerms(const json& item, const std::string& at,
                                                      ConductorMaterial material) {
  const auto it = item.find("quotationTerms");
  if (it == item.end() || it->is_null()) return std::optional<QuotationTerms>();
  if (!it->is_object())
    return refusal("「" + at + "quotationTerms」がオブジェクトでも null でもありません。");
  auto terms = readTerms(*it, at + "quotationTerms", material);
  if (!terms) return terms.failure();
  return std::optional(std::move(terms.value()));
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
std::optional<Failure> wrongDate(std::string_view key, const std::string& day) {
  if (day.empty() || isCalendarDate(day)) return std::nullopt;
  return refusal("「" + std::string(key) +
                 "」が日付ではありません（2026-12-08 の形の、暦にある日）。");
}

std::optional<Failure> wrongTime(std::string_view key, const std::string& time) {
  if (time.empty() || isSavedTime(time)) return std::nullopt;
  return refusal("「" + std::string(key) +
                 "」が日時ではありません（2026-12-08T01:15:30Z の形の、暦にある日時）。");
}

constexpr std::string_view kRequirementWords[] = {"alignedHeight", "weight", "resistance",
                                                  "crossHeight"};

std::string_view requirementWord(ResultBox box) {
  for (std::size_t i = 0; i < kTargetBoxes.size(); ++i) {
    if (kTargetBoxes[i] == box) return kRequirementWords[i];
  }
  return {};
}

nlohmann::ordered_json requirementJson(const Requirement& requirement) {
  nlohmann::ordered_json out = {{"result", requirementWord(requirement.box)},
                                {"value", requirement.value},
                                {"unit", requirement.unit}};
  if (requirement.tolerancePercent) out["tolerancePercent"] = *requirement.tolerancePercent;
  return out;
}

Expected<Requirement> readRequirement(const json& value, const std::string& at) {
  if (!value.is_object()) return refusal("「" + at + "」がオブジェクトではありません。");
  Requirement requirement;
  const auto word = readText(value, "result", at + ".result", true);
  if (!word) return word.failure();
  const auto* known =
      std::find(std::begin(kRequirementWords), std::end(kRequirementWords), word.value());
  if (known == std::end(kRequirementWords))
    return refusal("「" + at +
                   ".result」は alignedHeight、crossHeight、weight、resistance のどれかです。");
  requirement.box = kTargetBoxes[static_cast<std::size_t>(known - std::begin(kRequirementWords))];
  const auto number = readNumber(value, "value", at + ".value");
  if (!number) return number.failure();
  if (!(*number > 0)) return refusal("「" + at + ".value」は 0 より大きい数です。");
  requirement.value = *number;
  auto unit = readText(value, "unit", at + ".unit", true);
  if (!unit) return unit.failure();
  const auto units = requirementUnits(requirement.box);
  if (std::find(units.begin(), units.end(), unit.value()) == units.end()) {
    std::string named;
    for (const std::string_view u : units) named += (named.empty() ? "" : "、") + std::string(u);
    return refusal("「" + at + ".unit」は " + named + " のどれかです。");
  }
  requirement.unit = std::move(unit.value());
  if (value.contains("tolerancePercent")) {
    const auto tolerance = readNumber(value, "tolerancePercent", at + ".tolerancePercent");
    if (!tolerance) return tolerance.failure();
    if (*tolerance < 0 || *tolerance > 100)
      return refusal("「" + at + ".tolerancePercent」は 0 から 100 までの数です。");
    requirement.tolerancePercent = *tolerance;
  }
  return requirement;
}

Expected<std::vector<Requirement>> readRequirements(const json& item, const std::string& at) {
  std::vector<Requirement> requirements;
  const auto it = item.find("requirements");
  if (it == item.end()) return requirements;
  if (!it->is_array()) return refusal("「" + at + "requirements」が配列ではありません。");
  if (it->size() > kTargetBoxes.size())
    return refusal("「" + at + "requirements」が多すぎます（4 つまで）。");
  for (std::size_t i = 0; i < it->size(); ++i) {
    auto requirement = readRequirement((*it)[i], at + "requirements[" + std::to_string(i) + "]");
    if (!requirement) return requirement.failure();
    for (const Requirement& kept : requirements) {
      if (kept.box == requirement->box)
        return refusal("「" + at + "requirements」に同じ結果が二度あります。");
    }
    requirements.push_back(std::move(requirement.value()));
  }
  return requirements;
}

nlohmann::ordered_json optionalNumber(const std::optional<double>& value) {
  return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

// A winding over the first: its own inputs, not the former's sizes it
// inherits.
nlohmann::ordered_json windingJson(const UpperWinding& winding) {
  nlohmann::ordered_json out;
  out["name"] = winding.name;
  out["material"] = materialWord(winding.coil.material);
  nlohmann::ordered_json& inputs = out["inputs"];
  for (int i = 0; i < kInputBoxCount; ++i) {
    const auto b = static_cast<InputBox>(i);
    if (!isFormerSize(b)) inputs[std::string(inputField(b).key)] = winding.coil.text(b);
  }
  out["insulation"] = {{"thicknessPerLayer", winding.under.thicknessPerLayer},
                       {"layers", winding.under.layers}};
  out["wireYenPerKg"] = optionalNumber(winding.terms.wireYenPerKg);
  out["windingRpm"] = optionalNumber(winding.terms.windingRpm);
  return out;
}

nlohmann::ordered_json itemJson(const Item& item) {
  nlohmann::ordered_json out;
  out["partNumber"] = item.partNumber;
  out["name"] = item.name;
  out["former"] =
      item.coil.former ? nlohmann::ordered_json(formerWord(*item.coil.former)) : nullptr;
  out["material"] = materialWord(item.coil.material);
  nlohmann::ordered_json& inputs = out["inputs"];
  for (int i = 0; i < kInputBoxCount; ++i) {
    const auto b = static_cast<InputBox>(i);
    inputs[std::string(inputField(b).key)] = item.input(b);
  }
  out["quotationTerms"] = item.terms ? termsJson(*item.terms, true) : nullptr;
  out["priceListSavedAt"] = item.priceListSavedAt;
  out["basisLot"] = item.basisLot;
  nlohmann::ordered_json requirements = nlohmann::ordered_json::array();
  for (const Requirement& requirement : item.requirements)
    requirements.push_back(requirementJson(requirement));
  out["requirements"] = std::move(requirements);
  if (!item.windingName.empty()) out["windingName"] = item.windingName;
  if (isStack(item)) {
    nlohmann::ordered_json& windings = out["windings"];
    for (const UpperWinding& winding : item.upperWindings) windings.push_back(windingJson(winding));
    out["tapeYenPerLayer"] = item.tapeYenPerLayer;
  }
  return out;
}

// The coil of an item: its inputs, former and material. `at` is the path of
// the item's object with its dot ("items[2].", or "" for the whole file of
// a job of one coil).
std::optional<Failure> readCoilOf(const json& item, const std::string& at, Item& into) {
  const auto inputs = readObject(item, "inputs", at + "inputs", true);
  if (!inputs) return inputs.failure();
  for (int i = 0; i < kInputBoxCount; ++i) {
    const auto b = static_cast<InputBox>(i);
    const std::string key(inputField(b).key);
    auto t = readText(**inputs, key, at + "inputs." + key, true);
    if (!t) return t.failure();
    into.input(b) = std::move(t.value());
  }
  const auto former = readFormer(item, at);
  if (!former) return former.failure();
  into.coil.former = *former;
  const auto material = readMaterial(item, at);
  if (!material) return material.failure();
  into.coil.material = *material;
  return std::nullopt;
}

// An item's terms and where they came from (versions 2 and 3).
std::optional<Failure> readPricing(const json& item, const std::string& at, Item& into) {
  auto terms = readItemTerms(item, at, into.coil.material);
  if (!terms) return terms.failure();
  into.terms = std::move(terms.value());
  auto savedAt = readText(item, "priceListSavedAt", at + "priceListSavedAt", false);
  if (!savedAt) return savedAt.failure();
  into.priceListSavedAt = std::move(savedAt.value());
  return wrongTime(at + "priceListSavedAt", into.priceListSavedAt);
}

// A price or speed of a winding: none when null or left out, else a number
// of 0 or more.
Expected<std::optional<double>> readOptionalFigure(const json& object, std::string_view key,
                                                   const std::string& path) {
  const auto it = object.find(key);
  if (it == object.end() || it->is_null()) return std::optional<double>();
  const auto number = readNumber(object, key, path);
  if (!number) return number.failure();
  if (!(*number >= 0)) return refusal("「" + path + "」は 0 以上の数です。");
  return std::optional(*number);
}

Expected<UpperWinding> readWinding(const json& value, const std::string& at) {
  if (!value.is_object()) return refusal("「" + at + "」がオブジェクトではありません。");
  UpperWinding winding;
  auto name = readText(value, "name", at + ".name", false);
  if (!name) return name.failure();
  winding.name = std::move(name.value());
  const auto material = readMaterial(value, at + ".");
  if (!material) return material.failure();
  winding.coil.material = *material;
  const auto inputs = readObject(value, "inputs", at + ".inputs", true);
  if (!inputs) return inputs.failure();
  for (int i = 0; i < kInputBoxCount; ++i) {
    const auto b = static_cast<InputBox>(i);
    if (isFormerSize(b)) continue;
    const std::string key(inputField(b).key);
    auto t = readText(**inputs, key, at + ".inputs." + key, true);
    if (!t) return t.failure();
    winding.coil.texts[indexOf(b)] = std::move(t.value());
  }
  const auto insulation = readObject(value, "insulation", at + ".insulation", false);
  if (!insulation) return insulation.failure();
  for (const auto& [key, target] :
       {std::pair{"thicknessPerLayer", &winding.under.thicknessPerLayer},
        std::pair{"layers", &winding.under.layers}}) {
    if (!(*insulation)->contains(key)) continue;
    auto t = readText(**insulation, key, at + ".insulation." + key, true);
    if (!t) return t.failure();
    *target = std::move(t.value());
  }
  for (const auto& [key, target] : {std::pair{"wireYenPerKg", &winding.terms.wireYenPerKg},
                                    std::pair{"windingRpm", &winding.terms.windingRpm}}) {
    auto figure = readOptionalFigure(value, key, at + "." + key);
    if (!figure) return figure.failure();
    *target = *figure;
  }
  return winding;
}

// The windings over an item's first, its first's name and the tape's price.
std::optional<Failure> readWindings(const json& value, const std::string& at, Item& into) {
  auto name = readText(value, "windingName", at + "windingName", false);
  if (!name) return name.failure();
  into.windingName = std::move(name.value());
  const auto it = value.find("windings");
  if (it == value.end()) return std::nullopt;
  if (!it->is_array()) return refusal("「" + at + "windings」が配列ではありません。");
  if (it->size() + 1 > kMostWindings)
    return refusal("「" + at + "windings」の巻線が多すぎます（1つの巻枠に" +
                   std::to_string(kMostWindings) + "巻線まで）。");
  for (std::size_t i = 0; i < it->size(); ++i) {
    auto winding = readWinding((*it)[i], at + "windings[" + std::to_string(i) + "]");
    if (!winding) return winding.failure();
    into.upperWindings.push_back(std::move(winding.value()));
  }
  auto tape = readOptionalFigure(value, "tapeYenPerLayer", at + "tapeYenPerLayer");
  if (!tape) return tape.failure();
  into.tapeYenPerLayer = tape->value_or(0);
  return std::nullopt;
}

Expected<Item> readItem(const json& value, const std::string& at) {
  if (!value.is_object())
    return refusal("「" + at.substr(0, at.size() - 1) + "」がオブジェクトではありません。");
  Item item;
  for (const auto& [key, target] :
       {std::pair{"partNumber", &item.partNumber}, std::pair{"name", &item.name}}) {
    auto t = readText(value, key, at + key, false);
    if (!t) return t.failure();
    *target = std::move(t.value());
  }
  if (auto wrong = readCoilOf(value, at, item)) return *wrong;
  if (auto wrong = readPricing(value, at, item)) return *wrong;
  if (const auto it = value.find("basisLot"); it != value.end()) {
    const std::size_t lots = item.terms ? item.terms->quantities.size() : kMaxQuantities;
    const auto lot = readWhole(*it, at + "basisLot", 0,
                               static_cast<std::int64_t>(std::max<std::size_t>(lots, 1)) - 1);
    if (!lot) return lot.failure();
    item.basisLot = static_cast<std::size_t>(*lot);
  }
  auto requirements = readRequirements(value, at);
  if (!requirements) return requirements.failure();
  item.requirements = std::move(requirements.value());
  if (auto wrong = readWindings(value, at, item)) return *wrong;
  return item;
}

Expected<std::vector<Item>> readItems(const json& root) {
  const auto it = root.find("items");
  if (it == root.end()) return refusal("「items」がありません。");
  if (!it->is_array() || it->empty()) return refusal("「items」は品目を 1 つ以上並べた配列です。");
  if (it->size() > kMaxItems)
    return refusal("「items」の品目が多すぎます（" + std::to_string(kMaxItems) + " まで）。");
  std::vector<Item> items;
  items.reserve(it->size());
  for (std::size_t i = 0; i < it->size(); ++i) {
    auto item = readItem((*it)[i], "items[" + std::to_string(i) + "].");
    if (!item) return item.failure();
    items.push_back(std::move(item.value()));
  }
  return items;
}

// The one coil of a job of version 1 or 2, at the top of the file, with the
// 品番 of its fields.
Expected<Item> readSingleCoil(const json& root, const json& fields, int version) {
  Item item;
  if (auto wrong = readCoilOf(root, "", item)) return *wrong;
  auto part = readText(fields, "partNumber", "job.partNumber", false);
  if (!part) return part.failure();
  item.partNumber = std::move(part.value());
  // What version 2 added; in a version 1 job these keys mean nothing yet.
  if (version >= 2) {
    if (auto wrong = readPricing(root, "", item)) return *wrong;
  }
  return item;
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
  nlohmann::ordered_json items = nlohmann::ordered_json::array();
  for (const Item& item : job.items) items.push_back(itemJson(item));
  root["items"] = std::move(items);
  nlohmann::ordered_json issues = nlohmann::ordered_json::array();
  for (const IssueRecord& issue : job.issues) issues.push_back(issueJson(issue));
  root["issues"] = std::move(issues);
  // Texts come from the window and are UTF-8; a stray byte that is not is
  // written as U+FFFD rather than failing the save.
  return root.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

Expected<Job> readJob(std::string_view text) {
  const Expected<VersionedDocument> document = readVersionedDocument(text, kJobFile);
  if (!document) return document.failure();
  const json& root = document->root;

  Job job;
  const auto fields = readObject(root, "job", "job", false);
  if (!fields) return fields.failure();
  const std::pair<const char*, std::string*> fieldKeys[] = {
      {"customer", &job.fields.customer},
      {"customerPerson", &job.fields.customerPerson},
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
  if (auto wrong = wrongTime("savedAt", job.savedAt)) return *wrong;
  // The customer quotation's fields came with version 2; in a version 1 job
  // these keys mean nothing yet.
  if (document->version >= 2) {
    if (auto wrong = readQuotationFields(**fields, job.fields)) return *wrong;
    if (auto wrong = wrongDate("job.issuedOn", job.fields.issuedOn)) return *wrong;
  }
  if (document->version >= 3) {
    auto items = readItems(root);
    if (!items) return items.failure();
    job.items = std::move(items.value());
    auto issues = readIssues(root);
    if (!issues) return issues.failure();
    job.issues = std::move(issues.value());
  } else {
    auto item = readSingleCoil(root, **fields, document->version);
    if (!item) return item.failure();
    job.items = {std::move(item.value())};
  }
  return job;
}

Expected<std::string> savedJobText(const Job& job, std::chrono::system_clock::time_point now) {
  std::string text = writeJob(stampForSaving(job, now));
  const Expected<Job> again = readJob(text);
  if (!again) return again.failure();
  return text;
}

}  // namespace kelvane::job
