#pragma once

#include "ui/paper_page.h"
#include "ui/sheet_cost.h"

namespace kelvane::ui {

// The quotation sheet's page of the cost, from `top` down: the terms with
// the letters the formulas name them by, the formulas, then for every lot
// size the breakdown (材料費, 加工費, 部材費, 原価) with 単価 and 金額 and the
// first lot's totals (or why there is no price), and the parts. Everything
// a reader needs to work every figure out again. Gives the y below it.
double costBreakdown(paper::Page& page, double top, const SheetCost& cost);

}  // namespace kelvane::ui
