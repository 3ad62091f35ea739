#include "ui/control_widgets.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QSvgWidget>
#include <cmath>
#include <limits>

#include "ui/fonts.h"
#include "ui/framed_panel.h"
#include "ui/section_drawing.h"

namespace kelvane::ui {
namespace {

int toPixels(int twips) { return static_cast<int>(std::lround(twips / double(kTwipsPerPixel))); }

// A box's background is its text area; a button's is the whole control.
void setBackground(QWidget& w, const form::Rgb& rgb) {
  const bool box = qobject_cast<QLineEdit*>(&w) != nullptr;
  QPalette p = w.palette();
  p.setColor(box ? QPalette::Base : w.backgroundRole(), toQColor(rgb));
  w.setPalette(p);
  w.setAutoFillBackground(!box);
}

Qt::Alignment labelAlignment(const form::ControlDesign& c) {
  return (form::alignsRight(c) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

// A widget made in its design font before it is given its text, so the
// text is laid out once, in that font.
template <typename Widget>
Widget* make(const QFont& font, QWidget* parent) {
  auto* widget = new Widget(parent);
  widget->setFont(font);
  return widget;
}

QWidget* makeWidget(const form::ControlDesign& c, const QFont& font, QWidget& window,
                    ControlWidgets& out) {
  QWidget* parent = &window;
  if (!c.container.empty()) parent = out.find({c.container, -1});
  const QString text = QString::fromStdString(c.text);

  switch (c.kind) {
    case form::ControlKind::TextBox: {
      auto* box = make<QLineEdit>(font, parent);
      // A box holds whatever it is given, however long, as the form does.
      box->setMaxLength(std::numeric_limits<int>::max());
      box->setText(text);
      if (c.background) setBackground(*box, *c.background);
      return box;
    }
    case form::ControlKind::Label: {
      auto* label = make<QLabel>(font, parent);
      label->setText(text);
      label->setAlignment(labelAlignment(c));
      // The 1000-turn note is longer than its box and takes two lines.
      label->setWordWrap(c.id.name == "Label2");
      return label;
    }
    case form::ControlKind::OptionButton: {
      auto* button = make<QRadioButton>(font, parent);
      button->setText(text);
      button->setFocusPolicy(Qt::StrongFocus);
      if (c.background) setBackground(*button, *c.background);
      QButtonGroup*& group = c.id.name == "Option1" ? out.shapes : out.materials;
      if (!group) group = new QButtonGroup(&window);
      group->addButton(button, c.id.index);
      return button;
    }
    case form::ControlKind::CommandButton: {
      auto* button = make<QPushButton>(font, parent);
      button->setText(text);
      button->setFocusPolicy(Qt::StrongFocus);
      button->setAutoDefault(false);
      return button;
    }
    case form::ControlKind::Frame: {
      auto* frame = make<QGroupBox>(font, parent);
      frame->setTitle(text);
      return frame;
    }
    case form::ControlKind::Rectangle:
      if (c.id.name == "Shape2") return out.drawing = new SectionDrawing(parent);
      return new FramedPanel(c, parent);
    case form::ControlKind::Picture:
      return new QSvgWidget(QStringLiteral(":/kelvane/reference_drawing.svg"), parent);
    case form::ControlKind::Circle:
    case form::ControlKind::Line:
      return nullptr;  // painted by the diagram panel
  }
  return nullptr;
}

// The shape buttons are lower than the style's circle; a smaller circle
// keeps it whole.
void fitIndicator(QRadioButton& button) {
  const int room = button.height() - 2;
  if (button.style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, &button) <= room)
    return;
  button.setStyleSheet(
      QStringLiteral("QRadioButton::indicator { width: %1px; height: %1px; }").arg(room));
}

// What a control must show whole on one line, condensed if the design size
// is too wide for it: its caption; for a box a result with three whole
// digits, as the narrow result boxes hold one. The note wraps instead.
QString textToFit(const form::ControlDesign& c, const QWidget& w) {
  if (c.kind == form::ControlKind::TextBox) return QStringLiteral("999.999");
  const auto* label = qobject_cast<const QLabel*>(&w);
  if (label && label->wordWrap()) return {};
  return QString::fromStdString(c.text);
}

}  // namespace

QWidget* ControlWidgets::find(const form::ControlId& id) const {
  auto it = byId.find(id.str());
  return it == byId.end() ? nullptr : it->second;
}

QRect twipsToPixels(int left, int top, int width, int height) {
  const int x = toPixels(left), y = toPixels(top);
  return {x, y, toPixels(left + width) - x, toPixels(top + height) - y};
}

int textRoom(const QWidget& control) {
  const QStyle* style = control.style();
  const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &control);
  // Qt keeps two pixels between a box's frame and its text.
  constexpr int kBoxTextMargin = 2;
  if (qobject_cast<const QLineEdit*>(&control))
    return control.width() - 2 * (frame + kBoxTextMargin);
  if (qobject_cast<const QRadioButton*>(&control))
    return control.width() -
           style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, &control) -
           style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, &control);
  if (qobject_cast<const QPushButton*>(&control))
    return control.width() -
           2 * (style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &control) + frame);
  return control.width();
}

ControlWidgets buildControls(QWidget& window) {
  ControlWidgets out;
  // Frames first, so the buttons inside them find their parent.
  std::vector<const form::ControlDesign*> order;
  for (const form::ControlDesign& c : form::controlTable())
    if (c.kind == form::ControlKind::Frame) order.push_back(&c);
  for (const form::ControlDesign& c : form::controlTable())
    if (c.kind != form::ControlKind::Frame) order.push_back(&c);

  for (const form::ControlDesign* c : order) {
    const QFont font = designFont(*c);
    QWidget* w = makeWidget(*c, font, window, out);
    if (!w) continue;
    out.byId[c->id.str()] = w;
    w->setObjectName(QString::fromStdString(c->id.str()));
    w->setGeometry(twipsToPixels(c->left, c->top, c->width, c->height));
    w->setFont(font);
    if (auto* option = qobject_cast<QRadioButton*>(w)) fitIndicator(*option);
    const QString mustFit = textToFit(*c, *w);
    if (!mustFit.isEmpty()) w->setFont(fittedFont(w->font(), mustFit, textRoom(*w)));
    w->setVisible(c->visible);
  }

  // The reference drawing and the two panels lie beneath everything; the
  // 1000-turn note lies in front of the diagram.
  for (const form::ControlDesign& c : form::controlTable()) {
    if (c.kind == form::ControlKind::Rectangle || c.kind == form::ControlKind::Picture)
      out.find(c.id)->lower();
  }
  out.find({"Label2", -1})->raise();

  // Tab order of the design; Qt skips hidden controls on its own.
  const std::vector<form::ControlId> tabs = form::tabOrder();
  for (std::size_t i = 1; i < tabs.size(); ++i)
    QWidget::setTabOrder(out.find(tabs[i - 1]), out.find(tabs[i]));
  return out;
}

}  // namespace kelvane::ui
