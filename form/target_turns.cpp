// Working backwards: a height, weight or resistance typed into one of the four
// green result boxes becomes the number of turns that gives it.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <string>

#include "core/inverse_solvers.h"
#include "core/number_text.h"
#include "core/turns_from_height.h"
#include "core/weight_resistance.h"
#include "form/form1.h"

namespace kelvane::form {
namespace {

// The leading number of a target box, accepting the "," the program itself
// writes between groups of three digits ("1,010.000" reads 1010). Anything
// else is read by the leading-number rule. Empty on overflow.
std::optional<double> readTarget(const std::string& text) {
  std::string plain = text;
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  std::size_t digits = 0;
  while (i + digits < text.size() && std::isdigit(static_cast<unsigned char>(text[i + digits])))
    ++digits;
  if (digits >= 1 && digits <= 3) {
    std::size_t p = i + digits;
    std::string grouped = text.substr(0, p);
    bool anyGroup = false;
    while (p + 4 <= text.size() && text[p] == ',' &&
           std::isdigit(static_cast<unsigned char>(text[p + 1])) &&
           std::isdigit(static_cast<unsigned char>(text[p + 2])) &&
           std::isdigit(static_cast<unsigned char>(text[p + 3])) &&
           (p + 4 == text.size() || !std::isdigit(static_cast<unsigned char>(text[p + 4])))) {
      grouped += text.substr(p + 1, 3);
      p += 4;
      anyGroup = true;
    }
    if (anyGroup) plain = grouped + text.substr(p);
  }
  const LeadingNumber n = readLeadingNumberDetailed(plain);
  if (n.overflow) return std::nullopt;
  return n.value;
}

}  // namespace

void Form1::Text2_LostFocus(int index) {
  if (index < 0 || index >= kResultBoxCount) return;
  const auto target = static_cast<ResultBox>(index);
  if (std::find(kTargetBoxes.begin(), kTargetBoxes.end(), target) == kTargetBoxes.end()) return;
  // Passing through a result box must not turn its rounded display back into
  // a different number of turns.
  if (!userChanged(idOf(target))) return;
  const std::optional<double> value = readTarget(s_.text(target));
  if (!value) return;

  const CalculationState& c = s_.calc;
  std::optional<double> turns;
  if (target == box::AlignedHeight || target == box::CrossHeight) {
    std::optional<std::int32_t> layers;
    if (target == box::AlignedHeight) {
      layers = LayersFromAlignedHeight(*value, c.inputs.finishedDiameter);
    } else {
      // The crossed height counts in the finished diameter as typed now.
      const LeadingNumber dw = readLeadingNumberDetailed(s_.text(box::FinishedDiameter));
      if (!dw.overflow) layers = LayersFromCrossHeight(*value, dw.value);
    }
    if (!layers) return;
    turns = TurnsFromLayers(*layers, c.mTurnsOddLayer, c.mTurnsEvenLayer);
  } else {
    // The solvers compare milligrams and ohms; the target is in the unit its
    // row shows (milligrams and ohms before any press).
    const bool weight = target == box::WeightMax;
    const double perShown =
        weight ? factorOf(MassUnit::Milligram) / factorOf(s_.units ? s_.units->mass
                                                                   : MassUnit::Milligram)
               : 1 / factorOf(s_.units ? s_.units->resistance : ResistanceUnit::Ohm);
    const double wt = *value * perShown;
    const TargetKind kind = weight ? TargetKind::Weight : TargetKind::Resistance;
    const LeadingNumber lead = readLeadingNumberDetailed(s_.text(box::LeadLength));
    if (lead.overflow) {
      showMessage(kOverflowMessage);
      return;
    }
    std::optional<Expected<std::int32_t>> found;
    switch (s_.option1) {
      case 0: found = EnL2(c, wt, kind, lead.value, s_.material); break;
      case 1: found = GetL2(c, wt, kind, lead.value, s_.material); break;
      case 2: found = OogiL2(c, wt, kind, lead.value, s_.material); break;
      default: return;
    }
    if (!*found) {
      showMessage(found->message());
      return;
    }
    turns = found->value();
  }
  if (std::isfinite(*turns)) write(box::Turns, plainDecimal(*turns));
}

}  // namespace kelvane::form
