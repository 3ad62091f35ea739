#include "ui/register_window.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>

#include "core/number_text.h"
#include "core/typed_number.h"
#include "form/control_table.h"
#include "job/issue.h"
#include "job/money_text.h"
#include "job/quotation_text.h"
#include "ui/business_keys.h"
#include "ui/issue_compare_dialog.h"
#include "ui/issue_view.h"
#include "ui/paper_page.h"

namespace kelvane::ui {

namespace {

using paper::printed;

QString qt(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

std::string bracketed(std::string_view text) { return "「" + std::string(text) + "」"; }

// The table's columns, in order.
enum Column {
  kNumber,
  kRevision,
  kIssuedOn,
  kCustomer,
  kSubject,
  kPersonInCharge,
  kTotal,
  kValidUntil,
  kState,
  kColumns
};

constexpr int kRevisionRole = Qt::UserRole + 1;

// The issue a row shows: its number and 版, kept on its first cell.
struct RowIssue {
  std::string number;
  int revision = 0;
};
RowIssue issueOfRow(const QTableWidget& table, int row) {
  const QTableWidgetItem* first = table.item(row, kNumber);
  return {first->data(Qt::UserRole).toString().toStdString(), first->data(kRevisionRole).toInt()};
}

}  // namespace

Expected<std::optional<std::string>> readDayBox(std::string_view box, std::string_view text) {
  // Full-width digits and "－" as ASCII; "／" and "." are taken as "/".
  std::string plain;
  for (const char c : toHalfWidth(text)) {
    if (c != ' ' && c != '\t') plain += c;
  }
  for (std::size_t at; (at = plain.find("／")) != std::string::npos;) plain.replace(at, 3, "/");
  for (std::size_t at; (at = plain.find("　")) != std::string::npos;) plain.erase(at, 3);
  if (plain.empty()) return std::optional<std::string>{};

  const auto refused = [&] {
    return Failure{bracketed(box) + "を日付として読めません（" + bracketed(visibleText(text)) +
                   "）。2026-12-09 のように入力してください。"};
  };
  std::vector<std::string> parts;
  if (plain.size() == 8 &&
      std::all_of(plain.begin(), plain.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    parts = {plain.substr(0, 4), plain.substr(4, 2), plain.substr(6, 2)};
  } else {
    std::string part;
    for (const char c : plain) {
      if (c == '-' || c == '/' || c == '.') {
        parts.push_back(part);
        part.clear();
      } else if (c >= '0' && c <= '9') {
        part += c;
      } else {
        return refused();
      }
    }
    parts.push_back(part);
  }
  if (parts.size() != 3 || parts[0].size() != 4 || parts[1].empty() || parts[1].size() > 2 ||
      parts[2].empty() || parts[2].size() > 2) {
    return refused();
  }
  const auto two = [](const std::string& digits) {
    return digits.size() == 1 ? "0" + digits : digits;
  };
  const std::string day = parts[0] + "-" + two(parts[1]) + "-" + two(parts[2]);
  // A day of the calendar: 2026-02-30 is none.
  if (job::dayAfter(day, 0) != day) return refused();
  return std::optional<std::string>(day);
}

Expected<std::optional<std::int64_t>> readYenBox(std::string_view box, std::string_view text) {
  if (readTypedNumber(text).blank) return std::optional<std::int64_t>{};
  static constexpr std::string_view kYen[] = {"円"};
  const Expected<double> yen = job::readTermFigure(box, text, kYen);
  if (!yen) return yen.failure();
  // 2^53: every whole number below it is exact in a double, and no total
  // comes near it.
  constexpr double kMost = 9007199254740992.0;
  if (*yen != std::floor(*yen) || *yen > kMost) {
    return Failure{bracketed(box) + "は 0 以上の整数（円）で入力してください。"};
  }
  return std::optional<std::int64_t>(static_cast<std::int64_t>(*yen));
}

RegisterWindow::RegisterWindow(ledger::Register& book, std::string today, QWidget* parent)
    : QDialog(parent), register_(&book), today_(std::move(today)) {
  build();
  runSearch();
}

RegisterWindow::RegisterWindow(const std::string& location, std::string today, QWidget* parent)
    : QDialog(parent), today_(std::move(today)) {
  build();
  Expected<std::unique_ptr<ledger::Register>> opened = ledger::Register::open(location);
  if (opened) {
    owned_ = std::move(opened.value());
    register_ = owned_.get();
    runSearch();
    return;
  }
  // Said once the window shows, so that the box stands over it; the window
  // stays, empty, with nothing to search.
  const QString why = QString::fromStdString(opened.message());
  for (QWidget* w : {static_cast<QWidget*>(text_), static_cast<QWidget*>(issuedFrom_),
                     static_cast<QWidget*>(issuedTo_), static_cast<QWidget*>(totalFrom_),
                     static_cast<QWidget*>(totalTo_), static_cast<QWidget*>(latestOnly_)}) {
    w->setEnabled(false);
  }
  found_->setText(QStringLiteral("台帳を開けません。"));
  QTimer::singleShot(0, this, [this, why] { say(why); });
}

RegisterWindow::~RegisterWindow() = default;

void RegisterWindow::setJobHandler(JobHandler handler) { handler_ = std::move(handler); }
void RegisterWindow::setMessenger(Messenger messenger) { messenger_ = std::move(messenger); }
void RegisterWindow::setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
void RegisterWindow::setPdfOpener(PdfOpener opener) { opener_ = std::move(opener); }

void RegisterWindow::say(const QString& message) {
  if (messenger_) {
    messenger_(message);
    return;
  }
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(form::kFormCaption), message,
                  QMessageBox::Ok, this);
  box.exec();
}

void RegisterWindow::build() {
  setWindowTitle(QStringLiteral("見積台帳"));
  setModal(false);

  const auto box = [this](const QString& name, int width, const QString& hint) {
    auto* b = new QLineEdit(this);
    b->setObjectName(name);
    b->setPlaceholderText(hint);
    if (width > 0) b->setFixedWidth(width);
    return b;
  };
  text_ =
      box(QStringLiteral("text"), 0, QStringLiteral("見積番号・顧客名・件名・担当者・品番・品名"));
  issuedFrom_ = box(QStringLiteral("issuedFrom"), 110, QStringLiteral("年-月-日"));
  issuedTo_ = box(QStringLiteral("issuedTo"), 110, QStringLiteral("年-月-日"));
  totalFrom_ = box(QStringLiteral("totalFrom"), 120, QString());
  totalTo_ = box(QStringLiteral("totalTo"), 120, QString());
  totalFrom_->setAlignment(Qt::AlignRight);
  totalTo_->setAlignment(Qt::AlignRight);
  latestOnly_ = new QCheckBox(QStringLiteral("最新版のみ"), this);
  latestOnly_->setObjectName(QStringLiteral("latestOnly"));

  auto* search = new QGridLayout;
  search->addWidget(new QLabel(QStringLiteral("検索"), this), 0, 0);
  search->addWidget(text_, 0, 1, 1, 5);
  search->addWidget(latestOnly_, 0, 6);
  search->addWidget(new QLabel(QStringLiteral("発行日"), this), 1, 0);
  search->addWidget(issuedFrom_, 1, 1);
  search->addWidget(new QLabel(QStringLiteral("〜"), this), 1, 2);
  search->addWidget(issuedTo_, 1, 3);
  auto* totals = new QHBoxLayout;
  totals->addSpacing(12);
  totals->addWidget(new QLabel(QStringLiteral("合計"), this));
  totals->addWidget(totalFrom_);
  totals->addWidget(new QLabel(QStringLiteral("〜"), this));
  totals->addWidget(totalTo_);
  totals->addWidget(new QLabel(QStringLiteral("円"), this));
  totals->addStretch(1);
  search->addLayout(totals, 1, 4, 1, 3);
  search->setColumnStretch(5, 1);

  refusal_ = new QLabel(this);
  refusal_->setObjectName(QStringLiteral("refusal"));
  refusal_->setStyleSheet(QStringLiteral("color: #c00000;"));
  refusal_->setWordWrap(true);
  refusal_->hide();

  const QStringList columns = {
      QStringLiteral("見積番号"), QStringLiteral("版"),       QStringLiteral("発行日"),
      QStringLiteral("顧客名"),   QStringLiteral("件名"),     QStringLiteral("担当者"),
      QStringLiteral("合計"),     QStringLiteral("有効期限"), QStringLiteral("状態")};
  table_ = new QTableWidget(0, kColumns, this);
  table_->setObjectName(QStringLiteral("issues"));
  table_->setHorizontalHeaderLabels(columns);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setWordWrap(false);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  QHeaderView* header = table_->horizontalHeader();
  header->setSectionResizeMode(QHeaderView::Interactive);
  const int widths[kColumns] = {120, 40, 96, 180, 200, 80, 120, 96, 72};
  for (int c = 0; c < kColumns; ++c) header->resizeSection(c, widths[c]);
  header->setSectionResizeMode(kSubject, QHeaderView::Stretch);
  table_->installEventFilter(this);

  found_ = new QLabel(this);
  found_->setObjectName(QStringLiteral("found"));
  open_ = new QPushButton(QStringLiteral("開く"), this);
  open_->setObjectName(QStringLiteral("open"));
  compare_ = new QPushButton(QStringLiteral("版を比較…"), this);
  compare_->setObjectName(QStringLiteral("compare"));
  auto* close = new QPushButton(QStringLiteral("閉じる"), this);
  close->setObjectName(QStringLiteral("close"));
  // Enter belongs to the boxes and the table, never to a button of the
  // dialog: no button presses itself on Enter.
  for (QPushButton* b : {open_, compare_, close}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
  connect(open_, &QPushButton::clicked, this, &RegisterWindow::openChosen);
  connect(compare_, &QPushButton::clicked, this, &RegisterWindow::compareChosen);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int, int) { openChosen(); });
  connect(table_, &QTableWidget::itemSelectionChanged, this, &RegisterWindow::updateButtons);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(found_, 1);
  bottom->addWidget(open_);
  bottom->addWidget(compare_);
  bottom->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(search);
  layout->addWidget(refusal_);
  layout->addWidget(table_, 1);
  layout->addLayout(bottom);

