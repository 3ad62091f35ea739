#include "form/box_names.h"

#include "core/expected.h"
#include "core/typed_number.h"
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
    case box::AlignedWeight:
      return captionText(29);
    case box::PredictedDcr:
      return captionText(28);
    case box::CrossHeight:
      return captionText(19);
    default:
      return {};
  }
}

std::string unclearCommaMessage(const std::string& name, const std::string& text) {
  return "「" + name + "」の「" + visibleText(text) +
         "」は数値として読めません。桁区切りは「1,000」のように3桁ごとに、小数点は「.」で"
         "入力してください";
}

std::span<const std::string_view> unitsOf(InputBox b) {
  switch (b) {
    case box::Turns:
      return {};
    case box::FanAngle:
      return units::kDegree;
    default:
      return units::kMillimetre;
  }
}

std::optional<std::string> unreadableMessage(const std::string& name, const std::string& text,
                                             const TypedNumber& n,
                                             std::span<const std::string_view> units) {
  if (n.unclearComma) return unclearCommaMessage(name, text);
  if (n.notANumber) {
    std::string message = "「" + name + "」の「" + visibleText(text) +
                          "」は数値として読めません。数値で入力してください";
    if (!units.empty())
      message += "（単位は「" + std::string(units.front()) + "」のみ付けられます）";
    return message;
  }
  if (n.overflow) return std::string(kOverflowMessage);
  return std::nullopt;
}

}  // namespace kelvane::form
