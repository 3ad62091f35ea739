// 見積台帳: the issues of a register found again as the user types, a box
// that cannot be read refused by name, an issue opened as it was issued, its
// PDF saved byte for byte, its job handed on, and two 版 compared.
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "job/job_json.h"
#include "ledger/register.h"
#include "ui/application_setup.h"
#include "ui/issue_compare_dialog.h"
#include "ui/issue_view.h"
#include "ui/register_window.h"

using kelvane::job::IssuedLine;
using kelvane::job::IssueRecord;
using kelvane::ledger::Register;
using kelvane::ui::IssueView;
using kelvane::ui::RegisterWindow;

namespace {

constexpr const char* kToday = "2026-12-09";

// The PDF the register keeps for an issue: bytes no text handling would
// leave alone (a NUL, a CR LF, bytes that are no UTF-8).
std::string pdfOf(const IssueRecord& r) {
  return std::string("%PDF-1.4\r\n\0\xff\xfe ", 12) + r.quotationNumber + " 第" +
         std::to_string(r.revision) + "版\n%%EOF\n";
}

struct Issued {
  const char* number;
  const char* issuedOn;
  const char* validUntil;
  const char* customer;
  const char* subject;
  const char* person;
  IssuedLine line;
};

// Four issues of three quotations, Q2026-0001 twice.
const Issued kIssues[] = {
    {"Q2026-0001",
     "2026-10-01",
     "2026-10-31",
     "東和電機",
     "チョークコイル",
     "佐藤",
     {"A-100", "コイルA", 100, 12000, 12000}},
    {"Q2026-0001",
     "2026-11-15",
     "2026-12-15",
     "東和電機",
     "チョークコイル",
     "佐藤",
     {"A-100", "コイルA", 120, 11000, 13200}},
    {"Q2026-0002",
     "2026-12-01",
     "2026-12-08",
     "北辰工業",
     "トランス",
     "鈴木",
     {"B-200", "トランスB", 10, 500000, 50000}},
    {"Q2026-0003",
     "2026-12-09",
     "2026-12-09",
     "東和電機",
     "リアクトル",
     "鈴木",
     {"C-300", "リアクトルC", 1000, 109091, 1090910}},
};

IssueRecord recordOf(const Issued& i) {
  IssueRecord r;
  r.quotationNumber = i.number;
  r.issuedOn = i.issuedOn;
  r.validUntil = i.validUntil;
  r.customer = i.customer;
  r.subject = i.subject;
  r.personInCharge = i.person;
  r.lines = {i.line};
  r.subtotalYen = i.line.amountYen;
  r.taxYen = r.subtotalYen / 10;
  r.totalYen = r.subtotalYen + r.taxYen;
  return r;
}

// The job as it was issued: its fields as the customer read them.
std::string jobTextOf(const IssueRecord& r) {
  kelvane::job::Job job;
  job.fields.customer = r.customer;
  job.fields.subject = r.subject;
  job.fields.personInCharge = r.personInCharge;
  job.fields.quotationNumber = r.quotationNumber;
  return kelvane::job::writeJob(job);
}

// What the table shows, row by row: "Q2026-0001/2".
QStringList shownIssues(const QTableWidget& table) {
  QStringList rows;
  for (int r = 0; r < table.rowCount(); ++r) {
    rows << table.item(r, 0)->text() + "/" + table.item(r, 1)->text();
  }
  return rows;
}

int rowOf(const QTableWidget& table, const QString& issue) {
  return int(shownIssues(table).indexOf(issue));
}

}  // namespace

class RegisterWindowTest : public QObject {
  Q_OBJECT

  QTemporaryDir folder_;
  std::unique_ptr<Register> register_;
  std::unique_ptr<RegisterWindow> window_;
  QStringList said_;
  std::optional<std::pair<kelvane::job::Job, bool>> taken_;
  QString chosenFile_;
  QString openedPdf_;

  template <typename T>
  T* child(const char* name) {
    T* found = window_->findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no %s", name);
    return found;
  }
  QTableWidget& table() { return *child<QTableWidget>("issues"); }

