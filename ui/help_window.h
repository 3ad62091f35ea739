#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace kelvane::ui {

// 使い方: the short guide shipped inside the program, in a window of its own
// beside the form.
class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent);

  const QTextBrowser& browser() const { return *browser_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QTextBrowser* browser_;
};

// The text of バージョン情報: the program's version, its licence and the
// version of Qt it runs on.
QString aboutText();

}  // namespace kelvane::ui
