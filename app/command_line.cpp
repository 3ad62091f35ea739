#include "app/command_line.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

#include "form/form1.h"
#include "job/job_form.h"
#include "job/results_table.h"
#include "ui/job_files.h"
#include "ui/quotation_sheet.h"

namespace kelvane::app {
namespace {

// One line on standard error, whatever line breaks a file's name brings.
void tell(const QString& line) {
  std::fprintf(stderr, "kelvane: %s\n", qPrintable(line.simplified()));
}

int failed(const QString& line) {
  tell(line);
  return kFailed;
}

}  // namespace

std::variant<Request, int> readCommandLine(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser options;
  options.setApplicationDescription(QStringLiteral(
      "Kelvane works out a wound coil from its wire, turns, lead length, layer width, conductor "
      "material and former (round, rectangular or fan-shaped): how the turns lie layer by layer, "
      "the winding heights and outer dimensions, the wire length, the conductor, insulation and "
      "total weights and the DC resistance, with a drawing of the wound section; it prints a data "
      "sheet of resistance and weight per kilometre of the wire, and works back from a target "
      "height, weight or resistance to the number of turns."));
  const QCommandLineOption help = options.addHelpOption();
  const QCommandLineOption version = options.addVersionOption();
  const QCommandLineOption report(
      QStringLiteral("report"),
      QStringLiteral("Write the quotation sheet of JOB as a PDF file, without a window."),
      QStringLiteral("OUT.pdf"));
  const QCommandLineOption csv(
      QStringLiteral("export-csv"),
      QStringLiteral("Write the inputs and results of JOB as a CSV file, without a window."),
      QStringLiteral("OUT.csv"));
  options.addOption(report);
  options.addOption(csv);
  options.addPositionalArgument(QStringLiteral("JOB"),
                                QStringLiteral("A quotation job (.kelvane) to open."),
                                QStringLiteral("[JOB]"));
  if (!options.parse(arguments)) {
    std::fprintf(stderr, "kelvane: %s\n", qPrintable(options.errorText()));
    return kBadUsage;
  }
  if (options.isSet(help)) {
    // Without an application object Qt does not know the program's name yet.
    std::fputs(qPrintable(options.helpText().replace(QStringLiteral("<executable_name>"),
                                                     QStringLiteral("kelvane"))),
               stdout);
    return kSucceeded;
  }
  if (options.isSet(version)) {
    std::puts("kelvane " KELVANE_VERSION);
    return kSucceeded;
  }

  Request request;
  const QStringList jobs = options.positionalArguments();
  if (jobs.size() > 1) {
    tell(QStringLiteral("開く案件ファイルは一つだけ指定してください。"));
    return kBadUsage;
  }
  if (!jobs.isEmpty()) request.job = jobs.constFirst();
  request.reportPath = options.value(report);
  request.csvPath = options.value(csv);
  for (const auto& [option, path] :
       {std::pair{&report, &request.reportPath}, std::pair{&csv, &request.csvPath}}) {
    if (options.isSet(*option) && path->isEmpty()) {
      tell(QStringLiteral("--%1 には書き出すファイルの名前が要ります。")
               .arg(option->names().first()));
      return kBadUsage;
    }
  }
  if (request.headless() && request.job.isEmpty()) {
    tell(QStringLiteral("--report と --export-csv には案件ファイルが要ります。"));
    return kBadUsage;
  }
  return request;
}

int writeOutputs(const Request& request) {
  const Expected<job::Job> job = ui::readJobFile(request.job);
  if (!job) return failed(QString::fromStdString(job.message()));
  form::Form1 form;
  job::applyJob(*job, form);
  if (!form.state().resultsCurrent) {
    // A sheet without results quotes nothing; the window would show why.
    const auto& messages = form.state().messages;
    return failed(QStringLiteral("「%1」は計算できません。%2")
                      .arg(QFileInfo(request.job).fileName(),
                           messages.empty() ? QString() : QString::fromStdString(messages.back())));
  }
  if (!request.reportPath.isEmpty()) {
    QString error;
    if (!ui::writeQuotationPdf(request.reportPath, ui::quotationOf(form, job->fields), &error)) {
      return failed(error.isEmpty() ? QStringLiteral("「%1」に書き出せません。")
                                          .arg(QFileInfo(request.reportPath).fileName())
                                    : error);
    }
  }
  if (!request.csvPath.isEmpty()) {
    if (const auto error = ui::saveFile(
            request.csvPath, job::toCsv(job::resultsTable(form, job->fields.workingCelsius))))
      return failed(*error);
  }
  return kSucceeded;
}

}  // namespace kelvane::app
