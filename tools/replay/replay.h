#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

#include "tools/replay/replay_target.h"

namespace kelvane::replay {

// The longest step document the replay reads. A person's session at the
// window is a few kilobytes of steps; a box text of a few million characters
// still fits. Beyond it the input is refused before it is parsed.
inline constexpr std::size_t kMaxDocumentBytes = 16 * 1024 * 1024;
// The deepest nesting of arrays and objects the replay parses. A step list
// is three levels deep ({"steps": [ {…} ]}); anything near the limit is an
// attack on the reader, not a list of steps.
inline constexpr int kMaxNesting = 32;

// Applies the steps of a replay document ({"steps": [ … ]}) to the target.
// Fails with the error line for bad input (a document that cannot be read or
// is too long or too deep, unreadable JSON, an unknown step or control, a
// control that cannot take the step). The line quotes no more than a short
// excerpt of the document.
Expected<void> applySteps(std::istream& document, ReplayTarget& target);
Expected<void> applySteps(std::string_view document, ReplayTarget& target);

// Who reads the snapshot's JSON: the replay prints the window as a person
// sees it; the browser page draws from the same text with what it needs
// besides (select_requests, sheet_open, outputs_current after the rest).
enum class JsonFor { Replay, Page };

// The snapshot as the JSON text the replay prints, or the page reads.
std::string toJson(const Snapshot& snapshot, JsonFor reader = JsonFor::Replay);

// Steps applied to a form model held elsewhere; what opening and saving a
// job's file means is each target's own.
class FormTarget : public ReplayTarget {
 public:
  explicit FormTarget(form::Form1& form) : form_(form) {}
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
  Snapshot snapshot() const override { return snapshotOf(form_); }

 protected:
  form::Form1& form_;
};

// The form model as a replay target, with job files on the disk.
class ModelTarget : public FormTarget {
 public:
  // The base only keeps the reference until the form below is made.
  ModelTarget() : FormTarget(model_) {}
  ModelTarget(const ModelTarget&) = delete;  // a copy would drive the other's form
  Expected<void> open(const std::string& path) override;
  Expected<void> save(const std::string& path) override;

 private:
  form::Form1 model_;
  job::Job opened_;  // the job last opened: what a save keeps besides the form
};

}  // namespace kelvane::replay
