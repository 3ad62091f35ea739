#include "core/read_coil.h"

#include "core/expected.h"

namespace kelvane {

TypedCoil openingCoil() {
  TypedCoil typed;
  for (int i = 0; i < kInputBoxCount; ++i)
    typed.texts[i] = inputField(static_cast<InputBox>(i)).openingText;
  return typed;
}

CoilReading readCoil(const TypedCoil& typed, const std::array<bool, kInputBoxCount>& shown,
                     bool withTurns) {
  // The first shown input that cannot be read refuses the press before
  // anything is computed.
  CoilReading reading;
  const bool anyFormer = !typed.former;
  auto read = [&](InputBox b) {
    const std::string& text = typed.text(b);
    const InputField& field = inputField(b);
    const TypedNumber n = readTypedNumber(text, field.typedUnits);
    if (!reading.refusal && (anyFormer || shown[indexOf(b)])) {
      if (auto message = unreadableMessage(field.name, text, n, field.typedUnits))
        reading.refusal = InputProblem{b, std::move(*message)};
    }
    return n.readable() ? n.value : 0;
  };

  Coil& coil = reading.coil;
  coil.bareDiameter = read(InputBox::BareDiameter);
  coil.finishedDiameter = read(InputBox::FinishedDiameter);
  if (withTurns) coil.turns = read(InputBox::Turns);
  coil.leadLength = read(InputBox::LeadLength);
  coil.referenceThickness = read(InputBox::ReferenceThickness);
  coil.innerDiameter = read(InputBox::InnerDiameter);
  coil.sideA = read(InputBox::SideA);
  coil.sideB = read(InputBox::SideB);
  coil.cornerR1 = read(InputBox::CornerR1);
  // An empty r2 means a former with four equal corners.
  if (!typed.text(InputBox::CornerR2).empty()) coil.cornerR2 = read(InputBox::CornerR2);
  coil.fanRadius = read(InputBox::FanRadius);
  coil.fanAngle = read(InputBox::FanAngle);
  coil.former = typed.former;
  coil.material = typed.material;
  return reading;
}

CoilReading readCoil(const TypedCoil& typed) {
  std::array<bool, kInputBoxCount> shown{};
  for (int i = 0; i < kInputBoxCount; ++i)
    shown[i] = !typed.former || formerShows(*typed.former, static_cast<InputBox>(i));
  return readCoil(typed, shown);
}

std::string unclearCommaMessage(std::string_view name, const std::string& text) {
  return "「" + std::string(name) + "」の「" + visibleText(text) +
         "」は数値として読めません。桁区切りは「1,000」のように3桁ごとに、小数点は「.」で"
         "入力してください";
}

std::optional<std::string> unreadableMessage(std::string_view name, const std::string& text,
                                             const TypedNumber& n,
                                             std::span<const std::string_view> units) {
  if (n.unclearComma) return unclearCommaMessage(name, text);
  if (n.notANumber) {
    std::string message = "「" + std::string(name) + "」の「" + visibleText(text) +
                          "」は数値として読めません。数値で入力してください";
    if (!units.empty())
      message += "（単位は「" + std::string(units.front()) + "」のみ付けられます）";
    return message;
  }
  if (n.overflow) return std::string(kOverflowMessage);
  return std::nullopt;
}

}  // namespace kelvane
