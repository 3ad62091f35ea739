// kelvane: the wound coil calculator's window, or, with --report or
// --export-csv, a job's quotation sheet and results table written without one.
#include <QApplication>
#include <cstdio>
#include <memory>
#include <variant>

#include "app/command_line.h"
#include "ui/application_setup.h"
#include "ui/job_window.h"

namespace {

// Standard error of a run without a window carries its own line: Qt's notes
// about the environment (no runtime directory, say) are dropped, failures
// still pass.
void onlyFailures(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setApplicationName(QStringLiteral("kelvane"));
  QCoreApplication::setApplicationVersion(QStringLiteral(KELVANE_VERSION));
  const std::variant<kelvane::app::Request, int> read = kelvane::app::readCommandLine(argc, argv);
  if (const int* answered = std::get_if<int>(&read)) return *answered;
  const kelvane::app::Request& request = std::get<kelvane::app::Request>(read);

  // Outputs need Qt's fonts and painting, not a screen.
  if (request.headless()) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(onlyFailures);
  }
  // Without a usable display this says why and ends the program.
  const std::unique_ptr<QApplication> app = kelvane::ui::startApplication(argc, argv);
  kelvane::ui::prepareApplication(*app);
  if (request.headless()) return kelvane::app::writeOutputs(request);

  kelvane::ui::JobWindow window;
  window.show();
  // A job that cannot be opened is said in a message box over a new one.
  if (!request.job.isEmpty()) window.openFile(request.job);
  return QApplication::exec();
}
