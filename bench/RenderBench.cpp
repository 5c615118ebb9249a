#include "kit/Font.h"
#include "kit/GraphicsContext.h"
#include "kit/View.h"
#include "kit/ViewRenderer.h"

#include "ProcessRun.h"
#include "kit/RoundedRectangle.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A box like a day of the week screen: a rounded, gradient-filled card with a header line and
// five rows of text.
class BoxView : public View {
public:
    BoxView(const Rect& frame, int day) : View(frame), m_day(day) {}

protected:
    void drawRect(GraphicsContext& context, const Rect&) override {
        const Rect card = bounds().inset(2, 2);
        context.saveGState();
        RoundedRectangle(card, 6.0).drawRoundedRectPath(context);
        context.clip();
        context.drawLinearGradient(
            {{0.0, Color::fromRgb255(255, 255, 255)}, {1.0, Color::fromRgb255(226, 231, 238)}},
            Point(0, card.minY()), Point(0, card.maxY()));
        context.restoreGState();
        context.setStrokeColor(Color::fromRgb255(150, 160, 175));
        context.setLineWidth(0.5);
        RoundedRectangle(card, 6.0).drawRoundedRectPath(context);
        context.strokePath();

        static const Font timeFont = Font::boldSystemFontOfSize(11.0);
        static const Font titleFont = Font::systemFontOfSize(12.0);
        context.setFillColor(Color::fromRgb255(40, 40, 40));
        for (int row = 0; row < 5; ++row) {
            const double y = card.minY() + 22.0 + row * 17.0;
            context.drawText(
                QStringLiteral("%1:%2").arg(8 + row).arg(m_day * 5 % 60, 2, 10, QLatin1Char('0')),
                Point(card.minX() + 4.0, y), timeFont);
            context.drawText(QStringLiteral("Meeting about item %1 of day %2").arg(row + 1).arg(m_day + 1),
                             Point(card.minX() + 40.0, y), card.width() - 44.0, titleFont,
                             LineBreakMode::TailTruncation);
        }
    }

private:
    int m_day;
};

// The week screen's arrangement: two columns of three boxes, the last one shared by the
// weekend days, under a 44-point bar.
std::shared_ptr<View> makeWeekLikeScreen() {
    auto screen = std::make_shared<View>(Rect(0, 0, 320, 460));
    screen->setBackgroundColor(Color::fromRgb255(90, 100, 115));
    const double top = 44.0;
    const double boxHeight = (460.0 - top) / 3.0;
    for (int day = 0; day < 7; ++day) {
        const int column = day < 3 ? 0 : 1;
        const int row = day < 3 ? day : std::min(day - 3, 2);
        double y = top + row * boxHeight;
        double height = boxHeight;
        if (day >= 5) {
            height = boxHeight / 2.0;
            y = top + 2 * boxHeight + (day - 5) * height;
        }
        screen->addSubview(std::make_shared<BoxView>(Rect(column * 160.0, y, 160.0, height), day));
    }
    return screen;
}

void BM_RenderWeekLikeScreenAtScale2(benchmark::State& state) {
    const std::shared_ptr<View> screen = makeWeekLikeScreen();
    for (auto _ : state) {
        Image image = ViewRenderer::render(*screen, 2.0);
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BM_RenderWeekLikeScreenAtScale2)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The whole process: start, launch, draw the first screen, write the PNG, exit.
void BM_ScreenshotProcess(benchmark::State& state) {
    QTemporaryDir folder;
    for (auto _ : state) {
        const ProcessRun shot =
            runProcess(QStringLiteral(ORVELLA_EXECUTABLE),
                       {QStringLiteral("--data-dir"), folder.path(), QStringLiteral("--screenshot"),
                        folder.filePath(QStringLiteral("shot.png"))});
        if (!shot.succeeded) {
            state.SkipWithError("the screenshot run failed");
            return;
        }
        state.SetIterationTime(shot.seconds);
    }
}
BENCHMARK(BM_ScreenshotProcess)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace
