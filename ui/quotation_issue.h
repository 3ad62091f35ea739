#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

#include "core/expected.h"
#include "job/job.h"
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
// register takes it: a file written but not yet in its place, pages sent
// to the printer. A failure records nothing.
using Delivery = std::function<Expected<void>(const CustomerQuotation& numbered,
                                              const QByteArray& pdf)>;

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
