#include "ui/job_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <chrono>

#include "form/boxes.h"
#include "form/control_table.h"
#include "form/form_job.h"
#include "form/out_of_date.h"
#include "job/addressee.h"
#include "job/file_name.h"
#include "job/output_file.h"
#include "job/quotation_rows.h"
#include "job/quotation_text.h"
#include "job/results_table.h"
#include "ui/company_info.h"
#include "ui/help_window.h"
#include "ui/job_fields_dialog.h"
#include "ui/job_files.h"
#include "ui/message_box_presenter.h"
#include "ui/price_list_dialog.h"
#include "ui/price_list_file.h"
#include "ui/quotation_dialog.h"
#include "ui/quotation_sheet.h"
#include "ui/wire_picker_dialog.h"

namespace kelvane::ui {
namespace {

const QString kRecentFilesKey = QStringLiteral("recentFiles");

QString caption() { return QString::fromUtf8(form::kFormCaption); }

// The recent files live in the user's settings of the program.
QStringList storedRecentFiles() {
  const QSettings settings(QStringLiteral("kelvane"), QStringLiteral("kelvane"));
  return settings.value(kRecentFilesKey).toStringList();
}

void storeRecentFiles(const QStringList& files) {
  QSettings settings(QStringLiteral("kelvane"), QStringLiteral("kelvane"));
  settings.setValue(kRecentFilesKey, files);
}

JobWindow::DiscardAnswer askWithMessageBox(QWidget* parent, const QString& jobName) {
  QMessageBox box(QMessageBox::Warning, caption(),
                  QStringLiteral("「%1」の変更を保存しますか？").arg(jobName),
                  QMessageBox::NoButton, parent);
  box.setInformativeText(QStringLiteral("保存しないと、変更は失われます。"));
  QPushButton* save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(QStringLiteral("保存しない"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == save) return JobWindow::DiscardAnswer::Save;
  if (box.clickedButton() == discard) return JobWindow::DiscardAnswer::Discard;
  return JobWindow::DiscardAnswer::Cancel;
}

JobWindow::OutOfDateAnswer askOutOfDateWithMessageBox(QWidget* parent) {
  QMessageBox box(QMessageBox::Question, caption(), JobWindow::outOfDateQuestion(),
                  QMessageBox::NoButton, parent);
  QPushButton* press = box.addButton(
      QString::fromUtf8(form::kPressAndOutput.data(), qsizetype(form::kPressAndOutput.size())),
      QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
  box.setDefaultButton(press);
  box.setEscapeButton(cancel);
  box.exec();
  return box.clickedButton() == press ? JobWindow::OutOfDateAnswer::PressAndOutput
                                      : JobWindow::OutOfDateAnswer::Cancel;
}

// The time an output is made, as its 作成日時 gives it.
std::string now() { return job::localMinute(std::chrono::system_clock::now()); }

QString chooseWithDialog(QWidget* parent, JobWindow::FileKind kind, const QString& suggestion) {
  using Kind = JobWindow::FileKind;
  const QString jobs = QStringLiteral("Kelvane の案件 (*.kelvane)");
  if (kind == Kind::OpenJob) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("開く"), suggestion,
                                        jobs + QStringLiteral(";;すべてのファイル (*)"));
  }
  struct Saving {
    QString title, filter, suffix;
  };
  const Saving saving =
      kind == Kind::SaveJob ? Saving{QStringLiteral("名前を付けて保存"), jobs, "kelvane"}
      : kind == Kind::Pdf ? Saving{QStringLiteral("見積計算書をPDFに出力"), "PDF (*.pdf)", "pdf"}
      : kind == Kind::CustomerPdf
          ? Saving{QStringLiteral("見積書をPDFに出力"), "PDF (*.pdf)", "pdf"}
          : Saving{QStringLiteral("CSVに書き出し"), "CSV (*.csv)", "csv"};
  QFileDialog dialog(parent, saving.title, QString(), saving.filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(saving.suffix);
  dialog.selectFile(suggestion);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

bool previewWithDialog(QWidget* parent, const QString& title, const paper::DocumentPainter& paint) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setFullPage(true);
  QPrintPreviewDialog dialog(&printer, parent);
  dialog.setWindowTitle(title + QStringLiteral(" - 印刷プレビュー"));
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* device) {
    QPainter painter;
    if (painter.begin(device)) {
      paint(painter, *device);
      painter.end();
    }
  });
  // The dialog is accepted when its pages went to the printer.
  return dialog.exec() == QDialog::Accepted;
}

bool askNewPricesWithMessageBox(QWidget* parent, const QString& question) {
  QMessageBox box(QMessageBox::Question, caption(), question, QMessageBox::NoButton, parent);
  QPushButton* take = box.addButton(QStringLiteral("今の単価表にする"), QMessageBox::AcceptRole);
  QPushButton* keep = box.addButton(QStringLiteral("このまま"), QMessageBox::RejectRole);
  box.setDefaultButton(keep);
  box.setEscapeButton(keep);
  box.exec();
  return box.clickedButton() == take;
}

bool askNoCustomerWithMessageBox(QWidget* parent) {
  QMessageBox box(QMessageBox::Question, caption(), JobWindow::noCustomerQuestion(),
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("はい"));
  box.button(QMessageBox::No)->setText(QStringLiteral("いいえ"));
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

// The local day, as 発行日 keeps it: "2026-12-08".
std::string today() { return QDate::currentDate().toString(Qt::ISODate).toStdString(); }

}  // namespace

JobWindow::JobWindow(QWidget* parent) : QMainWindow(parent) {
  auto* messages = new MessageBoxPresenter(this);
  presentMessage_ = [messages](const QString& message) { messages->post(message); };
  askDiscard_ = [this](const QString& name) { return askWithMessageBox(this, name); };
  askOutOfDate_ = [this] { return askOutOfDateWithMessageBox(this); };
  chooseFile_ = [this](FileKind kind, const QString& suggestion) {
    return chooseWithDialog(this, kind, suggestion);
  };
  preview_ = [this](const QString& title, const paper::DocumentPainter& paint) {
    return previewWithDialog(this, title, paint);
  };
  askNewPrices_ = [this](const QString& question) {
    return askNewPricesWithMessageBox(this, question);
  };
  askNoCustomer_ = [this] { return askNoCustomerWithMessageBox(this); };

  installForm(new MainWindow);
  saved_ = currentJob();
  buildMenus();
  // The form keeps its size; the window is the form and the menu bar above.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  updateTitle();
}

JobWindow::~JobWindow() = default;

void JobWindow::setMessagePresenter(MainWindow::MessagePresenter presenter) {
  presentMessage_ = std::move(presenter);
}

void JobWindow::setPrintHandler(MainWindow::PrintHandler handler) {
  print_ = std::move(handler);
  form_->setPrintHandler(print_);
}

void JobWindow::setDiscardAsker(DiscardAsker asker) { askDiscard_ = std::move(asker); }

void JobWindow::setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }

