// The 見積 pane: the terms typed as people type numbers reach the price,
// every figure of the price is shown, a box that cannot be read is named and
// nothing is priced from it, and results out of date are not priced until
// 計算 is pressed.
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "job/money_text.h"
#include "job/price_list.h"
#include "job/quotation_text.h"
#include "tests/job/job_fixtures.h"
#include "ui/quotation_dialog.h"
#include "ui/terms_editor.h"
#include "window_test_support.h"

using kelvane::job::CoilPrice;
using kelvane::job::QuotationTerms;
using kelvane::ui::QuotationDialog;

namespace {

QuotationTerms sampleTerms() { return kelvane::job::test::prototypeTerms({100}); }

// The pane as the window opens it on a job's own terms.
kelvane::job::PricingTerms opened(QuotationTerms terms) {
  return {std::move(terms), kelvane::job::WirePriceSource::JobTerms};
}

// The window the pane belongs to, as the test plays it: whether its results
// are current, what 計算 does, and a price that shows which terms it was
// worked out from (a lot a quantity, its figures taken from the terms).
struct Window {
  bool current = true;
  int presses = 0;
  std::vector<QuotationTerms> asked;
  // The coil's material, the job's terms and the price list, priced by the
  // program's own rule.
  kelvane::ConductorMaterial material = kelvane::ConductorMaterial::Copper;
  std::optional<QuotationTerms> jobTerms;
  kelvane::job::PriceList list = kelvane::job::builtInPriceList();
  std::optional<double> diameter = 0.2;  // the coil's wire, mm

  kelvane::ui::PricedCoil coil() {
    return {
        [this] { return current; },
        [this] {
          ++presses;
          current = true;
          return true;
        },
        [this](const QuotationTerms& terms) -> kelvane::Expected<CoilPrice> {
          asked.push_back(terms);
          CoilPrice price{0.0323, 120, {}};
          for (const std::int64_t q : terms.quantities)
            price.quote.lots.push_back({q, terms.wireYenPerKg / 100, terms.labourYenPerHour / 100,
                                        double(terms.parts.size()), 1.25, 15920 + q, 159 * q});
          price.quote.subtotalYen = 159 * terms.quantities.front();
          price.quote.taxYen = 15 * terms.quantities.front();
          price.quote.totalYen = 174 * terms.quantities.front();
          return price;
        },
        [this] { return material; },
        [this](kelvane::ConductorMaterial m) {
          return kelvane::job::pricingTerms(jobTerms, m, diameter, list);
        }};
  }
};

QString qt(const std::string& text) { return QString::fromStdString(text); }

// The table's rows as shown, a row a lot.
QStringList shownRows(const QuotationDialog& pane) {
  QStringList rows;
  const QTableWidget& table = pane.priceTable();
  for (int r = 0; r < table.rowCount(); ++r) {
    QStringList cells;
    for (int c = 0; c < table.columnCount(); ++c) cells << table.item(r, c)->text();
    rows << cells.join(QLatin1Char(' '));
  }
  return rows;
}

QStringList expectedRows(const kelvane::job::Quote& quote) {
  QStringList rows;
  for (const kelvane::job::LotPrice& lot : quote.lots) {
    rows << QStringList{qt(kelvane::job::quantityText(lot.quantity)),
                        qt(kelvane::job::costText(lot.materialYen)),
                        qt(kelvane::job::costText(lot.processingYen)),
                        qt(kelvane::job::costText(lot.partsYen)),
                        qt(kelvane::job::costText(lot.costYen)),
                        qt(kelvane::job::unitPriceText(lot.unitPriceSen)),
                        qt(kelvane::job::yenText(lot.amountYen))}
                .join(QLatin1Char(' '));
  }
  return rows;
}

QLineEdit* box(const QuotationDialog& pane, const QString& name) {
  return pane.findChild<QLineEdit*>(name);
}

// Types over a box's text as a person does: ASCII with the keyboard, the
// rest committed by the input method.
void type(QLineEdit* b, const QString& text) {
  b->setFocus();
  b->selectAll();
  QTest::keyClick(b, Qt::Key_Delete);
  for (const QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(b, c.toLatin1());
    } else {
      QInputMethodEvent commit;
      commit.setCommitString(c);
      QApplication::sendEvent(b, &commit);
    }
  }
}

}  // namespace

class QuotationPaneTest : public QObject {
  Q_OBJECT

