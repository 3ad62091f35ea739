#include "job/job_json.h"

#include "job/json_document.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace kelvane::job {
namespace {

using nlohmann::json;

Failure refusal(std::string message) { return Failure{std::move(message)}; }

// The offset of the first byte that does not belong to well-formed UTF-8
// (no overlong forms, no surrogates, nothing above U+10FFFF), or npos.
std::size_t firstInvalidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    int more = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      more = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      more = 2;
      if (b == 0xE0) lo = 0xA0;
      if (b == 0xED) hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      more = 3;
      if (b == 0xF0) lo = 0x90;
      if (b == 0xF4) hi = 0x8F;
    } else {
      return i;
    }
    if (s.size() - i <= static_cast<std::size_t>(more)) return i;  // cut short
    for (int k = 1; k <= more; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if (k == 1 ? (c < lo || c > hi) : (c < 0x80 || c > 0xBF)) return i;
    }
    i += more + 1;
  }
  return std::string_view::npos;
}

// Characters of well-formed UTF-8: every byte that does not continue one.
std::size_t charCount(std::string_view s) {
  std::size_t n = 0;
  for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

std::string quoted(std::string_view key) { return "「" + std::string(key) + "」"; }

// Reads the text at key of an object; the failure names the key.
Expected<std::string> readText(const json& object, std::string_view key, std::string_view path,
                               bool required) {
  const auto it = object.find(key);
  if (it == object.end()) {
    if (required) return refusal(quoted(path) + "がありません。");
    return std::string();
  }
  if (!it->is_string()) return refusal(quoted(path) + "が文字列ではありません。");
  std::string text = it->get<std::string>();
  if (charCount(text) > kMaxTextChars) {
    return refusal(quoted(path) + "が長すぎます（" + std::to_string(kMaxTextChars) +
                   " 文字まで）。");
  }
  return text;
}

std::string lineOf(std::string_view text, std::size_t byte) {
  std::size_t line = 1;
  for (std::size_t i = 0; i < byte && i < text.size(); ++i) line += text[i] == '\n';
  return std::to_string(line);
}

Expected<json> parse(std::string_view text) {
  // The parser takes a NUL byte for the end of the text: a job followed by a
  // NUL and anything at all would read as the job alone.
  if (const auto nul = text.find('\0'); nul != std::string_view::npos)
    return refusal("JSON として読めません（" + lineOf(text, nul + 1) + " 行目）。");
  JsonDocument read = readJsonDocument(text, kMaxNesting);
  switch (read.fault) {
    case JsonDocument::Fault::None:
      return std::move(read.value);
    case JsonDocument::Fault::TooDeep:
      return refusal("入れ子が深すぎます（" + std::to_string(kMaxNesting) + " 段まで）。");
    case JsonDocument::Fault::NumberTooLarge:
      return refusal("JSON として読めません（扱えない大きさの数があります）。");
    case JsonDocument::Fault::Unreadable:
      break;
  }
  return refusal("JSON として読めません（" + lineOf(text, read.byte) + " 行目）。");
}

Expected<int> readFormatVersion(const json& root) {
  const auto format = root.find("format");
  if (format == root.end() || !format->is_string() || *format != kFormatName)
    return refusal(
        "Kelvane の案件ファイルではありません（「format」が「kelvane-job」ではありません）。");
  const auto version = root.find("formatVersion");
  if (version == root.end()) return refusal("形式の版（「formatVersion」）がありません。");
  // An integer as JSON counts them: 1.0 is one, and so is 2^64, too large
  // for any integer type; compared as a double, a version too large for an
  // int is still newer.
  const bool integral =
      version->is_number_integer() ||
      (version->is_number_float() && std::trunc(version->get<double>()) == version->get<double>());
  if (!integral) return refusal("形式の版（「formatVersion」）が整数ではありません。");
  const double v = version->is_number_unsigned() ? double(version->get<std::uint64_t>())
                                                 : version->get<double>();
  // Written as the integer it is: "1", not "1.0"; "18446744073709551616".
  char shown[400];
  std::snprintf(shown, sizeof shown, "%.0f", v);
  if (v > kFormatVersion) {
    return refusal("新しい形式（版 " + std::string(shown) +
                   "）の案件ファイルです。この Kelvane が開けるのは版 " +
                   std::to_string(kFormatVersion) + " までです。");
  }
  if (v < 1) return refusal("形式の版 " + std::string(shown) + " は正しくありません。");
  return static_cast<int>(v);
}

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

// The object at key: required, or empty when absent.
Expected<const json*> readObject(const json& root, std::string_view key, bool required) {
  static const json kEmpty = json::object();
  const auto it = root.find(key);
  if (it == root.end()) {
    if (required) return refusal(quoted(key) + "がありません。");
    return &kEmpty;
  }
  if (!it->is_object()) return refusal(quoted(key) + "がオブジェクトではありません。");
  return &*it;
}

// 使用温度 in the job's fields: a number within the span a quotation may
// name; 20 °C when a job does not give one.
Expected<double> readWorkingCelsius(const json& fields) {
  const auto it = fields.find("workingTemperature");
  if (it == fields.end()) return kReferenceCelsius;
  if (!it->is_number()) return refusal("「job.workingTemperature」が数ではありません。");
  const double celsius = it->get<double>();
  if (auto wrong = workingTemperatureRefusal(celsius))
    return refusal("「job.workingTemperature」: " + *wrong);
  return celsius;
}

}  // namespace

