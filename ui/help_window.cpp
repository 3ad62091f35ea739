#include "ui/help_window.h"

#include <QKeyEvent>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QtGlobal>

#include "job/job.h"
#include "ui/business_keys.h"

namespace kelvane::ui {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("Kelvane の使い方"));
  resize(640, 720);
  browser_ = new QTextBrowser(this);
  browser_->setOpenLinks(false);  // the guide links nowhere; nothing from outside is loaded
  browser_->setSource(QUrl(QStringLiteral("qrc:/kelvane/help.html")));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
  // Esc and Ctrl+W close the guide, as they close the data sheet.
  if (closesWindow(*event)) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

QString aboutText() {
  const std::string_view version = job::programVersion();
  return QStringLiteral(
             "<p><b>Kelvane %1</b><br>巻線コイルの見積計算</p>"
             "<p>Copyright 2026 Kelvane developers<br>"
             "MIT ライセンスで配布しています。このソフトウェアは無保証です。</p>"
             "<p>Qt %2 を使っています。</p>")
      .arg(QString::fromUtf8(version.data(), static_cast<qsizetype>(version.size())),
           QString::fromLatin1(qVersion()));
}

}  // namespace kelvane::ui
