#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// What the PDF tests read back from a file with poppler's tools.
namespace kelvane::ui::test {

// Runs a poppler tool on the file and gives what it printed.
inline QString run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForStarted()) {
    qWarning("%s is missing: scripts/install-deps installs poppler-utils", qPrintable(program));
    return {};
  }
  process.waitForFinished();
  return QString::fromUtf8(process.readAllStandardOutput());
}

// Runs of white space, ideographic spaces included, as one space: the
// layout of extracted text says nothing about the cells it came from.
inline QString flattened(QString text) {
  return text.replace(QChar(0x3000), QLatin1Char(' ')).simplified();
}

}  // namespace kelvane::ui::test
