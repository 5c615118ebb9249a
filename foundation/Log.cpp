#include "foundation/Log.h"

#include <QByteArray>

#include <atomic>
#include <cstdio>
#include <mutex>

namespace {

struct LogState {
    std::mutex mutex;
    Log::Sink sink;
    std::atomic<Log::Level> minimumLevel{Log::Level::Info};
};

// Never destroyed, so that threads still running at exit can log safely.
LogState& state() {
    static auto* const logState = new LogState;
    return *logState;
}

} // namespace

void Log::debug(const QString& category, const QString& message) {
    write(Level::Debug, category, message);
}

void Log::info(const QString& category, const QString& message) {
    write(Level::Info, category, message);
}

void Log::warning(const QString& category, const QString& message) {
    write(Level::Warning, category, message);
}

void Log::error(const QString& category, const QString& message) {
    write(Level::Error, category, message);
}

void Log::write(Level level, const QString& category, const QString& message) {
    LogState& logState = state();
    if (level < logState.minimumLevel.load()) {
        return;
    }
    std::lock_guard lock(logState.mutex);
    if (logState.sink) {
        logState.sink(level, category, message);
        return;
    }
    const QByteArray line = formatLine(level, category, message).toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
    std::fflush(stderr);
}

Log::Sink Log::setSink(Sink sink) {
    LogState& logState = state();
    std::lock_guard lock(logState.mutex);
    std::swap(logState.sink, sink);
    return sink;
}

Log::Level Log::minimumLevel() {
    return state().minimumLevel.load();
}

void Log::setMinimumLevel(Level level) {
    state().minimumLevel.store(level);
}

QString Log::levelName(Level level) {
    switch (level) {
    case Level::Debug:
        return QStringLiteral("debug");
    case Level::Info:
        return QStringLiteral("info");
    case Level::Warning:
        return QStringLiteral("warning");
    case Level::Error:
        return QStringLiteral("error");
    }
    return QString();
}

QString Log::formatLine(Level level, const QString& category, const QString& message) {
    return QStringLiteral("[%1] %2: %3").arg(levelName(level), category, message);
}