  // The search runs once the typing pauses, not at every keystroke.
  typingPause_ = new QTimer(this);
  typingPause_->setSingleShot(true);
  typingPause_->setInterval(kTypingPauseMs);
  connect(typingPause_, &QTimer::timeout, this, &RegisterWindow::runSearch);
  QLineEdit* boxes[] = {text_, issuedFrom_, issuedTo_, totalFrom_, totalTo_};
  for (QLineEdit* b : boxes) {
    connect(b, &QLineEdit::textChanged, typingPause_, qOverload<>(&QTimer::start));
  }
  connect(latestOnly_, &QCheckBox::toggled, this, &RegisterWindow::runSearch);

  // Enter moves on from box to box, Shift+Enter back, as in the job window;
  // from the last one it goes to the table, where Enter opens the issue.
  auto* keys = new BusinessKeys(
      [this](bool backwards) {
        typingPause_->stop();
        runSearch();
        focusNextPrevChild(!backwards);
      },
      this);
  for (QLineEdit* b : boxes) b->installEventFilter(keys);
  latestOnly_->installEventFilter(keys);
  setTabOrder(text_, latestOnly_);
  setTabOrder(latestOnly_, issuedFrom_);
  setTabOrder(issuedFrom_, issuedTo_);
  setTabOrder(issuedTo_, totalFrom_);
  setTabOrder(totalFrom_, totalTo_);
  setTabOrder(totalTo_, table_);

