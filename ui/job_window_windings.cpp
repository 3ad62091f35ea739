// The windings of an item on the job window: the bar above the form, the
// stack pressed as one, and what follows a winding's change.
#include <QLineEdit>

#include "core/winding_stack.h"
#include "form/control_table.h"
#include "form/diagram_geometry.h"
#include "form/form_job.h"
#include "form/stack_section.h"
#include "job/item_stack.h"
#include "job/quotation_text.h"
#include "ui/job_window.h"

namespace kelvane::ui {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

QString figureText(const std::optional<double>& value) {
  return value ? qt(job::termText(*value)) : QString();
}

}  // namespace

void JobWindow::refreshWindings() {
  if (!windings_ || !form_) return;
  const job::Item& it = item();
  WindingBar::Content content;
  content.names << qt(it.windingName);
  for (const job::UpperWinding& upper : it.upperWindings) content.names << qt(upper.name);
  content.shown = int(shownWinding());
  if (shownWinding() > 0 && shownWinding() <= it.upperWindings.size()) {
    const job::UpperWinding& upper = it.upperWindings[shownWinding() - 1];
    content.boxes = {qt(upper.under.thicknessPerLayer), qt(upper.under.layers),
                     figureText(upper.terms.wireYenPerKg), figureText(upper.terms.windingRpm),
                     qt(job::termText(it.tapeYenPerLayer))};
  }
  windings_->setContent(content);
  form_->showInheritedFormer(shownWinding() > 0);
  // The section shows the whole stack while its windings' results stand.
  std::optional<form::StackSection> section;
  if (job::isStack(it) && itemForms_.current(shownItem(), form_->model())) {
    if (const std::optional<StackResult>& stack = itemForms_.stackOf(shownItem()))
      section = form::stackSection(form::diagramGeometry(), *stack);
  }
  form_->showStackSection(std::move(section));
}

bool JobWindow::showWinding(std::size_t index) {
  if (index == shownWinding()) return true;
  const form::Form1* state = itemForms_.showWinding(index, form_->model());
  if (!state) return false;
  form_->showModel(*state);
  targetsSeen_ = form_->model().state().targetsSolved;
  refreshWindings();
  refreshItems();
  updateTitle();
  return true;
}

bool JobWindow::addWinding() {
  const Expected<const form::Form1*> state = itemForms_.addWinding(form_->model());
  if (!state) {
    present(qt(state.message()));
    refreshWindings();
    return false;
  }
  form_->showModel(**state);
  targetsSeen_ = form_->model().state().targetsSolved;
  refreshWindings();
  refreshItems();
  updateTitle();
  return true;
}

bool JobWindow::removeWinding() {
  const std::size_t k = shownWinding();
  if (k == 0) return false;
  const QString question = QStringLiteral("%1を削除しますか？ 削除した巻線は元に戻せません。")
                               .arg(qt(windingLabel(k, item().upperWindings[k - 1].name)));
  if (!askRemoveItem_(question)) return false;
  form_->showModel(*itemForms_.removeWinding());
  targetsSeen_ = form_->model().state().targetsSolved;
  refreshWindings();
  refreshItems();
  updateTitle();
  return true;
}

void JobWindow::setWindingName(const std::string& name) {
  const std::size_t k = shownWinding();
  if (k == 0) {
    item().windingName = name;
  } else {
    item().upperWindings[k - 1].name = name;
  }
  updateTitle();
}