void JobWindow::setOutOfDateAsker(OutOfDateAsker asker) { askOutOfDate_ = std::move(asker); }

void JobWindow::setPreviewRunner(PreviewRunner runner) { preview_ = std::move(runner); }

void JobWindow::setNewPricesAsker(NewPricesAsker asker) { askNewPrices_ = std::move(asker); }

void JobWindow::setNoCustomerAsker(NoCustomerAsker asker) { askNoCustomer_ = std::move(asker); }

QString JobWindow::noCustomerQuestion() {
  return QStringLiteral("案件情報に顧客名がありません。宛名のない見積書を出しますか？");
}

QString JobWindow::outOfDateQuestion() {
  return QString::fromUtf8(form::kOutOfDateQuestion.data(),
                           qsizetype(form::kOutOfDateQuestion.size()));
}

job::Job JobWindow::currentJob() const {
  job::Job job;
  job.fields = fields_;
  job.terms = terms_;
  job.priceListSavedAt = priceListSavedAt_;
  return form::jobToSave(form_->model(), std::move(job));
}

QStringList JobWindow::recentFiles() const { return storedRecentFiles().mid(0, kMostRecentFiles); }

void JobWindow::installForm(MainWindow* form) {
  // The window's messages and the form's share one queue, one box at a time.
  form->setMessagePresenter([this](const QString& message) { present(message); });
  if (print_) form->setPrintHandler(print_);
  connect(form, &MainWindow::changed, this, &JobWindow::updateTitle);
  connect(form, &MainWindow::changed, this, [this] {
    if (pane_) pane_->refresh();
  });
  form_ = form;
  setCentralWidget(form);
  if (QWidget* w = form->control(form->model().state().focus)) w->setFocus(Qt::OtherFocusReason);
}

