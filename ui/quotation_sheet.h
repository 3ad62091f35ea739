#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "form/form1.h"
#include "job/job.h"
#include "job/results_table.h"

class QPainter;

namespace kelvane::ui {

// Everything the quotation sheet (見積計算書) shows, gathered from the form and
// the job's fields.
struct QuotationContent {
  job::JobFields fields;
  job::ResultsTable table;  // the inputs and the results, as the boxes show them
  form::Drawing drawing;    // the section, in the window's twips
  bool turnsShown = false;
  std::array<bool, 3> linesShown{};  // Line1 to Line3
  // The sixteen lines of the wire data sheet for the form's wire; none when
  // the bare diameter cannot give one.
  std::vector<std::string> wireSheet;
  // How the resistance at the working temperature was worked out, with the
  // coefficient used; empty when the sheet gives none (at 20 °C).
  QString temperatureNote;
  // Whether the results belong to the inputs as they stand.
  bool resultsCurrent = true;
  QDateTime printedAt;
  QString programVersion;
};

// The sheet for what the form shows now, printed now by this program. The
// wire data sheet is worked out afresh for the wire in the boxes, whether or
// not the window's data sheet is open, so it always matches the inputs shown.
QuotationContent quotationOf(const form::Form1& form, const job::JobFields& fields);

// Paints the sheet as one A4 portrait page laid out in millimetres. The page
// fills the painter's device as far as it keeps its proportions: a PDF or a
// printer set to A4 with no margins of its own (QPrinter::setFullPage) takes
// it at its size, a smaller area gets it scaled down. Any resolution.
void paintQuotation(QPainter& painter, const QuotationContent& content);

// The sheet as a one-page vector PDF with its fonts embedded, made in
// memory; nothing when Qt cannot make it.
std::optional<QByteArray> quotationPdf(const QuotationContent& content);

// Writes the PDF as every file is written (saveFile): whole or not at all.
// Nothing when written, else the Japanese sentence naming the file and why.
std::optional<QString> writeQuotationPdf(const QString& path, const QuotationContent& content);

}  // namespace kelvane::ui
