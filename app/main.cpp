// kelvane: the wound coil calculator's window, or, with --report or
// --export-csv, a job's quotation sheet and results table written without one.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <exception>
#include <memory>
#include <variant>

#include "app/command_line.h"
#include "job/platform_files.h"
#include "job/printable_text.h"
#include "job/system_reason.h"
#include "ui/application_setup.h"
#include "ui/job_window.h"

namespace {

// Standard error of a run without a window carries its own line: Qt's notes
// about the environment (no runtime directory, say) are dropped, failures
// still pass.
void onlyFailures(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "%s\n", kelvane::job::withControlsEscaped(message.toStdString()).c_str());
}

// What stopped the program (memory running out, say), in one Japanese line.
void tellStop(const std::exception& stop) {
  std::fprintf(stderr, "kelvane: %s\n",
               kelvane::job::withControlsEscaped(kelvane::job::stoppedBecause(stop)).c_str());
}

// An exception nothing caught (one thrown where Qt cannot pass it on) is
// said the same way before the program ends, never by the C++ runtime's
// English line.
[[noreturn]] void tellUncaught() {
  if (const std::exception_ptr current = std::current_exception()) {
    try {
      std::rethrow_exception(current);
    } catch (const std::exception& stop) {
      tellStop(stop);
    } catch (...) {
      std::fputs("kelvane: 予期しないエラーで終了します。\n", stderr);
    }
  }
  std::abort();
}

// The program itself; main() keeps anything it lets through from ending it
// with the C++ runtime's English line.
int run(int argc, char** argv) {
  QCoreApplication::setApplicationName(QStringLiteral("kelvane"));
  QCoreApplication::setApplicationVersion(QStringLiteral(KELVANE_VERSION));
  const std::variant<kelvane::app::Request, int> read = kelvane::app::readCommandLine(argc, argv);
  if (const int* answered = std::get_if<int>(&read)) return *answered;
  const auto& request = std::get<kelvane::app::Request>(read);

  // Outputs need Qt's fonts and painting, not a screen.
  if (request.headless()) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(onlyFailures);
  }
  // Without a usable display this says why and ends the program.
  const std::unique_ptr<QApplication> app = kelvane::ui::startApplication(argc, argv);
  kelvane::ui::prepareApplication(*app);
  if (request.headless()) {
    try {
      return kelvane::app::writeOutputs(request);
    } catch (const std::exception& stop) {
      tellStop(stop);
      return kelvane::app::kFailed;
    }
  }

  kelvane::ui::JobWindow window;
  window.setRegisterLocation(request.registerLocation);
  window.show();
  try {
    // A job that cannot be opened is said in a message box over a new one.
    if (!request.job.isEmpty()) window.openFile(request.job);
    return QApplication::exec();
  } catch (const std::exception& stop) {
    // What unwinding freed is usually enough for the message box.
    tellStop(stop);
    try {
      QMessageBox::critical(nullptr, QStringLiteral("Kelvane"),
                            QString::fromStdString(kelvane::job::stoppedBecause(stop)));
    } catch (...) {
    }
    return kelvane::app::kFailed;
  }
}

}  // namespace

int main(int argc, char** argv) {
  kelvane::job::platform::ignoreBrokenPipes();
  std::set_terminate(tellUncaught);
  try {
    return run(argc, argv);
  } catch (...) {
    tellUncaught();
  }
}
