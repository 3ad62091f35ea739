// Working backwards: a height, weight or resistance typed into one of the four
// green result boxes becomes the number of turns that gives it.
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
  if (index != 7 && index != 10 && index != 12 && index != 14) return;
  // Passing through a result box must not turn its rounded display back into
  // a different number of turns.
  if (!userChanged(text2(index))) return;
  const std::optional<double> target = readTarget(s_.text2[index]);
  if (!target) return;

  const CalculationState& c = s_.calc;
  std::optional<double> turns;
  if (index == 7 || index == 14) {
    std::optional<std::int32_t> layers;
    if (index == 7) {
      layers = LayersFromAlignedHeight(*target, c.mFinishedDiameter);
    } else {
      // The crossed height counts in the finished diameter as typed now.
      const LeadingNumber dw = readLeadingNumberDetailed(s_.text1[1]);
      if (!dw.overflow) layers = LayersFromCrossHeight(*target, dw.value);
    }
    if (!layers) return;
    turns = TurnsFromLayers(*layers, c.mTurnsOddLayer, c.mTurnsEvenLayer);
  } else {
    const bool weight = index == 10;
    const double wt =
        *target * (weight ? MilligramsPerShownWeight(s_.captions[label1(29).str()])
                          : OhmsPerShownResistance(s_.captions[label1(28).str()]));
    const TargetKind kind = weight ? TargetKind::Weight : TargetKind::Resistance;
    const LeadingNumber lead = readLeadingNumberDetailed(s_.text1[3]);
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
  if (std::isfinite(*turns)) write(text1(2), plainDecimal(*turns));
}

}  // namespace kelvane::form
