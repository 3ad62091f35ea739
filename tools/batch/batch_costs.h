#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/expected.h"
#include "job/price_list.h"
#include "job/shown_coil.h"
#include "tools/batch/batch_columns.h"

namespace kelvane::batch {

// The 見積条件 a row gives in its own cells; a term it leaves empty, or has
// no column for, is the price list's.
struct RowTerms {
  std::array<std::optional<double>, kTermColumnCount - 1> figures;  // by job::TermFigure
  std::optional<std::vector<std::int64_t>> quantities;              // 数量, one to five lots
  bool any() const;
};

// A cell of the term column `term` (its place in termColumns()) read into
// the row's terms as the 見積 pane reads the box: full-width digits and digit
// groups, and after the number one of the units the box takes ("3,000 円/kg",
// "５ %"). A 数量 cell holds the lot sizes, one to five, apart by "/"
// ("100/1000/5000"; "１００／１０００"). An empty cell leaves the term as it
// was. Refused with the sentence naming the term and quoting the text.
Expected<void> readTermCell(int term, std::string_view cell, RowTerms& into);

// The terms a row's coil is priced with: the list's for the coil's material
// and bare diameter (its wire price among them), with the row's own terms
// over them; or why the list has no wire price for it.
Expected<job::QuotationTerms> rowTerms(const job::PriceList& prices, const job::ShownCoil& coil,
                                       const RowTerms& own);

// The cost columns --prices adds before エラー, three for each lot size of
// the price list in its order: "原価 (100 個) [円]", "単価 (100 個) [円]",
// "金額 (100 個) [円]". `byPosition` when rows give their own lot sizes (a
// 数量 column): four for each of the five lots a row may have, the lot's
// size first, "数量 1 [個]", "原価 1 [円]", "単価 1 [円]", "金額 1 [円]" …
std::vector<std::string> costColumns(const job::PriceList& prices, bool byPosition = false);

// Their cells for a coil after a complete press, priced with `terms`, as
// plain decimals: 原価 to 0.0001 円, 単価 to the sen, 金額 in whole yen;
// by position, the lots the terms lack are empty. The failure says why the
// coil has no price.
Expected<std::vector<std::string>> costCells(const job::ShownCoil& coil,
                                             const job::QuotationTerms& terms,
                                             bool byPosition = false);
// The same cells of a quote worked out already (a stack of windings priced
// as one piece).
std::vector<std::string> quoteCells(const job::Quote& quote, bool byPosition = false);

}  // namespace kelvane::batch
