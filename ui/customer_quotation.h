#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>

#include "core/expected.h"
#include "job/job.h"
#include "job/request_quote.h"
#include "ui/company_info.h"

class QPagedPaintDevice;
class QPainter;

namespace kelvane::ui {

// Everything the customer's quotation (見積書) shows: who issues it, the
// job's fields (the customer, 見積番号 and its 版, 件名, 納期, 支払条件, 備考,
// 有効期限 in days), every item priced with the totals over their basis
// lots, and the day it is issued.
struct CustomerQuotation {
  // What the copy is: an issue (a new 版), the latest 版 printed again
  // unchanged (再発行, with its own 版 and 発行日), or a sample that is no
  // issue at all (見本, recorded nowhere).
  enum class Copy { Issue, Reissue, Draft };
  CompanyInfo company;
  job::JobFields fields;
  job::RequestQuote request;
  QDate issuedOn;
  QString programVersion;  // in the PDF's properties, not on the page
  Copy copy = Copy::Issue;
};

// The day a quotation issued on `issuedOn` stops being valid.
QDate validUntil(const QDate& issuedOn, int validDays);

// Paints the quotation onto `pages`, which `painter` is open on: A4
// portrait laid out in millimetres, as the quotation sheet is (fills the
// device as far as it keeps its proportions). Remarks too long for the
// first page continue on the pages after it; every page is numbered. False
// when the device could not start a page.
bool paintCustomerQuotation(QPainter& painter, QPagedPaintDevice& pages,
                            const CustomerQuotation& quotation);

// The quotation as a vector PDF with its fonts embedded, made in memory;
// nothing when Qt cannot make it.
std::optional<QByteArray> customerQuotationPdf(const CustomerQuotation& quotation);

// Writes the PDF whole or not at all (saveFile); the failure is the Japanese
// sentence naming the file and why.
Expected<void> writeCustomerQuotationPdf(const QString& path, const CustomerQuotation& quotation);

}  // namespace kelvane::ui
