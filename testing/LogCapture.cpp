#include "testing/LogCapture.h"

LogCapture::LogCapture() : m_entries(std::make_shared<Entries>()) {
    m_previousSink = Log::setSink(
        [entries = m_entries](Log::Level level, const QString& category, const QString& message) {
            std::lock_guard lock(entries->mutex);
            entries->entries.push_back(Entry{level, category, message});
        });
}

LogCapture::~LogCapture() {
    Log::setSink(std::move(m_previousSink));
}

QStringList LogCapture::lines() const {
    std::lock_guard lock(m_entries->mutex);
    QStringList result;
    for (const Entry& entry : m_entries->entries) {
        result.append(Log::formatLine(entry.level, entry.category, entry.message));
    }
    return result;
}

bool LogCapture::contains(Log::Level level, const QString& category, const QString& fragment) const {
    std::lock_guard lock(m_entries->mutex);
    for (const Entry& entry : m_entries->entries) {
        if (entry.level == level && entry.category == category && entry.message.contains(fragment)) {
            return true;
        }
    }
    return false;
}

void LogCapture::clear() {
    std::lock_guard lock(m_entries->mutex);
    m_entries->entries.clear();
}
