// kelvane: the wound coil calculator's window.
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <memory>
#include <optional>

#include "ui/application_setup.h"
#include "ui/main_window.h"

namespace {

// --help and --version answer without a display; anything else opens the
// window, which takes no options of its own.
std::optional<int> answerOptions(int argc, char** argv) {
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
  if (!options.parse(arguments)) {
    std::fprintf(stderr, "kelvane: %s\n", qPrintable(options.errorText()));
    return 2;
  }
  if (options.isSet(help)) {
    // Without an application object Qt does not know the program's name yet.
    std::fputs(qPrintable(options.helpText().replace(QStringLiteral("<executable_name>"),
                                                     QStringLiteral("kelvane"))),
               stdout);
    return 0;
  }
  if (options.isSet(version)) {
    std::puts("kelvane " KELVANE_VERSION);
    return 0;
  }
  if (!options.positionalArguments().isEmpty()) {
    std::fputs("kelvane: the window takes no arguments\n", stderr);
    return 2;
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setApplicationName(QStringLiteral("kelvane"));
  QCoreApplication::setApplicationVersion(QStringLiteral(KELVANE_VERSION));
  if (const std::optional<int> answered = answerOptions(argc, argv)) return *answered;

  // Without a usable display this says why and ends the program.
  const std::unique_ptr<QApplication> app = kelvane::ui::startApplication(argc, argv);
  kelvane::ui::prepareApplication(*app);
  kelvane::ui::MainWindow window;
  window.show();
  return QApplication::exec();
}
