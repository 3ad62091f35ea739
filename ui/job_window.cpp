#include "ui/job_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QHBoxLayout>
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
#include <QTableWidget>
#include <QtConcurrent/QtConcurrentRun>
#include <chrono>

#include "form/boxes.h"
#include "form/control_table.h"
#include "form/form_job.h"
#include "form/out_of_date.h"
#include "job/addressee.h"
#include "job/file_name.h"
#include "job/item_stack.h"
#include "job/money_text.h"
#include "job/output_file.h"
#include "job/quotation_rows.h"
#include "job/quotation_text.h"
#include "job/requirement.h"
#include "job/results_table.h"
#include "ledger/register.h"
#include "ui/company_info.h"
#include "ui/help_window.h"
#include "ui/job_fields_dialog.h"
#include "ui/job_files.h"
#include "ui/message_box_presenter.h"
#include "ui/price_list_dialog.h"
#include "ui/price_list_file.h"
#include "ui/quotation_dialog.h"
#include "ui/quotation_sheet.h"
#include "ui/register_settings_dialog.h"
#include "ui/register_window.h"
#include "ui/requirement_dialog.h"
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

bool askWithYesNo(QWidget* parent, const QString& question) {
  QMessageBox box(QMessageBox::Question, caption(), question, QMessageBox::Yes | QMessageBox::No,
                  parent);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("はい"));
  box.button(QMessageBox::No)->setText(QStringLiteral("いいえ"));
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

QString qt(const std::string& text) { return QString::fromStdString(text); }

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
  askRemoveItem_ = [this](const QString& question) { return askWithYesNo(this, question); };
  askOffRequirement_ = [this](const QString& question) { return askWithYesNo(this, question); };

  auto* central = new QWidget(this);
  auto* row = new QHBoxLayout(central);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  // The windings' bar over the form; the list of items beside them.
  auto* column = new QVBoxLayout;
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  windings_ = new WindingBar(central);
  column->addWidget(windings_);
  formColumn_ = column;
  row->addLayout(column);
  items_ = new ItemList(central);
  items_->setFixedWidth(450);
  row->addWidget(items_);
  setCentralWidget(central);
  connect(items_, &ItemList::chosen, this, [this](int r) { showItem(std::size_t(r)); });
  connect(items_, &ItemList::namesEdited, this,
          [this](int r, const QString& part, const QString& name) {
            setItemNames(std::size_t(r), part.toStdString(), name.toStdString());
          });
  connect(items_, &ItemList::basisLotChosen, this,
          [this](int lot) { setBasisLot(std::size_t(lot)); });
  connect(items_, &ItemList::addRequested, this, [this] { addItem(); });
  connect(items_, &ItemList::duplicateRequested, this, [this] { duplicateItem(); });
  connect(items_, &ItemList::removeRequested, this, [this] { removeItem(); });
  connect(items_, &ItemList::moveRequested, this, [this](int by) { moveItem(by); });
  connect(items_, &ItemList::computeAllRequested, this, [this] { computeAllItems(); });
  connect(items_, &ItemList::requirementRequested, this, &JobWindow::editRequirement);
  connect(windings_, &WindingBar::windingChosen, this,
          [this](int k) { showWinding(std::size_t(k)); });
  connect(windings_, &WindingBar::nameEdited, this,
          [this](const QString& name) { setWindingName(name.toStdString()); });
  connect(windings_, &WindingBar::addRequested, this, [this] { addWinding(); });
  connect(windings_, &WindingBar::removeRequested, this, [this] { removeWinding(); });
  connect(windings_, &WindingBar::boxLeft, this,
          [this](WindingBar::Box box, const QString& text) { takeWindingBox(box, text); });
  connect(windings_, &WindingBar::enterLeft, this, [this](bool) {
    // On from the bar to the form, where the focus last was.
    if (QWidget* w = form_->control(form_->model().state().focus)) w->setFocus(Qt::TabFocusReason);
  });

  installForm(new MainWindow);
  saved_ = currentJob();
  buildMenus();
  // The list's prices ask for the price list, whose damage is said: once
  // the window is up, through the presenter it was given.
  QMetaObject::invokeMethod(this, &JobWindow::refreshItems, Qt::QueuedConnection);
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

void JobWindow::setRemoveItemAsker(RemoveItemAsker asker) { askRemoveItem_ = std::move(asker); }

void JobWindow::setOffRequirementAsker(OffRequirementAsker asker) {
  askOffRequirement_ = std::move(asker);
}

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
  job.items = itemForms_.items(form_->model());
  job.issues = issues_;
  return job;
}

