#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/expected.h"
#include "form/form1.h"
#include "form/stack_section.h"
#include "job/job.h"
#include "job/requirement.h"
#include "job/results_table.h"
#include "job/stack_table.h"
#include "ui/sheet_cost.h"

class QPagedPaintDevice;
class QPainter;

namespace kelvane::ui {

// One of the item's requirements beside the result it is met by or not:
// the result's name, the value with its tolerance, the result in the same
// unit ("—" when there is no current result) and the verdict.
struct RequirementRow {
  QString item;    // "DCR(20℃)"
  QString wanted;  // "15 Ω ±5 %"
  QString result;  // "16.942 Ω"
  job::RequirementCheck check = job::RequirementCheck::NotKnown;
};

// The verdict as the sheet prints it: 適合, 不適合, or — without a result.
QString verdictText(job::RequirementCheck check);

// Everything the quotation sheet (見積計算書) shows, gathered from the form and
// the job's fields.
struct QuotationContent {
  job::JobFields fields;
  job::Item item;  // its 品番, 品名 and requirement
  // The item's requirements and what the shown results make of them.
  std::vector<RequirementRow> requirements;
  job::ResultsTable table;  // the inputs and the results, as the boxes show them
  form::Drawing drawing;    // the section, in the window's twips
  bool turnsShown = false;
  std::array<bool, 3> linesShown{};  // Line1 to Line3
  // The window's note that stands in for the drawing of a coil of 1000 turns
  // and more; empty when the window shows none.
  QString drawingNote;
  // The outer dimensions of the wound coil the former shows (A' and B', D'
  // or R'): the caption and the box's text, in mm.
  std::vector<std::pair<std::string, std::string>> outerDimensions;
  // The sixteen lines of the wire data sheet for the form's wire; none when
  // the bare diameter cannot give one.
  std::vector<std::string> wireSheet;
  // How the resistance at the working temperature was worked out, with the
  // coefficient used; empty when the sheet gives none (at 20 °C).
  QString temperatureNote;
  // Where the standard's resistance band comes from, and the form's
  // resistivity, thin-wire factor and density that its DCR differs by;
  // empty before a press has written the resistances.
  QString resistanceNote;
  // Whether the results belong to the inputs as they stand.
  bool resultsCurrent = true;
  // For an item of several windings: the winding the section shows
  // (巻線2「二次」), and on the section of the first the whole stack, on a
  // page of its own.
  QString winding;
  std::optional<job::StackTable> stack;
  // The whole stack drawn in place of the winding's own section, when the
  // stack is computed.
  std::optional<form::StackSection> stackDrawing;
  // The job's 見積条件 and the price they give, on a page of their own
  // after the first; none for a job without terms.
  std::optional<SheetCost> cost;
  QDateTime printedAt;
  QString programVersion;
};

// The sheet for what the form shows now, printed now by this program. The
// wire data sheet is worked out afresh for the wire in the boxes, whether or
// not the window's data sheet is open, so it always matches the inputs shown.
QuotationContent quotationOf(const form::Form1& form, const job::JobFields& fields,
                             const job::Item& item);

// The sheet of an item of several windings: a section a winding, each its
// form's (forms[k] for winding k, titled with its name), the first with the
// stack's table when `result` is the stack as computed; the caller adds the
// item's cost to the first.
std::vector<QuotationContent> quotationOfStack(std::span<const form::Form1> forms,
                                               const job::JobFields& fields, const job::Item& item,
                                               const std::optional<StackResult>& result);

// Paints the sheet onto `pages`, which `painter` is open on, starting a new
// page on it for every page after the first. Each page is A4 portrait laid
// out in millimetres and fills the device as far as it keeps its
// proportions: a PDF or a printer set to A4 with no margins of its own
// (QPrinter::setFullPage) takes it at its size, a smaller area gets it
// scaled down. Any resolution. The first page holds the whole quotation; the
// cost, when the content has one, follows on the second; a text too long
// for its place on the first (a memo, a customer's name, a box's text)
// continues on the pages after them, and every page is numbered ("1/2"), a
// sheet of one page too. False when the device could not start a
// page. A job of several items gives a section for each, one after another,
// each from a page of its own, the pages numbered through.
bool paintQuotation(QPainter& painter, QPagedPaintDevice& pages,
                    std::span<const QuotationContent> sections);

// The sheet as a vector PDF with its fonts embedded, made in memory; nothing
// when Qt cannot make it.
std::optional<QByteArray> quotationPdf(std::span<const QuotationContent> sections);

// Writes the PDF as every file is written (saveFile): whole or not at all.
// The failure is the Japanese sentence naming the file and why.
Expected<void> writeQuotationPdf(const QString& path, std::span<const QuotationContent> sections);

}  // namespace kelvane::ui
