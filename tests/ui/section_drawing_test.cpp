// The section of several windings as painted: each winding's turns in its
// own shade, the tape between them a light neutral band, on screen and on
// paper alike.
#include <QImage>
#include <QPainter>
#include <QTest>
#include <cstdlib>

#include "core/winding_stack.h"
#include "form/control_table.h"
#include "form/diagram_geometry.h"
#include "ui/section_drawing.h"
#include "window_test_support.h"

using kelvane::ui::SectionPens;
Q_DECLARE_METATYPE(SectionPens)

namespace {

kelvane::Coil wire(double d, double dw, double turns) {
  kelvane::Coil c;
  c.bareDiameter = d;
  c.finishedDiameter = dw;
  c.turns = turns;
  c.leadLength = 30;
  c.referenceThickness = 8;
  return c;
}

// A transformer of three windings on a round former, tape under the upper two.
kelvane::StackResult transformer() {
  const kelvane::WindingStack stack{{kelvane::FormerShape::Round, 10, 2, 2, 0.3, 0.3, 50, 60},
                                    {{"一次", wire(0.8, 0.88, 40), {}},
                                     {"二次", wire(0.3, 0.34, 60), {0.1, 4}},
                                     {"三次", wire(0.5, 0.55, 30), {0.05, 2}}}};
  return *kelvane::computeStack(stack);
}

// The panel painted as the window shows it, two image pixels a screen pixel.
QImage painted(const kelvane::ui::SectionDrawing::Content& content, SectionPens pens) {
  const kelvane::form::ControlDesign& panel = *kelvane::form::findControl({"Shape2", -1});
  const double scale = 2.0 / kelvane::ui::kTwipsPerPixel;
  QImage image(static_cast<int>(panel.width * scale), static_cast<int>(panel.height * scale),
               QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.scale(scale, scale);
  painter.translate(-panel.left, -panel.top);
  kelvane::ui::paintSection(painter, content, pens);
  painter.end();
  return image;
}

QPoint pixelAt(QPointF twips) {
  const kelvane::form::ControlDesign& panel = *kelvane::form::findControl({"Shape2", -1});
  const double scale = 2.0 / kelvane::ui::kTwipsPerPixel;
  return {static_cast<int>((twips.x() - panel.left) * scale),
          static_cast<int>((twips.y() - panel.top) * scale)};
}

}  // namespace

class SectionDrawingTest : public QObject {
  Q_OBJECT
 private slots:
  void windings_in_their_shades_over_the_tape_data() {
    QTest::addColumn<SectionPens>("pens");
    QTest::newRow("screen") << SectionPens::Screen;
    QTest::newRow("paper") << SectionPens::Paper;
  }
  void windings_in_their_shades_over_the_tape() {
    QFETCH(SectionPens, pens);
    kelvane::ui::SectionDrawing::Content content;
    content.stack = kelvane::form::stackSection(kelvane::form::diagramGeometry(), transformer());
    QVERIFY(content.stack->visible);
    const QImage image = painted(content, pens);

    for (const kelvane::form::WindingTurns& w : content.stack->windings) {
      // A turn that is not a lead, away from the marks at the first and last.
      QVERIFY(w.circles.size() > 2);
      const kelvane::form::TurnCircle& turn = w.circles[1];
      const QPointF centre(turn.left + turn.diameter / 2, turn.top + turn.diameter / 2);
      QCOMPARE(image.pixelColor(pixelAt(centre)), kelvane::ui::windingShade(w.winding));
    }
    QCOMPARE(content.stack->tapes.size(), std::size_t{2});
    for (const kelvane::form::TapeBand& t : content.stack->tapes) {
      const QColor middle = image.pixelColor(
          pixelAt(QPointF(t.band.left + t.band.width / 2, t.band.top + t.band.height / 2)));
      // Neutral and light, whether on a hatch line or between.
      QCOMPARE(middle.red(), middle.green());
      QCOMPARE(middle.green(), middle.blue());
      QVERIFY2(middle.red() >= 0x80, qPrintable(middle.name()));
    }
  }

  // Printed in grey, every shade still stands apart from the others, and a
  // winding's neighbours and the first three windings clearly.
  void shades_part_in_a_grey_print() {
    for (std::size_t i = 0; i < 8; ++i) {
      for (std::size_t j = i + 1; j < 8; ++j) {
        const int apart = std::abs(qGray(kelvane::ui::windingShade(i).rgb()) -
                                   qGray(kelvane::ui::windingShade(j).rgb()));
        const bool clearly = j == i + 1 || j < 3;
        QVERIFY2(apart >= (clearly ? 50 : 20),
                 qPrintable(QStringLiteral("巻線%1 と巻線%2").arg(i + 1).arg(j + 1)));
      }
    }
    QCOMPARE(kelvane::ui::windingShade(8), kelvane::ui::windingShade(0));
  }
};

KELVANE_UI_TEST_MAIN(SectionDrawingTest)
#include "section_drawing_test.moc"
