// The customer's quotation (見積書) as a PDF: every figure and field read
// back with poppler's pdftotext, the totals over several items, tables and
// long remarks going on over pages, and a file it cannot write refused.
#include <QRawFont>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <map>

#include "job/money_text.h"
#include "job/quotation_text.h"
#include "pdf_text.h"
#include "tests/job/job_fixtures.h"
#include "ui/customer_quotation.h"
#include "ui/fonts.h"
#include "window_test_support.h"

using kelvane::job::QuotedItem;
using kelvane::ui::CustomerQuotation;
using kelvane::ui::test::flattened;
using kelvane::ui::test::run;

namespace {

// Three lot sizes priced by hand: 単価 falls as the lot grows.
kelvane::job::Quote threeLots() {
  kelvane::job::Quote quote;
  quote.lots = {{100, 61.11, 37.5, 27, 125.61, 15915, 15915},
                {1000, 61.11, 34.13, 27, 122.24, 15488, 154880},
                {10000, 61.11, 33.79, 27, 121.9, 15445, 1544500}};
  quote.subtotalYen = 15915;
  quote.taxYen = 1591;
  quote.totalYen = 17506;
  return quote;
}

// The request priced and totalled as the window does it.
kelvane::job::RequestQuote requestOf(std::vector<QuotedItem> items) {
  const auto request = kelvane::job::totalRequest(std::move(items));
  if (!request) qFatal("%s", request.message().c_str());
  return *request;
}

QString qt(const std::string& text) { return QString::fromStdString(text); }

// An item's line as it reads across the page: names, quantity, 単価, 金額.
QString lineOf(const QString& names, const kelvane::job::LotPrice& lot) {
  return flattened(names + QLatin1Char(' ') + qt(kelvane::job::quantityText(lot.quantity)) +
                   QStringLiteral(" 個 ") + qt(kelvane::job::unitPriceText(lot.unitPriceSen)) +
                   QLatin1Char(' ') + qt(kelvane::job::yenText(lot.amountYen)));
}

// A coil of `kilograms` of wire and `turns` turns priced for the lots, as
// the quotation pane prices an item.
kelvane::job::Quote priced(double kilograms, double turns, std::vector<std::int64_t> lots) {
  const auto quote = kelvane::job::priceCoil(kilograms, turns,
                                             kelvane::job::test::prototypeTerms(std::move(lots)));
  if (!quote) qFatal("%s", quote.message().c_str());
  return *quote;
}

CustomerQuotation sample() {
  CustomerQuotation q;
  q.company = {QStringLiteral("株式会社ケルヴェイン巻線"),
               QStringLiteral("東京都大田区東糀谷 1-2-3"), QStringLiteral("03-1234-5678"),
               QStringLiteral("鈴木 一郎")};
  q.fields.customer = "株式会社サンプル電機";
  q.fields.quotationNumber = "Q2026-118";
  q.fields.personInCharge = "山田 太郎";
  q.fields.subject = "トランス用巻線コイル 試作";
  q.fields.deliveryTerms = "受注後 3 週間";
  q.fields.paymentTerms = "月末締め翌月末払い";
  q.fields.remarks = "端末処理：半田上げ\n梱包：トレー入り";
  q.fields.revision = 2;
  q.fields.issuedOn = "2026-12-08";
  q.fields.validDays = 30;
  q.request = requestOf({{"KC-0042", "電源トランス", threeLots(), 0}});
  q.issuedOn = QDate(2026, 12, 8);
  q.programVersion = QStringLiteral("0.1.0");
  return q;
}

}  // namespace

class CustomerQuotationTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;

  QString written(const CustomerQuotation& q, const QString& name, int page = 0) {
    const QString path = dir_.filePath(name);
    if (const auto written = kelvane::ui::writeCustomerQuotationPdf(path, q); !written.ok()) {
      qWarning("%s", written.message().c_str());
      return {};
    }
    QStringList arguments = {QStringLiteral("-layout")};
    if (page > 0) arguments << "-f" << QString::number(page) << "-l" << QString::number(page);
    return flattened(run(QStringLiteral("pdftotext"), arguments << path << QStringLiteral("-")));
  }

  // The text of every page of the quotation, written once.
  QStringList pagesOf(const CustomerQuotation& q, const QString& name) {
    const QString path = dir_.filePath(name);
    if (const auto written = kelvane::ui::writeCustomerQuotationPdf(path, q); !written.ok()) {
      qWarning("%s", written.message().c_str());
      return {};
    }
    const QRegularExpressionMatch count = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                                              .match(run(QStringLiteral("pdfinfo"), {path}));
    QStringList pages;
    for (int page = 1; count.hasMatch() && page <= count.captured(1).toInt(); ++page)
      pages << flattened(
          run(QStringLiteral("pdftotext"),
              {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
               QStringLiteral("-l"), QString::number(page), path, QStringLiteral("-")}));
    return pages;
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    // KELVANE_KEEP_PDFS=1 keeps the PDFs written, to look at them.
    if (!qEnvironmentVariableIsEmpty("KELVANE_KEEP_PDFS")) {
      dir_.setAutoRemove(false);
      qInfo("PDFs kept in %s", qPrintable(dir_.path()));
    }
  }

  // What the customer reads: who quotes to whom, the number with its 版,
  // the days, every lot's 単価 and 金額, the first lot's totals and the
  // terms of delivery and payment, with 円 and grouped digits throughout.
  void the_pdf_holds_every_figure_and_field() {
    const CustomerQuotation q = sample();
    const QString text = written(q, QStringLiteral("quotation.pdf"));
    QVERIFY(!text.isEmpty());
    QStringList expected = {QStringLiteral("見 積 書"),
                            QStringLiteral("株式会社サンプル電機 御中"),
                            QStringLiteral("Q2026-118（第2版）"),
                            QStringLiteral("2026年12月8日"),
                            QStringLiteral("2027年1月7日"),
                            QStringLiteral("トランス用巻線コイル 試作"),
                            QStringLiteral("KC-0042"),
                            QStringLiteral("株式会社ケルヴェイン巻線"),
                            QStringLiteral("東京都大田区東糀谷 1-2-3"),
                            QStringLiteral("TEL 03-1234-5678"),
                            QStringLiteral("担当 山田 太郎"),
                            QStringLiteral("受注後 3 週間"),
                            QStringLiteral("月末締め翌月末払い"),
                            QStringLiteral("端末処理：半田上げ"),
                            QStringLiteral("梱包：トレー入り"),
                            QStringLiteral("作成"),
                            QStringLiteral("承認"),
                            QStringLiteral("1/1"),
                            QStringLiteral("10,000 個"),
                            QStringLiteral("159.15円"),
                            QStringLiteral("154.88円"),
                            QStringLiteral("154.45円"),
                            QStringLiteral("1,544,500円"),
                            QStringLiteral("単価（税抜）"),
                            QStringLiteral("金額（税抜）"),
                            QStringLiteral("小計（税抜） 15,915円"),
                            QStringLiteral("消費税（10 %） 1,591円"),
                            QStringLiteral("合計 17,506円")};
    for (const QString& e : expected) QVERIFY2(text.contains(e), qPrintable(e));
    // The amount the customer reads first: the first lot's total with tax.
    QVERIFY(text.contains(QStringLiteral("御見積金額（税込） 17,506円")));
    QVERIFY(!text.contains(QStringLiteral("¥")));
    // A kanji that reads back as its radical (見 as ⾒) is text nobody finds.
    QVERIFY(!text.contains(QRegularExpression(QStringLiteral("[\\x{2E80}-\\x{2FDF}]"))));
  }

  // A PDF's text layer gives each glyph of its face the lowest code point
  // the face draws with that glyph. In the paper's face every character a
  // quotation is written in must be that lowest code point itself, or the
  // PDF reads back another character than it shows.
  void the_paper_face_reads_back_every_character_as_drawn_data() {
    QTest::addColumn<char32_t>("first");
    QTest::addColumn<char32_t>("last");
    QTest::newRow("digits, Latin letters and signs") << U'!' << U'~';
    QTest::newRow("Japanese punctuation and brackets") << U'\u3001' << U'\u301B';
    QTest::newRow("hiragana and katakana") << U'\u3041' << U'\u30FE';
    QTest::newRow("kanji") << U'\u4E00' << U'\u9FFF';
    // ～ (U+FF5E) is left out: IPA P Gothic draws it as 〜, which it reads
    // back as.
    QTest::newRow("full-width digits and letters") << U'\uFF01' << U'\uFF5D';
  }
  void the_paper_face_reads_back_every_character_as_drawn() {
    QFETCH(char32_t, first);
    QFETCH(char32_t, last);
    QFont font(kelvane::ui::paperFace());
    font.setPixelSize(32);
    const QRawFont face = QRawFont::fromFont(font);
    std::map<quint32, char32_t> readBack;  // glyph → the lowest code point drawn with it
    for (char32_t c = 1; c <= last; ++c) {
      if (c >= 0xD800 && c < 0xE000) continue;
      const QList<quint32> glyphs = face.glyphIndexesForString(QString::fromUcs4(&c, 1));
      if (!glyphs.isEmpty() && glyphs[0] != 0) readBack.emplace(glyphs[0], c);
    }
    QStringList wrong;
    for (char32_t c = first; c <= last; ++c) {
      const QList<quint32> glyphs = face.glyphIndexesForString(QString::fromUcs4(&c, 1));
      if (glyphs.isEmpty() || glyphs[0] == 0) continue;  // drawn by another face
      if (const char32_t back = readBack.at(glyphs[0]); back != c)
        wrong << QString::fromUcs4(&c, 1) + QStringLiteral("→") + QString::fromUcs4(&back, 1);
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(kelvane::ui::paperFace() + QStringLiteral(": ") +
                                         wrong.mid(0, 20).join(QLatin1Char(' '))));
  }

  // Whom the quotation is addressed to, with one honorific: 御中 for a
  // company or department, 様 for a person, one typed with the name kept.
  void the_addressee_has_one_honorific_data() {
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("person");
    QTest::addColumn<QString>("printed");
    QTest::newRow("department") << QStringLiteral("株式会社サンプル電機 購買部") << QString()
                                << QStringLiteral("株式会社サンプル電機 購買部 御中");
    QTest::newRow("person") << QStringLiteral("株式会社サンプル電機") << QStringLiteral("山田 太郎")
                            << QStringLiteral("株式会社サンプル電機 山田 太郎 様");
    QTest::newRow("typed with 様")
        << QStringLiteral("山田 太郎 様") << QString() << QStringLiteral("山田 太郎 様");
    QTest::newRow("nobody") << QString() << QString() << QString();
  }
  void the_addressee_has_one_honorific() {
    QFETCH(QString, customer);
    QFETCH(QString, person);
    QFETCH(QString, printed);
    CustomerQuotation q = sample();
    q.fields.customer = customer.toStdString();
    q.fields.customerPerson = person.toStdString();
    const QString text = written(q, QStringLiteral("addressee.pdf"));
    QVERIFY2(text.contains(printed), qPrintable(text));
    // No other honorific anywhere: none doubled, no lone 御中 for nobody.
    QCOMPARE(text.count(QStringLiteral("御中")) + text.count(QStringLiteral("様")),
             printed.count(QStringLiteral("御中")) + printed.count(QStringLiteral("様")));
  }

  // Without a person of the job the company's stands in; the 版 of a
  // quotation never issued before prints as the first.
  void the_company_person_and_the_first_revision() {
    CustomerQuotation q = sample();
    q.fields.personInCharge.clear();
    q.fields.revision = 0;
    q.fields.quotationNumber.clear();
    const QString text = written(q, QStringLiteral("first.pdf"));
    QVERIFY(text.contains(QStringLiteral("担当 鈴木 一郎")));
    QVERIFY(text.contains(QStringLiteral("第1版")));
  }

  // Three items of one request: each line shows its basis lot, 金額 being
  // 単価 × 数量 to the yen, half up; 小計 is their sum, 消費税 is taken once,
  // on 小計, and the headline amount is 合計. Below the totals, apart from
  // them, every lot of an item quoted for more than one, in order.
  void the_totals_are_over_every_items_basis_lot_data() {
    QTest::addColumn<QList<int>>("basis");  // each item's basis lot
    QTest::newRow("each item's first lot") << QList<int>{0, 0, 0};
    QTest::newRow("a lot in the middle") << QList<int>{1, 0, 0};
    QTest::newRow("the largest lots") << QList<int>{2, 0, 1};
  }
  void the_totals_are_over_every_items_basis_lot() {
    QFETCH(QList<int>, basis);
    CustomerQuotation q = sample();
    // A round, a single-lot rectangular and a fan-shaped coil.
    std::vector<QuotedItem> items = {
        {"KC-0101", "丸形コイル", priced(0.0323, 120, {100, 1000, 5000}), std::size_t(basis[0])},
        {"KC-0102", "角形コイル", priced(0.0871, 415, {250}), std::size_t(basis[1])},
        {"KC-0103", "扇形コイル", priced(0.0147, 1500, {30, 300}), std::size_t(basis[2])}};
    std::int64_t subtotal = 0;
    for (const QuotedItem& item : items) {
      const kelvane::job::LotPrice& lot = item.basis();
      // 単価 is in 0.01 円: 金額 rounds 単価 × 数量 to the yen, half up.
      QCOMPARE(lot.amountYen, (lot.unitPriceSen * lot.quantity + 50) / 100);
      subtotal += lot.amountYen;
    }
    const std::int64_t tax = subtotal / 10, total = subtotal + tax;
    q.request = requestOf(items);
    const QString text =
        written(q, QStringLiteral("three-%1.pdf").arg(QString::fromUtf8(QTest::currentDataTag())));

    const auto yen = [](std::int64_t amount) { return qt(kelvane::job::yenText(amount)); };
    QVERIFY2(text.contains(QStringLiteral("御見積金額（税込） ") + yen(total)), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("明細 3 品目の合計金額です。")));
    const qsizetype subtotalAt = text.indexOf(QStringLiteral("小計（税抜） ") + yen(subtotal));
    const qsizetype taxAt =
        text.indexOf(qt(std::string(kelvane::job::kTaxCaption)) + QLatin1Char(' ') + yen(tax));
    const qsizetype totalAt = text.indexOf(QStringLiteral("合計 ") + yen(total));
    QVERIFY2(subtotalAt > 0 && subtotalAt < taxAt && taxAt < totalAt, qPrintable(text));
    qsizetype at = text.indexOf(QStringLiteral("明細"));
    for (const QuotedItem& item : items) {
      const QString line = lineOf(qt(item.partNumber + " " + item.name), item.basis());
      const qsizetype next = text.indexOf(line, at);
      QVERIFY2(next > at && next < subtotalAt, qPrintable(line));
      at = next;
    }

    // The prices by quantity: the items of several lots, each lot in turn,
    // the names on the first; none of the item of one lot.
    const qsizetype byQuantity = text.indexOf(QStringLiteral("数量別単価（参考）"));
    QVERIFY(byQuantity > totalAt);
    QVERIFY(text.indexOf(QStringLiteral("含まれません"), byQuantity) > byQuantity);
    QVERIFY(!text.mid(byQuantity).contains(QStringLiteral("KC-0102")));
    at = byQuantity;
    for (const QuotedItem& item : {items[0], items[2]}) {
      for (std::size_t i = 0; i < item.quote.lots.size(); ++i) {
        const QString line =
            lineOf(i == 0 ? qt(item.partNumber + " " + item.name) : QString(), item.quote.lots[i]);
        const qsizetype next = text.indexOf(line, at);
        QVERIFY2(next > at, qPrintable(line));
        at = next;
      }
    }
    QVERIFY(text.contains(QStringLiteral("1/1")));
  }

  // A request of many items goes on over pages: a page after the first
  // starts with 見積書（続き） and the quotation's number, a table that goes
  // on repeats its heading and its columns' headings, the page before says
  // that it goes on, and every page is numbered. Every line is printed once.
  void a_long_request_goes_on_over_pages_data() {
    QTest::addColumn<int>("itemCount");
    QTest::addColumn<int>("lots");
    QTest::addColumn<int>("pages");
    QTest::newRow("30 items of one lot") << 30 << 1 << 2;
    QTest::newRow("30 items of three lots") << 30 << 3 << 4;
    QTest::newRow("100 items of five lots") << 100 << 5 << 15;
  }
  void a_long_request_goes_on_over_pages() {
    QFETCH(int, itemCount);
    QFETCH(int, lots);
    QFETCH(int, pages);
    const std::vector<std::int64_t> sizes = {100, 500, 1000, 5000, 10000};
    std::vector<QuotedItem> items;
    items.reserve(std::size_t(itemCount));
    for (int i = 0; i < itemCount; ++i)
      items.push_back(
          {"KC-" + std::to_string(2001 + i), "コイル",
           priced(0.01 + 0.001 * i, 100 + 10 * i, {sizes.begin(), sizes.begin() + lots}), 0});
    CustomerQuotation q = sample();
    q.request = requestOf(items);
    const QStringList texts = pagesOf(q, QStringLiteral("long-request.pdf"));
    QCOMPARE(texts.size(), pages);

    const QString columns = QStringLiteral("品番・品名 数量 単価（税抜） 金額（税抜）");
    const QRegularExpression partNumber(QStringLiteral("KC-2\\d{3}"));
    for (int page = 1; page <= pages; ++page) {
      const QString& text = texts[page - 1];
      QVERIFY2(text.contains(QStringLiteral("%1/%2").arg(page).arg(pages)), qPrintable(text));
      if (page > 1) {
        QVERIFY(text.startsWith(QStringLiteral("見積書（続き） Q2026-118（第2版）")));
        // A page that goes on from the one before starts with that table.
        const bool goesOn = texts[page - 2].contains(QStringLiteral("（次ページに続く）"));
        QCOMPARE(text.contains(QRegularExpression(
                     QStringLiteral("^見積書（続き） \\S+ "
                                    "(明細（続き）|数量別単価（参考・続き）|備考（続き）)"))),
                 goesOn);
      }
      // Whichever page holds lines of items has the columns' headings.
      if (text.contains(partNumber))
        QVERIFY2(text.contains(columns), qPrintable(QStringLiteral("page %1").arg(page)));
    }
    QVERIFY(!texts.last().contains(QStringLiteral("（次ページに続く）")));
    const QString all = texts.join(QLatin1Char(' '));
    for (const QuotedItem& item : items) {
      const QString line = lineOf(qt(item.partNumber + " " + item.name), item.basis());
      // Its line, and with several lots its first lot again by quantity.
      QCOMPARE(all.count(line), lots == 1 ? 1 : 2);
    }
    QCOMPARE(all.count(QStringLiteral("合計 ") + qt(kelvane::job::yenText(q.request.totalYen))), 1);
    QVERIFY(all.contains(QStringLiteral("端末処理：半田上げ")));
  }

  // Remarks longer than the first page's room go on to the next, whole and
  // in order, every page numbered.
  void long_remarks_continue_on_the_next_page() {
    CustomerQuotation q = sample();
    QString remarks;
    for (int i = 1; i <= 60; ++i)
      remarks += QStringLiteral("第%1項：検査成績書を添付する。\n").arg(i);
    q.fields.remarks = remarks.toStdString();
    const QString first = written(q, QStringLiteral("long.pdf"), 1);
    const QString second = written(q, QStringLiteral("long.pdf"), 2);
    QVERIFY(first.contains(QStringLiteral("1/2")));
    QVERIFY(first.contains(QStringLiteral("（次ページに続く）")));
    QVERIFY(second.contains(QStringLiteral("備考（続き）")));
    QVERIFY(second.contains(QStringLiteral("第60項")));
    QVERIFY(second.contains(QStringLiteral("2/2")));
    for (int i = 1; i <= 60; ++i) {
      const QString item = QStringLiteral("第%1項：").arg(i);
      QVERIFY2(first.contains(item) != second.contains(item), qPrintable(item));
    }
  }

  void a_file_that_cannot_be_written_is_refused() {
    const auto written = kelvane::ui::writeCustomerQuotationPdf(
        dir_.filePath(QStringLiteral("none/quotation.pdf")), sample());
    QCOMPARE(
        QString::fromUtf8(kelvane::ui::test::failureText(written)),
        QStringLiteral("「quotation.pdf」を保存できません（保存先のフォルダーがありません）。"));
  }
};

KELVANE_UI_TEST_MAIN(CustomerQuotationTest)
#include "customer_quotation_test.moc"
