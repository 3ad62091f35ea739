// The Calculate button end to end in the form model: reading the boxes, the
// press, writing the boxes and captions, and laying out the drawing.
#include <benchmark/benchmark.h>

#include <string>

#include "form/form1.h"

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

}  // namespace
