#pragma once

#include <QByteArray>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "core/expected.h"
#include "job/job.h"
#include "job/output_file.h"
#include "ui/customer_quotation.h"

namespace kelvane::ledger {
class Register;
}

namespace kelvane::ui {

// Where the quotation register (見積台帳) is, and how a new quotation's
// number looks; kept in the user's settings. An empty location is the
// environment's ($KELVANE_REGISTER) or the one PC's own file.
struct RegisterSettings {
  QString location;
  QString numberPattern;
  bool operator==(const RegisterSettings&) const = default;
};
inline constexpr const char* kDefaultNumberPattern = "Q{yyyy}-{nnnn}";
RegisterSettings storedRegisterSettings();
void storeRegisterSettings(const RegisterSettings& settings);
// The register to use: `given` (the command line's --register) when not
// empty, else the settings', else the environment's or the default.
QString registerLocation(const QString& given = {});
// The settings' number pattern, the default when none is kept.
QString numberPattern();

// Opens the register, or says in the window's words why it cannot.
Expected<std::unique_ptr<ledger::Register>> openRegister(const QString& location);

// A 見積書 about to be issued: as it will print and the job as it will be
// recorded (its items' terms those it is priced with). A job unchanged since
// the latest 版 of its number prints that 版 again (Copy::Reissue) with its
// 発行日; any other gets the next 版 and today, and a job without a number
// the register's next one, offered until it is recorded.
struct PendingIssue {
  CustomerQuotation quotation;
  job::Job job;
};
Expected<PendingIssue> prepareIssue(ledger::Register& reg, job::Job job,
                                    CustomerQuotation quotation);

// What becomes of the 見積書 once its number and 版 are final, before the
// register takes it: a file written but not yet in its place (StagedFiles),
// pages sent to the printer; and the job as issued (its history holding
// the new 版), for its own file. A failure records nothing.
using Delivery = std::function<Expected<void>(const CustomerQuotation& numbered,
                                              const QByteArray& pdf, const job::Job& issuedJob)>;

// Files written whole while the register's transaction is open and put in
// their places once it has committed: the 見積書 and the job that records it
// appear with the register's issue, or not at all.
class StagedFiles {
 public:
  // Writes and syncs `bytes` for `file`, replacing what was staged for it.
  Expected<void> stage(const std::filesystem::path& file, std::string_view bytes,
                       job::OutputFile::Reader absentReader = job::OutputFile::Reader::Refuse);
  // The job as issued, for its file (its version and the time stamped).
  Expected<void> stageJob(const std::filesystem::path& file, const job::Job& issuedJob);
  // Every file staged put in its place, in the order staged.
  Expected<void> commit();

 private:
  std::vector<std::pair<std::filesystem::path, std::unique_ptr<job::OutputFile>>> files_;
};

// Issues the pending 見積書: a reprint is delivered and recorded nowhere; a
// new 版 is recorded with its PDF in the same transaction in which it is
// delivered, or not at all. The job after the issue (its history, number,
// 版 and 発行日), and the quotation as delivered.
struct Issued {
  job::Job job;
  CustomerQuotation quotation;
};
Expected<Issued> issueQuotation(ledger::Register& reg, const PendingIssue& pending,
                                const Delivery& deliver);

}  // namespace kelvane::ui
