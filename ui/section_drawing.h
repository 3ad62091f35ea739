#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include <QColor>

#include "form/form1.h"
#include "form/stack_section.h"
#include "ui/framed_panel.h"

namespace kelvane::ui {

// The diagram panel Shape2 with the wound section on it: the turn circles
// (Shape1(0) and the turns added to it) and the former line and flanges
// (Line1 to Line3), at their twips positions.
class SectionDrawing : public FramedPanel {
  Q_OBJECT
 public:
  explicit SectionDrawing(QWidget* parent);

  struct Content {
    form::Drawing drawing;
    bool turnsShown = true;                            // Shape1(0): hiding it hides every turn
    std::array<bool, 3> linesShown{true, true, true};  // Line1, Line2, Line3
    // Several windings on one former: painted in place of `drawing`, each
    // winding in its own shade over the tape below it. None for a coil of
    // one winding, which is drawn as the window always drew it.
    std::optional<form::StackSection> stack;
    bool operator==(const Content&) const = default;
  };

  void setContent(const Content& content);
  const Content& content() const { return content_; }

 protected:
  void paintContents(QPainter& painter) override;

 private:
  Content content_;
};

// How wide the strokes of the section are drawn.
enum class SectionPens {
  Screen,  // whole device pixels however the painter is scaled, as the window shows them
  Paper,   // the same widths as lengths in twips, scaled with the drawing
};

// The shade winding `index` (from 0) is filled with: eight hues whose
// greys stand well apart, neighbours and the first three windings the
// furthest, so that the windings part on screen and on a grey print alike;
// a ninth winding takes the first shade again.
QColor windingShade(std::size_t index);

// Paints the former line, the flanges and the turns of `content` in front of
// whatever the painter holds, in the window's twips: the painter maps the
// window's twips to its device, as on the panel Shape2. A stack of windings
// is painted with its tapes as hatched bands, and a legend of the windings'
// numbers in their shades in the panel's top right corner where it clears
// the drawing.
void paintSection(QPainter& painter, const SectionDrawing::Content& content,
                  SectionPens pens = SectionPens::Screen);

}  // namespace kelvane::ui
