// Every caption of the window fits the width its control is designed with,
// in the font the window really uses.
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QSet>
#include <QSvgRenderer>
#include <QSvgWidget>

#include "form/control_table.h"
#include "tests/ui/window_test_support.h"
#include "ui/control_widgets.h"
#include "ui/main_window.h"

class CaptionFitTest : public QObject {
  Q_OBJECT

 private slots:
  void caption_fits_its_width_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("caption");
    for (const kelvane::form::ControlDesign& c : kelvane::form::controlTable()) {
      if (c.text.empty() || c.kind == kelvane::form::ControlKind::TextBox || c.id.name == "Label2")
        continue;
      const QString address = QString::fromStdString(c.id.str());
      QTest::newRow(qPrintable(address)) << address << QString::fromStdString(c.text);
    }
    // The captions the program sets while it runs.
    const char* runTime[][2] = {{"Label1(13)", "全長 mm"}, {"Label1(13)", "全長 m"},
                                {"Label1(13)", "全長 Km"}, {"Label1(29)", "重量 mg"},
                                {"Label1(29)", "重量 g"},  {"Label1(29)", "重量 Kg"},
                                {"Label1(28)", "DCR Ω"},   {"Label1(28)", "DCR KΩ"},
                                {"Label1(14)", "D'"},      {"Label1(14)", "R'"}};
    for (const auto& [address, caption] : runTime) {
      QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(address, QString::fromUtf8(caption))))
          << QString::fromUtf8(address) << QString::fromUtf8(caption);
    }
  }
  void caption_fits_its_width() {
    QFETCH(QString, control);
    QFETCH(QString, caption);
    const QWidget* w = window_.control(*kelvane::form::parseControlId(control.toStdString()));
    QVERIFY(w);
    const int advance = QFontMetrics(w->font()).horizontalAdvance(caption);
    QVERIFY2(
        advance <= kelvane::ui::textRoom(*w),
        qPrintable(QStringLiteral("%1 px in %2 px").arg(advance).arg(kelvane::ui::textRoom(*w))));
  }

  // A result of three whole digits shows whole in every result box.
  void result_fits_its_box_data() {
    QTest::addColumn<int>("box");
    for (int i = 0; i < 22; ++i) QTest::newRow(qPrintable(QStringLiteral("Text2(%1)").arg(i))) << i;
  }
  void result_fits_its_box() {
    QFETCH(int, box);
    const QWidget* w = window_.control(kelvane::form::text2(box));
    QVERIFY(QFontMetrics(w->font()).horizontalAdvance(QStringLiteral("999.999")) <=
            kelvane::ui::textRoom(*w));
  }

  // The 1000-turn note wraps onto its two lines.
  void large_coil_note_fits_its_box() {
    const QWidget* note = window_.control({"Label2", -1});
    const QRect needed = QFontMetrics(note->font())
                             .boundingRect(QRect(QPoint(), note->size()), Qt::TextWordWrap,
                                           QString::fromUtf8(kelvane::form::kLargeCoilNote));
    QVERIFY(needed.width() <= note->width());
    QVERIFY(needed.height() <= note->height());
  }

  // Every control draws in one Japanese Gothic face: the designed one where
  // it is installed, else a stand-in, never whatever the system falls back to.
  void controls_draw_in_one_japanese_gothic() {
    QSet<QString> faces;
    for (const kelvane::form::ControlDesign& c : kelvane::form::controlTable()) {
      if (const QWidget* w = window_.control(c.id)) faces.insert(QFontInfo(w->font()).family());
    }
    QCOMPARE(faces.size(), 1);
    const QString face = *faces.begin();
    const QStringList gothics = {QString::fromUtf8(kelvane::form::kControlFont),
                                 QString::fromUtf8(kelvane::form::kNoteFont),
                                 QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")};
    QVERIFY2(gothics.contains(face), qPrintable(face));
  }

  // The reference drawing comes from the program's own resources.
  void reference_drawing_is_loaded() {
    const auto* drawing = qobject_cast<const QSvgWidget*>(window_.control({"OLE1", -1}));
    QVERIFY(drawing);
    QVERIFY(drawing->renderer()->isValid());
    QCOMPARE(drawing->renderer()->defaultSize(), drawing->size());
  }

 private:
  kelvane::ui::MainWindow window_;
};

KELVANE_UI_TEST_MAIN(CaptionFitTest)
#include "caption_fit_test.moc"
