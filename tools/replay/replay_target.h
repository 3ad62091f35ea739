#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/expected.h"
#include "form/control_id.h"
#include "form/form1.h"
#include "job/job.h"

namespace kelvane::replay {

// What the replay prints: the window as a person sees it.
struct Snapshot {
  std::vector<std::string> inputTexts;          // Text1(0) … (13)
  std::vector<std::string> resultTexts;         // Text2(0) … (21)
  std::map<std::string, std::string> captions;  // Label1(13), (14), (28), (29)
  std::map<std::string, bool> visible;          // the controls whose visibility changes
  int option1 = -1;
  int option3 = -1;
  std::string focus;
  std::vector<std::string> messages;
  std::vector<std::string> form2;  // lines printed into the sheet window
  int printRequests = 0;
  bool resultsCurrent = true;         // false while results are shown out of date
  std::vector<bool> editable;         // per result box: whether it takes typing
  std::vector<form::Circle> circles;  // the visible circles' storage, Shape1(0) first
  form::LinePosition line1, line2, line3;
  // What the browser page reads besides (toJson with JsonFor::Page).
  int selectRequests = 0;       // times the form put the focus on a box to correct, selected
  bool sheetOpen = false;       // the wire data sheet's window
  bool outputsCurrent = false;  // the last press belongs to the inputs: outputs need none first
};

// Something the steps can be applied to: the form model, or the real window.
// Each operation returns false when the control cannot take it (hidden, not
// a box, not a button), which the driver reports as bad input.
class ReplayTarget {
 public:
  virtual ~ReplayTarget() = default;
  virtual bool focus(const form::ControlId& id) = 0;
  virtual bool type(const form::ControlId& id, const std::string& text) = 0;
  virtual bool click(const form::ControlId& id) = 0;
  virtual void key(int keyCode) = 0;
  virtual void closeSheet() = 0;
  virtual bool set(const form::ControlId& id, const std::string& text) = 0;
  // Opens the job in the file as 開く does, or saves the job the window
  // holds (its inputs, former, material and the fields of the job last
  // opened) as 上書き保存 does. A failure is the Japanese sentence naming
  // the file and why not.
  virtual Expected<void> open(const std::string& path) = 0;
  virtual Expected<void> save(const std::string& path) = 0;
  virtual Snapshot snapshot() const = 0;
};

// The snapshot of the form model.
Snapshot snapshotOf(const form::Form1& form);

}  // namespace kelvane::replay
