// The window prices its job: the 見積 pane shows what priceCoil gives for
// the coil on the form, both PDFs carry every figure of the pane, the price
// list is read once (a damaged one said once, the built-in one used), a job
// priced from an older list is offered the new prices, a damaged list is
// kept as prices.json.bak when one is saved over it, and the customer's
// quotation gets its 版 on each new issue.
#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <memory>
#include <string_view>

#include "job/file_io.h"
#include "job/money_text.h"
#include "job/platform_files.h"
#include "job/price_list.h"
#include "job/quotation_text.h"
#include "tests/job/job_fixtures.h"
#include "tests/ui/pdf_text.h"
#include "tests/ui/window_test_support.h"
#include "ui/job_files.h"
#include "ui/job_window.h"
#include "ui/price_list_dialog.h"
#include "ui/price_list_file.h"
#include "ui/quotation_dialog.h"

using kelvane::form::ControlId;
using kelvane::form::text1;
using kelvane::job::QuotationTerms;
using kelvane::ui::JobWindow;

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

// The window with everything that would ask the user answered by the test.
struct Person {
  JobWindow window;
  QStringList messages;
  QString chosenFile;
  QStringList suggestions;  // what the file dialogs were opened with
  QStringList newPricesAsked;
  bool takeNewPrices = false;
  QStringList previews;
  bool printFromPreview = false;
  int noCustomerAsked = 0;
  bool issueWithoutCustomer = true;

  Person() {
    window.setMessagePresenter([this](const QString& m) { messages << m; });
    window.setFileChooser([this](JobWindow::FileKind, const QString& suggestion) {
      suggestions << suggestion;
      return chosenFile;
    });
    window.setOutOfDateAsker([] { return JobWindow::OutOfDateAnswer::PressAndOutput; });
    window.setDiscardAsker([](const QString&) { return JobWindow::DiscardAnswer::Discard; });
    window.setNewPricesAsker([this](const QString& question) {
      newPricesAsked << question;
      return takeNewPrices;
    });
    window.setNoCustomerAsker([this] {
      ++noCustomerAsked;
      return issueWithoutCustomer;
    });
    window.setPreviewRunner(
        [this](const QString& title, const kelvane::ui::paper::DocumentPainter&) {
          previews << title;
          return printFromPreview;
        });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
  }

  void click(const ControlId& id) {
    QTest::mouseClick(qobject_cast<QAbstractButton*>(window.form().control(id)), Qt::LeftButton);
  }
  void type(const ControlId& id, const QString& text) {
    auto* box = qobject_cast<QLineEdit*>(window.form().control(id));
    box->setFocus(Qt::TabFocusReason);
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Tab);
  }
};

