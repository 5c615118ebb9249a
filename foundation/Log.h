#pragma once

#include <QString>

#include <functional>

// Console logging with a level and a category ("settings", "eventstore", ...). Safe from any
// thread: each line is written whole. Tests install a sink to see what was logged.
class Log {
public:
    enum class Level { Debug, Info, Warning, Error };

    // Receives every line at or above the minimum level instead of the console. It is called
    // with the log's lock held, so it needs no lock of its own but must not log.
    using Sink = std::function<void(Level level, const QString& category, const QString& message)>;

    static void debug(const QString& category, const QString& message);
    static void info(const QString& category, const QString& message);
    static void warning(const QString& category, const QString& message);
    static void error(const QString& category, const QString& message);
    static void write(Level level, const QString& category, const QString& message);

    // Installs `sink` (an empty one restores the console) and returns the one it replaces.
    static Sink setSink(Sink sink);

    static Level minimumLevel();
    static void setMinimumLevel(Level level);

    static QString levelName(Level level);
    // The line as the console shows it: "[warning] settings: could not read".
    static QString formatLine(Level level, const QString& category, const QString& message);
};
