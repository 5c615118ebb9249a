#pragma once

#include "foundation/Log.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>
#include <vector>

// For tests: while alive, collects the logged lines instead of writing them to the console,
// and puts the previous sink back when destroyed.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();

    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Lines formatted as Log::formatLine does.
    QStringList lines() const;
    // True when a line of that level and category contains `fragment`.
    bool contains(Log::Level level, const QString& category, const QString& fragment = QString()) const;
    void clear();

private:
    struct Entry {
        Log::Level level;
        QString category;
        QString message;
    };
    struct Entries {
        mutable std::mutex mutex;
        std::vector<Entry> entries;
    };

    // Shared with the sink, which may outlive this object by a moment on another thread.
    std::shared_ptr<Entries> m_entries;
    Log::Sink m_previousSink;
};
