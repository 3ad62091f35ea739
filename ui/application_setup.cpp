#include "ui/application_setup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "ui/fonts.h"

namespace kelvane::ui {

void prepareApplication(QApplication& app) {
  installFontSubstitutes();
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
