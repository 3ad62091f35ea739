// A coil of eight windings of a million turns each against the eight
// presses the engineer would make of them one by one: the stack should cost
// the presses and next to nothing more (its own work is a few sums a winding).
#include <benchmark/benchmark.h>

#include <vector>

#include "core/coil.h"
#include "core/number_text.h"
#include "core/winding_stack.h"
#include "form/stack_forms.h"
#include "job/job.h"

namespace {

using kelvane::Coil;
using kelvane::Former;
using kelvane::FormerShape;
using kelvane::WindingStack;

// Eight windings of 0.2 mm copper in layers of 100 turns (T = 21.1 mm) over
// tape of 0.05 mm × 2, on the window's opening formers.
WindingStack eightMillionTurnWindings(FormerShape shape) {
  WindingStack stack;
  stack.former = Former{shape, 10, 2, 2, 0.3, 0.3, 50, 60};
  for (int k = 0; k < 8; ++k) {
    Coil c;
    c.bareDiameter = 0.2;
    c.finishedDiameter = 0.21;
    c.turns = 1'000'000;
    c.leadLength = 10;
    c.referenceThickness = 21.1;
    stack.windings.push_back({"", c, {0.05, k == 0 ? 0 : 2}});
  }
  return stack;
}

void stackOfEight(benchmark::State& state) {
  const WindingStack stack = eightMillionTurnWindings(static_cast<FormerShape>(state.range(0)));
  if (!kelvane::computeStack(stack).ok()) state.SkipWithError("the stack is refused");
  for (auto _ : state) benchmark::DoNotOptimize(kelvane::computeStack(stack));
  state.SetItemsProcessed(state.iterations() * 8'000'000);
}

// The same eight coils, each typed on the former its winding inherits.
void eightSinglePresses(benchmark::State& state) {
  const WindingStack stack = eightMillionTurnWindings(static_cast<FormerShape>(state.range(0)));
  const auto computed = kelvane::computeStack(stack);
  if (!computed.ok()) {
    state.SkipWithError("the stack is refused");
    return;
  }
  std::vector<kelvane::CoilInputs> coils;
  for (std::size_t k = 0; k < 8; ++k) {
    coils.push_back(
        kelvane::inputsOf(kelvane::onFormer(stack.windings[k].coil, computed->windings[k].former)));
  }
  for (auto _ : state) {
    for (const kelvane::CoilInputs& in : coils) benchmark::DoNotOptimize(kelvane::calculate(in));
  }
  state.SetItemsProcessed(state.iterations() * 8'000'000);
}

// The same stack as the window presses it: every winding on a form of its
// own, the stack computed once and each winding's press shown on its form.
void stackOnForms(benchmark::State& state) {
  const WindingStack stack = eightMillionTurnWindings(FormerShape::Round);
  kelvane::job::Item item;
  item.coil.former = FormerShape::Round;
  const auto text = [](double v) { return kelvane::plainDecimal(v); };
  for (std::size_t k = 0; k < stack.windings.size(); ++k) {
    const Coil& c = stack.windings[k].coil;
    kelvane::TypedCoil typed = item.coil;
    typed.texts[kelvane::indexOf(kelvane::InputBox::BareDiameter)] = text(c.bareDiameter);
    typed.texts[kelvane::indexOf(kelvane::InputBox::FinishedDiameter)] = text(c.finishedDiameter);
    typed.texts[kelvane::indexOf(kelvane::InputBox::Turns)] = text(c.turns);
    typed.texts[kelvane::indexOf(kelvane::InputBox::LeadLength)] = text(c.leadLength);
    typed.texts[kelvane::indexOf(kelvane::InputBox::ReferenceThickness)] =
        text(c.referenceThickness);
    typed.texts[kelvane::indexOf(kelvane::InputBox::InnerDiameter)] = "10";
    if (k == 0) {
      item.coil = typed;
    } else {
      item.upperWindings.push_back({"", typed, {"0.05", "2"}, {}});
    }
  }
  std::vector<kelvane::form::Form1> forms = kelvane::form::windingForms(item);
  const kelvane::form::WorkRunner here = [](double, const kelvane::form::Work& work) {
    work(nullptr);
  };
  if (!kelvane::form::pressStack(item, forms, here).result)
    state.SkipWithError("the stack is refused");
  for (auto _ : state) benchmark::DoNotOptimize(kelvane::form::pressStack(item, forms, here));
  state.SetItemsProcessed(state.iterations() * 8'000'000);
}

// Shapes: 0 round, 1 rectangular, 2 fan.
BENCHMARK(stackOfEight)
    ->ArgName("shape")
    ->DenseRange(0, 2)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(eightSinglePresses)
    ->ArgName("shape")
    ->DenseRange(0, 2)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(stackOnForms)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

}  // namespace