QString pdfText(const QString& path) {
  return kelvane::ui::test::flattened(kelvane::ui::test::run(
      QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")}));
}

// Every figure the pane shows: the table's cells and the totals.
QStringList paneFigures(const kelvane::ui::QuotationDialog& pane) {
  QStringList figures = pane.totals();
  const QTableWidget& table = pane.priceTable();
  for (int r = 0; r < table.rowCount(); ++r)
    for (int c = 0; c < table.columnCount(); ++c) figures << table.item(r, c)->text();
  return figures;
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}

// A price list of the user's, saved at `savedAt`.
void writePriceList(double copperYenPerKg, const std::string& savedAt) {
  kelvane::job::PriceList list = kelvane::job::builtInPriceList();
  list.wirePrices = kelvane::job::wirePricesByMaterial({copperYenPerKg, 900, 1300});
  list.savedAt = savedAt;
  writeFile(kelvane::ui::priceListPath(),
            QByteArray::fromStdString(kelvane::job::writePriceList(list)));
}

// Undoes what a test made the platform refuse about the price list.
void undoRefusals() {
  const QString path = kelvane::ui::priceListPath();
  kelvane::job::platform::testing::refuseSearching(
      QFile::encodeName(QFileInfo(path).absolutePath()).toStdString(), false);
  kelvane::job::platform::testing::refuseReading(QFile::encodeName(path).toStdString(), 0);
}

}  // namespace

class QuotationWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // The price list and the settings go to folders of the test's own.
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
  }
  void cleanup() { undoRefusals(); }
  void init() {
    undoRefusals();
    QFile::remove(kelvane::ui::priceListPath());
    QFile::remove(kelvane::ui::priceListPath() + QStringLiteral(".bak"));
    temporary_ = std::make_unique<QTemporaryDir>();
    QVERIFY(temporary_->isValid());
    dir_ = QDir(temporary_->path());
    // Every test issues into an empty register of its own.
    qputenv("KELVANE_REGISTER", dir_.filePath(QStringLiteral("register.sqlite3")).toLocal8Bit());
  }

  // The pane prices the coil on the form as priceCoil does from the larger,
  // predicted column's total weight and the turns; the customer's quotation
  // and the sheet give every figure the pane shows.
  void the_pane_and_both_pdfs_show_what_priceCoil_gives_data() {
    QTest::addColumn<int>("former");    // Option1
    QTest::addColumn<int>("material");  // Option3
    QTest::addColumn<QString>("turns");
    QTest::newRow("rectangular, copper, 120 turns") << 1 << 0 << "120";
    QTest::newRow("round, aluminium, 60 turns") << 0 << 1 << "60";
    QTest::newRow("fan, copper-clad aluminium, 1500 turns") << 2 << 2 << "1500";
  }
  void the_pane_and_both_pdfs_show_what_priceCoil_gives() {
    QFETCH(int, former);
    QFETCH(int, material);
    QFETCH(QString, turns);
    Person person;
    person.click({"Option1", former});
    person.click({"Option3", material});
    person.type(text1(2), turns);
    person.click({"Command1", -1});
    kelvane::ui::QuotationDialog* pane = person.window.showQuotationPane();

    const kelvane::form::FormState& state = person.window.form().model().state();
    const auto& weights = state.pressed->weights;
    QVERIFY(weights.predictedWeight >= weights.alignedWeight);  // the predicted column is larger
    const QuotationTerms terms =
        kelvane::job::termsFor(kelvane::job::builtInPriceList(),
                               static_cast<kelvane::ConductorMaterial>(material), 0.2)
            .value();
    QVERIFY(person.window.termsForPricing() && *person.window.termsForPricing() == terms);
    const auto quote =
        kelvane::job::priceCoil(weights.predictedWeight / 1000, turns.toDouble(), terms);
    QVERIFY(quote);
    QCOMPARE(pane->priceTable().rowCount(), int(quote->lots.size()));
    for (int r = 0; r < int(quote->lots.size()); ++r) {
      const kelvane::job::LotPrice& lot = quote->lots[std::size_t(r)];
      const QStringList expected = {qt(kelvane::job::quantityText(lot.quantity)),
                                    qt(kelvane::job::costText(lot.materialYen)),
                                    qt(kelvane::job::costText(lot.processingYen)),
                                    qt(kelvane::job::costText(lot.partsYen)),
                                    qt(kelvane::job::costText(lot.costYen)),
                                    qt(kelvane::job::unitPriceText(lot.unitPriceSen)),
                                    qt(kelvane::job::yenText(lot.amountYen))};
      for (int c = 0; c < expected.size(); ++c)
        QCOMPARE(pane->priceTable().item(r, c)->text(), expected[c]);
    }
    QCOMPARE(pane->totals(), (QStringList{qt(kelvane::job::yenText(quote->subtotalYen)),
                                          qt(kelvane::job::yenText(quote->taxYen)),
                                          qt(kelvane::job::yenText(quote->totalYen))}));
    pane->accept();
    QVERIFY(person.window.terms() == terms);

    const QString customer = dir_.filePath(QStringLiteral("customer.pdf"));
    const QString sheet = dir_.filePath(QStringLiteral("sheet.pdf"));
    QVERIFY(person.window.exportCustomerQuotationTo(customer));
    QVERIFY(person.window.exportPdfTo(sheet));
    QCOMPARE(person.messages, QStringList());
    // The two documents are offered under names of their own.
    QVERIFY(!person.window.exportCustomerQuotation());
    QVERIFY(!person.window.exportPdf());
    QCOMPARE(person.suggestions.size(), 2);
    QVERIFY2(person.suggestions[0].endsWith(QStringLiteral("_見積書.pdf")),
             qPrintable(person.suggestions[0]));
    QVERIFY2(person.suggestions[1].endsWith(QStringLiteral("_見積計算書.pdf")),
             qPrintable(person.suggestions[1]));
    const QString customerText = pdfText(customer), sheetText = pdfText(sheet);
    // The customer reads 単価 and 金額 of every lot and the totals; the sheet
    // has every figure.
    for (const kelvane::job::LotPrice& lot : quote->lots) {
      for (const std::string& figure :
           {kelvane::job::unitPriceText(lot.unitPriceSen), kelvane::job::yenText(lot.amountYen)})
        QVERIFY2(customerText.contains(qt(figure)), figure.c_str());
    }
    for (const QString& figure : pane->totals())
      QVERIFY2(customerText.contains(figure), qPrintable(figure));
    for (const QString& figure : paneFigures(*pane))
      QVERIFY2(sheetText.contains(figure), qPrintable(figure));
  }

  // The pane follows the form: results out of date are withheld, and the
  // prices of a new press shown; OK gives the job its terms, a change to
  // save.
  void the_pane_follows_the_form() {
    Person person;
    person.click({"Command1", -1});
    kelvane::ui::QuotationDialog* pane = person.window.showQuotationPane();
    const QStringList before = paneFigures(*pane);
    QVERIFY(!before.isEmpty());
    person.type(text1(2), QStringLiteral("250"));
    QVERIFY(pane->refusal().contains(QStringLiteral("結果が入力と合っていない")));
    QCOMPARE(pane->priceTable().rowCount(), 0);
    person.click({"Command1", -1});
    QVERIFY(pane->refusal().isEmpty());
    QVERIFY(paneFigures(*pane) != before);
    QVERIFY(!person.window.terms());
    QVERIFY(person.window.saveTo(dir_.filePath(QStringLiteral("coil.kelvane"))));
    auto* loss = pane->findChild<QLineEdit*>(QStringLiteral("ロス率"));
    loss->setText(QStringLiteral("8"));
    pane->accept();
    QCOMPARE(person.window.terms()->lossPercent, 8.0);
    QVERIFY(person.window.isWindowModified());
    // Terms typed are no list's.
    QVERIFY(only(person.window.currentJob()).priceListSavedAt.empty());
  }

  // No list of the user's: the built-in one, nothing said. A damaged one, or
  // one that is there but cannot be read (a link to a share that is not
  // mounted, a folder that cannot be searched): said once, however often
  // prices are asked for, and the built-in one used; never a crash.
  void the_price_list_is_read_once_data() {
    QTest::addColumn<QByteArray>("file");  // "<none>": no file; <…>: see below
    QTest::addColumn<QString>("said");
    QTest::newRow("no file") << QByteArray("<none>") << "";
    QTest::newRow("a link to nowhere")
        << QByteArray("<link to nowhere>")
        << "「prices.json」を開けません。読み込めません（リンク先がありません）。";
    // Root searches and reads anything: the refusals are the platform's.
    QTest::newRow("a folder that cannot be searched")
        << QByteArray("<unsearchable folder>")
        << "「prices.json」を開けません。読み込めません（権限がありません）。";
    QTest::newRow("unreadable")
        << QByteArray("<unreadable>")
        << "「prices.json」を開けません。読み込めません（権限がありません）。";
    // NOLINTNEXTLINE(modernize-raw-string-literal): moc misreads the brace in a raw string
    QTest::newRow("not JSON") << QByteArray("{\"format\": \"kelvane-prices\", \"wire")
                              << "「prices.json」を開けません。JSON として読めません";
    QTest::newRow("another format")
        << QByteArray(R"({"format": "kelvane-job", "formatVersion": 1})")
        << "「prices.json」を開けません。";
    QTest::newRow("a winding speed of 0")
        << QByteArray::fromStdString(kelvane::job::writePriceList(kelvane::job::builtInPriceList()))
               .replace("\"windingRpm\": 1000", "\"windingRpm\": 0")
        << "「prices.json」を開けません。";
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe{", 4) << "「prices.json」を開けません。";
  }
  void the_price_list_is_read_once() {
    QFETCH(QByteArray, file);
    QFETCH(QString, said);
    const QString path = kelvane::ui::priceListPath();
    const QByteArray good =
        QByteArray::fromStdString(kelvane::job::writePriceList(kelvane::job::builtInPriceList()))
            .replace("1800", "2500");
    if (file == "<link to nowhere>") {
      QDir().mkpath(QFileInfo(path).absolutePath());
      QVERIFY(QFile::link(dir_.filePath(QStringLiteral("unmounted/prices.json")), path));
    } else if (file == "<unsearchable folder>") {
      writeFile(path, good);
      kelvane::job::platform::testing::refuseSearching(
          QFile::encodeName(QFileInfo(path).absolutePath()).toStdString(), true);
    } else if (file == "<unreadable>") {
      writeFile(path, good);
      kelvane::job::platform::testing::refuseReading(QFile::encodeName(path).toStdString(), EACCES);
    } else if (file != "<none>") {
      writeFile(path, file);
    }
    Person person;
    person.click({"Command1", -1});
    person.window.showQuotationPane();
    person.window.showQuotationPane();
    QVERIFY(person.window.exportCustomerQuotationTo(dir_.filePath(QStringLiteral("q.pdf"))));
    QVERIFY(person.window.priceList() == kelvane::job::builtInPriceList());
    if (said.isEmpty()) {
      QCOMPARE(person.messages, QStringList());
      return;
    }
    QCOMPARE(person.messages.size(), 1);
    QVERIFY2(person.messages[0].startsWith(said), qPrintable(person.messages[0]));
    QVERIFY(person.messages[0].endsWith(QStringLiteral("組み込みの単価を使います。")));
  }

  // 単価表's OK after a damaged list keeps the damaged file, whole, as
  // prices.json.bak before the new list takes its name; a list saved over a
  // list leaves no .bak.
  void a_damaged_price_list_is_kept_when_one_is_saved() {
    const QString path = kelvane::ui::priceListPath();
    // NOLINTNEXTLINE(modernize-raw-string-literal): moc misreads the brace in a raw string
    const QByteArray damaged("{\"format\": \"kelvane-prices\", \"wireYenPerKg\": {\"copper\": 25");
    writeFile(path, damaged);
    Person person;
    QVERIFY(person.window.priceList() == kelvane::job::builtInPriceList());  // 単価表 opens
    QCOMPARE(person.messages.size(), 1);
    kelvane::job::PriceList list = kelvane::job::builtInPriceList();
    list.wirePrices = kelvane::job::wirePricesByMaterial({2500, 900, 1300});
    person.window.setPriceList(list);  // what its OK does
    QCOMPARE(person.messages.size(), 1);
    QFile kept(path + QStringLiteral(".bak"));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), damaged);
    QCOMPARE(person.window.priceList().wirePrices[0].yenPerKg, 2500.0);
    QVERIFY(kelvane::ui::readUserPriceList());
    QVERIFY(QFile::remove(kept.fileName()));
    person.window.setPriceList(list);
    QVERIFY(!QFile::exists(kept.fileName()));
  }

  // 単価表's wire prices as a table edited from the keyboard: a row added
  // after the last takes its material and starts where it ended; a range
  // that overlaps another of its material is refused, naming both rows, and
  // its cell is the one to fix.
  void the_price_list_edits_rows_of_wire_prices_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("refusal");  // empty: taken
    QTest::newRow("after the last") << ""
                                    << "" << QString();
    QTest::newRow("a range of its own") << "2.5"
                                        << "3" << QString();
    QTest::newRow("overlapping")
        << "０．５"
        << "2"
        << QStringLiteral("線材単価 6 行目の線径の範囲が線材単価 2 行目と重なっています（銅線）。");
    QTest::newRow("ending at its start")
        << "0.3"
        << "0.3"
        << QStringLiteral("線材単価 6 行目の線径（まで）が線径（から）より大きくありません。");
  }
  void the_price_list_edits_rows_of_wire_prices() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, refusal);
    kelvane::job::PriceList list = kelvane::job::builtInPriceList();
    list.wirePrices.erase(list.wirePrices.begin() + 2);  // copper up to 1 mm, Al, clad
    list.wirePrices.push_back({kelvane::ConductorMaterial::Copper, 1.0, 2.0, 1650});
    kelvane::ui::PriceListDialog dialog(list, nullptr);
    dialog.show();
    QTableWidget& table = dialog.wirePrices();
    QCOMPARE(table.rowCount(), 5);
    table.setFocus();
    table.setCurrentCell(4, 0);
    QTest::keyClick(&table, Qt::Key_Insert);
    QCOMPARE(table.rowCount(), 6);
    QCOMPARE(table.item(5, 0)->text(), QStringLiteral("銅線"));
    QCOMPARE(table.item(5, 1)->text(), QStringLiteral("2"));  // where the row above ended
    auto typeCell = [&](int column, const QString& text) {
      table.setCurrentCell(5, column);
      if (text.isEmpty()) return;
      QTest::keyClick(&table, Qt::Key_F2);
      QLineEdit* editor = nullptr;  // the open one, not one closed before
      for (auto* open : table.viewport()->findChildren<QLineEdit*>())
        if (open->isVisible()) editor = open;
      QVERIFY(editor);
      editor->selectAll();
      editor->insert(text);
      QTest::keyClick(editor, Qt::Key_Return);
      QCoreApplication::processEvents();  // the table takes the cell's text after the key
    };
    typeCell(1, from);
    typeCell(2, to);
    typeCell(3, QStringLiteral("1,500"));
    dialog.accept();
    QCOMPARE(dialog.refusal(), refusal);
    if (!refusal.isEmpty()) {
      QVERIFY(dialog.isVisible());
      QCOMPARE(table.currentRow(), 5);
      return;
    }
    const std::vector<kelvane::job::WirePriceRow>& rows = dialog.list().wirePrices;
    QCOMPARE(rows.size(), std::size_t(6));
    QCOMPARE(rows[5].fromMm, from.isEmpty() ? 2.0 : 2.5);
    QVERIFY(rows[5].toMm == (to.isEmpty() ? std::nullopt : std::optional<double>(3)));
    QCOMPARE(rows[5].yenPerKg, 1500.0);
    // Removed from the keyboard, the list is the one it started as.
    table.setCurrentCell(5, 0);
    QTest::keyClick(&table, Qt::Key_Delete, Qt::ControlModifier);
    dialog.accept();
    QVERIFY(dialog.list().wirePrices == list.wirePrices);
  }

  // 単価表 saved from the window is the list new jobs are priced with, and
  // the file the next window reads.
  void a_saved_price_list_prices_new_jobs() {
    Person person;
    kelvane::job::PriceList list = kelvane::job::builtInPriceList();
    list.wirePrices = kelvane::job::wirePricesByMaterial({2400, 900, 1300});
    person.window.setPriceList(list);
    QCOMPARE(person.messages, QStringList());
    QVERIFY(!person.window.priceList().savedAt.empty());
    QCOMPARE(person.window.termsForPricing()->wireYenPerKg, 2400.0);
    Person later;
    QVERIFY(later.window.priceList() == person.window.priceList());
  }

  // A job priced from an older list than the user's list of now is offered
  // the new prices on opening; taking them keeps the job's lot sizes.
  void a_job_of_an_older_list_is_offered_the_new_prices_data() {
    QTest::addColumn<bool>("take");
    QTest::newRow("take the new prices") << true;
    QTest::newRow("keep the job's") << false;
  }
  void a_job_of_an_older_list_is_offered_the_new_prices() {
    QFETCH(bool, take);
    writePriceList(1800, "2026-11-01T09:00:00Z");
    const QString file = dir_.filePath(QStringLiteral("coil.kelvane"));
    QuotationTerms old;
    {
      Person person;
      kelvane::ui::QuotationDialog* pane = person.window.showQuotationPane();
      pane->findChild<QLineEdit*>(QStringLiteral("数量2"))->setText(QStringLiteral("500"));
      pane->findChild<QLineEdit*>(QStringLiteral("数量3"))->clear();
      pane->accept();
      old = *person.window.terms();
      QCOMPARE(only(person.window.currentJob()).priceListSavedAt,
               std::string("2026-11-01T09:00:00Z"));
      QVERIFY(person.window.saveTo(file));
    }
    writePriceList(2100, "2026-12-01T09:00:00Z");
    Person person;
    person.takeNewPrices = take;
    QVERIFY(person.window.openFile(file));
    QCOMPARE(person.newPricesAsked.size(), 1);
    QVERIFY(person.newPricesAsked[0].contains(QStringLiteral("2026-11-01T09:00:00Z")));
    QCOMPARE(person.window.terms()->quantities, (std::vector<std::int64_t>{100, 500}));
    QCOMPARE(person.window.terms()->wireYenPerKg, take ? 2100.0 : 1800.0);
    QCOMPARE(person.window.isWindowModified(), take);
    if (!take) QVERIFY(*person.window.terms() == old);
  }

  // A 見積書 without a customer is issued only when the user says so, and
  // asked once whichever way it goes out; with a customer nobody is asked.
  void issuing_without_a_customer_asks_first_data() {
    QTest::addColumn<QString>("customer");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("asked");
    QTest::addColumn<bool>("issued");
    QTest::newRow("no customer, いいえ") << QString() << false << 1 << false;
    QTest::newRow("no customer, はい") << QString() << true << 1 << true;
    QTest::newRow("blanks only, いいえ") << QStringLiteral("\u3000 ") << false << 1 << false;
    QTest::newRow("a customer") << QStringLiteral("株式会社サンプル電機") << false << 0 << true;
  }
  void issuing_without_a_customer_asks_first() {
    QFETCH(QString, customer);
    QFETCH(bool, answer);
    QFETCH(int, asked);
    QFETCH(bool, issued);
    for (const char* how : {"PDF", "preview"}) {
      Person person;
      person.click({"Command1", -1});
      kelvane::job::JobFields fields = person.window.fields();
      fields.customer = customer.toStdString();
      person.window.setFields(fields);
      person.issueWithoutCustomer = answer;
      person.printFromPreview = true;
      person.chosenFile = dir_.filePath(QStringLiteral("asked.pdf"));
      QFile::remove(person.chosenFile);
      const bool done = how == std::string_view("PDF") ? person.window.exportCustomerQuotation()
                                                       : person.window.previewCustomerQuotation();
      QCOMPARE(done, issued);
      QCOMPARE(person.noCustomerAsked, asked);
      QCOMPARE(person.window.fields().revision, issued ? 1 : 0);
      if (how == std::string_view("PDF")) QCOMPARE(QFile::exists(person.chosenFile), issued);
      else QCOMPARE(person.previews.size(), issued ? 1 : 0);
    }
  }

  // The first issue is 第1版 of today; the same job issued again keeps it,
  // also from the job opened again; any change makes the next issue the
  // next 版, and a job with a file keeps its history there.
  void the_revision_rises_on_each_new_issue() {
    Person person;
    person.click({"Command1", -1});
    const QString pdf = dir_.filePath(QStringLiteral("q.pdf"));
    const std::string today = QDate::currentDate().toString(Qt::ISODate).toStdString();
    QVERIFY(person.window.exportCustomerQuotationTo(pdf));
    QCOMPARE(person.window.fields().revision, 1);
    QCOMPARE(person.window.fields().issuedOn, today);
    QVERIFY(!person.window.fields().quotationNumber.empty());  // the register's next
    QVERIFY(person.window.terms());                            // issued with the prices it shows
    QVERIFY(pdfText(pdf).contains(QStringLiteral("第1版")));
    QVERIFY(person.window.exportCustomerQuotationTo(pdf));
    QCOMPARE(person.window.fields().revision, 1);
    QVERIFY(pdfText(pdf).contains(QStringLiteral("第1版・再発行")));
    person.previews.clear();
    person.printFromPreview = true;
    QVERIFY(person.window.previewCustomerQuotation());
    QCOMPARE(person.previews, QStringList{QStringLiteral("見積書")});
    QCOMPARE(person.window.fields().revision, 1);

    kelvane::job::JobFields fields = person.window.fields();
    fields.deliveryTerms = "受注後 2 週間";
    person.window.setFields(fields);
    person.printFromPreview = false;  // looked at, not printed: not issued
    QVERIFY(person.window.previewCustomerQuotation());
    QCOMPARE(person.window.fields().revision, 1);
    QVERIFY(person.window.exportCustomerQuotationTo(pdf));
    QCOMPARE(person.window.fields().revision, 2);
    QVERIFY(pdfText(pdf).contains(QStringLiteral("第2版")));
    QCOMPARE(person.window.currentJob().issues.size(), std::size_t{2});

    const QString job = dir_.filePath(QStringLiteral("coil.kelvane"));
    QVERIFY(person.window.saveTo(job));
    Person again;
    QVERIFY(again.window.openFile(job));
    QCOMPARE(again.window.fields().revision, 2);
    QVERIFY(again.window.exportCustomerQuotationTo(pdf));
    QCOMPARE(again.window.fields().revision, 2);
    QVERIFY(pdfText(pdf).contains(QStringLiteral("第2版・再発行")));
    fields = again.window.fields();
    fields.subject = "改訂";
    again.window.setFields(fields);
    QVERIFY(again.window.exportCustomerQuotationTo(pdf));
    QCOMPARE(again.window.fields().revision, 3);
    // Issued, the job's file holds the new 版: nothing is left to save.
    QVERIFY(!again.window.isWindowModified());
    const kelvane::Expected<kelvane::job::Job> saved = kelvane::ui::readJobFile(job);
    QVERIFY(saved);
    QCOMPARE(saved->fields.revision, 3);
    QCOMPARE(saved->issues.size(), std::size_t{3});
  }

  // A register that cannot take the issue issues nothing: no PDF, no 版,
  // and the message says so.
  void an_unreachable_register_issues_nothing() {
    Person person;
    person.click({"Command1", -1});
    const QString notes = dir_.filePath(QStringLiteral("notes.txt"));
    QVERIFY(kelvane::ui::saveFile(notes, "これはメモです。").ok());
    qputenv("KELVANE_REGISTER", notes.toLocal8Bit());
    const QString pdf = dir_.filePath(QStringLiteral("q.pdf"));
    QVERIFY(!person.window.exportCustomerQuotationTo(pdf));
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(person.window.fields().revision, 0);
    QVERIFY(!person.messages.isEmpty());
    QVERIFY(
        person.messages.back().contains(QStringLiteral("見積台帳のデータベースではありません")));
    QVERIFY(person.messages.back().endsWith(QStringLiteral("見積書は発行していません。")));
  }

  // Nothing is issued from results out of date unless 計算 gives current
  // ones; a press refused issues nothing and raises no 版.
  void a_refused_press_issues_nothing() {
    Person person;
    person.type(text1(0), QStringLiteral("0"));
    const QString pdf = dir_.filePath(QStringLiteral("q.pdf"));
    person.messages.clear();
    QVERIFY(!person.window.exportCustomerQuotationTo(pdf));
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(person.window.fields().revision, 0);
    QCOMPARE(person.messages, QStringList{QStringLiteral("素線径(d)を入力してください")});
  }

 private:
  QTemporaryDir settings_;
  std::unique_ptr<QTemporaryDir> temporary_;
  QDir dir_;
};

KELVANE_UI_TEST_MAIN(QuotationWindowTest)
#include "quotation_window_test.moc"