  updateButtons();
  resize(1180, 560);
}

bool RegisterWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == table_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      openChosen();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void RegisterWindow::searchNow() {
  typingPause_->stop();
  runSearch();
}

void RegisterWindow::refuse(const std::string& why, QLineEdit* box) {
  refusal_->setText(QString::fromStdString(why));
  refusal_->show();
  box->setStyleSheet(QStringLiteral("background: #fff0f0;"));
}

void RegisterWindow::runSearch() {
  if (!register_) return;
  for (QLineEdit* b : {issuedFrom_, issuedTo_, totalFrom_, totalTo_}) b->setStyleSheet({});
  refusal_->hide();

  ledger::IssueQuery query;
  // Blanks around the text, the ideographic space too, ask nothing.
  query.text = text_->text().trimmed().toStdString();
  query.latestOnly = latestOnly_->isChecked();
  // One more than is shown, to know that more were found.
  query.limit = kMostRows + 1;
  // A box that cannot be read stops the search: the table keeps what the
  // last search found, and the box says why.
  const auto day = [&](QLineEdit* box, const char* name, std::string& into) {
    Expected<std::optional<std::string>> read = readDayBox(name, box->text().toStdString());
    if (!read) {
      refuse(read.message(), box);
      return false;
    }
    into = read->value_or("");
    return true;
  };
  const auto yen = [&](QLineEdit* box, const char* name, std::optional<std::int64_t>& into) {
    Expected<std::optional<std::int64_t>> read = readYenBox(name, box->text().toStdString());
    if (!read) {
      refuse(read.message(), box);
      return false;
    }
    into = *read;
    return true;
  };
  if (!day(issuedFrom_, "発行日（から）", query.issuedFrom) ||
      !day(issuedTo_, "発行日（まで）", query.issuedTo) ||
      !yen(totalFrom_, "合計（から）", query.totalFromYen) ||
      !yen(totalTo_, "合計（まで）", query.totalToYen)) {
    return;
  }

  Expected<std::vector<ledger::IssueSummary>> found = register_->search(query);
  if (!found) {
    refusal_->setText(QString::fromStdString(found.message()));
    refusal_->show();
    return;
  }
  std::vector<ledger::IssueSummary>& issues = found.value();
  const bool cut = issues.size() > kMostRows;
  if (cut) issues.resize(kMostRows);

  table_->setUpdatesEnabled(false);
  table_->clearSelection();
  table_->setRowCount(int(issues.size()));
  const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
  const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
  const Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignVCenter;
  for (int row = 0; row < int(issues.size()); ++row) {
    const ledger::IssueSummary& s = issues[std::size_t(row)];
    // An issue is valid to the end of its 有効期限, expired from the day after.
    const bool expired = !s.validUntil.empty() && s.validUntil < today_;
    const QString state = s.validUntil.empty() ? QString()
                          : expired            ? QStringLiteral("期限切れ")
                                               : QStringLiteral("有効");
    const QString texts[kColumns] = {printed(s.quotationNumber),
                                     QString::number(s.revision),
                                     qt(s.issuedOn),
                                     printed(s.customer),
                                     printed(s.subject),
                                     printed(s.personInCharge),
                                     qt(job::yenText(s.totalYen)),
                                     qt(s.validUntil),
                                     state};
    const Qt::Alignment alignments[kColumns] = {left, right, centre, left,  left,
                                                left, right, centre, centre};
    for (int c = 0; c < kColumns; ++c) {
      auto* item = new QTableWidgetItem(texts[c]);
      item->setTextAlignment(alignments[c]);
      if (expired && c == kState) item->setForeground(QColor(0xc0, 0x00, 0x00));
      table_->setItem(row, c, item);
    }
    table_->item(row, kNumber)->setData(Qt::UserRole, QString::fromStdString(s.quotationNumber));
    table_->item(row, kNumber)->setData(kRevisionRole, s.revision);
  }
  table_->setUpdatesEnabled(true);

  const QString count = qt(groupThousands(std::to_string(issues.size())));
  found_->setText(cut ? QStringLiteral("%1 件まで表示しています").arg(count)
                      : QStringLiteral("%1 件").arg(count));
  // The newest issue found is the one chosen, for 開く and Enter.
  if (!issues.empty()) table_->selectRow(0);
  updateButtons();
}

void RegisterWindow::updateButtons() {
  std::set<int> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows())
    rows.insert(index.row());
  open_->setEnabled(rows.size() == 1);
  bool comparable = false;
  if (rows.size() == 2) {
    const RowIssue a = issueOfRow(*table_, *rows.begin());
    const RowIssue b = issueOfRow(*table_, *rows.rbegin());
    comparable = a.number == b.number && a.revision != b.revision;
  }
  compare_->setEnabled(comparable);
}

