#include "tools/replay/replay.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "core/decimal_chars.h"
#include "form/control_table.h"
#include "form/form_job.h"
#include "job/job_json.h"
#include "job/json_document.h"
#include "job/system_reason.h"

namespace kelvane::replay {

using nlohmann::json;
using nlohmann::ordered_json;

Snapshot snapshotOf(const form::Form1& form) {
  const form::FormState& state = form.state();
  Snapshot s;
  s.inputTexts.assign(state.inputTexts.begin(), state.inputTexts.end());
  s.resultTexts.assign(state.resultTexts.begin(), state.resultTexts.end());
  for (int i = 0; i < form::kCaptionCount; ++i)
    s.captions[form::changeableCaptions()[i].str()] = state.captions[i];
  for (const form::ControlId& id : form::changeableVisibility())
    s.visible[id.str()] = form.isVisible(id);
  s.option1 = state.former ? static_cast<int>(*state.former) : -1;
  s.option3 = static_cast<int>(state.material);
  s.focus = state.focus.str();
  s.messages = state.messages;
  s.form2 = state.sheetLines;
  s.printRequests = state.printRequests;
  s.circles = state.drawing.circles;
  s.line1 = state.drawing.line1;
  s.line2 = state.drawing.line2;
  s.line3 = state.drawing.line3;
  s.resultsCurrent = !form.resultsOutOfDate();
  for (int i = 0; i < form::kResultBoxCount; ++i)
    s.editable.push_back(form::takesTyping(static_cast<form::ResultBox>(i)));
  s.selectRequests = state.selectRequests;
  s.sheetOpen = state.sheetOpen;
  s.outputsCurrent = state.resultsCurrent;
  return s;
}

namespace {

ordered_json line(const form::LinePosition& l) {
  return {shortestDecimal(l.x1), shortestDecimal(l.y1), shortestDecimal(l.x2),
          shortestDecimal(l.y2)};
}

// A bad step as the error line quotes it: its JSON on one line, cut short
// at a whole character.
std::string excerpt(const json& value) {
  constexpr std::size_t kMaxExcerpt = 60;
  std::string text = value.dump(-1, ' ', false, json::error_handler_t::replace);
  if (text.size() <= kMaxExcerpt) return text;
  std::size_t cut = kMaxExcerpt;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut) + "…";
}

// A control as a step names it: exactly as the window writes its address, so
// "Text1(002)" and "Text1( 2)" are no names of Text1(2).
std::optional<form::ControlId> control(const json& value) {
  if (!value.is_string()) return std::nullopt;
  const auto& name = value.get_ref<const std::string&>();
  auto id = form::parseControlId(name);
  if (!id || id->str() != name || !form::findControl(*id)) return std::nullopt;
  return id;
}

// A text as a step gives it. Leading U+FEFF characters are byte-order marks
// left over from the file a text was copied from: invisible, nothing a person
// types, and they would make a box's leading number unreadable. The window
// could not show them either: Qt drops a leading mark when it reads UTF-8, as
// the window does with every text the program writes into a box. So both
// targets get the text without them.
std::string boxText(const json& value) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  std::string_view text = value.get_ref<const std::string&>();
  while (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  return std::string(text);
}

// A key code as a step gives it: a whole number from 0 to 0xFFFF. Whole
// numbers beyond 64 bits reach us as floating point.
Expected<void> checkKeyCode(const json& key) {
  constexpr int kMaxKeyCode = 0xFFFF;
  const std::string outOfRange =
      "キーコードが範囲（0〜" + std::to_string(kMaxKeyCode) + "）の外です: ";
  if (key.is_number_unsigned()) {
    if (key.get<std::uint64_t>() > kMaxKeyCode) return Failure{outOfRange + key.dump()};
    return {};
  }
  if (key.is_number_integer()) return Failure{outOfRange + key.dump()};  // negative
  constexpr double kBeyond64Bits = 0x1p63;
  if (key.is_number_float() && std::abs(key.get<double>()) >= kBeyond64Bits)
    return Failure{outOfRange + key.dump()};
  return Failure{"キーは整数のキーコードで書きます: " + excerpt(key)};
}

Expected<void> applyStep(const json& step, ReplayTarget& target) {
  if (!step.is_object() || step.empty())
    return Failure{"手順はオブジェクトで書きます: " + excerpt(step)};
  // What the step does is named by one key; "type" and "set" take a "text".
  std::string kind;
  for (const char* k : {"focus", "type", "set", "click", "key", "close", "open", "save"}) {
    if (!step.contains(k)) continue;
    if (!kind.empty()) return Failure{"1 つの手順ですることは 1 つです: " + excerpt(step)};
    kind = k;
  }
  if (kind.empty()) return Failure{"知らない手順です: " + excerpt(step)};
  const bool takesText = kind == "type" || kind == "set";
  for (const auto& item : step.items()) {
    if (item.key() != kind && !(takesText && item.key() == "text"))
      return Failure{"手順に知らない項目があります: " + excerpt(step)};
  }
  const json& value = step[kind];

  if (kind == "key") {
    if (auto valid = checkKeyCode(value); !valid.ok()) return valid;
    target.key(value.get<int>());
    return {};
  }
  if (kind == "close") {
    if (value != "Form2") return Failure{"閉じられるのは Form2 だけです"};
    target.closeSheet();
    return {};
  }
  if (kind == "open" || kind == "save") {
    if (!value.is_string() || value.get_ref<const std::string&>().empty())
      return Failure{"手順にファイル名がありません: " + excerpt(step)};
    const auto& path = value.get_ref<const std::string&>();
    Expected<void> done = kind == "open" ? target.open(path) : target.save(path);
    if (done.ok()) return done;
    // The error line stays one line whatever the file's name holds.
    std::string line = done.message();
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::replace(line.begin(), line.end(), '\r', ' ');
    return Failure{line};
  }
  auto id = control(value);
  if (!id) return Failure{"知らないコントロールです: " + excerpt(step)};
  if (kind == "focus") {
    if (!target.focus(*id))
      return Failure{"フォーカスを受けられないコントロールです: " + id->str()};
    return {};
  }
  if (kind == "click") {
    if (!target.click(*id)) return Failure{"クリックできないコントロールです: " + id->str()};
    return {};
  }
  if (!step.contains("text") || !step["text"].is_string())
    return Failure{"手順に \"text\" の文字列がありません: " + excerpt(step)};
  const std::string text = boxText(step["text"]);
  if (!(kind == "type" ? target.type(*id, text) : target.set(*id, text)))
    return Failure{"今は文字を入力できないコントロールです: " + id->str()};
  return {};
}

Failure tooLong() {
  return Failure{"手順が " + std::to_string(kMaxDocumentBytes / (1024 * 1024)) +
                 " MiB を超えています"};
}

}  // namespace

