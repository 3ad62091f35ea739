#pragma once

// The price of a coil of several windings, quoted as one item: each winding's
// wire at its own price and wound at its own speed (thin wire winds slower),
// the handling, setup and parts once for the piece, and the insulating tape
// between the windings as a part.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/expected.h"
#include "core/materials.h"
#include "core/winding_stack.h"
#include "job/price_list.h"
#include "job/quotation.h"

namespace kelvane::job {

// What one winding costs from: its wire and turns, the price of its wire and
// the speed it is wound at.
struct WindingCost {
  std::string name;         // as the winding is named, for messages
  double wireMassKg = 0;    // w_k: the 予測 total weight (conductor and insulation), kg
  double turns = 0;         // n_k
  double wireYenPerKg = 0;  // P_k: 線材単価 of its material and diameter
  double windingRpm = 0;    // S_k: 巻線速度, turns a minute
  bool operator==(const WindingCost&) const = default;
};

// The insulating tape between the windings, priced by the layer: one layer
// is one wrap of tape round a winding, a cut piece of the width the winding
// takes, bought as a part. A price by the layer, not by the metre, keeps the
// tape a part like a bobbin or a terminal: the engineer prices a wrap as the
// tape supplier's cut pieces are bought, and the figure is exact from the
// decimal typed.
struct InsulationTape {
  double yenPerLayer = 0;   // 層間テープ単価, 円 a layer
  std::int64_t layers = 0;  // every layer between every two windings of the piece
  bool operator==(const InsulationTape&) const = default;
};

// The layers of tape a stack wraps: those under every winding but the first.
std::int64_t tapeLayersOf(const WindingStack& stack);

// What a winding adds to one piece, for the 見積計算書.
struct WindingShare {
  double materialYen = 0;     // w_k × (1 + L/100) × P_k
  double windingMinutes = 0;  // n_k / S_k
  bool operator==(const WindingShare&) const = default;
};

// A stack priced: each winding's share, the tape's price a piece, and the
// quote of the piece for every lot (its 材料費 the windings' sum, its 加工費
// (Σ n_k / S_k + h + s / Q) / 60 × r, its 部材費 the parts and the tape),
// which the 見積書 lists as one line.
struct StackPrice {
  std::vector<WindingCost> costs;  // what each winding was priced from
  std::vector<WindingShare> windings;
  double tapeYen = 0;
  Quote quote;
  bool operator==(const StackPrice&) const = default;
};

// The price of a piece wound of `windings` under the shared terms: the loss
// rate, handling and setup time, labour rate, parts, overhead, profit and
// lots of `terms` (its 線材単価 and 巻線速度 are the windings' own and not
// used here), and the tape. 単価 is worked out exactly as priceCoil does for
// one coil, and one winding without tape prices exactly as priceCoil. A
// failure is the Japanese sentence of priceCoil, after the winding's name
// when it is a winding's figure (巻線2「二次」: …); a tape price that is not
// a number of 0 or more, or layers below 0, are refused too.
Expected<StackPrice> priceStack(std::span<const WindingCost> windings, const QuotationTerms& terms,
                                const InsulationTape& tape = {});

}  // namespace kelvane::job