bool JobWindow::takeWindingBox(WindingBar::Box box, const QString& text) {
  const std::size_t k = shownWinding();
  if (k == 0 || k > item().upperWindings.size()) return false;
  job::UpperWinding& upper = item().upperWindings[k - 1];
  const std::string typed = text.toStdString();
  const auto refuse = [&](const std::string& message) {
    present(qt(message));
    windings_->refuse(box);
    return false;
  };
  switch (box) {
    case WindingBar::Box::Thickness:
    case WindingBar::Box::Layers: {
      // The box is read alone, the other taken as none: the message names
      // the box and the winding.
      job::TypedInsulation alone;
      (box == WindingBar::Box::Thickness ? alone.thicknessPerLayer : alone.layers) = typed;
      if (Expected<Insulation> read = job::readInsulation(alone, windingLabel(k, upper.name));
          !read)
        return refuse(read.message());
      std::string& kept =
          box == WindingBar::Box::Thickness ? upper.under.thicknessPerLayer : upper.under.layers;
      if (kept == typed) return true;
      kept = typed;
      // The tape under this winding moves it and every one above.
      itemForms_.stackChanged(k - 1);
      for (int i = 0; i < form::kInputBoxCount; ++i) {
        const auto b = static_cast<InputBox>(i);
        if (isFormerSize(b)) form_->setBoxText(form::idOf(b), QString());
      }
      break;
    }
    case WindingBar::Box::TapePrice: {
      // The item's, whichever winding shows it: empty is none.
      double price = 0;
      if (!text.trimmed().isEmpty()) {
        const Expected<double> read = job::readTermFigure("層間テープ単価", typed, {});
        if (!read) return refuse(windingLabel(k, upper.name) + ": " + read.message());
        price = *read;
      }
      item().tapeYenPerLayer = price;
      break;
    }
    case WindingBar::Box::WirePrice:
    case WindingBar::Box::Speed: {
      const job::TermFigure figure =
          box == WindingBar::Box::WirePrice ? job::TermFigure::WirePrice : job::TermFigure::Speed;
      std::optional<double> value;
      // Empty: the price list's price for its wire, or the item's speed.
      if (!text.trimmed().isEmpty()) {
        const Expected<double> read =
            job::readTermFigure(job::termName(figure), typed, job::termUnits(figure));
        if (!read) return refuse(windingLabel(k, upper.name) + ": " + read.message());
        value = *read;
      }
      (box == WindingBar::Box::WirePrice ? upper.terms.wireYenPerKg : upper.terms.windingRpm) =
          value;
      break;
    }
  }
  updateTitle();
  refreshItems();
  if (pane_) pane_->refresh();
  return true;
}

bool JobWindow::pressStack() {
  stackPressing_ = true;
  const form::StackPress press = itemForms_.pressShown(form_->model(), form_->workRunner());
  form_->showModel(itemForms_.shownState());
  stackPressing_ = false;
  targetsSeen_ = form_->model().state().targetsSolved;
  refreshWindings();
  if (!press.result && !press.cancelled) {
    present(qt(press.message));
    // The box at fault takes the focus, its text selected: the tape's on
    // the bar, or the one the winding's form refused.
    const std::size_t k = press.failedWinding;
    const job::Item& it = item();
    if (k > 0 && k <= it.upperWindings.size() &&
        !job::readInsulation(it.upperWindings[k - 1].under, {})) {
      const bool thickness =
          !job::readInsulation({it.upperWindings[k - 1].under.thicknessPerLayer, "0"}, {});
      windings_->refuse(thickness ? WindingBar::Box::Thickness : WindingBar::Box::Layers);
    } else if (auto* box = qobject_cast<QLineEdit*>(form_->control(form_->model().state().focus))) {
      box->setFocus(Qt::OtherFocusReason);
      box->selectAll();
    }
  }
  refreshItems();
  updateTitle();
  if (pane_) pane_->refresh();
  return press.result.has_value();
}

void JobWindow::windingsFollow(bool targetSolved) {
  if (!job::isStack(item())) return;
  // A target changes the turns of the winding shown only; those above
  // then sit elsewhere, and the stack is pressed again.
  if (targetSolved) {
    pressStack();
    return;
  }
  if (!form_->model().state().resultsCurrent && itemForms_.stackOf(shownItem()))
    itemForms_.stackChanged(shownWinding());
}

std::vector<std::optional<StackResult>> JobWindow::stacks() const {
  std::vector<std::optional<StackResult>> all;
  all.reserve(itemCount());
  for (std::size_t i = 0; i < itemCount(); ++i) {
    const bool current = itemForms_.current(i, form_->model());
    all.push_back(current ? itemForms_.stackOf(i) : std::nullopt);
  }
  return all;
}

Expected<job::CoilPrice> JobWindow::priceOfItem(std::size_t index,
                                                const job::QuotationTerms& terms) {
  const job::Item it = itemAt(index);
  if (!job::isStack(it)) return job::priceOfCoil(form::shownCoil(formOf(index)), terms);
  const std::optional<StackResult> stack =
      itemForms_.current(index, form_->model()) ? itemForms_.stackOf(index) : std::nullopt;
  return job::coilPriceOfStack(it, stack, terms,
                               [this] { return Expected<job::PriceList>(priceList()); });
}

}  // namespace kelvane::ui
