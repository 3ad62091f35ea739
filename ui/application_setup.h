#pragma once

class QApplication;

namespace kelvane::ui {

// What every program showing the window needs before the window is made:
// the stand-in fonts and Qt's own Japanese texts (the message box's button,
// the print dialog).
void prepareApplication(QApplication& app);

}  // namespace kelvane::ui
