#pragma once

#include <array>
#include <string_view>

namespace kelvane::ledger {

// The ledger's CSV: its heading, and the BOM by which a spreadsheet on
// Japanese Windows reads it as UTF-8.
inline constexpr std::array<std::string_view, 16> kLedgerColumns = {
    "見積番号", "版",   "発行日", "有効期限", "顧客名",   "件名",     "担当者",     "行",
    "品番",     "品名", "数量",   "単価(円)", "金額(円)", "小計(円)", "消費税(円)", "合計(円)"};
inline constexpr std::string_view kLedgerBom = "\xEF\xBB\xBF";

}  // namespace kelvane::ledger
