#include "job/table_lines.h"

namespace kelvane::job {

const std::array<InputLine, form::kInputBoxCount>& inputLines() {
  static constexpr std::array<InputLine, form::kInputBoxCount> lines = {{{0, kMillimetres},
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
  using form::ResultBox;
  static const ResultLine lines[] = {
      {23, ResultBox::Arrangement, {}, "", {}},
      {22, ResultBox::LayerCount, {}, "", {}},
      {21, ResultBox::Thickness, {}, kMillimetres, {}},
      {17, ResultBox::LastLayerTurns, {}, "", {}},
      {16, ResultBox::OuterA, {}, kMillimetres, {}},
      {15, ResultBox::OuterB, {}, kMillimetres, {}},
      {14, ResultBox::OuterRorD, {}, kMillimetres, {}},
      {20, ResultBox::AlignedHeight, {}, kMillimetres, {}},
      {13, ResultBox::LengthMax, ResultBox::LengthMid, "", 13},
      {29, ResultBox::WeightMax, ResultBox::WeightMid, "", 29},
      {28, ResultBox::DcrMax, ResultBox::DcrMid, "", 28},
      {19, ResultBox::CrossHeight, ResultBox::FullHeight, kMillimetres, {}},
      {34, ResultBox::InsulationWeightMax, ResultBox::InsulationWeightMid, "", 29},
      {32, ResultBox::ConductorWeightMax, ResultBox::ConductorWeightMid, "", 29},
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
