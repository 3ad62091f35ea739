#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "job/issue_record.h"
#include "ledger/issue_compare.h"

class QTableWidget;

namespace kelvane::ui {

// Two 版 of one quotation side by side: a row per item saying 追加, 削除,
// 変更 or 同じ, its 数量, 単価 and 金額 in both, a changed figure in bold with
// its old value and the difference; then 小計, 消費税 and 合計 the same way.
class IssueCompareDialog : public QDialog {
  Q_OBJECT
 public:
  IssueCompareDialog(const job::IssueRecord& older, const job::IssueRecord& newer,
                     QWidget* parent = nullptr);

  // A figure as a cell shows it: the new value alone when it stayed, else
  // "old → new（+difference）"; `text` writes one value.
  static QString figureText(std::optional<std::int64_t> older, std::optional<std::int64_t> newer,
                            const std::function<std::string(std::int64_t)>& text);
};

}  // namespace kelvane::ui
