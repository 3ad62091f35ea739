#pragma once

// An item of several windings: its windings as the stack the core winds,
// and its price from that stack.

#include <functional>
#include <string>

#include "core/expected.h"
#include "core/winding_stack.h"
#include "job/coil_price.h"
#include "job/job.h"
#include "job/price_list.h"
#include "job/stack_price.h"

namespace kelvane::job {

// Whether the item is wound of more than one winding.
inline bool isStack(const Item& item) { return !item.upperWindings.empty(); }

// A winding above the first as a window shows it: its own texts, the
// item's former shape, and in the former's boxes the sizes it inherits,
// written as the window writes a number it works out.
TypedCoil onInheritedFormer(TypedCoil coil, const Former& former);

// The item's windings read as 計算 reads them: the item's former and the
// first winding's coil from its own boxes; every winding above from its
// boxes but the former's, and the tape under it. Or the first text that
// cannot be read, after its winding's name (巻線2「二次」: …): an input, the
// tape's thickness (mm, 0 or more) or its layers (a whole number, 0 to
// kMostInsulationLayers), or more than kMostWindings windings. A coil
// without a former has no stack.
Expected<WindingStack> stackOf(const Item& item);

// The tape under a winding read from its texts; `winding` names the
// winding in the refusal.
Expected<Insulation> readInsulation(const TypedInsulation& typed, const std::string& winding);

// The windings of an item as the stack holds them, the first from the item's
// own coil: the item with `stack`'s windings typed back as their texts are
// kept (the coil texts and the tape as they were; only the turns written,
// for a target's turns). `stack` is the item's, computed from stackOf.
Item withStackTurns(Item item, const WindingStack& stack);

// The price of a computed stack: the first winding's wire at the price of
// `first` and wound at its speed; every winding above at its own typed
// price, or the list's for its material and bare diameter, and at its own
// speed or the first's; handling, setup, parts, overhead, profit and lots
// of `first` once for the piece; and the tape at the item's price a layer.
// `list` is asked only when a winding needs its price. A failure names the
// winding whose price cannot be found (巻線2「二次」: …).
Expected<StackPrice> priceItemStack(const Item& item, const WindingStack& stack,
                                    const StackResult& result, const QuotationTerms& first,
                                    const std::function<Expected<PriceList>()>& list);

// The price of an item's stack as its windings were last computed (none
// when their results are not all current: refused as a coil without a
// current press is), with `first` the item's terms (for its first winding's
// material), the price list asked as priceItemStack asks it.
Expected<StackPrice> priceOfStack(const Item& item, const std::optional<StackResult>& result,
                                  const QuotationTerms& first,
                                  const std::function<Expected<PriceList>()>& list);

// The same as the price of one coil, for the tables and lists that show a
// coil's w and n: the stack's quote, the wire (予測) and the turns of every
// winding.
Expected<CoilPrice> coilPriceOfStack(const Item& item, const std::optional<StackResult>& result,
                                     const QuotationTerms& first,
                                     const std::function<Expected<PriceList>()>& list);

}  // namespace kelvane::job
