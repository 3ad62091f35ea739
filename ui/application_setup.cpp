#include "ui/application_setup.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include "form/control_table.h"
#include "ui/fonts.h"

namespace kelvane::ui {

void prepareApplication(QApplication& app) {
  installFontSubstitutes();
  // Message boxes and dialogs in the window's own face rather than a Latin
  // one with borrowed kana.
  QApplication::setFont(QFont(QString::fromUtf8(form::kNoteFont), 9));
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