std::string writeJob(const Job& job) {
  nlohmann::ordered_json root;
  root["format"] = kFormatName;
  root["formatVersion"] = kFormatVersion;
  root["programVersion"] = job.programVersion;
  root["savedAt"] = job.savedAt;
  root["job"] = {{"customer", job.fields.customer},
                 {"partNumber", job.fields.partNumber},
                 {"quotationNumber", job.fields.quotationNumber},
                 {"personInCharge", job.fields.personInCharge},
                 {"memo", job.fields.memo},
                 {"workingTemperature", job.fields.workingCelsius}};
  root["former"] = job.former ? nlohmann::ordered_json(formerWord(*job.former)) : nullptr;
  root["material"] = materialWord(job.material);
  nlohmann::ordered_json& inputs = root["inputs"];
  for (int i = 0; i < form::kInputBoxCount; ++i) {
    const auto b = static_cast<form::InputBox>(i);
    inputs[std::string(inputKey(b))] = job.input(b);
  }
  // Texts come from the window and are UTF-8; a stray byte that is not is
  // written as U+FFFD rather than failing the save.
  return root.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

Expected<Job> readJob(std::string_view text) {
  if (text.size() > kMaxFileBytes) {
    return refusal("ファイルが大きすぎます（案件ファイルは " +
                   std::to_string(kMaxFileBytes / (1024 * 1024)) + " MiB まで）。");
  }
  if (const std::size_t bad = firstInvalidUtf8(text); bad != std::string_view::npos) {
    return refusal("UTF-8 の文字として読めないバイトがあります（" + std::to_string(bad + 1) +
                   " バイト目）。");
  }
  const Expected<json> parsed = parse(text);
  if (!parsed) return parsed.failure();
  const json& root = *parsed;
  if (!root.is_object())
    return refusal("案件ファイルではありません（全体が JSON のオブジェクトではありません）。");
  if (const auto version = readFormatVersion(root); !version) return version.failure();

  Job job;
  const auto inputs = readObject(root, "inputs", true);
  if (!inputs) return inputs.failure();
  for (int i = 0; i < form::kInputBoxCount; ++i) {
    const auto b = static_cast<form::InputBox>(i);
    const std::string key(inputKey(b));
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

  const auto fields = readObject(root, "job", false);
  if (!fields) return fields.failure();
  const std::pair<const char*, std::string*> fieldKeys[] = {
      {"customer", &job.fields.customer},
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
  return job;
}

Expected<std::string> savedJobText(const Job& job, std::chrono::system_clock::time_point now) {
  std::string text = writeJob(stampForSaving(job, now));
  const Expected<Job> again = readJob(text);
  if (!again) return again.failure();
  return text;
}

}  // namespace kelvane::job
