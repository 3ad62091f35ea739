// TEMPORARY STUB of the quotation sheet: the table's rows as lines of text,
// enough for the window and the command line to be built and tried.
#include "ui/quotation_sheet.h"

#include <QPainter>
#include <QPdfWriter>

#include "job/job.h"

namespace kelvane::ui {

QuotationContent quotationOf(const form::Form1& form, const job::JobFields& fields) {
  return {fields,
          job::resultsTable(form),
          form.state().drawing,
          form.isVisible({"Shape1", 0}),
          {form.isVisible({"Line1", -1}), form.isVisible({"Line2", -1}),
           form.isVisible({"Line3", -1})},
          form.state().sheetLines,
          form.state().resultsCurrent,
          QDateTime::currentDateTime(),
          QString::fromUtf8(job::programVersion().data(),
                            static_cast<qsizetype>(job::programVersion().size()))};
}

void paintQuotation(QPainter& painter, const QuotationContent& content) {
  const int line = painter.fontMetrics().height();
  int y = line;
  auto put = [&](const job::TableRow& r) {
    painter.drawText(0, y, QString::fromStdString(r.item + "  " + r.max + "  " + r.mid + "  " +
                                                  r.unit));
    y += line;
  };
  painter.drawText(0, y, QStringLiteral("見積計算書  %1  %2")
                             .arg(QString::fromStdString(content.fields.customer),
                                  QString::fromStdString(content.fields.quotationNumber)));
  y += line;
  for (const job::TableRow& r : content.table.inputs) put(r);
  for (const job::TableRow& r : content.table.results) put(r);
}

bool writeQuotationPdf(const QString& path, const QuotationContent& content, QString* error) {
  QPdfWriter pdf(path);
  pdf.setPageSize(QPageSize(QPageSize::A4));
  QPainter painter;
  if (!painter.begin(&pdf)) {
    if (error) *error = QStringLiteral("「%1」に書き出せません。").arg(path);
    return false;
  }
  paintQuotation(painter, content);
  return painter.end();
}

}  // namespace kelvane::ui
