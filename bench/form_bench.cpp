// The Calculate button end to end in the form model: reading the boxes, the
// press, writing the boxes and captions, and laying out the drawing; and a
// request of a hundred items computed, opened and saved.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/typical_request.h"
#include "form/form1.h"
#include "form/form_job.h"
#include "form/section_layout.h"
#include "job/file_io.h"
#include "job/job_json.h"

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

namespace {

using kelvane::bench::typicalRequest;

// 全品目を計算 of a request of a hundred items, every one out of date: the
// press of each item's form, as the window presses the items not shown.
void computeAllHundredItems(benchmark::State& state) {
  const kelvane::job::Job request = typicalRequest();
  std::vector<kelvane::form::Form1> forms(request.items.size());
  for (std::size_t i = 0; i < forms.size(); ++i)
    kelvane::form::applyCoil(request.items[i].coil, forms[i]);
  bool odd = false;
  for (auto _ : state) {
    odd = !odd;
    for (std::size_t i = 0; i < forms.size(); ++i) {
      // A turn more or less puts the results out of date, as typing does.
      const std::string turns = request.items[i].input(kelvane::InputBox::Turns);
      forms[i].setText(kelvane::form::text1(2), odd ? turns + "1" : turns);
      forms[i].calculate();
    }
    benchmark::DoNotOptimize(forms.back().state().resultTexts[0].data());
  }
  state.counters["items"] = static_cast<double>(forms.size());
}
BENCHMARK(computeAllHundredItems)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Opening a job of a hundred items as the window opens it: the file read,
// then every item's coil opened on a form of its own and computed.
void openHundredItemJob(benchmark::State& state) {
  const std::string text = kelvane::job::writeJob(typicalRequest());
  for (auto _ : state) {
    const auto job = kelvane::job::readJob(text);
    std::vector<kelvane::form::Form1> forms(job->items.size());
    for (std::size_t i = 0; i < forms.size(); ++i)
      kelvane::form::applyCoil(job->items[i].coil, forms[i]);
    benchmark::DoNotOptimize(forms.back().state().resultTexts[0].data());
  }
  state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(openHundredItemJob)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Saving it: the text made and read back as a save checks it, written whole
// and flushed to the disk, then renamed into place.
void saveHundredItemJob(benchmark::State& state) {
  const kelvane::job::Job request = typicalRequest();
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / "kelvane-bench-request.kelvane";
  for (auto _ : state) {
    const auto saved = kelvane::job::saveJobFile(file, request);
    if (!saved.ok()) state.SkipWithError(saved.message().c_str());
  }
  std::filesystem::remove(file);
}
BENCHMARK(saveHundredItemJob)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
