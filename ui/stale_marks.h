#pragma once

#include <QObject>
#include <vector>

class QGraphicsOpacityEffect;
class QLabel;
class QWidget;

namespace kelvane::ui {

// Shows results that no longer belong to the inputs as out of date: their
// boxes and unit captions in grey, the section drawing dimmed, and a note
// under the results. The texts themselves stay as they are.
class StaleMarks : public QObject {
  Q_OBJECT
 public:
  // `results` are the result boxes and the captions that carry units;
  // `drawing` is the section drawing; the note goes on `window`.
  StaleMarks(QWidget& window, std::vector<QWidget*> results, QWidget& drawing);

  // Marks the results as out of date, or not.
  void show(bool outOfDate);
  bool outOfDate() const { return outOfDate_; }

  // The note shown while the results are out of date.
  static QString noteText();

 private:
  std::vector<QWidget*> results_;
  QGraphicsOpacityEffect* dimmed_;
  QLabel* note_;
  bool outOfDate_ = false;
};

}  // namespace kelvane::ui
