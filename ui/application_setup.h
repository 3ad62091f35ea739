#pragma once

#include <memory>

class QApplication;

namespace kelvane::ui {

// The application object of a program that shows the window, or, when Qt
// cannot open one (no usable display, a platform plugin that fails to
// load), one line on stderr naming the cause in Qt's own words and the end
// of the process with status 1: Qt itself would abort. Qt's notes about the
// platform made while starting are held back until the start succeeds, so a
// failed start prints nothing but that line.
std::unique_ptr<QApplication> startApplication(int& argc, char** argv);

// What every program showing the window needs before the window is made:
// the stand-in fonts and Qt's own Japanese texts (the message box's button,
// the print dialog).
void prepareApplication(QApplication& app);

}  // namespace kelvane::ui
