#include "tools/replay.h"

#include <charconv>
#include <nlohmann/json.hpp>

#include "form/control_table.h"

namespace kelvane::replay {

using nlohmann::json;
using nlohmann::ordered_json;

Snapshot snapshotOf(const form::FormState& state) {
  Snapshot s;
  s.text1.assign(state.text1.begin(), state.text1.end());
  s.text2.assign(state.text2.begin(), state.text2.end());
  s.captions = state.captions;
  s.visible = state.visible;
  s.option1 = state.option1;
  s.option3 = state.option3;
  s.focus = state.focus.str();
  s.messages = state.messages;
  s.form2 = state.sheetLines;
  s.printRequests = state.printRequests;
  s.circles = state.drawing.circles;
  s.line1 = state.drawing.line1;
  s.line2 = state.drawing.line2;
  s.line3 = state.drawing.line3;
  return s;
}

namespace {

// A single-precision value as its shortest decimal, so 1890.29f prints as
// 1890.29 rather than its double expansion.
double shortest(float value) {
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  double d = 0;
  std::from_chars(buffer, end, d);
  return d;
}

ordered_json line(const form::LinePosition& l) {
  return {shortest(l.x1), shortest(l.y1), shortest(l.x2), shortest(l.y2)};
}

std::optional<form::ControlId> control(const json& value) {
  if (!value.is_string()) return std::nullopt;
  auto id = form::parseControlId(value.get<std::string>());
  if (!id || !form::findControl(*id)) return std::nullopt;
  return id;
}

std::optional<std::string> applyStep(const json& step, ReplayTarget& target) {
  if (!step.is_object() || step.empty()) return "a step must be an object";
  const std::string kind = step.begin().key();
  auto text = [&]() -> std::optional<std::string> {
    if (!step.contains("text") || !step["text"].is_string()) return std::nullopt;
    return step["text"].get<std::string>();
  };
  auto expect = [&](std::size_t keys) { return step.size() == keys; };

  if (step.contains("focus") && expect(1)) {
    auto id = control(step["focus"]);
    if (!id) return "unknown control in step: " + step.dump();
    if (!target.focus(*id)) return "control cannot take the focus: " + id->str();
    return std::nullopt;
  }
  if ((step.contains("type") || step.contains("set")) && expect(2)) {
    const bool typing = step.contains("type");
    auto id = control(step[typing ? "type" : "set"]);
    auto t = text();
    if (!id) return "unknown control in step: " + step.dump();
    if (!t) return "step needs a \"text\" string: " + step.dump();
    const bool ok = typing ? target.type(*id, *t) : target.set(*id, *t);
    if (!ok) return "control is not a box that can take text now: " + id->str();
    return std::nullopt;
  }
  if (step.contains("click") && expect(1)) {
    auto id = control(step["click"]);
    if (!id) return "unknown control in step: " + step.dump();
    if (!target.click(*id)) return "control cannot be clicked: " + id->str();
    return std::nullopt;
  }
  if (step.contains("key") && expect(1)) {
    if (!step["key"].is_number_integer()) return "a key must be an integer key code";
    const auto code = step["key"].get<long long>();
    if (code < 0 || code > 0xFFFF) return "key code out of range: " + std::to_string(code);
    target.key(static_cast<int>(code));
    return std::nullopt;
  }
  if (step.contains("close") && expect(1)) {
    if (step["close"] != "Form2") return "only Form2 can be closed";
    target.closeSheet();
    return std::nullopt;
  }
  return "unknown step: " + kind;
}

}  // namespace

std::optional<std::string> applySteps(std::istream& document, ReplayTarget& target) {
  const json doc = json::parse(document, nullptr, /*allow_exceptions=*/false);
  if (doc.is_discarded()) return "unreadable JSON";
  if (!doc.is_object() || !doc.contains("steps") || !doc["steps"].is_array())
    return "expected an object with a \"steps\" array";
  std::size_t n = 0;
  for (const json& step : doc["steps"]) {
    ++n;
    if (auto error = applyStep(step, target)) return "step " + std::to_string(n) + ": " + *error;
  }
  return std::nullopt;
}

std::string toJson(const Snapshot& s) {
  ordered_json out;
  out["Text1"] = s.text1;
  out["Text2"] = s.text2;
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
  ordered_json circles = ordered_json::array();
  for (const form::Circle& c : s.circles)
    circles.push_back({shortest(c.left), shortest(c.top), shortest(c.width), c.filled});
  out["diagram"] = {{"circles", circles},
                    {"line1", line(s.line1)},
                    {"line2", line(s.line2)},
                    {"line3", line(s.line3)}};
  return out.dump(2);
}

}  // namespace kelvane::replay
