#include "job/table_lines.h"

namespace kelvane::job {

const std::array<InputLine, kInputBoxCount>& inputLines() {
  static constexpr std::array<InputLine, kInputBoxCount> lines = {{{0, kMillimetres},
                                                                   {1, kMillimetres},
                                                                   {2, ""},
                                                                   {3, kMillimetres},
                                                                   {4, kMillimetres},
                                                                   {5, kMillimetres},
                                                                   {6, kMillimetres},
                                                                   {7, kMillimetres},
                                                                   {8, kMillimetres},
                                                                   {9, kMillimetres},
                                                                   {10, kMillimetres},
                                                                   {11, "°"},
                                                                   {12, kMillimetres},
                                                                   {26, ""}}};
  return lines;
}

std::span<const ResultLine> resultLines() {
  static const ResultLine lines[] = {
      {23, ResultBox::Arrangement, {}, "", {}},
      {22, ResultBox::LayerCount, {}, "", {}},
      {21, ResultBox::Thickness, {}, kMillimetres, {}},
      {17, ResultBox::LastLayerTurns, {}, "", {}},
      {16, ResultBox::OuterA, {}, kMillimetres, {}},
      {15, ResultBox::OuterB, {}, kMillimetres, {}},
      {14, ResultBox::OuterRorD, {}, kMillimetres, {}},
      {20, ResultBox::AlignedHeight, {}, kMillimetres, {}},
      {13, ResultBox::AlignedLength, ResultBox::PredictedLength, "", 13},
      {29, ResultBox::AlignedWeight, ResultBox::PredictedWeight, "", 29},
      {28, ResultBox::AlignedDcr, ResultBox::PredictedDcr, "", 28},
      {19, ResultBox::CrossHeight, ResultBox::FullHeight, kMillimetres, {}},
      {34, ResultBox::AlignedInsulationWeight, ResultBox::PredictedInsulationWeight, "", 29},
      {32, ResultBox::AlignedConductorWeight, ResultBox::PredictedConductorWeight, "", 29},
  };
  return lines;
}

std::pair<std::string, std::string> nameAndUnit(const std::string& caption) {
  const std::size_t space = caption.find(' ');
  if (space == std::string::npos) return {caption, ""};
  std::string unit = caption.substr(space + 1);
  while (!unit.empty() && unit.back() == ' ') unit.pop_back();
  return {caption.substr(0, space), unit};
}

}  // namespace kelvane::job