void JobWindow::buildMenus() {
  auto add = [this](QMenu* menu, const QString& text, const QKeySequence& keys, auto command) {
    QAction* action = menu->addAction(text);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, [this, command] { (this->*command)(); });
    return action;
  };

  QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
  add(file, QStringLiteral("新規(&N)"), QKeySequence(Qt::CTRL | Qt::Key_N), &JobWindow::newJob);
  add(file, QStringLiteral("開く(&O)…"), QKeySequence(Qt::CTRL | Qt::Key_O), &JobWindow::openJob);
  add(file, QStringLiteral("上書き保存(&S)"), QKeySequence(Qt::CTRL | Qt::Key_S), &JobWindow::save);
  add(file, QStringLiteral("名前を付けて保存(&A)…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
      &JobWindow::saveAs);
  recentMenu_ = file->addMenu(QStringLiteral("最近使ったファイル(&R)"));
  fillRecentMenu();
  file->addSeparator();
  add(file, QStringLiteral("見積書を印刷(&P)…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
      &JobWindow::printCustomerQuotation);
  add(file, QStringLiteral("見積書をPDFに出力(&D)…"), QKeySequence(),
      &JobWindow::exportCustomerQuotation);
  add(file, QStringLiteral("見積書の印刷プレビュー(&V)…"), QKeySequence(),
      &JobWindow::previewCustomerQuotation);
  file->addSeparator();
  add(file, QStringLiteral("見積計算書を印刷(&K)…"), QKeySequence(Qt::CTRL | Qt::Key_P),
      &JobWindow::printQuotation);
  add(file, QStringLiteral("見積計算書をPDFに出力(&F)…"), QKeySequence(), &JobWindow::exportPdf);
  add(file, QStringLiteral("見積計算書の印刷プレビュー(&W)…"), QKeySequence(),
      &JobWindow::previewQuotation);
  file->addSeparator();
  QAction* quit = file->addAction(QStringLiteral("終了(&X)"));
  quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  connect(quit, &QAction::triggered, this, &QWidget::close);

  QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
  add(edit, QStringLiteral("結果をコピー(&C)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
      &JobWindow::copyResults);
  add(edit, QStringLiteral("CSVに書き出し(&V)…"), QKeySequence(), &JobWindow::exportCsv);
  edit->addSeparator();
  add(edit, QStringLiteral("案件情報(&I)…"), QKeySequence(), &JobWindow::editFields);
  add(edit, QStringLiteral("単価表(&T)…"), QKeySequence(), &JobWindow::editPriceList);
  add(edit, QStringLiteral("会社情報(&O)…"), QKeySequence(), &JobWindow::editCompanyInfo);
  add(edit, QStringLiteral("規格線から選ぶ(&W)…"), QKeySequence(Qt::CTRL | Qt::Key_L),
      &JobWindow::pickWire);

  QMenu* quotation = menuBar()->addMenu(QStringLiteral("見積(&Q)"));
  QAction* pane = quotation->addAction(QStringLiteral("見積条件と価格(&P)…"));
  connect(pane, &QAction::triggered, this, [this] { showQuotationPane(); });

  QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
  add(help, QStringLiteral("使い方(&U)"), QKeySequence(Qt::Key_F1), &JobWindow::showHelp);
  add(help, QStringLiteral("バージョン情報(&A)"), QKeySequence(), &JobWindow::showAbout);
}

void JobWindow::fillRecentMenu() {
  recentMenu_->clear();
  const QStringList files = recentFiles();
  for (int i = 0; i < files.size(); ++i) {
    QString name = QFileInfo(files[i]).fileName();
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* action = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
    action->setToolTip(files[i]);
    action->setStatusTip(files[i]);
    connect(action, &QAction::triggered, this, [this, path = files[i]] { openFile(path); });
  }
  recentMenu_->setEnabled(!files.isEmpty());
}

void JobWindow::rememberFile(const QString& path) {
  QStringList files = recentFiles();
  files.removeAll(path);
  files.prepend(path);
  storeRecentFiles(files.mid(0, kMostRecentFiles));
  fillRecentMenu();
}

QString JobWindow::jobName() const {
  return path_.isEmpty() ? QStringLiteral("無題") : QFileInfo(path_).fileName();
}

void JobWindow::updateTitle() {
  // "[*]" in a file's name is no marker of Qt's: doubled, it shows as written.
  QString name = jobName();
  name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
  setWindowTitle(QStringLiteral("%1[*] - %2").arg(name, caption()));
  setWindowModified(currentJob() != saved_);
}

void JobWindow::present(const QString& message) { presentMessage_(message); }

void JobWindow::markSaved(const QString& path) {
  path_ = path;
  saved_ = currentJob();
  rememberFile(path);
  updateTitle();
}

bool JobWindow::changesMayGo() {
  if (currentJob() == saved_) return true;
  switch (askDiscard_(jobName())) {
    case DiscardAnswer::Save:
      return save();
    case DiscardAnswer::Discard:
      return true;
    case DiscardAnswer::Cancel:
      return false;
  }
  return false;
}

QString JobWindow::suggestedPath(const QString& suffix, std::string_view document) const {
  if (path_.isEmpty()) {
    return QDir::home().filePath(
        QString::fromStdString(job::suggestedFileName(fields_, suffix.toStdString(), document)));
  }
  const QFileInfo file(path_);
  const QString stem =
      QString::fromStdString(job::documentStem(file.completeBaseName().toStdString(), document));
  return file.dir().filePath(stem + QLatin1Char('.') + suffix);
}

bool JobWindow::newJob() {
  if (!changesMayGo()) return false;
  closeQuotationPane();
  installForm(new MainWindow);
  fields_ = {};
  terms_.reset();
  priceListSavedAt_.clear();
  lastIssue_.reset();
  path_.clear();
  saved_ = currentJob();
  updateTitle();
  return true;
}

bool JobWindow::openJob() {
  const QString start = path_.isEmpty() ? QDir::homePath() : QFileInfo(path_).absolutePath();
  const QString path = chooseFile_(FileKind::OpenJob, start);
  return !path.isEmpty() && openFile(path);
}

bool JobWindow::openFile(const QString& path) {
  // A file that is no job changes nothing, and asks nothing.
  const Expected<job::Job> job = readJobFile(path);
  if (!job) {
    present(QString::fromStdString(job.message()));
    return false;
  }
  if (!changesMayGo()) return false;
  closeQuotationPane();
  fields_ = job->fields;
  terms_ = job->terms;
  priceListSavedAt_ = job->priceListSavedAt;
  lastIssue_.reset();
  form_->applyJob(*job);
  markSaved(QFileInfo(path).absoluteFilePath());
  offerNewPrices();
  return true;
}

bool JobWindow::save() { return path_.isEmpty() ? saveAs() : saveTo(path_); }

bool JobWindow::saveAs() {
  const QString path = chooseFile_(FileKind::SaveJob, suggestedPath(QStringLiteral("kelvane")));
  return !path.isEmpty() && saveTo(path);
}

bool JobWindow::saveTo(const QString& path) {
  if (!succeeded(saveJobFile(path, currentJob()))) return false;
  markSaved(QFileInfo(path).absoluteFilePath());
  return true;
}

bool JobWindow::resultsReadyForOutput() {
  if (form_->model().state().resultsCurrent) return true;
  if (askOutOfDate_() != OutOfDateAnswer::PressAndOutput) return false;
  return press();
}

bool JobWindow::press() {
  // 計算 pressed as a person presses it: the box that had the focus is left
  // first, its rule runs, then the press.
  auto* button = qobject_cast<QAbstractButton*>(form_->control(form::calculateButton()));
  button->setFocus(Qt::OtherFocusReason);
  button->click();
  // A refused or cancelled press leaves the results out of date; the
  // refusal has shown its message.
  return form_->model().state().resultsCurrent;
}

bool JobWindow::copyResults() {
  if (!resultsReadyForOutput()) return false;
  const job::ShownCoil coil = form::shownCoil(form_->model());
  job::ResultsTable table = job::resultsTable(coil, fields_, now());
  job::addQuotation(table, coil, outputTerms());
  // The tabs for a text editor; the HTML table keeps a spreadsheet's
  // columns, and its numbers as numbers.
  auto* data = new QMimeData;
  data->setText(QString::fromStdString(job::toTabSeparated(table)));
  data->setHtml(QString::fromStdString(job::toHtml(table)));
  QGuiApplication::clipboard()->setMimeData(data);
  return true;
}

bool JobWindow::exportCsv() {
  if (!resultsReadyForOutput()) return false;
  const QString path = chooseFile_(FileKind::Csv, suggestedPath(QStringLiteral("csv")));
  return !path.isEmpty() && exportCsvTo(path);
}

Expected<void> JobWindow::sparesTheJob(const QString& path) const {
  if (path_.isEmpty() || !job::sameFile(fileOf(path), fileOf(path_))) return {};
  return Failure{"「" + QFileInfo(path).fileName().toStdString() +
                 "」は開いている案件ファイルです。書き出しには別の名前を選んでください。"};
}

bool JobWindow::succeeded(const Expected<void>& done) {
  if (!done.ok()) present(QString::fromStdString(done.message()));
  return done.ok();
}

bool JobWindow::exportCsvTo(const QString& path) {
  if (!succeeded(sparesTheJob(path))) return false;
  if (!resultsReadyForOutput()) return false;
  const job::ShownCoil coil = form::shownCoil(form_->model());
  job::ResultsTable table = job::resultsTable(coil, fields_, now());
  job::addQuotation(table, coil, outputTerms());
  if (!succeeded(saveFile(path, job::toCsv(table)))) return false;
  return true;
}

bool JobWindow::exportPdf() {
  if (!resultsReadyForOutput()) return false;
  const QString path =
      chooseFile_(FileKind::Pdf, suggestedPath(QStringLiteral("pdf"), job::kCostSheetDocument));
  return !path.isEmpty() && exportPdfTo(path);
}

bool JobWindow::exportPdfTo(const QString& path) {
  if (!succeeded(sparesTheJob(path))) return false;
  if (!resultsReadyForOutput()) return false;
  if (!succeeded(writeQuotationPdf(path, sheetContent()))) return false;
  return true;
}

bool JobWindow::printQuotation() {
  // Only a sheet of current results is printed; the sheet's out-of-date
  // mark is never reached from here.
  if (!resultsReadyForOutput()) return false;
  const QuotationContent content = sheetContent();
  return printDocument(QStringLiteral("見積計算書を印刷"), job::kCostSheetDocument,
                       [&](QPainter& painter, QPagedPaintDevice& pages) {
                         return paintQuotation(painter, pages, content);
                       });
}

bool JobWindow::previewQuotation() {
  if (!resultsReadyForOutput()) return false;
  const QuotationContent content = sheetContent();
  preview_(QStringLiteral("見積計算書"), [&](QPainter& painter, QPagedPaintDevice& pages) {
    return paintQuotation(painter, pages, content);
  });
  return true;
}

bool JobWindow::printDocument(const QString& title, std::string_view document,
                              const paper::DocumentPainter& paint) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  // The name of the job in the print queue and of a file printed to: one
  // for each document, as the PDF dialogs offer them.
  printer.setDocName(QFileInfo(suggestedPath(QStringLiteral("pdf"), document)).completeBaseName());
  QPrintDialog dialog(&printer, this);
  dialog.setWindowTitle(title);
  if (dialog.exec() != QDialog::Accepted) return false;
  QPainter painter;
  if (!painter.begin(&printer)) {
    present(QStringLiteral("印刷を始められません。"));
    return false;
  }
  const bool painted = paint(painter, printer);
  if (!painter.end() || !painted) {
    present(QStringLiteral("最後まで印刷できません。"));
    return false;
  }
  return true;
}

Expected<job::CoilPrice> JobWindow::priceUnder(const job::QuotationTerms& terms) const {
  return job::priceOfCoil(form::shownCoil(form_->model()), terms);
}

std::optional<job::QuotationTerms> JobWindow::outputTerms() {
  if (!terms_) return std::nullopt;
  return termsForPricing();
}

QuotationContent JobWindow::sheetContent() {
  QuotationContent content = quotationOf(form_->model(), fields_);
  if (const auto terms = outputTerms()) content.cost = sheetCostOf(form_->model(), *terms);
  return content;
}

job::PricingTerms JobWindow::pricingFor(ConductorMaterial material) {
  // The window's list never fails: a damaged one is said and stood in for.
  return job::pricingTerms(terms_, material,
                           [this] { return Expected<job::PriceList>(priceList()); })
      .value();
}

job::QuotationTerms JobWindow::termsForPricing() { return pricingFor(currentJob().material).terms; }

PricedCoil JobWindow::pricedCoil() {
  return {[this] { return form_->model().state().resultsCurrent; }, [this] { return press(); },
          [this](const job::QuotationTerms& terms) { return priceUnder(terms); },
          [this] { return currentJob().material; },
          [this](ConductorMaterial material) { return pricingFor(material); }};
}

QuotationDialog* JobWindow::showQuotationPane() {
  if (!pane_) {
    auto* pane = new QuotationDialog(pricingFor(currentJob().material), pricedCoil(), this);
    pane->setListTerms([this] { return job::termsFor(priceList(), currentJob().material); });
    connect(pane, &QDialog::accepted, this, [this, pane] { setTerms(pane->terms()); });
    // Taken or called off, the pane goes: the next one shows the job's terms.
    connect(pane, &QDialog::finished, this, [this, pane] {
      if (pane_ == pane) pane_ = nullptr;
      pane->deleteLater();
    });
    pane_ = pane;
  }
  pane_->show();
  pane_->raise();
  pane_->activateWindow();
  return pane_;
}

void JobWindow::closeQuotationPane() {
  if (pane_) pane_->reject();
}

void JobWindow::setTerms(const job::QuotationTerms& terms) {
  // Terms as the price list gives them for the job's material (the lot
  // sizes are the job's own) keep the list's time; terms typed otherwise
  // belong to no list.
  job::QuotationTerms fromList = job::termsFor(priceList(), currentJob().material);
  fromList.quantities = terms.quantities;
  if (terms == fromList) {
    priceListSavedAt_ = priceList().savedAt;
  } else if (!terms_ || terms != *terms_) {
    priceListSavedAt_.clear();
  }
  terms_ = terms;
  updateTitle();
}

const job::PriceList& JobWindow::priceList() {
  if (!priceList_) {
    Expected<job::PriceList> list = readUserPriceList();
    if (list) {
      priceList_ = std::move(list.value());
    } else {
      priceList_ = job::builtInPriceList();
      present(QString::fromStdString(list.message()) +
              QStringLiteral("組み込みの単価を使います。"));
    }
  }
  return *priceList_;
}

void JobWindow::editPriceList() {
  PriceListDialog dialog(priceList(), this);
  if (dialog.exec() == QDialog::Accepted) setPriceList(dialog.list());
}

void JobWindow::setPriceList(const job::PriceList& list) {
  Expected<job::PriceList> saved = saveUserPriceList(list);
  if (!saved) {
    present(QString::fromStdString(saved.message()));
    return;
  }
  priceList_ = std::move(saved.value());
}

void JobWindow::offerNewPrices() {
  const job::PriceList& list = priceList();
  if (!terms_ || priceListSavedAt_.empty() || list.savedAt.empty() ||
      priceListSavedAt_ == list.savedAt)
    return;
  const QString question =
      QStringLiteral(
          "この案件の見積条件は、以前の単価表（%1 保存）のものです。今の単価表（%2 保存）の"
          "単価と率にしますか？ 数量はそのままです。")
          .arg(QString::fromStdString(priceListSavedAt_), QString::fromStdString(list.savedAt));
  if (!askNewPrices_(question)) return;
  job::QuotationTerms fresh = job::termsFor(list, currentJob().material);
  fresh.quantities = terms_->quantities;
  setTerms(fresh);
}

void JobWindow::editCompanyInfo() {
  CompanyInfoDialog dialog(storedCompanyInfo(), this);
  if (dialog.exec() == QDialog::Accepted) storeCompanyInfo(dialog.company());
}

std::optional<CustomerQuotation> JobWindow::quotationToIssue() {
  if (!resultsReadyForOutput()) return std::nullopt;
  const job::QuotationTerms terms = termsForPricing();
  const Expected<job::CoilPrice> price = priceUnder(terms);
  if (!price) {
    present(QString::fromStdString(price.message()));
    return std::nullopt;
  }
  CustomerQuotation quotation{storedCompanyInfo(), fields_, price->quote, QDate::currentDate(),
                              QString::fromUtf8(job::programVersion().data())};
  // The same job issued again by this window keeps its 版 and its day.
  const bool reissue = lastIssue_ && *lastIssue_ == currentJob();
  if (reissue) {
    quotation.issuedOn = QDate::fromString(QString::fromStdString(fields_.issuedOn), Qt::ISODate);
  } else {
    quotation.fields.revision = fields_.revision + 1;
    quotation.fields.issuedOn = today();
  }
  return quotation;
}

bool JobWindow::addresseeAgreed() {
  return !job::addresseeOf(fields_.customer, fields_.customerPerson).name.empty() ||
         askNoCustomer_();
}

void JobWindow::issued(const CustomerQuotation& quotation) {
  // The job keeps the terms it was quoted with: the list's when it had none,
  // the list's wire price when its own was for another material.
  if (const job::QuotationTerms quoted = termsForPricing(); !terms_ || *terms_ != quoted)
    setTerms(quoted);
  fields_.revision = quotation.fields.revision;
  fields_.issuedOn = quotation.fields.issuedOn;
  lastIssue_ = currentJob();
  updateTitle();
}

bool JobWindow::exportCustomerQuotation() {
  if (!quotationToIssue() || !addresseeAgreed()) return false;
  const QString path = chooseFile_(
      FileKind::CustomerPdf, suggestedPath(QStringLiteral("pdf"), job::kCustomerQuotationDocument));
  return !path.isEmpty() && exportCustomerQuotationTo(path);
}

bool JobWindow::exportCustomerQuotationTo(const QString& path) {
  if (!succeeded(sparesTheJob(path))) return false;
  const std::optional<CustomerQuotation> quotation = quotationToIssue();
  if (!quotation) return false;
  if (!succeeded(writeCustomerQuotationPdf(path, *quotation))) return false;
  issued(*quotation);
  return true;
}

bool JobWindow::printCustomerQuotation() {
  const std::optional<CustomerQuotation> quotation = quotationToIssue();
  if (!quotation || !addresseeAgreed()) return false;
  if (!printDocument(QStringLiteral("見積書を印刷"), job::kCustomerQuotationDocument,
                     [&](QPainter& painter, QPagedPaintDevice& pages) {
                       return paintCustomerQuotation(painter, pages, *quotation);
                     }))
    return false;
  issued(*quotation);
  return true;
}

bool JobWindow::previewCustomerQuotation() {
  const std::optional<CustomerQuotation> quotation = quotationToIssue();
  if (!quotation || !addresseeAgreed()) return false;
  // Printed from the preview, it is issued.
  if (preview_(QStringLiteral("見積書"), [&](QPainter& painter, QPagedPaintDevice& pages) {
        return paintCustomerQuotation(painter, pages, *quotation);
      }))
    issued(*quotation);
  return true;
}

void JobWindow::editFields() {
  JobFieldsDialog dialog(fields_, this);
  if (dialog.exec() == QDialog::Accepted) setFields(dialog.fields());
}

void JobWindow::setFields(const job::JobFields& fields) {
  fields_ = fields;
  updateTitle();
}

void JobWindow::pickWire() {
  const auto& tables = wiredata::standardWireTables();
  if (!tables || tables->empty()) {
    present(QString::fromStdString(tables ? "規格線の表がありません。" : tables.message()));
    return;
  }
  WirePickerDialog dialog(*tables, this);
  if (dialog.exec() != QDialog::Accepted) return;
  if (const auto choice = dialog.choice()) form_->applyWireChoice(*choice);
}

void JobWindow::showHelp() {
  if (!help_) help_ = new HelpWindow(this);
  help_->show();
  help_->raise();
  help_->activateWindow();
}

void JobWindow::showAbout() {
  QMessageBox::about(this, QStringLiteral("バージョン情報"), aboutText());
}

void JobWindow::closeEvent(QCloseEvent* event) {
  if (changesMayGo()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace kelvane::ui