Expected<void> applySteps(std::istream& document, ReplayTarget& target) {
  std::string text;
  std::array<char, 64 * 1024> chunk;
  errno = 0;
  while (document.read(chunk.data(), chunk.size()) || document.gcount() > 0) {
    text.append(chunk.data(), static_cast<std::size_t>(document.gcount()));
    if (text.size() > kMaxDocumentBytes) return tooLong();
  }
  if (document.bad()) {
    const int error = errno;
    return Failure{error ? "手順を読み込めません（" + job::systemReason(error) + "）"
                         : std::string("手順を読み込めません")};
  }
  return applySteps(text, target);
}

Expected<void> applySteps(std::string_view document, ReplayTarget& target) {
  if (document.size() > kMaxDocumentBytes) return tooLong();
  const job::JsonDocument read = job::readJsonDocument(document, kMaxNesting);
  if (read.fault == job::JsonDocument::Fault::TooDeep)
    return Failure{"手順の入れ子が " + std::to_string(kMaxNesting) + " 段を超えています"};
  if (read.fault != job::JsonDocument::Fault::None) return Failure{"JSON として読めません"};
  const json& doc = read.value;
  if (!doc.is_object() || !doc.contains("steps") || !doc["steps"].is_array())
    return Failure{"\"steps\" の配列を持つオブジェクトが要ります"};
  std::size_t n = 0;
  for (const json& step : doc["steps"]) {
    ++n;
    if (auto applied = applyStep(step, target); !applied.ok())
      return Failure{"手順 " + std::to_string(n) + ": " + applied.message()};
  }
  return {};
}

std::string toJson(const Snapshot& s, JsonFor reader) {
  ordered_json out;
  out["Text1"] = s.inputTexts;
  out["Text2"] = s.resultTexts;
  ordered_json captions = ordered_json::object();
  for (const form::ControlId& id : form::changeableCaptions()) {
    auto it = s.captions.find(id.str());
    captions[id.str()] = it == s.captions.end() ? "" : it->second;
  }
  out["captions"] = captions;
  ordered_json visible = ordered_json::object();
  for (const form::ControlId& id : form::changeableVisibility()) {
    auto it = s.visible.find(id.str());
    visible[id.str()] = it != s.visible.end() && it->second;
  }
  out["visible"] = visible;
  out["option1"] = s.option1;
  out["option3"] = s.option3;
  out["focus"] = s.focus;
  out["messages"] = s.messages;
  out["form2"] = s.form2;
  out["print_requests"] = s.printRequests;
  out["results_current"] = s.resultsCurrent;
  out["editable"] = s.editable;
  ordered_json circles = ordered_json::array();
  for (const form::Circle& c : s.circles)
    circles.push_back(
        {shortestDecimal(c.left), shortestDecimal(c.top), shortestDecimal(c.width), c.filled});
  out["diagram"] = {{"circles", circles},
                    {"line1", line(s.line1)},
                    {"line2", line(s.line2)},
                    {"line3", line(s.line3)}};
  if (reader == JsonFor::Page) {
    out["select_requests"] = s.selectRequests;
    out["sheet_open"] = s.sheetOpen;
    out["outputs_current"] = s.outputsCurrent;
  }
  // A box holds what was typed or pasted into it, which in the browser may
  // be no valid UTF-8 (a lone surrogate); such bytes are shown replaced.
  return out.dump(2, ' ', false, ordered_json::error_handler_t::replace);
}

}  // namespace kelvane::replay
