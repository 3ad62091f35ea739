#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/expected.h"
#include "job/coil_price.h"
#include "job/results_table.h"
#include "job/stack_price.h"

namespace kelvane::job {

// The figures of a quotation as every output writes them, "," between
// groups of three: whole yen and pieces ("1,305,100"), sen as yen with two
// decimals ("149.30"), and a figure of the breakdown to 0.0001 円
// ("60.8333"), enough to redo 単価 from 原価 by hand. None is negative.
std::string wholeText(std::int64_t n);
std::string senText(std::int64_t sen);
std::string breakdownText(double yen);

// The rows the clipboard and CSV add below the results, each value under
// Max: 見積条件 (every term with its unit, a row for each part), then the
// coil's 線材重量 and 巻き数, then for each lot 数量, 材料費, 加工費, 部材費,
// 原価, 単価 and 金額, then 小計, 消費税 and 合計 of the first lot. When the
// coil cannot be priced, the terms and then one row giving why.
std::vector<TableRow> quotationRows(const QuotationTerms& terms, const Expected<CoilPrice>& price);
// The same for a piece of several windings: after the terms, each
// winding's wire (予測), turns, wire price and speed, and the tape's price a
// piece, then the lots.
std::vector<TableRow> stackQuotationRows(const QuotationTerms& terms,
                                         const Expected<StackPrice>& price);

// The table's quotation for the coil priced with the job's terms;
// nothing for a job without terms.
void addQuotation(ResultsTable& table, const ShownCoil& coil,
                  const std::optional<QuotationTerms>& terms);

}  // namespace kelvane::job