  // Types into a box as a person does, replacing what it held.
  void type(const char* box, const QString& text) {
    auto* b = child<QLineEdit>(box);
    b->clear();
    b->setFocus();
    // Japanese comes as an input method commits it; QTest types ASCII only.
    QString ascii;
    for (const QChar c : text) {
      if (c.unicode() < 0x80) {
        ascii += c;
        continue;
      }
      QTest::keyClicks(b, ascii);
      ascii.clear();
      QInputMethodEvent commit;
      commit.setCommitString(c);
      QApplication::sendEvent(b, &commit);
    }
    QTest::keyClicks(b, ascii);
  }
  void clearBoxes() {
    for (const char* box : {"text", "issuedFrom", "issuedTo", "totalFrom", "totalTo"}) {
      child<QLineEdit>(box)->clear();
    }
    child<QCheckBox>("latestOnly")->setChecked(false);
    window_->searchNow();
  }

  void openWindow(std::unique_ptr<RegisterWindow> window) {
    window_ = std::move(window);
    window_->setMessenger([this](const QString& m) { said_ << m; });
    window_->setJobHandler([this](const kelvane::job::Job& job, bool newQuotation) {
      taken_.emplace(job, newQuotation);
    });
    window_->setFileChooser([this](const QString&) { return chosenFile_; });
    window_->setPdfOpener([this](const QString& file) {
      openedPdf_ = file;
      return true;
    });
    window_->show();
  }

  IssueView* openedView(const QString& issue, bool doubleClick = false) {
    QTableWidget& t = table();
    const int row = rowOf(t, issue);
    if (row < 0) return nullptr;
    t.selectRow(row);
    if (doubleClick) {
      // A double click as the mouse makes it: a click, then the second
      // press (QTest's double click alone has no first press).
      const QPoint at = t.visualItemRect(t.item(row, 0)).center();
      QTest::mouseClick(t.viewport(), Qt::LeftButton, {}, at);
      QTest::mouseDClick(t.viewport(), Qt::LeftButton, {}, at);
    } else {
      QTest::mouseClick(child<QPushButton>("open"), Qt::LeftButton);
    }
    const auto views = window_->findChildren<IssueView*>();
    for (IssueView* v : views) {
      if (v->isVisible() &&
          v->issue().record.quotationNumber + "/" + std::to_string(v->issue().record.revision) ==
              issue.toStdString()) {
        return v;
      }
    }
    return nullptr;
  }

 private slots:
  void initTestCase() {
    QVERIFY(folder_.isValid());
    auto opened = Register::open(folder_.filePath("register.sqlite3").toStdString());
    QVERIFY2(opened, opened ? "" : opened.message().c_str());
    register_ = std::move(opened.value());
    for (const Issued& i : kIssues) {
      const IssueRecord r = recordOf(i);
      auto recorded =
          register_->record({r, jobTextOf(r), "Q{yyyy}-{nnnn}"}, [](const IssueRecord& numbered) {
            return kelvane::Expected<std::string>(pdfOf(numbered));
          });
      QVERIFY2(recorded, recorded ? "" : recorded.message().c_str());
    }
    openWindow(std::make_unique<RegisterWindow>(*register_, kToday));
  }

  void init() {
    said_.clear();
    taken_.reset();
    clearBoxes();
  }

  void shows_every_issue_newest_first_and_which_expired() {
    QCOMPARE(shownIssues(table()),
             QStringList({"Q2026-0003/1", "Q2026-0002/1", "Q2026-0001/2", "Q2026-0001/1"}));
    // Valid to the end of its 有効期限, expired the day after.
    QStringList states, totals;
    for (int r = 0; r < table().rowCount(); ++r) {
      states << table().item(r, 8)->text();
      totals << table().item(r, 6)->text();
    }
    QCOMPARE(states, QStringList({"有効", "期限切れ", "有効", "期限切れ"}));
    QCOMPARE(totals, QStringList({"1,200,001円", "55,000円", "14,520円", "13,200円"}));
    QCOMPARE(child<QLabel>("found")->text(), QStringLiteral("4 件"));
  }

