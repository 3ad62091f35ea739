#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/expected.h"
#include "job/job.h"
#include "job/shown_coil.h"

namespace kelvane::job {

// The units a requirement of a target box is given in: mm for the
// heights, mg, g or kg for the weight, Ω or kΩ for the DCR.
std::span<const std::string_view> requirementUnits(ResultBox box);

// The requirement a target typed into its box keeps: the number as typed
// and the unit the box then showed, in SI; none for a box that takes no
// target, a text that is no number above 0, or a weight or DCR typed before
// any press chose their units.
std::optional<Requirement> requirementFromTarget(ResultBox box, std::string_view text,
                                                 const std::optional<ShownUnits>& units);

// What the coil's results give for the box asked of, in the
// requirement's unit; none while the results are not current, or the box
// holds something else than the press wrote (a target typed over it).
std::optional<double> requiredResult(const Requirement& requirement, const ShownCoil& coil);

enum class RequirementCheck { Met, Missed, NotKnown };
// Met when the result lies within the tolerance of the value (the default
// tolerance when none is given), Missed when outside, NotKnown without a
// current result.
RequirementCheck checkRequirement(const Requirement& requirement, const ShownCoil& coil);
// Whether a current result misses any of the item's requirements.
bool missesRequirement(const std::vector<Requirement>& requirements, const ShownCoil& coil);
// Each requirement the results miss, with what they give:
// 「仕様 DCR(20℃) 15 Ω ±5 %（既定）、結果 16.942 Ω」.
std::vector<std::string> missedRequirements(const std::vector<Requirement>& requirements,
                                            const ShownCoil& coil);
// The mark a list of items gives an item: 未計算 while its results do not
// belong to its inputs, 仕様外 while they miss a requirement, else nothing.
std::string_view itemMark(const std::vector<Requirement>& requirements, const ShownCoil& coil);

// The requirement in words: "DCR 15 Ω ±5 %", "重量 40 g ±5 %（既定）".
std::string requirementText(const Requirement& requirement);
// The result as a figure in the requirement's unit ("16.942 Ω"); empty
// when not known.
std::string requiredResultText(const Requirement& requirement, const ShownCoil& coil);

// A requirement as its dialog has it typed: the value, a number above 0
// in `unit` (the unit may follow it; full-width digits are read), and the
// tolerance, empty for the default or 0 to 100 (% may follow); or the
// Japanese sentence naming the box that cannot be read.
Expected<Requirement> typedRequirement(ResultBox box, std::string_view value,
                                       const std::string& unit, std::string_view tolerance);
// The name of the result a requirement is for: 整列部巻高, 重量, DCR(20℃) …
std::string_view requiredName(ResultBox box);

// The item's requirements with `requirement` in place of the one of its box.
void keepRequirement(std::vector<Requirement>& requirements, Requirement requirement);

}  // namespace kelvane::job
