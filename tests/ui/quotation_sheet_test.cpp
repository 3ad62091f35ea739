// The quotation sheet as a PDF: what its text says, read back with poppler's
// pdftotext page by page, its fonts embedded, and a refusal for a file it
// cannot write.
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "form/boxes.h"
#include "form/control_table.h"
#include "form/form_job.h"
#include "form/stack_forms.h"
#include "pdf_text.h"
#include "tests/job/job_fixtures.h"
#include "ui/quotation_sheet.h"
#include "ui/sheet_cost.h"
#include "window_test_support.h"

using kelvane::form::text1;
using kelvane::ui::QuotationContent;
using kelvane::ui::test::flattened;
using kelvane::ui::test::run;
namespace box = kelvane::form::box;

namespace {

const QString kOutOfDate = QStringLiteral("計算結果は入力と一致していません（再計算が必要）");

const kelvane::job::JobFields kFields = kelvane::job::test::jobFields(
    "株式会社サンプル電機", "Q2026-118", "山田 太郎", "試作3台分。納期は来月末。", 75);

// The item the sheet is for: its names, no requirement.
kelvane::job::Item namedItem() {
  kelvane::job::Item item;
  item.partNumber = "KC-0042";
  item.name = "電源トランス";
  return item;
}

// The sheet of one item as the window gives it.
QuotationContent sheetOf(const kelvane::form::Form1& form,
                         const kelvane::job::JobFields& fields = kFields,
                         const kelvane::job::Item& item = namedItem()) {
  return kelvane::ui::quotationOf(form, fields, item);
}

// One section, as the sheet of a job of one item.
std::span<const QuotationContent> one(const QuotationContent& content) { return {&content, 1}; }

// A rectangular coil of 120 turns, 計算 pressed.
kelvane::form::Form1 pressedForm(const std::string& turns = "120") {
  kelvane::form::Form1 form;
  form.typeText(text1(kelvane::form::indexOf(box::Turns)), turns);
  form.click({"Command1", -1});
  return form;
}

// Numbered sentences with a line break now and then, cut at `length`
// characters: no part of it reads like another.
QString numberedSentences(int length) {
  QString text;
  for (int i = 1; text.size() < length; ++i) {
    text += QStringLiteral("第%1項：巻線の仕様は客先図面 No.%2 に従い、端末処理は半田上げとする。")
                .arg(i)
                .arg(1000 + i);
    if (i % 7 == 0) text += QLatin1Char('\n');
  }
  return text.left(length);
}

QString withoutSpaces(QString text) {
  return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

// A row of a table as its cells read across the page, the empty ones left out.
QString rowText(const kelvane::job::TableRow& row) {
  QStringList cells;
  for (const std::string* cell : {&row.item, &row.aligned, &row.predicted, &row.unit})
    if (!cell->empty()) cells << QString::fromStdString(*cell);
  return flattened(cells.join(QLatin1Char(' ')));
}

}  // namespace

class QuotationSheetTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;

  // The sheet written to a PDF in the temporary folder, its text as
  // pdftotext extracts it: laid out as on the page (rows of a table on one
  // line), or in the order it was painted (a wrapped text's lines one after
  // the other).
  enum class Extract { Layout, Painted };
  QString writtenText(const QuotationContent& content, const QString& name,
                      Extract extract = Extract::Layout) {
    const QString path = dir_.filePath(name);
    if (const auto written = kelvane::ui::writeQuotationPdf(path, one(content)); !written.ok()) {
      qWarning("%s", written.message().c_str());
      return {};
    }
    return pageText(path, 0, extract);
  }

  // The text of one page (from 1), or of all of them (0).
  static QString pageText(const QString& path, int page, Extract extract = Extract::Layout) {
    QStringList arguments = {extract == Extract::Layout ? QStringLiteral("-layout")
                                                        : QStringLiteral("-raw")};
    if (page > 0)
      arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                << QString::number(page);
    return run(QStringLiteral("pdftotext"), arguments << path << QStringLiteral("-"));
  }