  void finds_as_the_user_types_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("issuedFrom");
    QTest::addColumn<QString>("issuedTo");
    QTest::addColumn<QString>("totalFrom");
    QTest::addColumn<QString>("totalTo");
    QTest::addColumn<bool>("latestOnly");
    QTest::addColumn<QStringList>("found");
    const QString none;
    QTest::newRow("customer") << "東和" << none << none << none << none << false
                              << QStringList{"Q2026-0003/1", "Q2026-0001/2", "Q2026-0001/1"};
    QTest::newRow("an item's 品番")
        << "B-200" << none << none << none << none << false << QStringList{"Q2026-0002/1"};
    QTest::newRow("an item's 品名")
        << "リアクトルC" << none << none << none << none << false << QStringList{"Q2026-0003/1"};
    QTest::newRow("blanks around the text") << "　鈴木 " << none << none << none << none << false
                                            << QStringList{"Q2026-0003/1", "Q2026-0002/1"};
    QTest::newRow("担当者") << "鈴木" << none << none << none << none << false
                            << QStringList{"Q2026-0003/1", "Q2026-0002/1"};
    QTest::newRow("見積番号") << "2026-0001" << none << none << none << none << false
                              << QStringList{"Q2026-0001/2", "Q2026-0001/1"};
    QTest::newRow("issued between, both ends in")
        << none << "2026/11/15"
        << "2026-12-01" << none << none << false << QStringList{"Q2026-0002/1", "Q2026-0001/2"};
    QTest::newRow("issued from, full-width") << none << "２０２６－１２－０９" << none << none
                                             << none << false << QStringList{"Q2026-0003/1"};
    QTest::newRow("issued to, short month")
        << none << none << "2026/10/1" << none << none << false << QStringList{"Q2026-0001/1"};
    QTest::newRow("total between, grouped and full-width")
        << none << none << none << "１４，５２０"
        << "55,000円" << false << QStringList{"Q2026-0002/1", "Q2026-0001/2"};
    QTest::newRow("total from") << none << none << none << "1000000" << none << false
                                << QStringList{"Q2026-0003/1"};
    QTest::newRow("latest only") << none << none << none << none << none << true
                                 << QStringList{"Q2026-0003/1", "Q2026-0002/1", "Q2026-0001/2"};
    QTest::newRow("text and latest")
        << "チョーク" << none << none << none << none << true << QStringList{"Q2026-0001/2"};
    QTest::newRow("nothing found")
        << "存在しない顧客" << none << none << none << none << false << QStringList{};
  }
  void finds_as_the_user_types() {
    QFETCH(QString, text);
    QFETCH(QString, issuedFrom);
    QFETCH(QString, issuedTo);
    QFETCH(QString, totalFrom);
    QFETCH(QString, totalTo);
    QFETCH(bool, latestOnly);
    QFETCH(QStringList, found);
    type("text", text);
    type("issuedFrom", issuedFrom);
    type("issuedTo", issuedTo);
    type("totalFrom", totalFrom);
    type("totalTo", totalTo);
    child<QCheckBox>("latestOnly")->setChecked(latestOnly);
    // No button: the search runs once the typing pauses.
    QTRY_COMPARE(shownIssues(table()), found);
    QCOMPARE(child<QLabel>("found")->text(), QStringLiteral("%1 件").arg(found.size()));
    QVERIFY(child<QLabel>("refusal")->isHidden());
  }

  void refuses_a_box_it_cannot_read_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("letters in an amount") << "totalFrom"
                                          << "12abc"
                                          << "「合計（から）」を数として読めません（「12abc」）。数"
                                             "と単位「円」だけを入力してください。";
    QTest::newRow("a comma that is no digit group")
        << "totalTo"
        << "1,00"
        << "「合計（まで）」を数として読めません（「1,00」）。";
    QTest::newRow("yen and sen") << "totalTo"
                                 << "100.5"
                                 << "「合計（まで）」は 0 以上の整数（円）で入力してください。";
    QTest::newRow("below 0") << "totalFrom"
                             << "-1"
                             << "「合計（から）」には 0 以上の数を入力してください。";
    QTest::newRow("no day of the calendar")
        << "issuedFrom"
        << "2026-02-30"
        << "「発行日（から）」を日付として読めません（「2026-02-30」）。2026-12-09 "
           "のように入力してください。";
    QTest::newRow("a day half typed")
        << "issuedTo"
        << "2026-1"
        << "「発行日（まで）」を日付として読めません（「2026-1」）。2026-12-09 "
           "のように入力してください。";
  }
  void refuses_a_box_it_cannot_read() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, message);
    type("text", "B-200");
    QTRY_COMPARE(shownIssues(table()), QStringList{"Q2026-0002/1"});
    // The text cleared and the bad box typed: no search runs, the table keeps
    // what the last one found and the box says why.
    child<QLineEdit>("text")->clear();
    type(box.toLatin1().constData(), text);
    QTRY_VERIFY(child<QLabel>("refusal")->isVisible());
    QCOMPARE(child<QLabel>("refusal")->text(), message);
    QCOMPARE(shownIssues(table()), QStringList{"Q2026-0002/1"});
    QVERIFY(said_.isEmpty());
    // Corrected, it searches again.
    child<QLineEdit>(box.toLatin1().constData())->clear();
    QTRY_COMPARE(table().rowCount(), 4);
    QVERIFY(child<QLabel>("refusal")->isHidden());
  }

  void enter_moves_on_and_opens_from_the_table() {
    auto* text = child<QLineEdit>("text");
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), child<QCheckBox>("latestOnly"));
    auto* totalTo = child<QLineEdit>("totalTo");
    totalTo->setFocus();
    QTest::keyClick(totalTo, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), child<QLineEdit>("totalFrom"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), &table());
    table().selectRow(rowOf(table(), "Q2026-0002/1"));
    QTest::keyClick(&table(), Qt::Key_Return);
    auto* view = window_->findChild<IssueView*>();
    QVERIFY(view && view->isVisible());
    QCOMPARE(view->issue().record.quotationNumber, "Q2026-0002");
    view->close();
    QVERIFY(window_->isVisible());
  }

  void shows_an_issue_as_it_was_issued() {
    IssueView* view = openedView("Q2026-0001/1", true);
    QVERIFY(view);
    QCOMPARE(view->findChild<QLabel*>("customer")->text(), QStringLiteral("東和電機"));
    QCOMPARE(view->findChild<QLabel*>("validUntil")->text(), QStringLiteral("2026-10-31"));
    QCOMPARE(view->findChild<QLabel*>("subtotal")->text(), QStringLiteral("12,000円"));
    QCOMPARE(view->findChild<QLabel*>("tax")->text(), QStringLiteral("1,200円"));
    QCOMPARE(view->findChild<QLabel*>("total")->text(), QStringLiteral("13,200円"));
    const auto* lines = view->findChild<QTableWidget*>("lines");
    QStringList cells;
    for (int c = 0; c < lines->columnCount(); ++c) cells << lines->item(0, c)->text();
    QCOMPARE(cells, QStringList({"A-100", "コイルA", "100", "120.00円", "12,000円"}));
    view->close();
  }

  void hands_the_issued_job_on_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("newQuotation");
    QTest::newRow("新しい版を作成") << "newRevision" << false;
    QTest::newRow("この見積を元に作成") << "newQuotation" << true;
  }
  void hands_the_issued_job_on() {
    QFETCH(QString, button);
    QFETCH(bool, newQuotation);
    IssueView* view = openedView("Q2026-0001/1");
    QVERIFY(view);
    QTest::mouseClick(view->findChild<QPushButton*>(button), Qt::LeftButton);
    QVERIFY(taken_);
    const kelvane::job::Job& job = taken_->first;
    QCOMPARE(taken_->second, newQuotation);
    // The job as issued, carrying its number and 版 (the caller drops them
    // for a new quotation).
    QCOMPARE(job.fields.quotationNumber, "Q2026-0001");
    QCOMPARE(job.fields.revision, 1);
    QCOMPARE(job.fields.issuedOn, "2026-10-01");
    QCOMPARE(job.fields.subject, "チョークコイル");
    IssueRecord expected = recordOf(kIssues[0]);
    expected.revision = 1;
    QVERIFY(job.issues.back() == expected);
    QTRY_VERIFY(!view->isVisible());
  }

  void saves_and_shows_the_pdf_as_issued() {
    IssueView* view = openedView("Q2026-0002/1");
    QVERIFY(view);
    IssueRecord issued = recordOf(kIssues[2]);
    issued.revision = 1;
    const QByteArray expected = QByteArray::fromStdString(pdfOf(issued));
    chosenFile_ = folder_.filePath(IssueView::suggestedPdfName(issued));
    QCOMPARE(QFileInfo(chosenFile_).fileName(), QStringLiteral("Q2026-0002_第1版_見積書.pdf"));
    QTest::mouseClick(view->findChild<QPushButton*>("savePdf"), Qt::LeftButton);
    QFile saved(chosenFile_);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), expected);
    QVERIFY(said_.isEmpty());

    // A folder that is not there: said, and no file.
    chosenFile_ = folder_.filePath("nowhere/x.pdf");
    QTest::mouseClick(view->findChild<QPushButton*>("savePdf"), Qt::LeftButton);
    QCOMPARE(said_.size(), 1);
    QVERIFY(said_.front().contains("x.pdf"));
    QVERIFY(!QFile::exists(chosenFile_));

    QTest::mouseClick(view->findChild<QPushButton*>("showPdf"), Qt::LeftButton);
    QFile shown(openedPdf_);
    QVERIFY(shown.open(QIODevice::ReadOnly));
    QCOMPARE(shown.readAll(), expected);
    QVERIFY(openedPdf_.endsWith(".pdf"));
    shown.remove();
    view->close();
  }

  void compares_two_revisions_of_one_quotation() {
    QTableWidget& t = table();
    auto* compare = child<QPushButton>("compare");
    t.selectRow(rowOf(t, "Q2026-0001/2"));
    QVERIFY(!compare->isEnabled());
    t.selectionModel()->select(t.model()->index(rowOf(t, "Q2026-0002/1"), 0),
                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QVERIFY(!compare->isEnabled());  // two quotations
    t.selectRow(rowOf(t, "Q2026-0001/2"));
    t.selectionModel()->select(t.model()->index(rowOf(t, "Q2026-0001/1"), 0),
                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QVERIFY(compare->isEnabled());
    QTest::mouseClick(compare, Qt::LeftButton);
    auto* dialog = window_->findChild<kelvane::ui::IssueCompareDialog*>("comparison");
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->findChild<QLabel*>("total")->text(),
             QStringLiteral("13,200円 → 14,520円（+1,320円）"));
    QVERIFY(dialog->findChild<QLabel*>("total")->font().bold());
    const auto* lines = dialog->findChild<QTableWidget*>("lines");
    QCOMPARE(lines->item(0, 0)->text(), QStringLiteral("変更"));
    QCOMPARE(lines->item(0, 3)->text(), QStringLiteral("100 → 120（+20）"));
    QVERIFY(lines->item(0, 3)->font().bold());
    QCOMPARE(lines->item(0, 4)->text(), QStringLiteral("120.00円 → 110.00円（-10.00円）"));
    QCOMPARE(lines->item(0, 1)->text(), QStringLiteral("A-100"));
    QVERIFY(!lines->item(0, 1)->font().bold());
    dialog->close();

    // From the view of one 版, the other chosen: the same comparison.
    IssueView* view = openedView("Q2026-0001/1");
    QVERIFY(view);
    QTest::mouseClick(view->findChild<QPushButton*>("compare"), Qt::LeftButton);
    dialog = nullptr;
    for (auto* d : window_->findChildren<kelvane::ui::IssueCompareDialog*>()) {
      if (d->isVisible()) dialog = d;
    }
    QVERIFY(dialog);
    QCOMPARE(dialog->findChild<QLabel*>("heading")->text(),
             QStringLiteral("Q2026-0001　第1版（2026-10-01） → 第2版（2026-11-15）"));
    dialog->close();
    view->close();
  }

  void says_when_more_were_found_than_shown() {
    QTemporaryDir folder;
    auto opened = Register::open(folder.filePath("big.sqlite3").toStdString());
    QVERIFY(opened);
    std::vector<kelvane::ledger::StoredIssue> issues;
    for (int n = 1; n <= int(RegisterWindow::kMostRows) + 1; ++n) {
      IssueRecord r = recordOf(kIssues[2]);
      r.quotationNumber = "Q2025-" + std::to_string(10000 + n);
      r.revision = 1;
      issues.push_back({r, {}, "2026-01-01T00:00:00Z"});
    }
    auto imported = (*opened)->import(issues);
    QVERIFY2(imported, imported ? "" : imported.message().c_str());
    RegisterWindow big(**opened, kToday);
    QCOMPARE(big.findChild<QTableWidget*>("issues")->rowCount(), 1000);
    QCOMPARE(big.findChild<QLabel*>("found")->text(), QStringLiteral("1,000 件まで表示しています"));
  }

  void says_a_register_it_cannot_open() {
    // A file where the register's folder would be.
    QFile blocker(folder_.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QStringList said;
    RegisterWindow broken(folder_.filePath("file/register.sqlite3").toStdString(), kToday);
    broken.setMessenger([&](const QString& m) { said << m; });
    QTRY_COMPARE(said.size(), 1);
    QVERIFY(!said.front().isEmpty());
    QCOMPARE(broken.findChild<QTableWidget*>("issues")->rowCount(), 0);
    QVERIFY(!broken.findChild<QLineEdit*>("text")->isEnabled());
  }

  void cleanupTestCase() { window_.reset(); }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kelvane::ui::prepareApplication(app);
  RegisterWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "register_window_test.moc"
