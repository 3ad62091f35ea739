#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ledger/register.h"

class QComboBox;

namespace kelvane::job {
struct Job;
}

namespace kelvane::ui {

// One issued 版 as the customer got it, read-only: its names and dates, each
// item's line, 小計, 消費税 and 合計. Its PDF is saved again or shown as it
// was issued (the register's bytes, never a new rendering); its job starts
// the quotation's next 版 or a new quotation; another 版 of the same number is
// compared with it.
class IssueView : public QDialog {
  Q_OBJECT
 public:
  struct Actions {
    // Takes the issued job (carrying its number and 版) into the job window.
    std::function<void(const job::Job& job, bool newQuotation)> takeJob;
    std::function<void(const QString& message)> say;
    std::function<QString(const QString& suggestion)> chooseFile;  // empty: called off
    std::function<bool(const QString& file)> openPdf;
    // Compares this 版 with another of its number.
    std::function<void(int otherRevision)> compareWith;
  };

  // `otherRevisions`: the quotation's other 版 in the register.
  IssueView(ledger::Register& book, ledger::StoredIssue issue, std::vector<int> otherRevisions,
            Actions actions, QWidget* parent = nullptr);

  const ledger::StoredIssue& issue() const { return issue_; }

  // The buttons' work, also for the keyboard and the tests.
  void savePdf();
  void showPdf();
  void takeJob(bool newQuotation);
  void compareWithChosen();

  // The name 「PDFを保存…」 offers: "Q2026-0001_第2版_見積書.pdf".
  static QString suggestedPdfName(const job::IssueRecord& record);

 private:
  // The issue's PDF from the register, or none (said).
  std::optional<std::string> pdfBytes();

  ledger::Register& register_;
  ledger::StoredIssue issue_;
  Actions actions_;
  QComboBox* otherRevision_ = nullptr;
};

}  // namespace kelvane::ui
