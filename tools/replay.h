#pragma once

#include <istream>
#include <optional>
#include <string>

#include "tools/replay_target.h"

namespace kelvane::replay {

// Applies the steps of a replay document ({"steps": [ … ]}) to the target.
// Returns the error line for bad input (unreadable JSON, an unknown step or
// control, a control that cannot take the step), or nothing on success.
std::optional<std::string> applySteps(std::istream& document, ReplayTarget& target);

// The snapshot as the JSON text the replay prints.
std::string toJson(const Snapshot& snapshot);

// The form model as a replay target.
class ModelTarget : public ReplayTarget {
 public:
  bool focus(const form::ControlId& id) override { return form_.moveFocus(id); }
  bool type(const form::ControlId& id, const std::string& text) override {
    return form_.typeText(id, text);
  }
  bool click(const form::ControlId& id) override { return form_.click(id); }
  void key(int keyCode) override { form_.pressKey(keyCode); }
  void closeSheet() override { form_.closeSheet(); }
  bool set(const form::ControlId& id, const std::string& text) override {
    return form_.setText(id, text);
  }
  Snapshot snapshot() const override { return snapshotOf(form_.state()); }

 private:
  form::Form1 form_;
};

}  // namespace kelvane::replay
