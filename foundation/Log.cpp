#include "foundation/Log.h"

#include <QByteArray>
#include <QLoggingCategory>

#include <atomic>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace {

constexpr QLatin1StringView categoryPrefix("orvella.");

QtMsgType messageType(Log::Level level) {
    switch (level) {
    case Log::Level::Debug:
        return QtDebugMsg;
    case Log::Level::Info:
        return QtInfoMsg;
    case Log::Level::Warning:
        return QtWarningMsg;
    case Log::Level::Error:
        break;
    }
    return QtCriticalMsg;
}

std::optional<Log::Level> levelOfMessage(QtMsgType type) {
    switch (type) {
    case QtDebugMsg:
        return Log::Level::Debug;
    case QtInfoMsg:
        return Log::Level::Info;
    case QtWarningMsg:
        return Log::Level::Warning;
    case QtCriticalMsg:
        return Log::Level::Error;
    case QtFatalMsg:
        break;
    }
    return std::nullopt;
}

// A Qt logging category with the name it points to, which must live as long.
struct Category {
    QByteArray name;
    std::unique_ptr<QLoggingCategory> category;
};

struct LogState {
    std::mutex mutex;
    Log::Sink sink;
    std::atomic<Log::Level> minimumLevel{Log::Level::Info};
    // Qt keeps a registered category's address: they are made once per area and never freed.
    std::map<QString, Category> categories;
    bool handlerInstalled = false;
    std::atomic<QtMessageHandler> previousHandler{nullptr};
};

// Never destroyed, so that threads still running at exit can log safely.
LogState& state() {
    static auto* const logState = new LogState;
    return *logState;
}

void enableFrom(QLoggingCategory& category, Log::Level minimum) {
    for (const Log::Level level :
         {Log::Level::Debug, Log::Level::Info, Log::Level::Warning, Log::Level::Error}) {
        category.setEnabled(messageType(level), level >= minimum);
    }
}

void writeToConsole(const QByteArray& line) {
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
    std::fflush(stderr);
}

// Our areas' lines go to the sink or to the console in our format; other messages (Qt's own) to
// the handler that was there before.
void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const QLatin1StringView categoryName(context.category);
    const std::optional<Log::Level> level = levelOfMessage(type);
    if (!level || !categoryName.startsWith(categoryPrefix)) {
        LogState& logState = state();
        if (const QtMessageHandler previous = logState.previousHandler.load()) {
            previous(type, context, message);
        } else {
            writeToConsole(qFormatLogMessage(type, context, message).toLocal8Bit() + '\n');
        }
        return;
    }
    const QString area = QString(categoryName.sliced(categoryPrefix.size()));
    LogState& logState = state();
    std::lock_guard lock(logState.mutex);
    if (logState.sink) {
        logState.sink(*level, area, message);
        return;
    }
    writeToConsole(Log::formatLine(*level, area, message).toLocal8Bit() + '\n');
}

// The category of an area, made (and the message handler installed) on first use.
const QLoggingCategory& categoryFor(const QString& area) {
    LogState& logState = state();
    std::lock_guard lock(logState.mutex);
    if (!std::exchange(logState.handlerInstalled, true)) {
        logState.previousHandler.store(qInstallMessageHandler(handleMessage));
    }
    auto found = logState.categories.find(area);
    if (found == logState.categories.end()) {
        Category made;
        made.name = (QString(categoryPrefix) + area).toUtf8();
        // Levels below the minimum stay off unless QT_LOGGING_RULES turns them on.
        made.category = std::make_unique<QLoggingCategory>(made.name.constData(),
                                                           messageType(logState.minimumLevel.load()));
        found = logState.categories.emplace(area, std::move(made)).first;
    }
    return *found->second.category;
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
    const QLoggingCategory& qtCategory = categoryFor(category);
    const QtMsgType type = messageType(level);
    if (!qtCategory.isEnabled(type)) {
        return;
    }
    const QMessageLogContext context(nullptr, 0, nullptr, qtCategory.categoryName());
    qt_message_output(type, context, message);
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
    LogState& logState = state();
    std::lock_guard lock(logState.mutex);
    logState.minimumLevel.store(level);
    for (auto& [area, category] : logState.categories) {
        enableFrom(*category.category, level);
    }
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