void RegisterWindow::openChosen() {
  int row = table_->currentRow();
  const QModelIndexList selected = table_->selectionModel()->selectedRows();
  if (selected.size() == 1) row = selected.front().row();
  if (row < 0 || row >= table_->rowCount()) return;
  const RowIssue issue = issueOfRow(*table_, row);
  openIssue(issue.number, issue.revision);
}

void RegisterWindow::compareChosen() {
  const QModelIndexList selected = table_->selectionModel()->selectedRows();
  if (selected.size() != 2) return;
  const RowIssue a = issueOfRow(*table_, selected[0].row());
  const RowIssue b = issueOfRow(*table_, selected[1].row());
  if (a.number != b.number || a.revision == b.revision) return;
  compare(a.number, a.revision, b.revision);
}

IssueView* RegisterWindow::openIssue(const std::string& quotationNumber, int revision) {
  if (!register_) return nullptr;
  Expected<ledger::StoredIssue> issue = register_->issue(quotationNumber, revision);
  if (!issue) {
    say(QString::fromStdString(issue.message()));
    return nullptr;
  }
  // The quotation's other 版, to compare with.
  std::vector<int> others;
  ledger::IssueQuery query;
  query.quotationNumber = quotationNumber;
  // Every issue whose number holds this one; the exact ones are kept.
  query.limit = std::numeric_limits<std::size_t>::max();
  if (Expected<std::vector<ledger::IssueSummary>> all = register_->search(query)) {
    for (const ledger::IssueSummary& s : *all) {
      if (s.quotationNumber == quotationNumber && s.revision != revision) {
        others.push_back(s.revision);
      }
    }
  }

  IssueView::Actions actions;
  actions.takeJob = [this](const job::Job& job, bool newQuotation) {
    if (handler_) handler_(job, newQuotation);
  };
  actions.say = [this](const QString& message) { say(message); };
  actions.chooseFile = [this](const QString& suggestion) {
    if (chooser_) return chooser_(suggestion);
    QFileDialog dialog(this, QStringLiteral("見積書をPDFに出力"), QString(),
                       QStringLiteral("PDF (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(suggestion);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
  };
  actions.openPdf = [this](const QString& file) {
    if (opener_) return opener_(file);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
  };
  actions.compareWith = [this, quotationNumber, revision](int other) {
    compare(quotationNumber, revision, other);
  };
  auto* view = new IssueView(*register_, std::move(issue.value()), std::move(others),
                             std::move(actions), this);
  view->setAttribute(Qt::WA_DeleteOnClose);
  view->show();
  return view;
}

void RegisterWindow::compare(const std::string& quotationNumber, int revisionA, int revisionB) {
  if (!register_) return;
  const int older = std::min(revisionA, revisionB);
  const int newer = std::max(revisionA, revisionB);
  Expected<ledger::StoredIssue> was = register_->issue(quotationNumber, older);
  if (!was) return say(QString::fromStdString(was.message()));
  Expected<ledger::StoredIssue> now = register_->issue(quotationNumber, newer);
  if (!now) return say(QString::fromStdString(now.message()));
  auto* dialog = new IssueCompareDialog(was->record, now->record, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setObjectName(QStringLiteral("comparison"));
  dialog->show();
}

}  // namespace kelvane::ui
