#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <optional>
#include <string_view>

#include "form/form1.h"
#include "form/item_forms.h"
#include "job/job.h"
#include "job/price_list.h"
#include "job/request_quote.h"
#include "ui/customer_quotation.h"
#include "ui/item_list.h"
#include "ui/main_window.h"
#include "ui/paper_page.h"
#include "ui/quotation_dialog.h"
#include "ui/quotation_issue.h"
#include "ui/quotation_sheet.h"
#include "ui/winding_bar.h"

class QAction;
class QPrinter;
class QMenu;

namespace kelvane::ui {

class HelpWindow;

// The Kelvane window: the form below a menu bar with the list of the job's
// items beside it, and the quotation job it holds — its file, its own
// fields, its items, and whether it has changed since it was last opened or
// saved. The form shows one item at a time; every item keeps its own
// inputs, results and out-of-date state while another is shown.
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
  // Asked before an item or a winding is removed: remove it (true), or not.
  using RemoveItemAsker = std::function<bool(const QString& question)>;
  void setRemoveItemAsker(RemoveItemAsker asker);
  // Asked before a 見積書 is issued with items whose results miss their
  // requirement (the question names them): go on (true), or not.
  using OffRequirementAsker = std::function<bool(const QString& question)>;
  void setOffRequirementAsker(OffRequirementAsker asker);

  MainWindow& form() const { return *form_; }
  const job::JobFields& fields() const { return fields_; }
  // The job's file; empty while it has never been saved.
  const QString& path() const { return path_; }
  // The job as the window holds it now (no version, no time).
  job::Job currentJob() const;
  // The item shown's 見積条件; none until it is priced (a job of an older
  // version, or a new item before its prices were first shown or issued).
  const std::optional<job::QuotationTerms>& terms() const { return item().terms; }
  // The terms an item is priced with: its own, or the price list's for its
  // material while it has none; the list's wire price when its own is for
  // another material or size (job::pricingTerms); or why its wire has no
  // price.
  Expected<job::QuotationTerms> termsForPricing();
  Expected<job::PricingTerms> pricingFor(const job::Item& item, ConductorMaterial material);

