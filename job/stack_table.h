#pragma once

// A stack of windings as the 見積計算書 lists it: a row a winding, then the
// finished coil.

#include <string>
#include <vector>

#include "core/winding_stack.h"
#include "job/results_table.h"

namespace kelvane::job {

struct StackTable {
  // 巻線, 材質, 素線径, 巻き数, 層間絶縁, 巻高（予測）, DCR 20 °C (予測), and
  // the DCR at the working temperature when it is not 20 °C.
  std::vector<std::string> heading;
  std::vector<std::vector<std::string>> windings;
  // The former each winding sits on (the item's, then those it inherits),
  // its label in `item` and its sizes in `aligned`.
  std::vector<TableRow> formers;
  // The finished coil: its outer size, and the conductor's weight of each
  // material wound, g (予測).
  std::vector<TableRow> totals;
};

// The former's sizes as one text: 「D 12.345」, 「A 4.000 × B 6.000, r1 0.300,
// r2 0.500」 (「r 0.300」 for equal corners), 「R 50.000, A …, B …, r1 …, r2 …, AG 60°」.
std::string formerText(const Former& former);

// The table of a computed stack, its resistances also at `workingCelsius`.
StackTable stackTable(const WindingStack& stack, const StackResult& result, double workingCelsius);

}  // namespace kelvane::job
