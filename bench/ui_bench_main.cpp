// Painting the section drawing of 999 turns, and choosing another item of a
// request, on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "bench/typical_request.h"
#include "form/form1.h"
#include "ui/application_setup.h"
#include "ui/job_window.h"
#include "ui/section_drawing.h"

namespace {

void paintSection999(benchmark::State& state) {
  kelvane::form::Form1 form;
  form.setText(kelvane::form::text1(2), "999");
  form.calculate();
  QWidget parent;
  parent.resize(852, 438);
  kelvane::ui::SectionDrawing drawing(&parent);
  drawing.setGeometry(536, 0, 313, 238);
  kelvane::ui::SectionDrawing::Content content;
  content.drawing = form.state().drawing;
  drawing.setContent(content);
  QImage image(drawing.size() * 2, QImage::Format_ARGB32_Premultiplied);  // a 2× screen
  image.setDevicePixelRatio(2);
  for (auto _ : state) {
    drawing.render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["circles"] = static_cast<double>(content.drawing.circles.size());
}
BENCHMARK(paintSection999)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

// Choosing another item of a request of a hundred: its form state shown in
// the window's widgets, and the window painted, as one frame shows it.
void switchItem(benchmark::State& state) {
  kelvane::ui::JobWindow window;
  window.setMessagePresenter([](const QString&) {});
  window.takeJob(kelvane::bench::typicalRequest());
  window.show();
  QApplication::processEvents();
  std::size_t next = 50;
  for (auto _ : state) {
    window.showItem(next);
    window.repaint();
    QApplication::processEvents();
    next = next == 50 ? 5 : 50;
  }
  state.counters["items"] = static_cast<double>(window.itemCount());
}
BENCHMARK(switchItem)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kelvane::ui::prepareApplication(app);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
