#include "form/boxes.h"

namespace kelvane::form {
namespace {

// The index of an element of the named control array, when it is one of
// `count` elements.
std::optional<int> elementOf(const ControlId& id, std::string_view array, int count) {
  if (id.name != array || id.index < 0 || id.index >= count) return std::nullopt;
  return id.index;
}

}  // namespace

std::optional<InputBox> inputBoxOf(const ControlId& id) {
  if (const auto i = elementOf(id, "Text1", kInputBoxCount)) return static_cast<InputBox>(*i);
  return std::nullopt;
}

std::optional<ResultBox> resultBoxOf(const ControlId& id) {
  if (const auto i = elementOf(id, "Text2", kResultBoxCount)) return static_cast<ResultBox>(*i);
  return std::nullopt;
}

std::optional<FormerShape> formerOf(const ControlId& id) {
  if (const auto i = elementOf(id, "Option1", 3)) return static_cast<FormerShape>(*i);
  return std::nullopt;
}

std::optional<ConductorMaterial> materialOf(const ControlId& id) {
  if (const auto i = elementOf(id, "Option3", 3)) return static_cast<ConductorMaterial>(*i);
  return std::nullopt;
}

ControlId idOf(Caption c) {
  static constexpr std::array<int, kCaptionCount> labels = {13, 14, 28, 29};
  return label1(labels[indexOf(c)]);
}

ControlId idOf(DrawingPart p) {
  switch (p) {
    case DrawingPart::Turns:
      return {"Shape1", 0};
    case DrawingPart::FormerLine:
      return {"Line1", -1};
    case DrawingPart::LeftFlange:
      return {"Line2", -1};
    case DrawingPart::RightFlange:
      return {"Line3", -1};
    case DrawingPart::LargeCoilNote:
      break;
  }
  return {"Label2", -1};
}

std::optional<Caption> captionOf(const ControlId& id) {
  for (int i = 0; i < kCaptionCount; ++i) {
    if (idOf(static_cast<Caption>(i)) == id) return static_cast<Caption>(i);
  }
  return std::nullopt;
}

std::optional<DrawingPart> drawingPartOf(const ControlId& id) {
  for (int i = 0; i < kDrawingPartCount; ++i) {
    if (idOf(static_cast<DrawingPart>(i)) == id) return static_cast<DrawingPart>(i);
  }
  return std::nullopt;
}

}  // namespace kelvane::form