job::Item JobWindow::itemAt(std::size_t index) const {
  return itemForms_.itemAt(index, form_->model());
}

const form::Form1& JobWindow::formOf(std::size_t index) const {
  return itemForms_.formOf(index, form_->model());
}

std::vector<job::ShownCoil> JobWindow::shownCoils() const {
  std::vector<job::ShownCoil> coils;
  coils.reserve(itemCount());
  for (std::size_t i = 0; i < itemCount(); ++i) coils.push_back(form::shownCoil(formOf(i)));
  return coils;
}

QStringList JobWindow::recentFiles() const { return storedRecentFiles().mid(0, kMostRecentFiles); }

void JobWindow::installForm(MainWindow* form) {
  // The window's messages and the form's share one queue, one box at a time.
  form->setMessagePresenter([this](const QString& message) { present(message); });
  if (print_) form->setPrintHandler(print_);
  form->setCalculateOverride({[this] { return job::isStack(item()); }, [this] { pressStack(); }});
  connect(form, &MainWindow::changed, this, [this] {
    const bool solved = keepTargets();
    if (!stackPressing_) windingsFollow(solved);
    updateTitle();
    refreshItems();
    if (pane_) pane_->refresh();
  });
  if (form_) {
    centralWidget()->layout()->replaceWidget(form_, form);
    form_->deleteLater();
  } else {
    formColumn_->addWidget(form);
  }
  form_ = form;
  refreshWindings();
  targetsSeen_ = form->model().state().targetsSolved;
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

  QMenu* items = menuBar()->addMenu(QStringLiteral("品目(&M)"));
  add(items, QStringLiteral("品目を追加(&A)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N),
      &JobWindow::addItem);
  add(items, QStringLiteral("品目を複製(&D)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D),
      &JobWindow::duplicateItem);
  add(items, QStringLiteral("品目を削除(&R)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete),
      &JobWindow::removeItem);
  items->addSeparator();
  QAction* up = items->addAction(QStringLiteral("上へ移動(&U)"));
  up->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up));
  connect(up, &QAction::triggered, this, [this] { moveItem(-1); });
  QAction* down = items->addAction(QStringLiteral("下へ移動(&W)"));
  down->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down));
  connect(down, &QAction::triggered, this, [this] { moveItem(1); });
  QAction* previous = items->addAction(QStringLiteral("前の品目(&P)"));
  previous->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
  connect(previous, &QAction::triggered, this, [this] {
    if (shownItem() > 0) showItem(shownItem() - 1);
  });
  QAction* next = items->addAction(QStringLiteral("次の品目(&N)"));
  next->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown));
  connect(next, &QAction::triggered, this, [this] { showItem(shownItem() + 1); });
  QAction* list = items->addAction(QStringLiteral("品目一覧へ(&L)"));
  list->setShortcut(QKeySequence(Qt::Key_F6));
  connect(list, &QAction::triggered, this, [this] {
    // F6 goes between the form and the list, as between a window's panes.
    if (items_->isAncestorOf(QApplication::focusWidget())) {
      if (QWidget* w = form_->control(form_->model().state().focus))
        w->setFocus(Qt::ShortcutFocusReason);
    } else {
      items_->table()->setFocus(Qt::ShortcutFocusReason);
    }
  });
  items->addSeparator();
  add(items, QStringLiteral("仕様(&S)…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T),
      &JobWindow::editRequirement);
  add(items, QStringLiteral("全品目を計算(&C)"), QKeySequence(Qt::Key_F9),
      &JobWindow::computeAllItems);

  QMenu* quotation = menuBar()->addMenu(QStringLiteral("見積(&Q)"));
  QAction* pane = quotation->addAction(QStringLiteral("見積条件と価格(&P)…"));
  connect(pane, &QAction::triggered, this, [this] { showQuotationPane(); });
  quotation->addSeparator();
  add(quotation, QStringLiteral("見積台帳(&L)…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L),
      &JobWindow::showRegister);
  add(quotation, QStringLiteral("見積台帳の設定(&S)…"), QKeySequence(),
      &JobWindow::editRegisterSettings);

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
    return QDir::home().filePath(QString::fromStdString(
        job::suggestedFileName(currentJob(), suffix.toStdString(), document)));
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
  itemForms_ = form::ItemForms();
  issues_.clear();
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
  takeJob(*job);
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
  if (itemForms_.allCurrent(form_->model())) return true;
  if (askOutOfDate_() != OutOfDateAnswer::PressAndOutput) return false;
  return computeAllItems();
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

std::vector<job::ResultsTable> JobWindow::resultsTables() {
  std::vector<job::ResultsTable> tables;
  const std::string createdAt = now();
  const std::vector<std::optional<StackResult>> stacked = stacks();
  for (std::size_t i = 0; i < itemCount(); ++i) {
    const job::Item item = itemAt(i);
    if (job::isStack(item)) {
      // A table a winding; the price, the whole piece's, under the first.
      const std::vector<form::Form1> windings = itemForms_.formsOf(i, form_->model());
      for (const form::Form1& winding : windings)
        tables.push_back(job::resultsTable(form::shownCoil(winding), fields_, item, createdAt));
      if (const auto terms = outputTerms(i)) {
        job::ResultsTable& first = tables[tables.size() - windings.size()];
        first.quotation = job::stackQuotationRows(
            *terms, job::priceOfStack(item, stacked[i], *terms,
                                      [this] { return Expected<job::PriceList>(priceList()); }));
      }
      continue;
    }
    const job::ShownCoil coil = form::shownCoil(formOf(i));
    tables.push_back(job::resultsTable(coil, fields_, item, createdAt));
    job::addQuotation(tables.back(), coil, outputTerms(i));
  }
  return tables;
}

bool JobWindow::copyResults() {
  if (!resultsReadyForOutput()) return false;
  const std::vector<job::ResultsTable> tables = resultsTables();
  // The tabs for a text editor; the HTML table keeps a spreadsheet's
  // columns, and its numbers as numbers.
  auto* data = new QMimeData;
  data->setText(QString::fromStdString(job::toTabSeparated(tables)));
  data->setHtml(QString::fromStdString(job::toHtml(tables)));
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
  if (!succeeded(saveFile(path, job::toCsv(resultsTables())))) return false;
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
  const std::vector<QuotationContent> content = sheetContent();
  return printDocument(QStringLiteral("見積計算書を印刷"), job::kCostSheetDocument,
                       [&](QPainter& painter, QPagedPaintDevice& pages) {
                         return paintQuotation(painter, pages, content);
                       });
}

bool JobWindow::previewQuotation() {
  if (!resultsReadyForOutput()) return false;
  const std::vector<QuotationContent> content = sheetContent();
  preview_(QStringLiteral("見積計算書"), [&](QPainter& painter, QPagedPaintDevice& pages) {
    return paintQuotation(painter, pages, content);
  });
  return true;
}

bool JobWindow::choosePrinter(QPrinter& printer, const QString& title, std::string_view document) {
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  // The name of the job in the print queue and of a file printed to: one
  // for each document, as the PDF dialogs offer them.
  printer.setDocName(QFileInfo(suggestedPath(QStringLiteral("pdf"), document)).completeBaseName());
  QPrintDialog dialog(&printer, this);
  dialog.setWindowTitle(title);
  return dialog.exec() == QDialog::Accepted;
}

bool JobWindow::printDocument(const QString& title, std::string_view document,
                              const paper::DocumentPainter& paint) {
  QPrinter printer(QPrinter::HighResolution);
  if (!choosePrinter(printer, title, document)) return false;
  QPainter painter;
  if (!painter.begin(&printer)) {
    present(QStringLiteral("印刷を始められません。"));
    return false;
  }
  // A document that could not be painted whole is withdrawn, not printed
  // in part.
  const bool painted = paint(painter, printer);
  if (!painted) printer.abort();
  if (!painter.end() || !painted) {
    present(QStringLiteral("最後まで印刷できません。"));
    return false;
  }
  return true;
}

Expected<job::CoilPrice> JobWindow::priceUnder(const job::QuotationTerms& terms) {
  return priceOfItem(shownItem(), terms);
}

std::optional<job::QuotationTerms> JobWindow::outputTerms(std::size_t index) {
  const job::Item item = itemAt(index);
  const Expected<job::PricingTerms> priced = pricingFor(item, item.coil.material);
  if (!item.terms || !priced) return std::nullopt;
  return priced->terms;
}

std::vector<QuotationContent> JobWindow::sheetContent() {
  std::vector<QuotationContent> sections;
  const std::vector<std::optional<StackResult>> stacked = stacks();
  for (std::size_t i = 0; i < itemCount(); ++i) {
    const job::Item item = itemAt(i);
    if (job::isStack(item)) {
      std::vector<QuotationContent> windings =
          quotationOfStack(itemForms_.formsOf(i, form_->model()), fields_, item, stacked[i]);
      if (const auto terms = outputTerms(i)) {
        windings.front().cost = sheetCostOfStack(
            item, stacked[i], *terms, [this] { return Expected<job::PriceList>(priceList()); });
      }
      for (QuotationContent& section : windings) sections.push_back(std::move(section));
      continue;
    }
    sections.push_back(quotationOf(formOf(i), fields_, item));
    if (const auto terms = outputTerms(i)) sections.back().cost = sheetCostOf(formOf(i), *terms);
  }
  return sections;
}

Expected<job::PricingTerms> JobWindow::pricingFor(const job::Item& item,
                                                  ConductorMaterial material) {
  // The window's list can always be read (a damaged one is said and stood
  // in for), but it may have no price for the item's wire.
  return job::pricingTerms(item.terms, material, job::bareDiameterMm(item.coil),
                           [this] { return Expected<job::PriceList>(priceList()); });
}

Expected<job::QuotationTerms> JobWindow::termsForPricing() {
  const Expected<job::PricingTerms> priced =
      pricingFor(itemAt(shownItem()), form_->model().state().material);
  if (!priced) return priced.failure();
  return priced->terms;
}

PricedCoil JobWindow::pricedCoil() {
  return {[this] { return form_->model().state().resultsCurrent; }, [this] { return press(); },
          [this](const job::QuotationTerms& terms) { return priceUnder(terms); },
          [this] { return form_->model().state().material; },
          [this](ConductorMaterial material) { return pricingFor(itemAt(shownItem()), material); }};
}

QuotationDialog* JobWindow::showQuotationPane() {
  if (!pane_) {
    // A wire the list has no price for: the pane opens on the other terms
    // and says so (its first refresh asks pricingFor again).
    const Expected<job::PricingTerms> priced =
        pricingFor(itemAt(shownItem()), form_->model().state().material);
    auto* pane =
        new QuotationDialog(priced ? *priced
                                   : job::PricingTerms{item().terms.value_or(priceList().defaults),
                                                       job::WirePriceSource::PriceList},
                            pricedCoil(), this);
    pane->setListTerms([this] {
      return job::termsFor(priceList(), form_->model().state().material,
                           job::bareDiameterMm(itemAt(shownItem()).coil));
    });
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
  keepTerms(shownItem(), terms);
  updateTitle();
  refreshItems();
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
  if (list.savedAt.empty()) return;
  // The items priced from another list than the list of now, and the
  // oldest list named.
  std::vector<std::size_t> older;
  std::string since;
  for (std::size_t i = 0; i < itemCount(); ++i) {
    const job::Item& it = itemForms_.item(i);
    if (!it.terms || it.priceListSavedAt.empty() || it.priceListSavedAt == list.savedAt) continue;
    older.push_back(i);
    if (since.empty() || it.priceListSavedAt < since) since = it.priceListSavedAt;
  }
  if (older.empty()) return;
  const QString question =
      QStringLiteral(
          "この案件の見積条件は、以前の単価表（%1 保存）のものです。今の単価表（%2 保存）の"
          "単価と率にしますか？ 数量はそのままです。")
          .arg(QString::fromStdString(since), QString::fromStdString(list.savedAt));
  if (!askNewPrices_(question)) return;
  for (const std::size_t i : older) {
    job::Item& it = itemForms_.item(i);
    Expected<job::QuotationTerms> fresh =
        job::termsFor(list, formOf(i).state().material, job::bareDiameterMm(itemAt(i).coil));
    if (!fresh) continue;  // no price for its wire: its own terms stay
    fresh.value().quantities = it.terms->quantities;
    it.terms = *fresh;
    it.priceListSavedAt = list.savedAt;
  }
  updateTitle();
  refreshItems();
}

void JobWindow::showRegister() {
  if (registerWindow_) {
    registerWindow_->raise();
    registerWindow_->activateWindow();
    return;
  }
  auto* window = new RegisterWindow(registerLocation(registerLocation_).toStdString(),
                                    QDate::currentDate().toString(Qt::ISODate).toStdString(), this);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setJobHandler(
      [this](const job::Job& job, bool newQuotation) { startFromIssue(job, newQuotation); });
  registerWindow_ = window;
  window->show();
}

bool JobWindow::startFromIssue(job::Job job, bool newQuotation) {
  if (!changesMayGo()) return false;
  // A new quotation has its own number (the register's, when first issued)
  // and no history; a new 版 goes on from the one it was made from.
  if (newQuotation) {
    job.fields.quotationNumber.clear();
    job.fields.revision = 0;
    job.fields.issuedOn.clear();
    job.issues.clear();
  }
  closeQuotationPane();
  takeJob(job);
  // Not saved anywhere yet: closing asks.
  path_.clear();
  saved_ = job::Job{};
  updateTitle();
  raise();
  activateWindow();
  return true;
}

void JobWindow::editRegisterSettings() {
  RegisterSettingsDialog dialog(storedRegisterSettings(), this);
  if (dialog.exec() == QDialog::Accepted) storeRegisterSettings(dialog.settings());
}

void JobWindow::editCompanyInfo() {
  CompanyInfoDialog dialog(storedCompanyInfo(), this);
  if (dialog.exec() == QDialog::Accepted) storeCompanyInfo(dialog.company());
}

std::optional<CustomerQuotation> JobWindow::quotationToIssue() {
  if (!resultsReadyForOutput()) return std::nullopt;
  const job::Job job = currentJob();
  Expected<job::RequestQuote> request = job::priceRequest(
      job.items, shownCoils(),
      [this](const job::Item& it) { return pricingFor(it, it.coil.material); }, stacks(),
      [this] { return Expected<job::PriceList>(priceList()); });
  if (!request) {
    present(QString::fromStdString(request.message()));
    return std::nullopt;
  }
  return CustomerQuotation{storedCompanyInfo(), fields_, std::move(request.value()),
                           QDate::currentDate(), QString::fromUtf8(job::programVersion().data())};
}

bool JobWindow::addresseeAgreed() {
  return !job::addresseeOf(fields_.customer, fields_.customerPerson).name.empty() ||
         askNoCustomer_();
}

bool JobWindow::requirementsAgreed() {
  QStringList missed;
  for (std::size_t i = 0; i < itemCount(); ++i) {
    const job::Item it = itemAt(i);
    const job::ShownCoil coil = form::shownCoil(formOf(i));
    for (const std::string& line : job::missedRequirements(it.requirements, coil))
      missed << QStringLiteral("・%1: %2").arg(qt(job::itemLabel(i, it)), qt(line));
  }
  if (missed.isEmpty()) return true;
  return askOffRequirement_(QStringLiteral("次の品目は仕様を満たしていません。\n%1\n"
                                           "このまま見積書を出しますか？")
                                .arg(missed.join(QLatin1Char('\n'))));
}

void JobWindow::keepTerms(std::size_t index, const job::QuotationTerms& terms) {
  keepTerms(index, terms, itemForms_.item(index));
}

void JobWindow::keepTerms(std::size_t index, const job::QuotationTerms& terms, job::Item& it) {
  // Terms as the price list gives them for the item's material (the lot
  // sizes are the item's own) keep the list's time; terms typed otherwise
  // belong to no list.
  Expected<job::QuotationTerms> fromList = job::termsFor(
      priceList(), formOf(index).state().material, job::bareDiameterMm(itemAt(index).coil));
  if (fromList) fromList.value().quantities = terms.quantities;
  if (fromList && terms == *fromList) {
    it.priceListSavedAt = priceList().savedAt;
  } else if (!it.terms || terms != *it.terms) {
    it.priceListSavedAt.clear();
  }
  it.terms = terms;
  if (it.basisLot >= terms.quantities.size()) it.basisLot = 0;
}

job::Job JobWindow::jobAsQuoted() {
  // Every item keeps the terms it was quoted with: the list's when it had
  // none, the list's wire price when its own was for another material.
  job::Job job = currentJob();
  for (std::size_t i = 0; i < job.items.size(); ++i) {
    job::Item& it = job.items[i];
    if (const Expected<job::PricingTerms> quoted = pricingFor(it, it.coil.material);
        quoted && (!it.terms || *it.terms != quoted->terms))
      keepTerms(i, quoted->terms, it);
  }
  return job;
}

std::optional<Issued> JobWindow::issue(
    const Delivery& deliver, const std::function<bool(const CustomerQuotation&)>& prepared) {
  jobStaged_ = false;
  std::optional<CustomerQuotation> quotation = quotationToIssue();
  if (!quotation) return std::nullopt;
  Expected<std::unique_ptr<ledger::Register>> reg =
      openRegister(registerLocation(registerLocation_));
  if (!reg) {
    present(qt(reg.message()) + QStringLiteral("見積書は発行していません。"));
    return std::nullopt;
  }
  Expected<PendingIssue> pending = prepareIssue(**reg, jobAsQuoted(), std::move(*quotation));
  if (!pending) {
    present(qt(pending.message()) + QStringLiteral("見積書は発行していません。"));
    return std::nullopt;
  }
  if (prepared && !prepared(pending->quotation)) return std::nullopt;
  Expected<Issued> done = issueQuotation(**reg, *pending, deliver);
  if (!done) {
    if (!done.cancelled())
      present(qt(done.message()) + QStringLiteral("見積書は発行していません。"));
    return std::nullopt;
  }
  issued(*done);
  return std::move(done.value());
}

QString JobWindow::issuedAnyway(const CustomerQuotation& quotation) {
  return QStringLiteral(
             "見積書は%1として見積台帳に記録しました（見積台帳から PDF を保存できます）。")
      .arg(quotation.fields.quotationNumber.empty()
               ? QStringLiteral("第%1版").arg(quotation.fields.revision)
               : QStringLiteral("%1 第%2版")
                     .arg(qt(quotation.fields.quotationNumber))
                     .arg(quotation.fields.revision));
}

void JobWindow::issued(const Issued& done) {
  for (std::size_t i = 0; i < itemCount(); ++i) {
    const job::Item& quoted = done.job.items[i];
    if (quoted.terms && itemForms_.item(i).terms != quoted.terms) keepTerms(i, *quoted.terms);
  }
  fields_.quotationNumber = done.job.fields.quotationNumber;
  fields_.revision = done.job.fields.revision;
  fields_.issuedOn = done.job.fields.issuedOn;
  issues_ = done.job.issues;
  updateTitle();
  refreshItems();
}

bool JobWindow::exportCustomerQuotation() {
  if (!quotationToIssue() || !requirementsAgreed() || !addresseeAgreed()) return false;
  const QString path = chooseFile_(
      FileKind::CustomerPdf, suggestedPath(QStringLiteral("pdf"), job::kCustomerQuotationDocument));
  return !path.isEmpty() && exportCustomerQuotationTo(path);
}

bool JobWindow::exportCustomerQuotationTo(const QString& path) {
  if (!succeeded(sparesTheJob(path))) return false;
  // The file is written whole before the register takes the issue, and put
  // in its place once it has.
  StagedFiles files;
  const std::optional<Issued> done = issue([&](const CustomerQuotation& numbered,
                                               const QByteArray& pdf, const job::Job& issuedJob) {
    if (Expected<void> staged =
            files.stage(fileOf(path), std::string_view(pdf.constData(), std::size_t(pdf.size())));
        !staged.ok())
      return staged;
    return stageJobFile(files, numbered, issuedJob);
  });
  return done && placeIssued(files, *done);
}

bool JobWindow::printCustomerQuotation() {
  if (!quotationToIssue() || !requirementsAgreed() || !addresseeAgreed()) return false;
  QPrinter printer(QPrinter::HighResolution);
  if (!choosePrinter(printer, QStringLiteral("見積書を印刷"), job::kCustomerQuotationDocument))
    return false;
  // The pages go to the printer inside the register's transaction; a
  // failure there withdraws them.
  QPainter painter;
  StagedFiles files;
  const std::optional<Issued> done = issue([&](const CustomerQuotation& numbered, const QByteArray&,
                                               const job::Job& issuedJob) -> Expected<void> {
    if (Expected<void> staged = stageJobFile(files, numbered, issuedJob); !staged.ok())
      return staged;
    if (!painter.isActive() && !painter.begin(&printer)) return Failure{"印刷を始められません。"};
    if (paintCustomerQuotation(painter, printer, numbered)) return {};
    printer.abort();
    return Failure{"最後まで印刷できません。"};
  });
  if (!done) {
    if (painter.isActive()) {
      printer.abort();
      painter.end();
    }
    return false;
  }
  if (!painter.end()) {
    present(QStringLiteral("最後まで印刷できません。") + issuedAnyway(done->quotation));
    return false;
  }
  return placeIssued(files, *done);
}

bool JobWindow::previewCustomerQuotation() {
  if (!quotationToIssue() || !requirementsAgreed() || !addresseeAgreed()) return false;
  // Printed from the preview, it is issued: as the preview showed it, or
  // not at all when another issue took its number meanwhile.
  std::optional<CustomerQuotation> shown;
  StagedFiles files;
  const std::optional<Issued> done = issue(
      [&](const CustomerQuotation& numbered, const QByteArray&,
          const job::Job& issuedJob) -> Expected<void> {
        if (numbered.fields.quotationNumber != shown->fields.quotationNumber ||
            numbered.fields.revision != shown->fields.revision)
          return Failure{
              "印刷した見積書の見積番号と版は、その間に別の発行で使われました。"
              "もう一度出してください。"};
        return stageJobFile(files, numbered, issuedJob);
      },
      [&](const CustomerQuotation& pending) {
        shown = pending;
        return preview_(QStringLiteral("見積書"), [&](QPainter& painter, QPagedPaintDevice& pages) {
          return paintCustomerQuotation(painter, pages, pending);
        });
      });
  if (done) placeIssued(files, *done);
  return true;
}

Expected<void> JobWindow::stageJobFile(StagedFiles& files, const CustomerQuotation& numbered,
                                       const job::Job& issuedJob) {
  // A job with a file keeps its history there; a copy printed again adds
  // nothing to it.
  if (path_.isEmpty() || numbered.copy == CustomerQuotation::Copy::Reissue) return {};
  jobStaged_ = true;
  return files.stageJob(fileOf(path_), issuedJob);
}

bool JobWindow::placeIssued(StagedFiles& files, const Issued& done) {
  const bool jobStaged = std::exchange(jobStaged_, false);
  if (Expected<void> placed = files.commit(); !placed.ok()) {
    present(qt(placed.message()) + issuedAnyway(done.quotation));
    return false;
  }
  if (jobStaged) markSaved(path_);
  return true;
}

void JobWindow::takeJob(const job::Job& job) {
  fields_ = job.fields;
  issues_ = job.issues;
  itemForms_.take(job.items);
  // The first item opens on the window's own form, its message shown; the
  // others are computed apart and marked when they cannot be.
  if (job::isStack(job.items.front())) {
    form_->showModel(itemForms_.shownState());
    pressStack();
  } else {
    form_->applyCoil(job.items.front().coil);
  }
  targetsSeen_ = form_->model().state().targetsSolved;
  refreshWindings();
  refreshItems();
  updateTitle();
}

void JobWindow::showState(const form::Form1& state, bool paneWasOpen) {
  form_->showModel(state);
  targetsSeen_ = form_->model().state().targetsSolved;
  refreshWindings();
  refreshItems();
  updateTitle();
  if (paneWasOpen) showQuotationPane();
}

bool JobWindow::showItem(std::size_t index) {
  if (index >= itemCount()) return false;
  if (index == shownItem()) return true;
  // The 見積 pane shows the terms of the item shown; it goes with it.
  const bool paneOpen = pane_ != nullptr;
  closeQuotationPane();
  showState(*itemForms_.show(index, form_->model()), paneOpen);
  return true;
}

bool JobWindow::showNewItem(const Expected<const form::Form1*>& state) {
  if (!state) {
    present(qt(state.message()));
    return false;
  }
  const bool paneOpen = pane_ != nullptr;
  closeQuotationPane();
  showState(**state, paneOpen);
  return true;
}

bool JobWindow::addItem() { return showNewItem(itemForms_.add(form_->model())); }

bool JobWindow::duplicateItem() { return showNewItem(itemForms_.duplicate(form_->model())); }

bool JobWindow::removeItem() {
  if (itemCount() < 2) return false;
  const QString question = QStringLiteral("%1を削除しますか？ 削除した品目は元に戻せません。")
                               .arg(qt(job::itemLabel(shownItem(), item())));
  if (!askRemoveItem_(question)) return false;
  closeQuotationPane();
  showState(*itemForms_.remove(), false);
  return true;
}

bool JobWindow::moveItem(int by) {
  if (!itemForms_.move(by, form_->model())) return false;
  refreshItems();
  updateTitle();
  return true;
}

bool JobWindow::computeAllItems() {
  // The item shown is pressed as a person presses it; a refusal shows its
  // own message.
  if (!form_->model().state().resultsCurrent) press();
  const std::vector<std::string> refused = itemForms_.computeOthers(form_->workRunner());
  refreshItems();
  updateTitle();
  QStringList lines;
  for (const std::string& line : refused) lines << qt(line);
  if (!lines.isEmpty()) present(lines.join(QLatin1Char('\n')));
  return itemForms_.allCurrent(form_->model());
}

void JobWindow::setItemNames(std::size_t index, const std::string& partNumber,
                             const std::string& name) {
  if (index >= itemCount()) return;
  itemForms_.item(index).partNumber = partNumber;
  itemForms_.item(index).name = name;
  updateTitle();
}

void JobWindow::setBasisLot(std::size_t lot) {
  item().basisLot = lot;
  updateTitle();
  refreshItems();
}

void JobWindow::editRequirement() {
  RequirementDialog dialog(item().requirements, this);
  if (dialog.exec() == QDialog::Accepted) setRequirements(dialog.requirements());
}

void JobWindow::setRequirements(std::vector<job::Requirement> requirements) {
  item().requirements = std::move(requirements);
  updateTitle();
  refreshItems();
}

bool JobWindow::keepTargets() {
  const form::FormState& s = form_->model().state();
  if (s.targetsSolved == targetsSeen_) return false;
  targetsSeen_ = s.targetsSolved;
  // A requirement is the item's, checked against its own coil: the first
  // winding's.
  if (!s.lastTarget || shownWinding() > 0) return true;
  if (auto requirement =
          job::requirementFromTarget(s.lastTarget->first, s.lastTarget->second, s.units))
    job::keepRequirement(item().requirements, std::move(*requirement));
  return true;
}

ItemRow JobWindow::rowOf(std::size_t index) {
  const job::Item it = itemAt(index);
  ItemRow row{qt(it.partNumber), qt(it.name), {}, {}, {}, {}, {}};
  job::ShownCoil coil = form::shownCoil(formOf(index));
  // An item of several windings is current when all of them are.
  coil.current = itemForms_.current(index, form_->model());
  const std::string_view mark = job::itemMark(it.requirements, coil);
  row.mark = QString::fromUtf8(mark.data(), qsizetype(mark.size()));
  if (!coil.current) {
    row.markTip =
        QStringLiteral("結果が今の入力のものではありません。「全品目を計算」で計算します。");
  } else {
    QStringList why;
    for (const std::string& line : job::missedRequirements(it.requirements, coil)) why << qt(line);
    row.markTip = why.join(QLatin1Char('\n'));
  }
  const Expected<job::PricingTerms> terms = pricingFor(it, it.coil.material);
  if (const Expected<job::CoilPrice> price =
          terms ? priceOfItem(index, terms->terms) : Expected<job::CoilPrice>(terms.failure());
      price && !price->quote.lots.empty()) {
    const auto& lots = price->quote.lots;
    const job::LotPrice& lot = lots[std::min(it.basisLot, lots.size() - 1)];
    row.quantity = qt(job::quantityText(lot.quantity));
    // The column's heading says 円.
    row.unitPrice = qt(job::unitPriceText(lot.unitPriceSen)).remove(QStringLiteral("円"));
    row.amount = qt(job::yenText(lot.amountYen)).remove(QStringLiteral("円"));
  }
  return row;
}

void JobWindow::refreshItems() {
  if (!items_ || !form_) return;
  std::vector<ItemRow> rows;
  rows.reserve(itemCount());
  for (std::size_t i = 0; i < itemCount(); ++i) rows.push_back(rowOf(i));
  items_->setRows(rows, int(shownItem()));
  QStringList lots;
  const Expected<job::PricingTerms> terms =
      pricingFor(itemAt(shownItem()), form_->model().state().material);
  // Without a price for the wire the lots are still the item's or the list's.
  const std::vector<std::int64_t> quantities = terms          ? terms->terms.quantities
                                               : item().terms ? item().terms->quantities
                                                              : priceList().defaults.quantities;
  for (const std::int64_t q : quantities) lots << qt(job::quantityText(q)) + QStringLiteral(" 個");
  items_->setBasisLots(lots, int(std::min<std::size_t>(item().basisLot, lots.size())));

  // The shown item's requirement, each with its result and whether it
  // meets it.
  const job::ShownCoil coil = form::shownCoil(form_->model());
  QStringList lines;
  bool missed = false;
  for (const job::Requirement& requirement : item().requirements) {
    const job::RequirementCheck check = job::checkRequirement(requirement, coil);
    missed = missed || check == job::RequirementCheck::Missed;
    const QString result = qt(job::requiredResultText(requirement, coil));
    lines << QStringLiteral("仕様 %1 → %2")
                 .arg(qt(job::requirementText(requirement)),
                      check == job::RequirementCheck::NotKnown
                          ? QStringLiteral("未計算")
                          : result + (check == job::RequirementCheck::Met
                                          ? QStringLiteral(" 適合")
                                          : QStringLiteral(" 不適合")));
  }
  items_->setRequirement(lines.join(QLatin1Char('\n')), missed);
}

void JobWindow::editFields() {
  JobFieldsDialog dialog(fields_, this);
  // A quotation not numbered yet is offered the register's next number,
  // asked apart so that a server slow to answer never holds the dialog; a
  // register out of reach offers none (issuing says why).
  QFutureWatcher<QString> offer;
  if (fields_.quotationNumber.empty()) {
    dialog.offerNumber({});
    connect(&offer, &QFutureWatcher<QString>::finished, &dialog,
            [&dialog, &offer] { dialog.offerNumber(offer.result()); });
    offer.setFuture(QtConcurrent::run(
        [location = registerLocation(registerLocation_).toStdString(),
         pattern = numberPattern().toStdString(),
         today = QDate::currentDate().toString(Qt::ISODate).toStdString()]() -> QString {
          Expected<std::unique_ptr<ledger::Register>> reg = ledger::Register::open(location);
          if (!reg) return {};
          const Expected<std::string> next = (*reg)->nextNumber(pattern, today);
          return next ? QString::fromStdString(*next) : QString();
        }));
  }
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