 private slots:
  // The terms as the boxes hold them are what the price is worked out from;
  // each of its figures is shown with its unit and grouped digits.
  void typed_terms_reach_the_price_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::newRow("a wire price in full width") << "線材単価"
                                                << "１，９５０" << 1950.0;
    QTest::newRow("a loss with its unit") << "ロス率"
                                          << "7.5 %" << 7.5;
    QTest::newRow("a speed with a digit group") << "巻線速度"
                                                << "1,500" << 1500.0;
    QTest::newRow("a labour rate") << "賃率"
                                   << "3200円" << 3200.0;
    QTest::newRow("no profit") << "利益率"
                               << "0" << 0.0;
  }
  void typed_terms_reach_the_price() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(double, value);
    Window window;
    QuotationDialog pane(opened(sampleTerms()), window.coil(), nullptr);
    pane.show();
    type(::box(pane, box), typed);
    QuotationTerms expected = sampleTerms();
    for (const kelvane::job::TermFigure f : kelvane::job::kTermFigures)
      if (qt(std::string(kelvane::job::termName(f))) == box)
        kelvane::job::termValue(expected, f) = value;
    QVERIFY(window.asked.back() == expected);
    const CoilPrice shown = *window.coil().price(expected);
    QCOMPARE(shownRows(pane), expectedRows(shown.quote));
    QCOMPARE(pane.totals(), (QStringList{QStringLiteral("15,900円"), QStringLiteral("1,500円"),
                                         QStringLiteral("17,400円")}));
    QVERIFY(pane.refusal().isEmpty());
    pane.accept();
    QCOMPARE(pane.result(), int(QDialog::Accepted));
    QVERIFY(pane.terms() == expected);
  }

  // Up to five lot sizes, in the order typed; empty boxes are no lot.
  void lot_sizes_in_the_order_typed() {
    Window window;
    QuotationDialog pane(opened(sampleTerms()), window.coil(), nullptr);
    pane.show();
    type(box(pane, QStringLiteral("数量3")), QStringLiteral("１０，０００"));
    type(box(pane, QStringLiteral("数量2")), QStringLiteral("1000"));
    QCOMPARE(window.asked.back().quantities, (std::vector<std::int64_t>{100, 1000, 10000}));
    QCOMPARE(pane.priceTable().rowCount(), 3);
    QCOMPARE(pane.priceTable().item(2, 0)->text(), QStringLiteral("10,000"));
  }

  // A box that cannot be read: its name and why stand in place of the
  // prices, OK keeps the pane open on that box with its text selected, and
  // the terms stay as they were.
  void a_box_that_cannot_be_read_is_named_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("no number") << "線材単価"
                               << "時価"
                               << "「線材単価」を数として読めません（「時価」）。数と単位「円/"
                                  "kg」だけを入力してください。";
    // An hour typed into a box of minutes is not read as minutes.
    QTest::newRow("another unit")
        << "段取り時間"
        << "1h"
        << "「段取り時間」を数として読めません（「1h」）。数と単位「min」だけを入力してください。";
    QTest::newRow("a decimal comma") << "ロス率"
                                     << "2,5"
                                     << "「ロス率」を数として読めません（「2,5」）。";
    QTest::newRow("below 0") << "段取り時間"
                             << "-5"
                             << "「段取り時間」には 0 以上の数を入力してください。";
    QTest::newRow("too large") << "賃率"
                               << "1e999"
                               << "「賃率」の数が大きすぎます（「1e999」）。";
    QTest::newRow("half a piece")
        << "数量1"
        << "2.5"
        << "「数量1」は 1 から 1,000,000,000 までの整数で入力してください。";
    QTest::newRow("no lot at all") << "数量1"
                                   << ""
                                   << "「数量1」に、見積もる数量を入力してください。";
  }
  void a_box_that_cannot_be_read_is_named() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, refusal);
    Window window;
    QuotationDialog pane(opened(sampleTerms()), window.coil(), nullptr);
    pane.show();
    QVERIFY(QTest::qWaitForWindowActive(&pane));
    QLineEdit* b = ::box(pane, box);
    type(b, typed);
    QCOMPARE(pane.refusal(), refusal);
    QCOMPARE(pane.priceTable().rowCount(), 0);
    QCOMPARE(pane.totals(), QStringList());
    b->deselect();
    pane.findChild<QLineEdit*>(QStringLiteral("利益率"))->setFocus();
    pane.accept();
    QVERIFY(pane.isVisible());
    QCOMPARE(QApplication::focusWidget(), b);
    QCOMPARE(b->selectedText(), typed);
    QVERIFY(pane.terms() == sampleTerms());
  }

  // Parts: a row left empty is no part; a price needs its part's name.
  void parts_need_a_name() {
    Window window;
    QuotationDialog pane(opened(sampleTerms()), window.coil(), nullptr);
    pane.show();
    QTableWidget* parts = pane.editor().parts();
    QPushButton* add = nullptr;
    for (QPushButton* b : pane.findChildren<QPushButton*>())
      if (b->text() == QStringLiteral("追加")) add = b;
    QTest::mouseClick(add, Qt::LeftButton);
    QCOMPARE(parts->rowCount(), 3);
    QVERIFY(pane.refusal().isEmpty());  // an empty row is no part
    parts->item(2, 1)->setText(QStringLiteral("１２．５"));
    QCOMPARE(pane.refusal(), QStringLiteral("部材 3 行目の部材名を入力してください。"));
    parts->item(2, 0)->setText(QStringLiteral("端子"));
    QVERIFY(pane.refusal().isEmpty());
    QCOMPARE(window.asked.back().parts.back(), (kelvane::job::PartPrice{"端子", 12.5}));
  }

  // Results out of date are never priced: the pane says so and offers 計算,
  // which presses the window's 計算 and prices what that press gives.
  void out_of_date_results_are_priced_only_after_a_press() {
    Window window;
    window.current = false;
    QuotationDialog pane(opened(sampleTerms()), window.coil(), nullptr);
    pane.show();
    QVERIFY(window.asked.empty());
    QVERIFY(pane.refusal().contains(QStringLiteral("結果が入力と合っていないため")));
    QCOMPARE(pane.priceTable().rowCount(), 0);
    QPushButton* press = nullptr;
    for (QPushButton* b : pane.findChildren<QPushButton*>())
      if (b->text() == QStringLiteral("計算")) press = b;
    QVERIFY(press && press->isVisible());
    QTest::mouseClick(press, Qt::LeftButton);
    QCOMPARE(window.presses, 1);
    QCOMPARE(window.asked.size(), std::size_t(1));
    QCOMPARE(pane.priceTable().rowCount(), 1);
    QVERIFY(!press->isVisible());
    QVERIFY(pane.findChild<QLabel*>(QStringLiteral("coilFigures"))
                ->text()
                .contains(QStringLiteral("w = 0.0323 kg")));
  }

  // 線材単価 is always the price of the coil's material, and the pane says
  // whose: a job priced for aluminium and switched to copper takes the
  // list's copper price, and switched back its own aluminium price.
  void the_wire_price_is_the_coils_materials_data() {
    QTest::addColumn<QList<int>>("switches");  // Option3, one after another
    QTest::addColumn<QString>("typed");        // over 線材単価, after the switches
    QTest::addColumn<double>("price");
    QTest::addColumn<QString>("line");
    QTest::newRow("the job's own") << QList<int>{} << QString() << 1100.0
                                   << "線材単価は、この案件の見積条件のアルミニュウムの価格です。";
    QTest::newRow("switched to copper")
        << QList<int>{0} << QString() << 2500.0 << "線材単価は、単価表の銅線の価格です。";
    QTest::newRow("switched to clad wire")
        << QList<int>{2} << QString() << 1300.0
        << "線材単価は、単価表の銅クラッドアルミニュウム(85%)の価格です。";
    QTest::newRow("switched back") << QList<int>{0, 1} << QString() << 1100.0
                                   << "線材単価は、この案件の見積条件のアルミニュウムの価格です。";
    QTest::newRow("a copper price typed")
        << QList<int>{0} << "２，６００" << 2600.0 << "線材単価は、入力した銅線の価格です。";
  }
  void the_wire_price_is_the_coils_materials() {
    QFETCH(QList<int>, switches);
    QFETCH(QString, typed);
    QFETCH(double, price);
    QFETCH(QString, line);
    Window window;
    window.list.wirePrices = kelvane::job::wirePricesByMaterial({2500, 900, 1300});
    window.material = kelvane::ConductorMaterial::Aluminium;
    QuotationTerms aluminium = sampleTerms();
    aluminium.wireYenPerKg = 1100;
    aluminium.wireMaterial = kelvane::ConductorMaterial::Aluminium;
    window.jobTerms = aluminium;
    QuotationDialog pane(opened(aluminium), window.coil(), nullptr);
    pane.show();
    for (const int m : switches) {
      window.material = static_cast<kelvane::ConductorMaterial>(m);
      pane.refresh();  // as the window does after each event of its form
    }
    if (!typed.isEmpty()) type(box(pane, QStringLiteral("線材単価")), typed);
    QCOMPARE(pane.wirePriceSource(), line);
    QCOMPARE(window.asked.back().wireYenPerKg, price);
    QVERIFY(window.asked.back().wireMaterial == window.material);
    pane.accept();
    QCOMPARE(pane.result(), int(QDialog::Accepted));
    QCOMPARE(pane.terms().wireYenPerKg, price);
    QVERIFY(pane.terms().wireMaterial == window.material);
  }

  // The wire's diameter while the pane is open: a wire that leaves the row
  // of the list its price was taken from takes the price of the row it is
  // in now, and the line under the terms names that row; a typed price
  // stays; a wire the list has no price for empties the box and is priced
  // only once a price is typed.
  void the_wire_price_is_the_row_of_the_coils_diameter_data() {
    QTest::addColumn<bool>("typeFirst");       // typed before the diameters change
    QTest::addColumn<QList<double>>("moves");  // 素線径, one after another
    QTest::addColumn<QString>("typed");        // over 線材単価
    QTest::addColumn<double>("price");         // 0: nothing priced
    QTest::addColumn<QString>("line");
    const QString row025 = QStringLiteral("線材単価は、単価表の銅線 φ0.20〜0.30 mm の価格です。");
    QTest::newRow("0.25 mm") << false << QList<double>{} << QString() << 2800.0 << row025;
    QTest::newRow("within its row") << false << QList<double>{0.2} << QString() << 2800.0 << row025;
    QTest::newRow("to 1.2 mm") << false << QList<double>{1.2} << QString() << 1950.0
                               << QStringLiteral(
                                      "線材単価は、単価表の銅線 φ1.00 mm〜 の価格です。");
    QTest::newRow("to 0.3 mm") << false << QList<double>{0.3} << QString() << 2100.0
                               << QStringLiteral(
                                      "線材単価は、単価表の銅線 φ0.30〜1.00 mm の価格です。");
    QTest::newRow("to 1.2 mm and back")
        << false << QList<double>{1.2, 0.25} << QString() << 2800.0 << row025;
    QTest::newRow("typed, then to 1.2 mm")
        << true << QList<double>{1.2} << "2,600" << 2600.0
        << QStringLiteral("線材単価は、入力した銅線の価格です。");
    const QString none = QStringLiteral(
        "単価表に素線径 0.05 mm の銅線の線材単価がありません。単価表に行を加えるか、見積条件に"
        "線材単価を入力してください。");
    QTest::newRow("to 0.05 mm, not in the list")
        << false << QList<double>{0.05} << QString() << 0.0 << none;
    QTest::newRow("to 0.05 mm, a price typed")
        << false << QList<double>{0.05} << "3,600" << 3600.0
        << QStringLiteral("線材単価は、入力した銅線の価格です。");
    QTest::newRow("to 0.05 mm and back")
        << false << QList<double>{0.05, 0.25} << QString() << 2800.0 << row025;
  }
  void the_wire_price_is_the_row_of_the_coils_diameter() {
    QFETCH(bool, typeFirst);
    QFETCH(QList<double>, moves);
    QFETCH(QString, typed);
    QFETCH(double, price);
    QFETCH(QString, line);
    Window window;
    window.list.wirePrices = {{kelvane::ConductorMaterial::Copper, 0.1, 0.2, 3300},
                              {kelvane::ConductorMaterial::Copper, 0.2, 0.3, 2800},
                              {kelvane::ConductorMaterial::Copper, 0.3, 1.0, 2100},
                              {kelvane::ConductorMaterial::Copper, 1.0, std::nullopt, 1950}};
    window.diameter = 0.25;
    const auto opening =
        kelvane::job::pricingTerms(std::nullopt, window.material, 0.25, window.list);
    QVERIFY(opening);
    QuotationDialog pane(*opening, window.coil(), nullptr);
    pane.show();
    QLineEdit* wire = box(pane, QStringLiteral("線材単価"));
    if (typeFirst) type(wire, typed);
    for (const double d : moves) {
      window.diameter = d;
      pane.refresh();  // as the window does after each event of its form
    }
    if (!typeFirst && !typed.isEmpty()) type(wire, typed);
    QCOMPARE(pane.wirePriceSource(), line);
    if (price == 0) {
      QCOMPARE(wire->text(), QString());
      QCOMPARE(pane.refusal(), line);
      QVERIFY(pane.totals().isEmpty());
      pane.accept();
      QVERIFY(pane.isVisible());  // refused, the box to type a price into
      QCOMPARE(pane.focusWidget(), wire);
      return;
    }
    QCOMPARE(window.asked.back().wireYenPerKg, price);
    pane.accept();
    QCOMPARE(pane.result(), int(QDialog::Accepted));
    QCOMPARE(pane.terms().wireYenPerKg, price);
    // A price from the list keeps its row; a typed one belongs to no row.
    const auto row = kelvane::job::termsFor(window.list, window.material, window.diameter);
    QCOMPARE(pane.terms().wireDiameterFromMm,
             typed.isEmpty() ? row->wireDiameterFromMm : std::optional<double>());
    QCOMPARE(pane.terms().wireDiameterToMm,
             typed.isEmpty() ? row->wireDiameterToMm : std::optional<double>());
  }
};

KELVANE_UI_TEST_MAIN(QuotationPaneTest)
#include "quotation_pane_test.moc"
