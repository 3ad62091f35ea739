// The Calculate button end to end in the form model: reading the boxes, the
// press, writing the boxes and captions, and laying out the drawing.
#include <benchmark/benchmark.h>

#include <string>

#include "form/form1.h"
#include "form/section_layout.h"

namespace {

void calculatePressOfForm(benchmark::State& state) {
  kelvane::form::Form1 form;
  form.setText(kelvane::form::text1(2), std::to_string(state.range(0)));
  for (auto _ : state) {
    form.calculate();
    benchmark::DoNotOptimize(form.state().resultTexts[0].data());
  }
}
BENCHMARK(calculatePressOfForm)
    ->ArgName("turns")
    ->Arg(10)
    ->Arg(999)
    ->Arg(1000000)  // against the same press in the browser page (scripts/measure-web)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The section drawing of 999 turns, three positions and a half per layer.
void sectionLayout999(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(kelvane::form::DiagramLayout({}, 3.5f, 333, 999));
}
BENCHMARK(sectionLayout999)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
