#include "form/box_names.h"

#include "form/control_table.h"

namespace kelvane::form {
namespace {

// The design caption of a label, without the blank some captions end in.
std::string captionText(int label) {
  std::string text = findControl(label1(label))->text;
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

std::string boxName(InputBox b) {
  // Each input box has its caption in Label1 of the same index, but Tension,
  // added last, has its caption in Label1(26).
  return captionText(b == box::Tension ? 26 : indexOf(b));
}

std::string boxName(ResultBox b) {
  switch (b) {
    case box::AlignedHeight:
      return captionText(20);
    case box::WeightMax:
      return captionText(29);
    case box::DcrMax:
      return captionText(28);
    case box::CrossHeight:
      return captionText(19);
    default:
      return {};
  }
}

std::string unclearCommaMessage(const std::string& name, const std::string& text) {
  return "「" + name + "」の「" + text +
         "」は数値として読めません。桁区切りは「1,000」のように3桁ごとに、小数点は「.」で"
         "入力してください";
}

}  // namespace kelvane::form
