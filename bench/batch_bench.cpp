// Rows a second of kelvane-batch for typical coils (100 to 2,000 turns, every
// former and material): the whole batch (reading the CSV, computing on all
// cores, writing the CSV) against the same rows opened one after another on
// the form model on one thread, as the window would compute them.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "form/form_job.h"
#include "tools/batch/batch.h"
#include "tools/batch/batch_run.h"

namespace {

using kelvane::ConductorMaterial;
using kelvane::FormerShape;
using kelvane::TypedCoil;
namespace form = kelvane::form;

constexpr int kRows = 20000;

struct TypicalRows {
  std::string csv;
  std::vector<TypedCoil> coils;
};

// Enamelled wire of 0.1 to 1 mm on formers of everyday size; the same rows
// on every run.
const TypicalRows& typicalRows() {
  static const TypicalRows rows = [] {
    TypicalRows r;
    std::mt19937 random(2000);
    auto pick = [&](std::initializer_list<const char*> v) {
      return std::string(
          v.begin()[std::uniform_int_distribution<std::size_t>(0, v.size() - 1)(random)]);
    };
    for (const std::string& name : kelvane::batch::inputColumns()) {
      r.csv += (r.csv.empty() ? "" : ",") + name;
    }
    r.csv += "\r\n";
    const form::Form1 fresh;
    for (int i = 0; i < kRows; ++i) {
      TypedCoil job;
      job.texts = fresh.state().inputTexts;
      const std::string d = pick({"0.1", "0.2", "0.3", "0.5", "0.8", "1"});
      job.texts[kelvane::indexOf(form::box::BareDiameter)] = d;
      job.texts[kelvane::indexOf(form::box::FinishedDiameter)] =
          std::to_string(std::stod(d) * 1.08).substr(0, 5);
      job.texts[kelvane::indexOf(form::box::Turns)] =
          std::to_string(std::uniform_int_distribution(100, 2000)(random));
      job.texts[kelvane::indexOf(form::box::ReferenceThickness)] = pick({"5", "8", "10", "20"});
      job.texts[kelvane::indexOf(form::box::InnerDiameter)] = pick({"8", "10", "25"});
      job.texts[kelvane::indexOf(form::box::SideA)] = pick({"6", "12"});
      job.former = static_cast<FormerShape>(i % 3);
      job.material = static_cast<ConductorMaterial>((i / 3) % 3);
      for (const std::string& text : job.texts) r.csv += text + ",";
      r.csv += std::to_string(i % 3) + "," + std::to_string((i / 3) % 3) + "\r\n";
      r.coils.push_back(std::move(job));
    }
    return r;
  }();
  return rows;
}

void runOn(benchmark::State& state, unsigned threads) {
  const std::string& csv = typicalRows().csv;
  for (auto _ : state) {
    std::string_view input = csv;
    std::size_t written = 0;
    const kelvane::batch::ReadBytes read = [&](char* buffer,
                                               std::size_t size) -> kelvane::Expected<std::size_t> {
      const std::size_t n = std::min(size, input.size());
      std::memcpy(buffer, input.data(), n);
      input.remove_prefix(n);
      return n;
    };
    const kelvane::batch::WriteBytes write =
        [&](std::string_view bytes) -> kelvane::Expected<void> {
      written += bytes.size();
      return {};
    };
    kelvane::batch::BatchOptions options;
    options.threads = threads;
    const auto summary = kelvane::batch::runBatch(read, write, options);
    if (!summary || summary->failedRows != 0) state.SkipWithError("the batch failed");
    benchmark::DoNotOptimize(written);
  }
  state.SetItemsProcessed(state.iterations() * kRows);  // rows per second
}

void batchAllCores(benchmark::State& state) { runOn(state, 0); }
void batchOneThread(benchmark::State& state) { runOn(state, 1); }

// The same rows, each opened on one form as the window opens a job and
// presses 計算, one after another.
void formOneByOne(benchmark::State& state) {
  const std::vector<TypedCoil>& coils = typicalRows().coils;
  for (auto _ : state) {
    form::Form1 form;
    for (const TypedCoil& coil : coils) {
      kelvane::form::applyCoil(coil, form);
      benchmark::DoNotOptimize(form.state().resultTexts[0].data());
    }
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}

BENCHMARK(batchAllCores)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(batchOneThread)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(formOneByOne)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

}  // namespace

BENCHMARK_MAIN();
