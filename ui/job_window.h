#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <optional>
#include <string_view>

#include "job/job.h"
#include "job/price_list.h"
#include "ui/customer_quotation.h"
#include "ui/main_window.h"
#include "ui/paper_page.h"
#include "ui/quotation_dialog.h"
#include "ui/quotation_sheet.h"

class QAction;
class QMenu;

namespace kelvane::ui {

class HelpWindow;

// The Kelvane window: the form below a menu bar, and the quotation job it
// holds — its file, its own fields, and whether it has changed since it was
// last opened or saved.
class JobWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit JobWindow(QWidget* parent = nullptr);
  ~JobWindow() override;

  // What shows a message, the form's and the window's own (a file that could
  // not be opened or saved); by default a message box.
  void setMessagePresenter(MainWindow::MessagePresenter presenter);
  // What F12 does (MainWindow::setPrintHandler).
  void setPrintHandler(MainWindow::PrintHandler handler);
  // Asked before unsaved changes would be lost (新規, 開く, closing).
  enum class DiscardAnswer { Save, Discard, Cancel };
  using DiscardAsker = std::function<DiscardAnswer(const QString& jobName)>;
  void setDiscardAsker(DiscardAsker asker);
  // Asked before results that do not belong to the inputs as they stand
  // would leave the program (copied, exported or printed): press 計算 first
  // and output only what that press gives, or leave it.
  enum class OutOfDateAnswer { PressAndOutput, Cancel };
  using OutOfDateAsker = std::function<OutOfDateAnswer()>;
  void setOutOfDateAsker(OutOfDateAsker asker);
  static QString outOfDateQuestion();
  // Asks for a file; an empty text when the user called it off.
  enum class FileKind { OpenJob, SaveJob, Pdf, CustomerPdf, Csv };
  using FileChooser = std::function<QString(FileKind kind, const QString& suggestion)>;
  void setFileChooser(FileChooser chooser);
  // Shows a document in the print preview; true when the user printed it
  // from there.
  using PreviewRunner =
      std::function<bool(const QString& title, const paper::DocumentPainter& paint)>;
  void setPreviewRunner(PreviewRunner runner);
  // Asked when a job opened was priced from another price list than the
  // user's list of now: take the new list's prices (true), or keep the
  // job's.
  using NewPricesAsker = std::function<bool(const QString& question)>;
  void setNewPricesAsker(NewPricesAsker asker);
  // Asked before a 見積書 that names no customer is printed, exported or
  // previewed for printing: go on (true), or not (the default, いいえ).
  using NoCustomerAsker = std::function<bool()>;
  void setNoCustomerAsker(NoCustomerAsker asker);
  static QString noCustomerQuestion();

  MainWindow& form() const { return *form_; }
  const job::JobFields& fields() const { return fields_; }
  // The job's file; empty while it has never been saved.
  const QString& path() const { return path_; }
  // The job as the window holds it now (no version, no time).
  job::Job currentJob() const;
  // The job's 見積条件; none until it is priced (a job of an older version,
  // or a new one before its prices were first shown or issued).
  const std::optional<job::QuotationTerms>& terms() const { return terms_; }
  // The terms the job is priced with: its own, or the price list's for its
  // material while it has none; the list's wire price when its own is for
  // another material (job::pricingTerms).
  job::QuotationTerms termsForPricing();
  job::PricingTerms pricingFor(ConductorMaterial material);
  // The user's price list, read when first needed: a damaged file is said
  // once, and the built-in list stands in for it.
  const job::PriceList& priceList();
  // The job files opened or saved lately, newest first.
  QStringList recentFiles() const;
  static constexpr int kMostRecentFiles = 8;

