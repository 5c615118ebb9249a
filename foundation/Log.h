#pragma once

#include <QString>

#include <functional>

// Logging with a level and an area ("settings", "eventstore", ...). Each area is the Qt logging
// category "orvella.<area>", so QT_LOGGING_RULES turns areas and levels on and off as in every Qt
// program; debug lines are off unless a rule or setMinimumLevel() turns them on. The lines go
// through Qt's message handling to the console, each written whole, from any thread. Tests
// install a sink to see what was logged.
class Log {
public:
    enum class Level { Debug, Info, Warning, Error };

    // Receives every enabled line instead of the console. It is called with the log's lock held,
    // so it needs no lock of its own but must not log.
    using Sink = std::function<void(Level level, const QString& category, const QString& message)>;

    static void debug(const QString& category, const QString& message);
    static void info(const QString& category, const QString& message);
    static void warning(const QString& category, const QString& message);
    static void error(const QString& category, const QString& message);
    static void write(Level level, const QString& category, const QString& message);

    // Installs `sink` (an empty one restores the console) and returns the one it replaces.
    static Sink setSink(Sink sink);

    // The level every area logs from unless QT_LOGGING_RULES says otherwise (info at first).
    // Setting it enables that level and the ones above in every area, over the rules.
    static Level minimumLevel();
    static void setMinimumLevel(Level level);

    static QString levelName(Level level);
    // The line as the console shows it: "[warning] settings: could not read".
    static QString formatLine(Level level, const QString& category, const QString& message);
};
