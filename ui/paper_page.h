#pragma once

#include <QBrush>
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/expected.h"

class QPagedPaintDevice;
class QPainter;

// The A4 page as Kelvane's printed sheets lay it out: positions and sizes
// in millimetres, fonts in points, ruled tables, texts shrunk to fit their
// cells. The quotation sheet and the customer's quotation paint with it.
namespace kelvane::ui::paper {

// The page, in millimetres.
inline constexpr double kPageWidth = 210, kPageHeight = 297;
inline constexpr double kMargin = 15;
inline constexpr double kContentBottom = kPageHeight - kMargin;  // the page number sits below it
inline constexpr double kRowHeight = 5.5;                        // a row of the tables
inline constexpr double kHeadingHeight = 6.5;  // a block's heading and the gap below it
inline constexpr double kBlockGap = 5;         // between one block and the heading of the next
inline constexpr double kCellPadding = 1.2;    // text to the side of its cell
inline constexpr double kTextPoints = 9;       // the tables and running text
inline constexpr double kSmallPoints = 8;      // notes, marks, the time and the page number
inline constexpr double kSmallestPoints = 5;   // a text shrunk to fit stops here

inline const QColor kInk(0, 0, 0);
inline const QColor kGrid(140, 140, 140);
inline const QColor kLabelFill(232, 232, 232);
inline const QColor kNoteInk(70, 70, 70);
inline const QColor kWarning(200, 0, 0);

// A text of the job or the form as it goes on paper: without the characters
// that would turn its direction around ("evil.exe" printed "exe.live").
QString printed(const std::string& text);

// A line of a wrapped text: where it starts in the text, and how long it is.
struct TextLine {
  qsizetype start = 0;
  qsizetype length = 0;
};

// The line's text as it is painted: the blanks it ends with, where it was
// broken, take no room.
QString textOf(const QString& text, const TextLine& line);

// The painter's device seen as the A4 page: positions and sizes in
// millimetres, fonts in points. The page is scaled to fit a device of
// another size and centred across it. A page made only to measure paints
// nothing and leaves the painter as it is.
class Page {
 public:
  enum Use { Paint, Measure };
  explicit Page(QPainter& painter, Use use = Paint);

  QPainter& painter() { return p_; }
  bool measuresOnly() const { return measureOnly_; }
  double toDevice(double mm) const { return mm * perMm_; }
  QRectF toDevice(const QRectF& mm) const {
    return {toDevice(mm.x()), toDevice(mm.y()), toDevice(mm.width()), toDevice(mm.height())};
  }

  // The paper's one face (paperFace()) at `points`: every text of a sheet,
  // whichever face the window draws it in, so its PDF reads back as shown.
  QFont font(double points, bool bold = false) const;
  // A face whose every half-width character is as wide as any other, for
  // texts aligned with spaces.
  QFont monospaceFont(double points) const;
  double widthOf(const QFont& font, const QString& text) const;
  // The distance from one line of wrapped text to the next.
  double lineHeight(const QFont& font) const;

  // Whether `text` fits one line of a cell `width` wide at the smallest size.
  bool fitsShrunk(double width, const QString& text, QFont font) const;

  // The lines `text` takes in a column `width` wide: it breaks at its own
  // line breaks and where the width ends, between words or, in a word longer
  // than the line, anywhere. An empty text is one empty line.
  std::vector<TextLine> wrap(const QString& text, const QFont& font, double width) const;

  // One line of text in `box`, vertically centred, shrunk to fit its width
  // and, below the smallest size, cut short with an ellipsis. A `mark`
  // follows the text whole: it says where the rest of a text cut short is.
  void line(const QRectF& box, const QString& text, QFont font, Qt::Alignment align,
            const QColor& colour = kInk, const QString& mark = {});

  // Text wrapped inside `box`, shrunk until it fits; what still does not fit
  // at the smallest size is cut off at the box's edge.
  void paragraph(const QRectF& box, const QString& text, QFont font, const QColor& colour = kInk);

  // How tall `text` wraps in a box `width` wide, in millimetres.
  double wrappedHeight(double width, const QString& text, const QFont& font) const;

  void rect(const QRectF& box, const QColor& border, double penMm,
            const QBrush& fill = Qt::NoBrush);
  void rule(double x1, double y, double x2, double penMm);

 private:
  QPainter& p_;
  bool measureOnly_ = false;
  double perMm_ = 1;
};

// A block's title, left on a thin rule; gives the top of the block below it.
double heading(Page& page, double x, double y, double width, const QString& title);

struct Column {
  double width;
  Qt::Alignment align;
};

// A cell of a table; its mark ("※1") follows a text too long for the cell,
// whose whole text is then on a later page.
struct Cell {
  QString text;
  QString mark;
  QColor ink = kInk;  // a verdict that fails stands out in red
};
using Row = std::vector<Cell>;

Row rowOf(const QStringList& texts);

// A ruled table: the first row is its heading, on grey. Gives the y below it.
double table(Page& page, double x, double y, const std::vector<Column>& columns,
             const std::vector<Row>& rows, double points = kTextPoints);

// One row of such a table at `y`: its heading (on grey, the texts centred)
// or a row of its body. A table that goes on over pages is painted row by
// row, its heading again on every page. Gives the y below it.
enum class RowKind { Heading, Body };
double tableRow(Page& page, double x, double y, const std::vector<Column>& columns, const Row& row,
                RowKind kind, double points = kTextPoints);

// "2/3" centred below the content of a page.
void pageNumber(Page& page, int number, int count);

// Paints `count` pages, page `number` (from 1) through paintOne, each with
// its number below; a new page is started before every page after the
// first. False when the device could not start one.
bool paintNumberedPages(QPainter& painter, QPagedPaintDevice& pages, int count,
                        const std::function<void(Page& page, int number)>& paintOne);

// Paints every page of a document onto the device the painter is open on,
// starting a new page for every page after the first; false when the
// device could not start one.
using DocumentPainter = std::function<bool(QPainter& painter, QPagedPaintDevice& pages)>;

// The document as an A4 vector PDF with its fonts embedded, made whole in
// memory: a disk that fills up can then only refuse the file, never leave
// half a PDF in its place. Nothing when Qt cannot make it.
std::optional<QByteArray> pdfOf(const QString& title, const QString& programVersion,
                                const DocumentPainter& paint);

// Writes such a PDF as every file is written (saveFile): whole or not at
// all. The failure is the Japanese sentence naming the file and why,
// 「NAME」を保存できません（PDFを作れません）。 when there is no PDF.
Expected<void> savePdf(const QString& path, const std::optional<QByteArray>& pdf);

}  // namespace kelvane::ui::paper
