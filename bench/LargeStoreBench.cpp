// Measures the program on a large calendar: importing 100,000 events from one .ics file with
// orvella-cli (time and peak memory of the process), and the application's start on the store that
// import made (`--screenshot`, from start to exit).
#include "GeneratedStore.h"
#include "ProcessRun.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

constexpr int largeStoreEventCount = 100000;

// 100,000 events over ten years (2020 to 2029) in the mix of the other benchmarks' store: a tenth
// all-day (some of several days), some timed over two days, 5% repeating, in two zones.
QByteArray largeCalendar() {
    std::mt19937 random(20121225);
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Orvella//Bench//EN\r\n";
    for (int index = 0; index < largeStoreEventCount; ++index) {
        const QDate day = QDate(2020, 1, 1).addDays(int(random() % 3650));
        const int kind = int(random() % 100);
        const QByteArray zone = index % 2 == 0 ? "Europe/Berlin" : "America/New_York";
        text += "BEGIN:VEVENT\r\nUID:bench-" + QByteArray::number(index) +
                "\r\nSUMMARY:" + generatedTitles[index % 8] + ' ' + QByteArray::number(index) +
                "\r\nLOCATION:Room " + QByteArray::number(index % 40) + "\r\n";
        if (kind < 10) {
            text += "DTSTART;VALUE=DATE:" + day.toString("yyyyMMdd").toLatin1() +
                    "\r\nDTEND;VALUE=DATE:" + day.addDays(kind < 3 ? 3 : 1).toString("yyyyMMdd").toLatin1() +
                    "\r\n";
        } else {
            const QByteArray start = day.toString("yyyyMMdd").toLatin1() + 'T' +
                                     QByteArray::number(7 + int(random() % 14)).rightJustified(2, '0') +
                                     "0000";
            text += "DTSTART;TZID=" + zone + ':' + start + "\r\nDURATION:" + (kind < 15 ? "P2D" : "PT1H") +
                    "\r\n";
        }
        if (index % 20 == 0) {
            text += QByteArray("RRULE:") + generatedRules[(index / 20) % 5] + "\r\n";
        }
        text += "END:VEVENT\r\n";
    }
    return text + "END:VCALENDAR\r\n";
}

// The file and a store that holds it, made once for the run.
struct LargeStore {
    LargeStore() {
        QFile file(folder.filePath("large.ics"));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(largeCalendar());
        }
        imported =
            runProcess(programPath("orvella-cli"), {"--data-dir", folder.filePath("store"), "--time-zone",
                                                    "Europe/Berlin", "import", file.fileName()})
                .succeeded;
    }
    QTemporaryDir folder;
    bool imported = false;
};

LargeStore& largeStore() {
    static LargeStore store;
    return store;
}

void BM_Import100000Events(benchmark::State& state) {
    LargeStore& store = largeStore();
    double megabytes = 0;
    for (auto _ : state) {
        const QString data = store.folder.filePath("import");
        QDir(data).removeRecursively();
        const ProcessRun import =
            runProcess(programPath("orvella-cli"), {"--data-dir", data, "--time-zone", "Europe/Berlin",
                                                    "import", store.folder.filePath("large.ics")});
        if (!import.succeeded) {
            state.SkipWithError("the import failed");
            return;
        }
        state.SetIterationTime(import.seconds);
        megabytes = std::max(megabytes, import.megabytes);
    }
    state.counters["peak_MB"] = megabytes;
}
BENCHMARK(BM_Import100000Events)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ScreenshotOn100000Events(benchmark::State& state) {
    LargeStore& store = largeStore();
    if (!store.imported) {
        state.SkipWithError("the store could not be made");
        return;
    }
    double megabytes = 0;
    for (auto _ : state) {
        const ProcessRun start = runProcess(QStringLiteral(ORVELLA_EXECUTABLE),
                                            {"--data-dir", store.folder.filePath("store"), "--screenshot",
                                             store.folder.filePath("shot.png")});
        if (!start.succeeded) {
            state.SkipWithError("the screenshot run failed");
            return;
        }
        state.SetIterationTime(start.seconds);
        megabytes = std::max(megabytes, start.megabytes);
    }
    state.counters["peak_MB"] = megabytes;
}
BENCHMARK(BM_ScreenshotOn100000Events)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace
