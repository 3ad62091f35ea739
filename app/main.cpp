// kelvane: the wound coil calculator's window.
#include <QApplication>
#include <QCommandLineParser>

#include "ui/application_setup.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kelvane"));
  QApplication::setApplicationVersion(QStringLiteral(KELVANE_VERSION));

  QCommandLineParser options;
  options.setApplicationDescription(QStringLiteral(
      "Kelvane works out a wound coil from its wire, turns, lead length, layer width, conductor "
      "material and former (round, rectangular or fan-shaped): how the turns lie layer by layer, "
      "the winding heights and outer dimensions, the wire length, the conductor, insulation and "
      "total weights and the DC resistance, with a drawing of the wound section; it prints a data "
      "sheet of resistance and weight per kilometre of the wire, and works back from a target "
      "height, weight or resistance to the number of turns."));
  options.addHelpOption();
  options.addVersionOption();
  options.process(app);

  kelvane::ui::prepareApplication(app);
  kelvane::ui::MainWindow window;
  window.show();
  return QApplication::exec();
}
