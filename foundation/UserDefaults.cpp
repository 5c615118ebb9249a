#include "foundation/UserDefaults.h"

#include "foundation/Log.h"
#include "foundation/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QThread>
#include <QUtf8StringView>
#include <QVariant>

#include <utility>

namespace {

const QString logCategory = QStringLiteral("settings");

// QSettings writes its changes out from an event it posts to itself; that write must take the
// same lock as every other use of the object.
class LockedSettings final : public QSettings {
public:
    LockedSettings(const QString& filePath, std::mutex& mutex)
        : QSettings(filePath, QSettings::IniFormat), m_mutex(mutex) {}

protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::UpdateRequest) {
            return QSettings::event(event);
        }
        std::lock_guard lock(m_mutex);
        const bool handled = QSettings::event(event);
        if (status() == QSettings::AccessError) {
            Log::warning(logCategory, QStringLiteral("Could not write the settings file %1").arg(fileName()));
        }
        return handled;
    }

private:
    std::mutex& m_mutex;
};

struct StandardUserDefaults {
    std::mutex mutex;
    std::shared_ptr<UserDefaults> userDefaults;
    bool flushOnQuit = false;
};

// Never destroyed by itself: QSettings must not be torn down after Qt's own globals. The
// store is written out and dropped when the application object goes away instead.
StandardUserDefaults& standard() {
    static auto* const holder = new StandardUserDefaults;
    return *holder;
}

void releaseStandardUserDefaults() {
    UserDefaults::setStandardUserDefaults(nullptr);
}

} // namespace

namespace {

// Settings files are small UTF-8 text; QSettings reads what it can of anything else and would
// overwrite the rest.
bool isNotText(const QString& path) {
    constexpr qint64 largestSettingsFile = 16 * 1024 * 1024;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray content = file.read(largestSettingsFile + 1);
    return content.size() > largestSettingsFile || content.contains('\0') ||
           !QUtf8StringView(content).isValidUtf8();
}

} // namespace

UserDefaults::UserDefaults(const QString& filePath) : m_filePath(filePath) {
    std::lock_guard lock(m_mutex);
    const bool notText = isNotText(m_filePath);
    openSettings();
    if (notText || m_settings->status() == QSettings::FormatError) {
        // Keeps the damaged file for the user to look at, and starts afresh.
        m_settings.reset();
        const QString damagedPath = m_filePath + QStringLiteral(".damaged");
        QFile::remove(damagedPath);
        const bool movedAside = QFile::rename(m_filePath, damagedPath);
        Log::warning(logCategory, movedAside
                                      ? QStringLiteral("The settings file %1 is damaged; it was moved to %2 "
                                                       "and the settings start from their defaults")
                                            .arg(m_filePath, damagedPath)
                                      : QStringLiteral("The settings file %1 is damaged").arg(m_filePath));
        openSettings();
        if (!movedAside) {
            m_settings->clear();
        }
    } else if (m_settings->status() == QSettings::AccessError) {
        Log::warning(logCategory, QStringLiteral("Could not read the settings file %1").arg(m_filePath));
    }
}

UserDefaults::~UserDefaults() {
    std::lock_guard lock(m_mutex);
    m_settings->sync();
}

void UserDefaults::openSettings() {
    m_settings = std::make_unique<LockedSettings>(m_filePath, m_mutex);
    // Its writing events must arrive in the main thread, whichever thread made it.
    if (QCoreApplication* application = QCoreApplication::instance()) {
        if (m_settings->thread() != application->thread()) {
            m_settings->moveToThread(application->thread());
        }
    }
}

UserDefaults& UserDefaults::standardUserDefaults() {
    StandardUserDefaults& holder = standard();
    std::lock_guard lock(holder.mutex);
    if (!holder.userDefaults) {
        holder.userDefaults = std::make_shared<UserDefaults>(
            QDir(Paths::configurationDirectory()).filePath(QStringLiteral("settings.ini")));
        if (!holder.flushOnQuit && QCoreApplication::instance()) {
            qAddPostRoutine(releaseStandardUserDefaults);
            holder.flushOnQuit = true;
        }
    }
    return *holder.userDefaults;
}

std::shared_ptr<UserDefaults>
UserDefaults::setStandardUserDefaults(std::shared_ptr<UserDefaults> userDefaults) {
    StandardUserDefaults& holder = standard();
    std::lock_guard lock(holder.mutex);
    return std::exchange(holder.userDefaults, std::move(userDefaults));
}

