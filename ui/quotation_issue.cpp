#include "ui/quotation_issue.h"

#include <QSettings>
#include <algorithm>
#include <chrono>
#include <optional>

#include "job/file_io.h"
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
  QString stored = storedRegisterSettings().location;
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
  // A job issued before the register knew it goes on from its own 版.
  const int before =
      std::max(job.fields.revision, latest.value() ? latest.value()->record.revision : 0);
  if (before >= job::kMaxRevision)
    return Failure{"見積番号「" + number + "」は第" + std::to_string(job::kMaxRevision) +
                   "版まで発行済みです。新しい見積番号で作成してください。"};
  if (!latest.value() || latest.value()->record.revision < before) {
    quotation.fields.revision = before + 1;
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
  quotation.fields.revision = before + 1;
  return PendingIssue{std::move(quotation), std::move(job)};
}

Expected<void> StagedFiles::stage(const std::filesystem::path& file, std::string_view bytes,
                                  job::OutputFile::Reader absentReader) {
  auto staged = std::make_unique<job::OutputFile>();
  if (Expected<void> opened = staged->open(file, absentReader); !opened.ok()) return opened;
  if (Expected<void> written = staged->write(bytes); !written.ok()) return written;
  if (Expected<void> synced = staged->sync(); !synced.ok()) return synced;
  for (auto& [path, out] : files_) {
    if (path == file) {
      out = std::move(staged);
      return {};
    }
  }
  files_.emplace_back(file, std::move(staged));
  return {};
}

Expected<void> StagedFiles::stageJob(const std::filesystem::path& file, const job::Job& issuedJob) {
  const Expected<std::string> text = job::savedJobText(issuedJob, std::chrono::system_clock::now());
  if (!text)
    return Failure{"「" + job::displayName(file) + "」を保存できません。" + text.message()};
  return stage(file, *text);
}

Expected<void> StagedFiles::commit() {
  for (auto& [path, out] : files_) {
    if (Expected<void> placed = out->commit(); !placed.ok()) return placed;
  }
  return {};
}

Expected<Issued> issueQuotation(ledger::Register& reg, const PendingIssue& pending,
                                const Delivery& deliver) {
  if (pending.quotation.copy == CustomerQuotation::Copy::Reissue) {
    std::optional<QByteArray> pdf = customerQuotationPdf(pending.quotation);
    if (!pdf) return Failure{"見積書の PDF を作れません。"};
    if (Expected<void> delivered = deliver(pending.quotation, *pdf, pending.job); !delivered.ok())
      return delivered.failure();
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
  request.revisionBefore = pending.job.fields.revision;
  CustomerQuotation numbered = pending.quotation;
  Expected<job::IssueRecord> recorded =
      reg.record(request, [&](const job::IssueRecord& record) -> Expected<std::string> {
        numbered.fields.quotationNumber = record.quotationNumber;
        numbered.fields.revision = record.revision;
        numbered.fields.issuedOn = record.issuedOn;
        std::optional<QByteArray> pdf = customerQuotationPdf(numbered);
        if (!pdf) return Failure{"見積書の PDF を作れません。"};
        if (Expected<void> delivered = deliver(numbered, *pdf, job::withIssue(pending.job, record));
            !delivered.ok())
          return delivered.failure();
        return pdf->toStdString();
      });
  if (!recorded) return recorded.failure();
  return Issued{job::withIssue(pending.job, *recorded), numbered};
}

}  // namespace kelvane::ui
