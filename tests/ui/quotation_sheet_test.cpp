// The quotation sheet as a PDF: what its text says, read back with poppler's
// pdftotext, its fonts embedded, and a refusal for a file it cannot write.
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "form/boxes.h"
#include "ui/quotation_sheet.h"
#include "window_test_support.h"

using kelvane::form::text1;
using kelvane::ui::QuotationContent;
namespace box = kelvane::form::box;

namespace {

const QString kOutOfDate = QStringLiteral("計算結果は入力と一致していません（再計算が必要）");

const kelvane::job::JobFields kFields = {
    "株式会社サンプル電機", "KC-0042", "Q2026-118", "山田 太郎", "試作3台分。納期は来月末。", 75};

// A rectangular coil of 120 turns, 計算 pressed.
kelvane::form::Form1 pressedForm() {
  kelvane::form::Form1 form;
  form.typeText(text1(kelvane::form::indexOf(box::Turns)), "120");
  form.click({"Command1", -1});
  return form;
}

// Runs a poppler tool on the file and gives what it printed.
QString run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForStarted()) {
    qWarning("%s is missing: scripts/install-deps installs poppler-utils", qPrintable(program));
    return {};
  }
  process.waitForFinished();
  return QString::fromUtf8(process.readAllStandardOutput());
}

// Runs of white space, ideographic spaces included, as one space: the
// layout of extracted text says nothing about the cells it came from.
QString flattened(QString text) {
  return text.replace(QChar(0x3000), QLatin1Char(' ')).simplified();
}

// A row of a table as its cells read across the page, the empty ones left out.
QString rowText(const kelvane::job::TableRow& row) {
  QStringList cells;
  for (const std::string* cell : {&row.item, &row.max, &row.mid, &row.unit})
    if (!cell->empty()) cells << QString::fromStdString(*cell);
  return flattened(cells.join(QLatin1Char(' ')));
}

}  // namespace

class QuotationSheetTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;

  // The sheet written to a PDF in the temporary folder, its text as
  // pdftotext -layout extracts it.
  QString writtenText(const QuotationContent& content, const QString& name) {
    const QString path = dir_.filePath(name);
    if (const auto error = kelvane::ui::writeQuotationPdf(path, content)) {
      qWarning("%s", qPrintable(*error));
      return {};
    }
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
  }

 private slots:
  void initTestCase() { QVERIFY(dir_.isValid()); }

  void the_pdf_reads_as_the_window_shows_the_job() {
    const kelvane::form::Form1 form = pressedForm();
    const QuotationContent content = kelvane::ui::quotationOf(form, kFields);
    QCOMPARE(content.wireSheet.size(), std::size_t(16));
    const QString text = flattened(writtenText(content, QStringLiteral("current.pdf")));
    QVERIFY(!text.isEmpty());

    for (const char* expected : {"見積計算書", "株式会社サンプル電機", "KC-0042", "Q2026-118",
                                 "山田 太郎", "試作3台分。納期は来月末。", "Kelvane 0.1.0"})
      QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    QVERIFY(text.contains(content.printedAt.toString(QStringLiteral("yyyy/MM/dd HH:mm"))));

    // Every row with its values as the boxes show them, in their columns
    // and with their units: the former and the material in words, the
    // length, the weight and the resistance with both columns.
    QVERIFY(content.table.results.size() >= 10);
    for (const auto* rows : {&content.table.inputs, &content.table.results})
      for (const kelvane::job::TableRow& row : *rows)
        QVERIFY2(text.contains(rowText(row)), qPrintable(rowText(row)));
    for (const char* expected : {"巻枠 角形", "銅線", "全長 ", "DCR (20 °C) ", "DCR (75 °C) ",
                                 "使用温度 75 °C", " mm", " Ω"})
      QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    QVERIFY(text.contains(QStringLiteral("項目 Max 予測 Mid 単位")));

    // What the columns mean, the resistance row's crossing included; a
    // sentence may break across lines.
    const QString unspaced = QString(text).remove(QLatin1Char(' '));
    for (const char* expected :
         {"Max：整列巻きの長さを基準にした値。", "予測Mid：クロス部の盛り上がりを見込んだ予測値。",
          "DCRの行だけは意図して逆です", "Max列に予測Midの長さの抵抗値",
          "予測Mid列にMaxの長さの抵抗値", "α=0.00393/K（銅線）で換算した値です"})
      QVERIFY2(unspaced.contains(QString::fromUtf8(expected)), expected);

    for (const std::string& line : content.wireSheet)
      QVERIFY2(text.contains(flattened(QString::fromStdString(line))), line.c_str());
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
    const QuotationContent content = kelvane::ui::quotationOf(form, kFields);
    QCOMPARE(content.resultsCurrent, !changeAfterPress);
    const QString text = flattened(writtenText(content, QStringLiteral("mark.pdf")));
    QVERIFY(text.contains(QStringLiteral("見積計算書")));
    QCOMPARE(text.count(kOutOfDate), marks);
  }

  void the_fonts_are_embedded() {
    const QString path = dir_.filePath(QStringLiteral("fonts.pdf"));
    const auto error =
        kelvane::ui::writeQuotationPdf(path, kelvane::ui::quotationOf(pressedForm(), kFields));
    QVERIFY2(!error, qPrintable(error.value_or(QString())));
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
    const QuotationContent content = kelvane::ui::quotationOf(form, kFields);
    QVERIFY(content.wireSheet.empty());
    QCOMPARE(form.state().messages, messages);
    QVERIFY(!form.state().sheetOpen);
    const QString text = flattened(writtenText(content, QStringLiteral("no-wire.pdf")));
    QVERIFY(text.contains(QStringLiteral("素線径(d)が正しくないため作れません")));
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
    QCOMPARE(kelvane::ui::writeQuotationPdf(path, kelvane::ui::quotationOf(pressedForm(), kFields)),
             std::optional<QString>(error));
  }
};

KELVANE_UI_TEST_MAIN(QuotationSheetTest)
#include "quotation_sheet_test.moc"