std::optional<QVariant> UserDefaults::storedValue(const QString& key) const {
    std::lock_guard lock(m_mutex);
    if (!m_settings->contains(key)) {
        return std::nullopt;
    }
    const QVariant value = m_settings->value(key);
    if (!value.isValid()) {
        return QVariant();
    }
    if (value.typeId() == QMetaType::QStringList) {
        const QStringList list = value.toStringList();
        if (list.isEmpty()) {
            return QVariant();
        }
        return list.size() == 1 ? QVariant(list.first()) : QVariant(list);
    }
    return QVariant(value.toString());
}

std::optional<QString> UserDefaults::scalarValue(const QString& key) const {
    const std::optional<QVariant> value = storedValue(key);
    if (!value || value->typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return value->toString();
}

std::optional<QString> UserDefaults::stringForKey(const QString& key) const {
    return scalarValue(key);
}

void UserDefaults::setString(const QString& key, const QString& value) {
    std::lock_guard lock(m_mutex);
    m_settings->setValue(key, value);
}

std::optional<qint64> UserDefaults::integerForKey(const QString& key) const {
    const std::optional<QString> text = scalarValue(key);
    bool ok = false;
    const qint64 value = text ? text->toLongLong(&ok) : 0;
    return ok ? std::optional(value) : std::nullopt;
}

void UserDefaults::setInteger(const QString& key, qint64 value) {
    setString(key, QString::number(value));
}

qint64 UserDefaults::incrementInteger(const QString& key) {
    std::lock_guard lock(m_mutex);
    const QVariant stored = m_settings->value(key);
    bool ok = false;
    const qint64 current = stored.typeId() == QMetaType::QString ? stored.toString().toLongLong(&ok) : 0;
    const qint64 incremented = (ok ? current : 0) + 1;
    m_settings->setValue(key, QString::number(incremented));
    return incremented;
}

std::optional<double> UserDefaults::doubleForKey(const QString& key) const {
    const std::optional<QString> text = scalarValue(key);
    bool ok = false;
    const double value = text ? text->toDouble(&ok) : 0.0;
    return ok ? std::optional(value) : std::nullopt;
}

void UserDefaults::setDouble(const QString& key, double value) {
    setString(key, QString::number(value, 'g', QLocale::FloatingPointShortest));
}

std::optional<bool> UserDefaults::boolForKey(const QString& key) const {
    const std::optional<QString> text = scalarValue(key);
    if (!text) {
        return std::nullopt;
    }
    if (text->compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || *text == QLatin1String("1")) {
        return true;
    }
    if (text->compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || *text == QLatin1String("0")) {
        return false;
    }
    return std::nullopt;
}

void UserDefaults::setBool(const QString& key, bool value) {
    setString(key, value ? QStringLiteral("true") : QStringLiteral("false"));
}

std::optional<Date> UserDefaults::dateForKey(const QString& key) const {
    const std::optional<double> seconds = doubleForKey(key);
    return seconds ? std::optional(Date::withTimeIntervalSince1970(*seconds)) : std::nullopt;
}

void UserDefaults::setDate(const QString& key, Date value) {
    setDouble(key, value.timeIntervalSince1970());
}

std::optional<QStringList> UserDefaults::stringListForKey(const QString& key) const {
    const std::optional<QVariant> value = storedValue(key);
    if (!value) {
        return std::nullopt;
    }
    if (!value->isValid()) {
        return QStringList();
    }
    if (value->typeId() == QMetaType::QString) {
        return QStringList{value->toString()};
    }
    return value->toStringList();
}

void UserDefaults::setStringList(const QString& key, const QStringList& value) {
    std::lock_guard lock(m_mutex);
    m_settings->setValue(key, value);
}

bool UserDefaults::objectExists(const QString& key) const {
    std::lock_guard lock(m_mutex);
    return m_settings->contains(key);
}

void UserDefaults::removeObjectForKey(const QString& key) {
    std::lock_guard lock(m_mutex);
    m_settings->remove(key);
}

bool UserDefaults::synchronize() {
    std::lock_guard lock(m_mutex);
    m_settings->sync();
    if (m_settings->status() == QSettings::AccessError) {
        Log::warning(logCategory, QStringLiteral("Could not write the settings file %1").arg(m_filePath));
        return false;
    }
    return true;
}
