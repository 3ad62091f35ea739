#include "ui/quotation_issue.h"

#include <QSettings>
#include <chrono>
#include <optional>

#include "job/issue.h"
#include "job/job_json.h"
#include "ledger/register.h"

namespace kelvane::ui {
namespace {

const QString kGroup = QStringLiteral("register");

QString qt(const std::string& text) { return QString::fromStdString(text); }

QDate dateOf(const std::string& day) {
  return QDate::fromString(QString::fromStdString(day), Qt::ISODate);
}

std::string dayText(const QDate& day) { return day.toString(Qt::ISODate).toStdString(); }

}  // namespace

RegisterSettings storedRegisterSettings() {
  QSettings s(QStringLiteral("kelvane"), QStringLiteral("kelvane"));
  s.beginGroup(kGroup);
  return {s.value(QStringLiteral("location")).toString(),
          s.value(QStringLiteral("numberPattern")).toString()};
}

void storeRegisterSettings(const RegisterSettings& settings) {
  QSettings s(QStringLiteral("kelvane"), QStringLiteral("kelvane"));
  s.beginGroup(kGroup);
  s.setValue(QStringLiteral("location"), settings.location.trimmed());
  s.setValue(QStringLiteral("numberPattern"), settings.numberPattern.trimmed());
}

QString registerLocation(const QString& given) {
  if (!given.isEmpty()) return given;
  const QString stored = storedRegisterSettings().location;
  if (!stored.isEmpty()) return stored;
  return qt(ledger::registerLocationFromEnvironment());
}

QString numberPattern() {
  const QString stored = storedRegisterSettings().numberPattern;
  return stored.isEmpty() ? QString::fromLatin1(kDefaultNumberPattern) : stored;
}

Expected<std::unique_ptr<ledger::Register>> openRegister(const QString& location) {
  return ledger::Register::open(location.toStdString());
}

Expected<PendingIssue> prepareIssue(ledger::Register& reg, job::Job job,
                                    CustomerQuotation quotation) {
  const std::string& number = job.fields.quotationNumber;
  quotation.copy = CustomerQuotation::Copy::Issue;
  if (number.empty()) {
    Expected<std::string> offered =
        reg.nextNumber(numberPattern().toStdString(), dayText(quotation.issuedOn));
    if (!offered) return offered.failure();
    quotation.fields.quotationNumber = *offered;
    quotation.fields.revision = 1;
    return PendingIssue{std::move(quotation), std::move(job)};
  }
  Expected<std::optional<ledger::StoredIssue>> latest = reg.latest(number);
  if (!latest) return latest.failure();
  if (!latest.value()) {
    quotation.fields.revision = 1;
    return PendingIssue{std::move(quotation), std::move(job)};
  }
  const ledger::StoredIssue& last = **latest;
  const Expected<job::Job> issued = job::readJob(last.jobText);
  if (issued && job::quotesTheSame(*issued, job)) {
    quotation.copy = CustomerQuotation::Copy::Reissue;
    quotation.fields.revision = last.record.revision;
    quotation.fields.issuedOn = last.record.issuedOn;
    quotation.issuedOn = dateOf(last.record.issuedOn);
    return PendingIssue{std::move(quotation), std::move(job)};
  }
  if (last.record.revision >= job::kMaxRevision)
    return Failure{"見積番号「" + number + "」は第" + std::to_string(job::kMaxRevision) +
                   "版まで発行済みです。新しい見積番号で作成してください。"};
  quotation.fields.revision = last.record.revision + 1;
  return PendingIssue{std::move(quotation), std::move(job)};
}

Expected<Issued> issueQuotation(ledger::Register& reg, const PendingIssue& pending,
                                const Delivery& deliver) {
  const auto pdfOf = [&](const CustomerQuotation& q) -> Expected<QByteArray> {
    std::optional<QByteArray> pdf = customerQuotationPdf(q);
    if (!pdf) return Failure{"見積書の PDF を作れません。"};
    if (Expected<void> delivered = deliver(q, *pdf); !delivered.ok()) return delivered.failure();
    return *pdf;
  };
  if (pending.quotation.copy == CustomerQuotation::Copy::Reissue) {
    Expected<QByteArray> delivered = pdfOf(pending.quotation);
    if (!delivered) return delivered.failure();
    return Issued{pending.job, pending.quotation};
  }
  // The number the job was shown with is an offer when the job has none:
  // the register gives the next free one within the transaction.
  ledger::IssueRequest request;
  request.record = job::issueRecord(pending.job.fields, pending.quotation.request,
                                    dayText(pending.quotation.issuedOn));
  request.jobText =
      job::writeJob(job::stampForSaving(pending.job, std::chrono::system_clock::now()));
  request.numberPattern = numberPattern().toStdString();
  CustomerQuotation numbered = pending.quotation;
  Expected<job::IssueRecord> recorded =
      reg.record(request, [&](const job::IssueRecord& record) -> Expected<std::string> {
        numbered.fields.quotationNumber = record.quotationNumber;
        numbered.fields.revision = record.revision;
        Expected<QByteArray> pdf = pdfOf(numbered);
        if (!pdf) return pdf.failure();
        return pdf->toStdString();
      });
  if (!recorded) return recorded.failure();
  numbered.fields.issuedOn = recorded->issuedOn;
  return Issued{job::withIssue(pending.job, *recorded), numbered};
}

}  // namespace kelvane::ui