  static int pageCount(const QString& path) {
    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                                              .match(run(QStringLiteral("pdfinfo"), {path}));
    return pages.hasMatch() ? pages.captured(1).toInt() : 0;
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

  void the_pdf_reads_as_the_window_shows_the_job() {
    const kelvane::form::Form1 form = pressedForm();
    const QuotationContent content = sheetOf(form, kFields);
    QCOMPARE(content.wireSheet.size(), std::size_t(16));
    const QString text = flattened(writtenText(content, QStringLiteral("current.pdf")));
    QVERIFY(!text.isEmpty());

    for (const char* expected :
         {"見積計算書", "株式会社サンプル電機", "KC-0042", "電源トランス", "Q2026-118", "山田 太郎",
          "試作3台分。納期は来月末。", "Kelvane 0.1.0"})
      QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    QVERIFY(text.contains(content.printedAt.toString(QStringLiteral("yyyy/MM/dd HH:mm"))));

    // Every row with its values as the boxes show them, in their columns
    // and with their units: the former and the material in words, the
    // length, the weight and the resistance with both columns.
    QVERIFY(content.table.results.size() >= 10);
    for (const auto* rows : {&content.table.inputs, &content.table.results})
      for (const kelvane::job::TableRow& row : *rows)
        QVERIFY2(text.contains(rowText(row)), qPrintable(rowText(row)));
    for (const char* expected :
         {"巻枠 角形", "銅線", "全長 ", "DCR (20 °C) ", "DCR (75 °C) ", "規格DCR最小 (20 °C) ",
          "規格DCR公称 (20 °C) ", "規格DCR最大 (20 °C) ", "使用温度 75 °C", " mm", " Ω"})
      QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    QVERIFY(text.contains(rowText(kelvane::job::outputHeading())));

    // What the columns mean, which is larger, and where the window shows
    // each, the resistance row's crossing included; where the standard's
    // band comes from, and the form's resistivity, k and density that its
    // DCR differs by (0.2 mm copper: k = 1.030769 − 0.038461 · 0.2). A
    // sentence may break across lines.
    const QString unspaced =
        flattened(writtenText(content, QStringLiteral("painted.pdf"), Extract::Painted))
            .remove(QLatin1Char(' '));
    for (const QString& expected :
         {QString::fromUtf8(kelvane::job::columnNote().data(),
                            qsizetype(kelvane::job::columnNote().size())),
          QStringLiteral("画面では整列巻き計算が「Max」、クロス込み予測が「予測Mid」の列です"),
          QStringLiteral("DCRの行だけは画面で逆の列に出ます"),
          QStringLiteral("α=0.00393/K（銅線）で換算した値です"),
          QStringLiteral(
              "素線径0.2mmの1m当たりの値は、公称0.5488Ω/m、最小0.5289Ω/m、最大0.5599Ω/mです"),
          QStringLiteral("公称は焼なまし銅の国際標準（IACS）の体積抵抗率0.017241Ω·mm²/m"),
          QStringLiteral("最小・最大は「エナメル銅線(JISC32023種〜1種)」の表（華業科技"),
          QStringLiteral(
              "体積抵抗率0.017241Ω·mm²/m（銅線）に細線補正係数k=1.0231（素線径0.2mmでの値"),
          QStringLiteral("規格DCR公称の1.0231倍です。重量は密度8.96g/cm³で求めています。")})
      QVERIFY2(unspaced.contains(expected), qPrintable(expected));
  }

  // A text too long for its place on the first page goes on where it
  // stopped, on the pages after it: read across the pages, the sheet holds
  // the whole text in order. Every page carries its number.
  void long_texts_continue_on_later_pages_data() {
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pages");
    QTest::newRow("a short memo") << "memo" << QStringLiteral("試作3台分。納期は来月末。") << 1;
    QTest::newRow("a memo of 3,000 characters") << "memo" << numberedSentences(3000) << 2;
    QTest::newRow("a memo of 10,000 characters") << "memo" << numberedSentences(10000) << 4;
    QTest::newRow("a customer's name of 150 characters")
        << "customer" << numberedSentences(150) << 2;
    QTest::newRow("a part number with nowhere to break")
        << "partNumber" << QStringLiteral("KC-") + QString(300, QLatin1Char('X')) << 2;
    QTest::newRow("an item's name of 150 characters") << "name" << numberedSentences(150) << 2;
    QTest::newRow("a box's text too long for its cell")
        << "turns" << QStringLiteral("120 ") + QString(150, QChar(0x5DFB)) << 2;
  }
  void long_texts_continue_on_later_pages() {
    QFETCH(QString, where);
    QFETCH(QString, text);
    QFETCH(int, pages);
    kelvane::job::JobFields fields = kFields;
    kelvane::job::Item item = namedItem();
    const std::string typed = text.toStdString();
    if (where == QStringLiteral("memo")) fields.memo = typed;
    if (where == QStringLiteral("customer")) fields.customer = typed;
    if (where == QStringLiteral("partNumber")) item.partNumber = typed;
    if (where == QStringLiteral("name")) item.name = typed;
    const kelvane::form::Form1 form =
        pressedForm(where == QStringLiteral("turns") ? typed : std::string("120"));
    const QString path = dir_.filePath(QStringLiteral("long.pdf"));
    const auto written = kelvane::ui::writeQuotationPdf(path, one(sheetOf(form, fields, item)));
    QVERIFY2(written.ok(), kelvane::ui::test::failureText(written));
    QCOMPARE(pageCount(path), pages);

    QString later;
    for (int page = 1; page <= pages; ++page) {
      const QString lines = pageText(path, page);
      QVERIFY2(lines.contains(QStringLiteral("%1/%2").arg(page).arg(pages)), qPrintable(lines));
      // A later page's own lines, without its title, time, version and number.
      if (page > 1) {
        QStringList own =
            pageText(path, page, Extract::Painted)
                .split(QRegularExpression(QStringLiteral("[\\n\\f]")), Qt::SkipEmptyParts);
        QVERIFY(own.size() > 4);
        later += withoutSpaces(own.mid(3, own.size() - 4).join(QString()));
      }
    }
    // The first page shows the text up to where it stops (a part, or a cell
    // cut short with "…"); the later pages hold the rest from there on.
    const QString first = withoutSpaces(pageText(path, 1, Extract::Painted));
    const QString whole = withoutSpaces(text);
    qsizetype shown = 0;  // the longest start of the text the first page shows
    for (qsizetype step = whole.size(); step > 0; step /= 2)
      while (shown + step <= whole.size() && first.contains(whole.left(shown + step)))
        shown += step;
    QCOMPARE(shown == whole.size(), pages == 1);
    QVERIFY2(later.contains(whole.mid(shown)), qPrintable(whole.mid(shown).left(40)));
  }

  // The customer's requirements stand beside the results: each with the
  // result in its unit and the verdict, a result outside the tolerance
  // 不適合, and no verdict for results that no longer belong to the inputs.
  void the_requirement_shows_with_its_verdict_data() {
    QTest::addColumn<int>("box");           // the result box asked of
    QTest::addColumn<double>("factor");     // the value asked, times the result
    QTest::addColumn<double>("tolerance");  // %, below 0: none given
    QTest::addColumn<bool>("outOfDate");
    QTest::addColumn<QString>("verdict");
    const int height = int(box::AlignedHeight), dcr = int(box::PredictedDcr);
    QTest::newRow("the DCR as asked") << dcr << 1.0 << -1.0 << false << "適合";
    QTest::newRow("the DCR 4 % off") << dcr << 1.04 << -1.0 << false << "適合";
    QTest::newRow("the DCR 20 % off") << dcr << 1.2 << -1.0 << false << "不適合";
    QTest::newRow("20 % off within ±25 %") << dcr << 1.2 << 25.0 << false << "適合";
    QTest::newRow("a height 10 % off") << height << 0.9 << -1.0 << false << "不適合";
    QTest::newRow("results out of date") << dcr << 1.0 << -1.0 << true << "—";
  }
  void the_requirement_shows_with_its_verdict() {
    QFETCH(int, box);
    QFETCH(double, factor);
    QFETCH(double, tolerance);
    QFETCH(bool, outOfDate);
    QFETCH(QString, verdict);
    kelvane::form::Form1 form = pressedForm();
    kelvane::job::Requirement requirement;
    requirement.box = kelvane::ResultBox(box);
    requirement.unit = requirement.box == box::PredictedDcr ? "Ω" : "mm";
    requirement.value = 1;
    const auto result = kelvane::job::requiredResult(requirement, kelvane::form::shownCoil(form));
    QVERIFY(result.has_value());
    requirement.value = *result * factor;
    if (tolerance >= 0) requirement.tolerancePercent = tolerance;
    if (outOfDate) form.typeText(text1(kelvane::form::indexOf(box::Turns)), "150");
    kelvane::job::Item item = namedItem();
    item.requirements = {requirement};

    const QuotationContent content = sheetOf(form, kFields, item);
    QCOMPARE(content.requirements.size(), std::size_t(1));
    const QString text = flattened(writtenText(content, QStringLiteral("required.pdf")));
    QVERIFY(text.contains(QStringLiteral("項目 仕様 結果 判定")));
    const QString shown = outOfDate ? QStringLiteral("—")
                                    : QString::fromStdString(kelvane::job::requiredResultText(
                                          requirement, kelvane::form::shownCoil(form)));
    const QString row =
        flattened(QString::fromStdString(kelvane::job::requirementText(requirement)) +
                  QLatin1Char(' ') + shown + QLatin1Char(' ') + verdict);
    QVERIFY2(text.contains(row), qPrintable(row + QLatin1Char('\n') + text));
  }

  // The requirements stand on the first page where it has room for them,
  // else on a page of their own after it: nothing ever runs into the page's
  // foot. A fan's results fill its first page.
  void the_requirements_never_run_off_the_first_page_data() {
    QTest::addColumn<int>("former");  // Option1: round, rectangular, fan
    QTest::addColumn<int>("count");   // the boxes asked of
    QTest::addColumn<bool>("outOfDate");
    QTest::addColumn<int>("page");  // where they stand
    QTest::newRow("round, all four") << 0 << 4 << true << 1;
    QTest::newRow("rectangular, two") << 1 << 2 << false << 1;
    QTest::newRow("rectangular out of date, all four") << 1 << 4 << true << 2;
    QTest::newRow("fan, one") << 2 << 1 << false << 2;
    QTest::newRow("fan out of date, all four") << 2 << 4 << true << 2;
  }
  void the_requirements_never_run_off_the_first_page() {
    QFETCH(int, former);
    QFETCH(int, count);
    QFETCH(bool, outOfDate);
    QFETCH(int, page);
    kelvane::form::Form1 form;
    form.click({"Option1", former});
    form.typeText(text1(kelvane::form::indexOf(box::Turns)), "120");
    form.click({"Command1", -1});
    kelvane::job::Item item = namedItem();
    for (const kelvane::ResultBox b :
         {box::PredictedDcr, box::AlignedWeight, box::AlignedHeight, box::CrossHeight}) {
      if (int(item.requirements.size()) == count) break;
      item.requirements.push_back({b,
                                   2.1,
                                   b == box::PredictedDcr    ? "Ω"
                                   : b == box::AlignedWeight ? "g"
                                                             : "mm",
                                   {}});
    }
    if (outOfDate) form.typeText(text1(kelvane::form::indexOf(box::Turns)), "150");
    const QString path = dir_.filePath(QStringLiteral("room.pdf"));
    QVERIFY(kelvane::ui::writeQuotationPdf(path, one(sheetOf(form, kFields, item))).ok());
    QCOMPARE(pageCount(path), page);
    const QString table = flattened(pageText(path, page));
    QVERIFY(table.contains(QStringLiteral("項目 仕様 結果 判定")));
    if (page > 1) {
      QVERIFY(table.contains(QStringLiteral("見積計算書（仕様）")));
      QVERIFY(table.contains(QStringLiteral("KC-0042 電源トランス")));
    }

    // Every word of the first page above its foot (282 mm), but its number.
    const QString words =
        run(QStringLiteral("pdftotext"),
            {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
             QStringLiteral("-l"), QStringLiteral("1"), path, QStringLiteral("-")});
    const QRegularExpression word(QStringLiteral("yMax=\"([0-9.]+)\">([^<]*)<"));
    int checked = 0;
    for (const QRegularExpressionMatch& m : word.globalMatch(words)) {
      if (m.captured(2).contains(QLatin1Char('/')) && m.captured(2).front().isDigit()) continue;
      QVERIFY2(m.captured(1).toDouble() * 25.4 / 72 <= 282.2, qPrintable(m.captured(2)));
      ++checked;
    }
    QVERIFY(checked > 100);
  }

  // Without a requirement there is no such table.
  void an_item_without_a_requirement_has_no_table() {
    const QString text =
        flattened(writtenText(sheetOf(pressedForm()), QStringLiteral("plain.pdf")));
    QVERIFY(!text.contains(QStringLiteral("判定")));
  }

  // A job of several items: a section for each with its names and its
  // place among them, the pages numbered through, and a text continued
  // from a later section's first page pointing at the page it goes on on.
  void every_item_has_its_section() {
    kelvane::job::Item first = namedItem(), second = namedItem();
    second.partNumber = "KC-" + std::string(300, 'Y');
    second.name = "チョークコイル";
    const QuotationContent sections[] = {sheetOf(pressedForm(), kFields, first),
                                         sheetOf(pressedForm("60"), kFields, second)};
    const QString path = dir_.filePath(QStringLiteral("items.pdf"));
    QVERIFY(kelvane::ui::writeQuotationPdf(path, sections).ok());
    QCOMPARE(pageCount(path), 3);
    const QString one = flattened(pageText(path, 1)), two = flattened(pageText(path, 2)),
                  three = flattened(pageText(path, 3));
    QVERIFY(one.contains(QStringLiteral("品番 KC-0042")));
    QVERIFY(one.contains(QStringLiteral("品名 電源トランス")));
    QVERIFY(one.contains(QStringLiteral("1/3")));
    QVERIFY(two.contains(QStringLiteral("品名 チョークコイル")));
    QVERIFY(two.contains(QStringLiteral("巻き数(n) 60")));
    QVERIFY2(two.contains(QStringLiteral("（続きは3ページ）")), qPrintable(two));
    QVERIFY(three.contains(QStringLiteral("品番（続き）")));
    QVERIFY(three.contains(QStringLiteral("3/3")));
  }

  // 見積書を印刷… paints onto a printer as the PDF does: every page, each
  // with its number. (A printer writing a PDF file stands in for paper.)
  void printing_gets_every_page() {
    kelvane::job::JobFields fields = kFields;
    fields.memo = numberedSentences(3000).toStdString();
    const QString path = dir_.filePath(QStringLiteral("printed.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter;
    QVERIFY(painter.begin(&printer));
    QVERIFY(kelvane::ui::paintQuotation(painter, printer, one(sheetOf(pressedForm(), fields))));
    QVERIFY(painter.end());
    QCOMPARE(pageCount(path), 2);
    QVERIFY(flattened(pageText(path, 2)).contains(QStringLiteral("メモ（続き）")));
    QVERIFY(pageText(path, 2).contains(QStringLiteral("2/2")));
  }

  // At 1000 turns and more the window draws no section but a note; the sheet
  // shows the same note in the drawing's place. A drawing has the legend of
  // its filled turns; the outer dimensions stand below it either way.
  void the_drawing_or_the_windows_note_data() {
    QTest::addColumn<int>("former");  // Option1: round, rectangular, fan
    QTest::addColumn<QString>("turns");
    QTest::addColumn<bool>("drawn");
    QTest::addColumn<QStringList>("outer");
    const QStringList rectangular = {QStringLiteral("A'"), QStringLiteral("B'")};
    QTest::newRow("999 turns drawn") << 1 << "999" << true << rectangular;
    QTest::newRow("1000 turns: the note") << 1 << "1000" << false << rectangular;
    QTest::newRow("1500 turns: the note") << 1 << "1500" << false << rectangular;
    QTest::newRow("a round former") << 0 << "60" << true << QStringList{QStringLiteral("D'")};
    QTest::newRow("a fan") << 2 << "1500" << false
                           << QStringList{QStringLiteral("A'"), QStringLiteral("B'"),
                                          QStringLiteral("R'")};
  }
  void the_drawing_or_the_windows_note() {
    QFETCH(int, former);
    QFETCH(QString, turns);
    QFETCH(bool, drawn);
    QFETCH(QStringList, outer);
    kelvane::form::Form1 form;
    form.click({"Option1", former});
    form.typeText(text1(kelvane::form::indexOf(box::Turns)), turns.toStdString());
    form.click({"Command1", -1});
    const QuotationContent content = sheetOf(form, kFields);
    const QString text = flattened(writtenText(content, QStringLiteral("drawing.pdf")));
    const QString note = QString::fromUtf8(kelvane::form::kLargeCoilNote);
    QCOMPARE(text.contains(note), !drawn);
    QCOMPARE(text.contains(QStringLiteral("巻き始め（1層目の左端）・巻き終わり")), drawn);

    const std::pair<const char*, kelvane::form::ResultBox> boxes[] = {
        {"A'", box::OuterA}, {"B'", box::OuterB}, {"D'", box::OuterRorD}, {"R'", box::OuterRorD}};
    QStringList dimensions;
    for (const QString& caption : outer)
      for (const auto& [name, b] : boxes)
        if (caption == QLatin1String(name))
          dimensions << caption + QLatin1Char(' ') + QString::fromStdString(form.state().text(b)) +
                            QStringLiteral(" mm");
    QVERIFY(text.contains(QStringLiteral("外形寸法 ") + dimensions.join(QLatin1Char(' '))));
  }

  // The wire data as a table per kilometre: SI units, the conductivity to
  // four decimals, the digits of the window's data sheet.
  void the_wire_data_is_a_table_with_units_data() {
    QTest::addColumn<QString>("bare");
    QTest::addColumn<QString>("finished");
    QTest::addColumn<int>("material");  // Option3
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("0.5 mm copper")
        << "0.5"
        << "0.55" << 0
        << QStringList{QStringLiteral("項目 基準 最小 最大 単位"),
                       QStringLiteral("導電率 0.9886"),
                       QStringLiteral("抵抗値 88.8209 82.1199 96.3768 Ω/km"),
                       QStringLiteral("導体部重量 1.7593 1.6214 1.9029 kg/km"),
                       QStringLiteral("絶縁部重量 0.0495 kg/km"),
                       QStringLiteral("合計重量 1.8088 1.6708 1.9523 kg/km")};
    QTest::newRow("0.05 mm aluminium")
        << "0.05"
        << "0.06" << 1
        << QStringList{QStringLiteral("導電率 0.9720"),
                       QStringLiteral("抵抗値 14,572.0768 7,434.7331 40,477.9911 Ω/km"),
                       QStringLiteral("導体部重量 5.2995 1.9078 10.3870 g/km"),
                       QStringLiteral("絶縁部重量 1.0367 g/km"),
                       QStringLiteral("合計重量 6.3362 2.9445 11.4237 g/km")};
  }
  void the_wire_data_is_a_table_with_units() {
    QFETCH(QString, bare);
    QFETCH(QString, finished);
    QFETCH(int, material);
    QFETCH(QStringList, rows);
    kelvane::form::Form1 form;
    form.click({"Option3", material});
    form.typeText(text1(kelvane::form::indexOf(box::BareDiameter)), bare.toStdString());
    form.typeText(text1(kelvane::form::indexOf(box::FinishedDiameter)), finished.toStdString());
    form.click({"Command1", -1});
    const QString text = flattened(
        writtenText(sheetOf(form, kFields), QStringLiteral("wire.pdf"), Extract::Painted));
    QVERIFY(text.contains(QStringLiteral("1 km 当たり（最小・最大は導体径の公差 ±0.02 mm）")));
    for (const QString& row : rows) QVERIFY2(text.contains(row), qPrintable(row));
    QVERIFY(!text.contains(QStringLiteral("Kg")));
  }

  // A character that turns the direction of the text around it would print
  // "photo\u202Egnp.exe" as "photoexe.png": every printed text goes without it.
  void direction_controls_never_reach_the_paper_data() {
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("printed");
    const QString override = QStringLiteral("photo\u202Egnp.exe");
    for (const char* where :
         {"customer", "quotationNumber", "partNumber", "name", "personInCharge", "memo", "tension"})
      QTest::newRow(where) << where << override << QStringLiteral("photognp.exe");
  }
  void direction_controls_never_reach_the_paper() {
    QFETCH(QString, where);
    QFETCH(QString, typed);
    QFETCH(QString, printed);
    kelvane::job::JobFields fields = kFields;
    kelvane::job::Item item = namedItem();
    const std::string text = typed.toStdString();
    for (auto [name, field] :
         {std::pair{"customer", &fields.customer},
          std::pair{"quotationNumber", &fields.quotationNumber},
          std::pair{"partNumber", &item.partNumber}, std::pair{"name", &item.name},
          std::pair{"personInCharge", &fields.personInCharge}, std::pair{"memo", &fields.memo}})
      if (where == QLatin1String(name)) *field = text;
    kelvane::form::Form1 form = pressedForm();
    if (where == QStringLiteral("tension"))
      form.typeText(text1(kelvane::form::indexOf(box::Tension)), text);
    const QString sheet = writtenText(sheetOf(form, fields, item), QStringLiteral("bidi.pdf"));
    QVERIFY2(sheet.contains(printed), qPrintable(sheet));
    QVERIFY(!sheet.contains(QChar(0x202E)));
  }

  void the_out_of_date_mark_shows_exactly_when_the_inputs_changed_data() {
    QTest::addColumn<bool>("changeAfterPress");
    QTest::addColumn<int>("marks");  // by the title and over the results
    QTest::newRow("results of these inputs") << false << 0;
    QTest::newRow("turns changed after the press") << true << 2;
  }
  void the_out_of_date_mark_shows_exactly_when_the_inputs_changed() {
    QFETCH(bool, changeAfterPress);
    QFETCH(int, marks);
    kelvane::form::Form1 form = pressedForm();
    if (changeAfterPress) form.typeText(text1(kelvane::form::indexOf(box::Turns)), "150");
    const QuotationContent content = sheetOf(form, kFields);
    QCOMPARE(content.resultsCurrent, !changeAfterPress);
    const QString text = flattened(writtenText(content, QStringLiteral("mark.pdf")));
    QVERIFY(text.contains(QStringLiteral("見積計算書")));
    QCOMPARE(text.count(kOutOfDate), marks);
  }

  void the_fonts_are_embedded() {
    const QString path = dir_.filePath(QStringLiteral("fonts.pdf"));
    const auto written = kelvane::ui::writeQuotationPdf(path, one(sheetOf(pressedForm(), kFields)));
    QVERIFY2(written.ok(), kelvane::ui::test::failureText(written));
    // name type encoding emb sub uni object-id, below two heading lines.
    const QStringList lines =
        run(QStringLiteral("pdffonts"), {path}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(lines.size() > 2);
    bool windowFace = false;
    for (const QString& line : lines.mid(2)) {
      const QStringList columns = line.split(QRegularExpression(QStringLiteral("\\s+")));
      QVERIFY(columns.size() >= 7);
      QVERIFY2(columns[columns.size() - 5] == QStringLiteral("yes"), qPrintable(line));
      windowFace = windowFace || columns[0].contains(QStringLiteral("IPAPGothic"));
    }
    QVERIFY(windowFace);
  }

  // Making the sheet presses 計算書 on a copy: the window's own data sheet
  // and messages stay as they were, and a bare diameter the data sheet
  // refuses leaves the block empty instead of showing a message.
  void the_sheet_leaves_the_form_as_it_was() {
    kelvane::form::Form1 form = pressedForm();
    form.typeText(text1(kelvane::form::indexOf(box::BareDiameter)), "abc");
    const auto messages = form.state().messages;
    const QuotationContent content = sheetOf(form, kFields);
    QVERIFY(content.wireSheet.empty());
    QCOMPARE(form.state().messages, messages);
    QVERIFY(!form.state().sheetOpen);
    const QString text = flattened(writtenText(content, QStringLiteral("no-wire.pdf")));
    QVERIFY(text.contains(QStringLiteral("素線径(d)が正しくないため作れません")));
  }

  // With the job's terms the sheet's second page gives its cost: the terms
  // with the letters of the formulas, w and n, and every lot's breakdown,
  // 単価 and 金額, then the first lot's totals and the parts; without a
  // price, why there is none. A job without terms has no such page.
  void the_cost_page_gives_every_figure_data() {
    QTest::addColumn<QString>("price");  // "priced", "refused", "none"
    QTest::addColumn<int>("pages");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("priced") << "priced" << 2
                            << QStringList{QStringLiteral("見積計算書（原価）"),
                                           QStringLiteral("線材単価 P（銅線） 1800 円/kg"),
                                           QStringLiteral("ロス率 L 5 %"),
                                           QStringLiteral("巻線速度 S 1200 min⁻¹"),
                                           QStringLiteral("数量 Q 100, 1,000 個"),
                                           QStringLiteral("w = 0.0323 kg、n = 120"),
                                           QStringLiteral("100 61.0470円 37.6000円 27.0000円 "
                                                          "125.6470円 159.20円 15,920円"),
                                           QStringLiteral("1,000 61.0470円 34.2000円 27.0000円 "
                                                          "122.2470円 154.90円 154,900円"),
                                           QStringLiteral("小計（数量 100） 15,920円"),
                                           QStringLiteral("消費税（10 %） 1,592円"),
                                           QStringLiteral("合計 17,512円"),
                                           QStringLiteral("ボビン 25.0000円"),
                                           QStringLiteral("テープ 2.0000円"),
                                           QStringLiteral("加工費 = (n / S + h + s / Q) / 60 × r"),
                                           QStringLiteral("2/2")};
    QTest::newRow("refused") << "refused" << 2
                             << QStringList{QStringLiteral("「巻線速度」が 0 では求まりません。"),
                                            QStringLiteral("ボビン 25.0000円")};
    QTest::newRow("no terms") << "none" << 1 << QStringList{QStringLiteral("1/1")};
  }
  void the_cost_page_gives_every_figure() {
    QFETCH(QString, price);
    QFETCH(int, pages);
    QFETCH(QStringList, expected);
    QuotationContent content = sheetOf(pressedForm(), kFields);
    const kelvane::job::QuotationTerms terms = kelvane::job::test::prototypeTerms({100, 1000});
    kelvane::job::Quote quote;
    quote.lots = {{100, 61.047, 37.6, 27, 125.647, 15920, 15920},
                  {1000, 61.047, 34.2, 27, 122.247, 15490, 154900}};
    quote.subtotalYen = 15920;
    quote.taxYen = 1592;
    quote.totalYen = 17512;
    if (price == QStringLiteral("priced"))
      content.cost = kelvane::ui::SheetCost{terms, QStringLiteral("銅線"),
                                            kelvane::job::CoilPrice{0.0323, 120, quote}};
    if (price == QStringLiteral("refused"))
      content.cost = kelvane::ui::SheetCost{terms, QStringLiteral("銅線"),
                                            QStringLiteral("「巻線速度」が 0 では求まりません。")};
    const QString path = dir_.filePath(QStringLiteral("cost.pdf"));
    QVERIFY(kelvane::ui::writeQuotationPdf(path, one(content)).ok());
    QCOMPARE(pageCount(path), pages);
    const QString text = flattened(pageText(path, pages));
    for (const QString& e : expected) QVERIFY2(text.contains(e), qPrintable(e + "\n" + text));
  }

  // A transformer prints a section a winding, each titled with its name;
  // the first adds the stack's page and the cost of the whole piece with a
  // row a winding.
  void a_stack_prints_every_winding_and_the_stack() {
    const kelvane::job::Job job = kelvane::job::test::sampleJobs()[6].job;
    const kelvane::job::Item& item = job.items.front();
    std::vector<kelvane::form::Form1> forms = kelvane::form::windingForms(item);
    const kelvane::form::StackPress press = kelvane::form::pressStack(
        item, forms, [](double, const kelvane::form::Work& work) { work(nullptr); });
    QVERIFY2(press.result, press.message.c_str());
    std::vector<QuotationContent> sections =
        kelvane::ui::quotationOfStack(forms, job.fields, item, press.result);
    QCOMPARE(sections.size(), std::size_t(3));
    sections[0].cost = kelvane::ui::sheetCostOfStack(item, press.result, *item.terms, [] {
      return kelvane::Expected<kelvane::job::PriceList>(kelvane::job::builtInPriceList());
    });
    const QString path = dir_.filePath(QStringLiteral("stack.pdf"));
    QVERIFY(kelvane::ui::writeQuotationPdf(path, sections).ok());
    QCOMPARE(pageCount(path), 5);
    const QString first = flattened(pageText(path, 1)), stack = flattened(pageText(path, 2)),
                  cost = flattened(pageText(path, 3)), third = flattened(pageText(path, 5));
    QVERIFY2(first.contains(QStringLiteral("巻線1「一次」")), qPrintable(first));
    QVERIFY2(stack.contains(QStringLiteral("見積計算書（巻線構成）")), qPrintable(stack));
    QVERIFY2(stack.contains(QStringLiteral("巻線2「二次」 アルミニュウム 0.5 40 0.100")),
             qPrintable(stack));
    QVERIFY2(stack.contains(QStringLiteral("仕上がり外形 D ")), qPrintable(stack));
    QVERIFY2(stack.contains(QStringLiteral("大きい方（予測）")), qPrintable(stack));
    QVERIFY2(cost.contains(QStringLiteral("原価の内訳と価格（1 個当たり、巻線ごと）")),
             qPrintable(cost));
    QVERIFY2(cost.contains(QStringLiteral("巻線3 ")), qPrintable(cost));
    QVERIFY2(cost.contains(QStringLiteral("1980.5 400")), qPrintable(cost));
    QVERIFY2(third.contains(QStringLiteral("巻線3")), qPrintable(third));
    QVERIFY(third.contains(QStringLiteral("5/5")));
  }

  void an_unwritable_place_is_refused_with_a_reason_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("error");
    QTest::newRow("missing folder")
        << dir_.filePath(QStringLiteral("no/such/folder/sheet.pdf"))
        << QStringLiteral("「sheet.pdf」を保存できません（保存先のフォルダーがありません）。");
    QTest::newRow("a folder's name")
        << dir_.path() + QLatin1Char('/')
        << QStringLiteral("「%1/」を保存できません（フォルダーです）。").arg(dir_.path());
    QTest::newRow("a full disk") << QStringLiteral("/dev/full")
                                 << QStringLiteral(
                                        "「full」を保存できません（ディスクがいっぱいです）。");
  }
  void an_unwritable_place_is_refused_with_a_reason() {
    QFETCH(QString, path);
    QFETCH(QString, error);
    const auto written = kelvane::ui::writeQuotationPdf(path, one(sheetOf(pressedForm(), kFields)));
    QCOMPARE(QString::fromUtf8(kelvane::ui::test::failureText(written)), error);
  }
};

KELVANE_UI_TEST_MAIN(QuotationSheetTest)
#include "quotation_sheet_test.moc"