  // The items: how many, which one the form shows, the list beside it.
  std::size_t itemCount() const { return itemForms_.count(); }
  std::size_t shownItem() const { return itemForms_.shown(); }
  ItemList& itemList() const { return *items_; }
  // The item as it stands, its coil as its form holds it.
  job::Item itemAt(std::size_t index) const;
  // The form of an item: the window's own for the item shown.
  const form::Form1& formOf(std::size_t index) const;
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
  // Puts a job on the window as opening its file does, asking nothing: its
  // fields and items, the first item shown.
  void takeJob(const job::Job& job);
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
  // records it in the quotation register (見積台帳) with its PDF and gives
  // the job its number (the register's next when it has none), 版 and
  // 発行日: the first issue is 第1版, each later one raises the 版, unless
  // the job has not changed since its number's latest 版, which is printed
  // again as 再発行. Nothing is issued when the register cannot take it. It
  // needs current results and a price.
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
  // 見積台帳: every issue, searched, opened, compared; and its settings.
  void showRegister();
  void editRegisterSettings();
  // A job made from an issue of the register, not saved anywhere yet: a new
  // 版 of its quotation, or a new quotation (no number, no history).
  bool startFromIssue(job::Job job, bool newQuotation);
  void editFields();
  void setFields(const job::JobFields& fields);
  void pickWire();  // 規格線から選ぶ
  // The item commands of the list and the 品目 menu. Each returns whether it
  // was carried out.
  bool showItem(std::size_t index);
  bool addItem();         // a new coil at the end, shown
  bool duplicateItem();   // a copy of the item shown after it: coil, terms, names
  bool removeItem();      // asks first; the last item stays
  bool moveItem(int by);  // the item shown, up (-1) or down (1)
  // The windings of the item shown (the bar above the form): show one, add
  // one over the last (a copy of the shown one's wire, no tape), remove the
  // one shown above the first (asks first), name the one shown. Each returns
  // whether it was carried out.
  WindingBar& windingBar() const { return *windings_; }
  std::size_t shownWinding() const { return itemForms_.shownWinding(); }
  bool showWinding(std::size_t index);
  bool addWinding();
  bool removeWinding();
  void setWindingName(const std::string& name);
  // A box of the bar left with its text: kept, or refused with a message
  // naming the box (false), the focus back in it.
  bool takeWindingBox(WindingBar::Box box, const QString& text);
  // 計算 of the item shown when it has several windings: the whole stack
  // through the window's long-press runner; a failure shows its message and
  // the failing winding. Whether the stack is computed.
  bool pressStack();
  // 全品目を計算: every item whose results are out of date computed; false
  // when one could not be (its message names the item).
  bool computeAllItems();
  void setItemNames(std::size_t index, const std::string& partNumber, const std::string& name);
  void setBasisLot(std::size_t lot);
  // 仕様: the shown item's requirement, its values and tolerances.
  void editRequirement();
  void setRequirements(std::vector<job::Requirement> requirements);
  // The register this window issues into (the command line's --register);
  // empty: the settings', else the environment's or the PC's own.
  void setRegisterLocation(const QString& location) { registerLocation_ = location; }
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
  // Whether every item's results belong to its inputs, after asking and
  // computing the items that are out of date when some are not. A refused
  // press has shown its message.
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
  // The price of the coil shown under the terms, from the results shown.
  Expected<job::CoilPrice> priceUnder(const job::QuotationTerms& terms);
  // An item's terms as the sheet, the clipboard and the CSV price it; none
  // while it has none.
  std::optional<job::QuotationTerms> outputTerms(std::size_t index);
  // The sheet's content: a section for every item, with its cost.
  std::vector<QuotationContent> sheetContent();
  // The results tables of every item, one after another.
  std::vector<job::ResultsTable> resultsTables();
  // The item shown and its parts of the window.
  job::Item& item() { return itemForms_.item(itemForms_.shown()); }
  const job::Item& item() const { return itemForms_.item(itemForms_.shown()); }
  // The coil of every item as its form shows it.
  std::vector<job::ShownCoil> shownCoils() const;
  // The list's rows brought in step with the items.
  void refreshItems();
  ItemRow rowOf(std::size_t index);
  // The state of the item now shown put on the form, and everything that
  // follows the item shown; the 見積 pane opened again when it was.
  void showState(const form::Form1& state, bool paneWasOpen);
  // An item added or copied shown, or why there is none said.
  bool showNewItem(const Expected<const form::Form1*>& state);
  // Requirements from the targets solved on the form since last seen;
  // whether one was.
  bool keepTargets();
  // The windings above the one shown follow what happened on it: pressed
  // again after a target, out of date after an input changed.
  void windingsFollow(bool targetSolved);
  // The winding bar and the former's inherited look brought in step with
  // the item shown.
  void refreshWindings();
  // Every item's stack as last computed (none for an item of one winding or
  // out of date), for the prices.
  std::vector<std::optional<StackResult>> stacks() const;
  // The price of an item from its results under its terms: its stack's
  // when it has several windings, else its coil's.
  Expected<job::CoilPrice> priceOfItem(std::size_t index, const job::QuotationTerms& terms);
  // The customer's quotation as it would be issued now, or none when there
  // is nothing to issue (said in a message).
  std::optional<CustomerQuotation> quotationToIssue();
  // Whether the 見積書 may go out: it names its customer, or the user says
  // it may go without.
  bool addresseeAgreed();
  // Whether the 見積書 may go out with items that miss their requirement.
  bool requirementsAgreed();
  // An item takes terms: their price list's time when they are the list's.
  void keepTerms(std::size_t index, const job::QuotationTerms& terms);
  void keepTerms(std::size_t index, const job::QuotationTerms& terms, job::Item& it);
  // The job as its 見積書 quotes it: every item with the terms it is priced
  // with.
  job::Job jobAsQuoted();
  // Issues the quotation through `deliver` (see issueQuotation): opens the
  // register, prepares the issue, records it. None when it was not issued
  // (said in a message). `prepared` sees the 見積書 as it will print before
  // anything is recorded (false calls it off).
  std::optional<Issued> issue(const Delivery& deliver,
                              const std::function<bool(const CustomerQuotation&)>& prepared = {});
  // The quotation was handed over: the job keeps its terms, number, 版,
  // 発行日 and the issue in its history.
  void issued(const Issued& done);
  // Prints a document through the print dialog; false when called off or
  // when it failed (said in a message).
  bool printDocument(const QString& title, std::string_view document,
                     const paper::DocumentPainter& paint);
  // The print dialog for a document on A4; false when called off.
  bool choosePrinter(QPrinter& printer, const QString& title, std::string_view document);
  // What a message adds when the issue was recorded but its copy failed.
  static QString issuedAnyway(const CustomerQuotation& quotation);
  // The job as issued staged for its file, when it has one.
  Expected<void> stageJobFile(StagedFiles& files, const CustomerQuotation& numbered,
                              const job::Job& issuedJob);
  // The staged files put in place after an issue; the job saved when its
  // file was among them. False when a file could not be placed (said).
  bool placeIssued(StagedFiles& files, const Issued& done);
  // A job just opened whose terms came from an older price list: asks
  // whether to take the list's prices of now.
  void offerNewPrices();
  void closeQuotationPane();

  MainWindow* form_ = nullptr;
  WindingBar* windings_ = nullptr;
  QLayout* formColumn_ = nullptr;
  bool stackPressing_ = false;  // the stack's press is putting its forms on the window
  ItemList* items_ = nullptr;
  job::JobFields fields_;
  // Every item, and the form state of each while another is shown.
  form::ItemForms itemForms_;
  // The targets the shown form had solved when last looked at.
  int targetsSeen_ = 0;
  std::optional<job::PriceList> priceList_;
  // The 版 issued of this job, oldest first (job::Job::issues).
  std::vector<job::IssueRecord> issues_;
  QString registerLocation_;
  bool jobStaged_ = false;  // the issue under way writes the job's file
  QPointer<QDialog> registerWindow_;
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
  RemoveItemAsker askRemoveItem_;
  OffRequirementAsker askOffRequirement_;
  QuotationDialog* pane_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  HelpWindow* help_ = nullptr;
};

}  // namespace kelvane::ui
