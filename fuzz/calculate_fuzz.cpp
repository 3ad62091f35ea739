// One Calculate press and one data sheet on arbitrary box texts, shapes and
// materials.
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/calculate_coil.h"
#include "core/calculation_state.h"
#include "core/number_text.h"
#include "core/wire_data_sheet.h"
#include "fuzz_checks.h"

using namespace kelvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // First byte: shape and material; the rest: twelve box texts split at NULs.
  const int shape = data[0] % 4;  // 3: no shape button on
  const auto material = static_cast<ConductorMaterial>((data[0] / 4) % 3);
  std::array<std::string, 12> box;
  std::size_t b = 0;
  for (std::size_t i = 1; i < size && b < box.size(); ++i) {
    if (data[i] == 0) ++b;
    else box[b] += static_cast<char>(data[i]);
  }

  CoilInputs in;
  double* fields[] = {&in.bareDiameter,       &in.finishedDiameter, &in.turns,     &in.leadLength,
                      &in.referenceThickness, &in.innerDiameter,    &in.sideA,     &in.sideB,
                      &in.cornerR1,           &in.cornerR2,         &in.fanRadius, &in.fanAngle};
  for (int i = 0; i < 12; ++i) *fields[i] = readLeadingNumber(box[i]);
  // The turn-by-turn walk of a huge coil is timed elsewhere; keep each run short.
  if (std::fabs(in.turns) > 1e5) return 0;
  if (shape < 3) in.shape = static_cast<FormerShape>(shape);
  const MaterialValues m = MaterialConstants(material);
  in.resistivity = m.resistivity;
  in.density = m.density;

  const CalculationState before;
  const CoilPress press = CalculateCoil(in, before);
  if (press.outcome == PressOutcome::Refused) {
    FUZZ_CHECK(!press.message.empty());
    FUZZ_CHECK(press.state == before);
  } else {
    FUZZ_CHECK(allFieldsFinite(press.state));
    const CoilResults& r = press.results;
    for (double v : {r.outerA, r.outerB, r.outerRorD, r.alignedHeight, r.crossHeight, r.fullHeight,
                     r.alignedLength, r.predictedLength, r.weights.alignedDcr,
                     r.weights.predictedDcr, r.weights.alignedWeight, r.weights.predictedWeight,
                     r.weights.alignedConductorWeight, r.weights.predictedInsulationWeight})
      FUZZ_CHECK(std::isfinite(v));
    FUZZ_CHECK(!looksBroken(r.arrangement.arrangementText));
    FUZZ_CHECK(!looksBroken(
        formatFixed3(r.weights.predictedDcr *
                     shownResistanceFactor(r.weights.resistanceUnit, r.thinWireFactor))));
  }

  const auto sheet = BuildWireDataSheet(in.bareDiameter, box[0], in.finishedDiameter, material);
  if (sheet) {
    for (const std::string& line : sheet->reportLines) FUZZ_CHECK(!looksBroken(line));
  } else {
    FUZZ_CHECK(!sheet.message().empty());
  }
  return 0;
}
