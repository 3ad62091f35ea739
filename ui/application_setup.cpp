#include "ui/application_setup.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "form/control_table.h"
#include "ui/fonts.h"

namespace kelvane::ui {
namespace {

// A note of Qt's platform layer made while the application starts.
struct PlatformNote {
  QtMsgType type;
  QByteArray category;
  QString text;
};

QtMessageHandler qtHandler = nullptr;
std::vector<PlatformNote>* startNotes = nullptr;

// Qt's notes about a platform that cannot start, said in Japanese; a note
// not listed here is passed on in Qt's own words.
QString platformReason(const QString& note) {
  static const struct {
    QRegularExpression qt;
    QString japanese;  // %1: what the note's first group caught
  } known[] = {
      {QRegularExpression(QStringLiteral("^could not connect to display$")),
       QStringLiteral("ディスプレイに接続できません")},
      {QRegularExpression(QStringLiteral("^could not connect to display (.+)$")),
       QStringLiteral("ディスプレイ %1 に接続できません")},
      {QRegularExpression(QStringLiteral("^Could not load the Qt platform plugin \"(.*)\" in "
                                         "\"(.*)\" even though it was found\\.?$")),
       QStringLiteral("Qt の画面プラグイン「%1」を読み込めません")},
      {QRegularExpression(
           QStringLiteral("^Could not find the Qt platform plugin \"(.*)\" in \"(.*)\"$")),
       QStringLiteral("Qt の画面プラグイン「%1」がありません")},
      {QRegularExpression(QStringLiteral("^Available platform plugins are: ?(.*)$")),
       QStringLiteral("使える画面プラグインは %1 です")},
  };
  for (const auto& entry : known) {
    const QRegularExpressionMatch match = entry.qt.match(note);
    if (!match.hasMatch()) continue;
    if (match.lastCapturedIndex() < 1) return entry.japanese;
    QString caught = match.captured(1);
    if (caught.endsWith(QLatin1Char('.'))) caught.chop(1);
    return entry.japanese.arg(caught);
  }
  return note;
}

// The line that says why no window can be opened: Qt's notes about the
// platform, then the list of platform plugins when the one asked for does not
// exist. Qt's closing advice to reinstall the program is left out: it never
// helps with a missing display.
QString startFailure(const QString& fatal) {
  QStringList reasons;
  bool unknownPlugin = false;
  for (const PlatformNote& note : *startNotes) {
    const QString text = note.text.trimmed();
    if (text.isEmpty()) continue;
    QString reason = platformReason(text);
    if (text == QStringLiteral("could not connect to display") &&
        qEnvironmentVariableIsEmpty("DISPLAY"))
      reason += QStringLiteral("（DISPLAY が設定されていません）");
    unknownPlugin = unknownPlugin || text.startsWith(QStringLiteral("Could not find"));
    reasons << reason;
  }
  const QStringList fatalLines = fatal.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  for (const QString& line : fatalLines) {
    if (unknownPlugin && line.startsWith(QStringLiteral("Available platform plugins")))
      reasons << platformReason(line.trimmed());
  }
  if (reasons.isEmpty() && !fatalLines.isEmpty()) reasons << fatalLines.first().trimmed();
  return QStringLiteral("%1: ウィンドウを開けません。%2。")
      .arg(QCoreApplication::applicationName(), reasons.join(QStringLiteral("。")));
}

void whileStarting(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtFatalMsg) {
    // Qt aborts once this returns: say why and end here instead.
    std::fprintf(stderr, "%s\n", qPrintable(startFailure(message)));
    std::fflush(stderr);
    std::_Exit(1);
  }
  if (context.category && std::strncmp(context.category, "qt.qpa", 6) == 0) {
    startNotes->push_back({type, context.category, message});
    return;
  }
  qtHandler(type, context, message);
}

}  // namespace

std::unique_ptr<QApplication> startApplication(int& argc, char** argv) {
  std::vector<PlatformNote> notes;
  startNotes = &notes;
  qtHandler = qInstallMessageHandler(whileStarting);
  auto app = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(qtHandler);
  startNotes = nullptr;
  // The start succeeded: the notes it held back are said as Qt would have.
  for (const PlatformNote& note : notes) {
    const QMessageLogContext context(nullptr, 0, nullptr, note.category.constData());
    qtHandler(note.type, context, note.text);
  }
  return app;
}

void prepareApplication(QApplication& app) {
  installFontSubstitutes();
  // Message boxes and dialogs in the window's own face rather than a Latin
  // one with borrowed kana.
  QApplication::setFont(QFont(windowFace(form::kNoteFont), 9));
  // The window speaks Japanese whatever the desktop's language, so Qt's
  // dialogs do too. Without the translation they stay in English.
  auto* translator = new QTranslator(&app);
  if (translator->load(QStringLiteral("qtbase_ja"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  } else {
    delete translator;
  }
}

}  // namespace kelvane::ui
