// Measures the week screen's turn to landscape on the generated 10,000-event store: from the
// device turning to the first frame drawn (the three-weeks view made and filled on the first
// turn, shown again on the later ones), at the phone's scale.
#include "WeekScreenInWindow.h"

#include "kit/InterfaceOrientation.h"
#include "kit/ViewRenderer.h"

#include <benchmark/benchmark.h>

namespace {

void BM_RotationFirstFrame(benchmark::State& state) {
    WeekScreenInWindow shown;
    Window& window = *shown.screen().view()->window();
    for (auto _ : state) {
        if (!window.rotateToOrientation(InterfaceOrientation::LandscapeLeft)) {
            state.SkipWithError("the screen did not turn");
            break;
        }
        Image frame = ViewRenderer::render(window, 2.0);
        benchmark::DoNotOptimize(frame);
        state.PauseTiming();
        shown.loop().advance(1.0);
        window.rotateToOrientation(InterfaceOrientation::Portrait);
        shown.loop().advance(1.0);
        state.ResumeTiming();
    }
    InterfaceOrientation::setInterfaceOrientation(InterfaceOrientation::Unknown);
}
BENCHMARK(BM_RotationFirstFrame)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