  // The menu's commands. Each returns whether it was carried out: false when
  // the user called it off or it failed (and said why). The outputs (copy,
  // CSV, PDF, print) never carry results that are out of date: they ask
  // first, and go on only after a complete press of 計算.
  bool newJob();
  bool openJob();  // asks for the file
  bool openFile(const QString& path);
  bool save();
  bool saveAs();
  bool saveTo(const QString& path);
  bool copyResults();
  bool exportCsv();
  bool exportCsvTo(const QString& path);
  bool exportPdf();
  bool exportPdfTo(const QString& path);
  bool printQuotation();
  bool previewQuotation();
  // The customer's quotation (見積書). Issuing it, on paper or as a PDF,
  // gives it its 版 and 発行日: the first issue is 第1版, each later one
  // raises the 版, unless the job has not changed since this window last
  // issued it. It needs current results and a price.
  bool exportCustomerQuotation();
  bool exportCustomerQuotationTo(const QString& path);
  bool printCustomerQuotation();
  bool previewCustomerQuotation();
  // 見積: the pane beside the form, opened once and raised after.
  QuotationDialog* showQuotationPane();
  void setTerms(const job::QuotationTerms& terms);
  void editPriceList();
  void setPriceList(const job::PriceList& list);
  void editCompanyInfo();
  void editFields();
  void setFields(const job::JobFields& fields);
  void pickWire();  // 規格線から選ぶ
  void showHelp();
  void showAbout();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void fillRecentMenu();
  void installForm(MainWindow* form);
  void updateTitle();
  void rememberFile(const QString& path);
  // Whatever unsaved changes there are were saved or may be dropped.
  bool changesMayGo();
  // The job as saved or opened is what the window holds now.
  void markSaved(const QString& path);
  QString jobName() const;
  // Beside the job's file with its name; for a job never saved, in the home
  // folder, named from 見積番号 and 品番 (job::suggestedFileName).
  // Beside the job's file, or in the home folder under the job's fields; a
  // document of the job with its name after the stem (…_見積書.pdf).
  QString suggestedPath(const QString& suffix, std::string_view document = {}) const;
  // Whether the results belong to the inputs, after asking and pressing 計算
  // when they do not. A refused press has shown its message.
  bool resultsReadyForOutput();
  // Refuses an export that would replace the job file this window has open.
  Expected<void> sparesTheJob(const QString& path) const;
  void present(const QString& message);
  // Whether it was done; a failure's message is presented.
  bool succeeded(const Expected<void>& done);
  // Presses 計算 as a person would; whether the results are current then.
  bool press();
  // The coil as the 見積 pane prices it, through this window's form.
  PricedCoil pricedCoil();
  // The price of the coil under the terms, from the results shown.
  Expected<job::CoilPrice> priceUnder(const job::QuotationTerms& terms) const;
  // The job's terms as the sheet, the clipboard and the CSV price it; none
  // while it has none.
  std::optional<job::QuotationTerms> outputTerms();
  // The sheet's content with the job's cost.
  QuotationContent sheetContent();
  // The customer's quotation as it would be issued now, or none when there
  // is nothing to issue (said in a message).
  std::optional<CustomerQuotation> quotationToIssue();
  // Whether the 見積書 may go out: it names its customer, or the user says
  // it may go without.
  bool addresseeAgreed();
  // The quotation was handed over: the job keeps its 版, 発行日 and terms.
  void issued(const CustomerQuotation& quotation);
  // Prints a document through the print dialog; false when called off or
  // when it failed (said in a message).
  bool printDocument(const QString& title, std::string_view document,
                     const paper::DocumentPainter& paint);
  // A job just opened whose terms came from an older price list: asks
  // whether to take the list's prices of now.
  void offerNewPrices();
  void closeQuotationPane();

  MainWindow* form_ = nullptr;
  job::JobFields fields_;
  std::optional<job::QuotationTerms> terms_;
  std::string priceListSavedAt_;
  std::optional<job::PriceList> priceList_;
  // The job as this window last issued its customer's quotation.
  std::optional<job::Job> lastIssue_;
  QString path_;
  job::Job saved_;  // what the file holds, as currentJob() gives it
  MainWindow::MessagePresenter presentMessage_;
  MainWindow::PrintHandler print_;
  DiscardAsker askDiscard_;
  OutOfDateAsker askOutOfDate_;
  FileChooser chooseFile_;
  PreviewRunner preview_;
  NewPricesAsker askNewPrices_;
  NoCustomerAsker askNoCustomer_;
  QuotationDialog* pane_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  HelpWindow* help_ = nullptr;
};

}  // namespace kelvane::ui
