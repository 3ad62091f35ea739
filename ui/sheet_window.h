#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

class QPlainTextEdit;

namespace kelvane::ui {

// The window the wire data sheet is printed into: every report lands
// below the earlier ones until the window is closed.
class SheetWindow : public QWidget {
  Q_OBJECT
 public:
  explicit SheetWindow(QWidget* parent);

  // Shows exactly these lines, adding to the text where they continue it.
  // True when lines were added. Only the new lines are read, so a sheet that
  // has grown long costs nothing on events that add none.
  bool showLines(const std::vector<std::string>& lines);
  // The lines as the window shows them, read off its text.
  QStringList lines() const;

  // Runs when the user closes the window.
  void setCloseHandler(std::function<void()> handler) { onClose_ = std::move(handler); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPlainTextEdit* text_;
  std::size_t lineCount_ = 0;
  std::function<void()> onClose_;
};

}  // namespace kelvane::ui
