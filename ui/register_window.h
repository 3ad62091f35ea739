#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/expected.h"
#include "ledger/register.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace kelvane::job {
struct Job;
}

namespace kelvane::ui {

class IssueView;

// A 発行日 box's day as the register keeps it ("2026-12-09"): typed as
// 2026-12-09, 2026/12/9 or 20261209, in full-width digits too. None when the
// box is empty; refused, naming the box, when the text is no day of the
// calendar.
Expected<std::optional<std::string>> readDayBox(std::string_view box, std::string_view text);

// A 合計 box's amount in whole 円, read as every number box reads
// ("１，２００，０００", "1,200,000円"). None when the box is empty; refused,
// naming the box, for a text that is no such amount.
Expected<std::optional<std::int64_t>> readYenBox(std::string_view box, std::string_view text);

// 見積台帳: every issued 版 in the register, the newest first, found again by
// any of its fields as the user types. An issue opens read-only as it was
// issued (IssueView); two 版 of one quotation are compared side by side.
// Non-modal, over the job window.
class RegisterWindow : public QDialog {
  Q_OBJECT
 public:
  // Takes the job of an issued 版 into the job window: to issue its next 版,
  // or, with newQuotation, as the start of a quotation of its own.
  using JobHandler = std::function<void(const job::Job& job, bool newQuotation)>;
  // Says a failure to the user; a message box unless set otherwise.
  using Messenger = std::function<void(const QString& message)>;

  // The most rows one search shows.
  static constexpr std::size_t kMostRows = 1000;

  // Over a register the caller keeps open while the window lives. `today`
  // ("2026-12-09") tells an expired issue from a valid one.
  RegisterWindow(ledger::Register& book, std::string today, QWidget* parent = nullptr);
  // Over the register at `location`, opened here. When it cannot be opened
  // the window says why once it shows and stays empty.
  RegisterWindow(const std::string& location, std::string today, QWidget* parent = nullptr);
  ~RegisterWindow() override;

  void setJobHandler(JobHandler handler);
  void setMessenger(Messenger messenger);
  // Where 「PDFを保存…」 of an issue writes: the file the user chose, empty
  // when called off. A save dialog unless set otherwise.
  using FileChooser = std::function<QString(const QString& suggestion)>;
  void setFileChooser(FileChooser chooser);
  // Shows a PDF written to a temporary file; QDesktopServices unless set.
  using PdfOpener = std::function<bool(const QString& file)>;
  void setPdfOpener(PdfOpener opener);

  // Runs the search of the boxes now, without waiting for the typing to stop.
  void searchNow();
  // Opens an issue as IssueView shows it; none when it cannot be read (said).
  IssueView* openIssue(const std::string& quotationNumber, int revision);
  // Compares two 版 of one quotation in a dialog (the older first whichever
  // way they are given); a failure to read either is said.
  void compare(const std::string& quotationNumber, int revisionA, int revisionB);

  // How long the search waits after a keystroke before it runs.
  static constexpr int kTypingPauseMs = 250;

 private:
  void build();
  void runSearch();
  void refuse(const std::string& why, QLineEdit* box);
  void updateButtons();
  void openChosen();
  void compareChosen();
  bool eventFilter(QObject* watched, QEvent* event) override;
  void say(const QString& message);

  std::unique_ptr<ledger::Register> owned_;
  ledger::Register* register_ = nullptr;
  std::string today_;
  JobHandler handler_;
  Messenger messenger_;
  FileChooser chooser_;
  PdfOpener opener_;

  QLineEdit* text_ = nullptr;
  QLineEdit* issuedFrom_ = nullptr;
  QLineEdit* issuedTo_ = nullptr;
  QLineEdit* totalFrom_ = nullptr;
  QLineEdit* totalTo_ = nullptr;
  QCheckBox* latestOnly_ = nullptr;
  QLabel* refusal_ = nullptr;
  QLabel* found_ = nullptr;
  QTableWidget* table_ = nullptr;
  QPushButton* open_ = nullptr;
  QPushButton* compare_ = nullptr;
  QTimer* typingPause_ = nullptr;
};

}  // namespace kelvane::ui
