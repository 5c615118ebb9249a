#include "foundation/Log.h"
#include "testing/LogCapture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

TEST(Log, FormatsLevelCategoryAndMessage) {
    EXPECT_EQ(Log::formatLine(Log::Level::Warning, "settings", "could not read"),
              "[warning] settings: could not read");
    EXPECT_EQ(Log::formatLine(Log::Level::Debug, "a", "b"), "[debug] a: b");
}

TEST(Log, CaptureSeesEachLineAndThenRestoresTheOuterSink) {
    LogCapture outer;
    {
        LogCapture capture;
        Log::info("paths", "made the folder");
        Log::warning("settings", "could not read the file");
        Log::error("store", "disk full");

        EXPECT_EQ(capture.lines(),
                  QStringList({"[info] paths: made the folder", "[warning] settings: could not read the file",
                               "[error] store: disk full"}));
        EXPECT_TRUE(capture.contains(Log::Level::Warning, "settings", "could not read"));
        EXPECT_FALSE(capture.contains(Log::Level::Error, "settings"));
        EXPECT_FALSE(capture.contains(Log::Level::Warning, "paths"));
        capture.clear();
        EXPECT_TRUE(capture.lines().isEmpty());
    }
    Log::warning("test", "outer");
    EXPECT_EQ(outer.lines(), QStringList({"[warning] test: outer"}));
}

TEST(Log, LinesBelowTheMinimumLevelAreDropped) {
    LogCapture capture;
    const Log::Level previous = Log::minimumLevel();
    Log::setMinimumLevel(Log::Level::Warning);
    Log::debug("test", "debug");
    Log::info("test", "info");
    Log::warning("test", "warning");
    Log::setMinimumLevel(Log::Level::Debug);
    Log::debug("test", "debug now");
    Log::setMinimumLevel(previous);
    EXPECT_EQ(capture.lines(), QStringList({"[warning] test: warning", "[debug] test: debug now"}));
}

// The console is stderr: lines written there from several threads come out whole.
TEST(Log, ConsoleLinesFromSeveralThreadsAreNotInterleaved) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("stderr.txt");
    std::fflush(stderr);
    const int savedStderr = dup(STDERR_FILENO);
    FILE* file = std::fopen(path.toLocal8Bit().constData(), "w");
    ASSERT_NE(file, nullptr);
    dup2(fileno(file), STDERR_FILENO);

    constexpr int threadCount = 4;
    constexpr int linesPerThread = 100;
    std::vector<std::thread> threads;
    for (int thread = 0; thread < threadCount; ++thread) {
        threads.emplace_back([thread] {
            for (int line = 0; line < linesPerThread; ++line) {
                Log::error("console",
                           QStringLiteral("thread %1 says a fairly long line number %2 of its output")
                               .arg(thread)
                               .arg(line));
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    std::fflush(stderr);
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
    std::fclose(file);

    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLocal8Bit(written.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), threadCount * linesPerThread);
    const QRegularExpression whole(
        R"(^\[error\] console: thread \d says a fairly long line number \d+ of its output$)");
    for (const QString& line : lines) {
        EXPECT_TRUE(whole.match(line).hasMatch()) << line.toStdString();
    }
}

} // namespace
