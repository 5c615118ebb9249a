#pragma once

#include "kit/Rect.h"

#include <QString>

#include <map>
#include <optional>
#include <variant>

// A message posted through the NotificationCenter: a name, the object that posted it (compared
// only, never used) and a small dictionary of values.
class Notification {
public:
    using Value = std::variant<double, bool, QString, Rect>;
    using UserInfo = std::map<QString, Value>;

    Notification() = default;
    Notification(QString name, const void* object = nullptr, UserInfo userInfo = {})
        : m_name(std::move(name)), m_object(object), m_userInfo(std::move(userInfo)) {}

    const QString& name() const { return m_name; }
    const void* object() const { return m_object; }
    const UserInfo& userInfo() const { return m_userInfo; }

    // The value under the key when it holds that type, else none.
    std::optional<Rect> rectValue(const QString& key) const { return value<Rect>(key); }
    std::optional<double> doubleValue(const QString& key) const { return value<double>(key); }
    std::optional<bool> boolValue(const QString& key) const { return value<bool>(key); }
    std::optional<QString> stringValue(const QString& key) const { return value<QString>(key); }

private:
    template <typename T> std::optional<T> value(const QString& key) const {
        const auto it = m_userInfo.find(key);
        if (it == m_userInfo.end() || !std::holds_alternative<T>(it->second)) {
            return std::nullopt;
        }
        return std::get<T>(it->second);
    }

    QString m_name;
    const void* m_object = nullptr;
    UserInfo m_userInfo;
};
