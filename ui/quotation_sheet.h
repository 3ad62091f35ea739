#pragma once

// TEMPORARY STUB: the quotation sheet is being built on its own branch; this
// declaration is what the window codes against until it lands.
#include <QDateTime>
#include <QString>
#include <array>
#include <string>
#include <vector>

#include "form/form1.h"
#include "job/job.h"
#include "job/results_table.h"

class QPainter;

namespace kelvane::ui {

struct QuotationContent {
  job::JobFields fields;
  job::ResultsTable table;
  form::Drawing drawing;
  bool turnsShown;
  std::array<bool, 3> linesShown;
  std::vector<std::string> wireSheet;
  bool resultsCurrent;
  QDateTime printedAt;
  QString programVersion;
};
QuotationContent quotationOf(const form::Form1& form, const job::JobFields& fields);
void paintQuotation(QPainter& painter, const QuotationContent& content);  // one A4 portrait page
bool writeQuotationPdf(const QString& path, const QuotationContent& content, QString* error);

}  // namespace kelvane::ui
