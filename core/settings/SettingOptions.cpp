#include "core/settings/SettingOptions.h"

#include <algorithm>

void SettingOptions::addOption(const QString& key, const QString& value) {
    m_keys.append(key);
    m_options.insert(key, value);
}

QString SettingOptions::keyForIndex(int index) const {
    return index >= 0 && index < count() ? m_keys.at(index) : QString();
}

QString SettingOptions::valueForIndex(int index) const {
    return m_options.value(keyForIndex(index));
}

const QString* SettingOptions::effectiveKey(const std::optional<QString>& key) const {
    if (key) {
        return &*key;
    }
    return m_selectedOption ? &*m_selectedOption : nullptr;
}

QString SettingOptions::valueForKey(const std::optional<QString>& key) const {
    const QString* used = effectiveKey(key);
    return used ? m_options.value(*used) : QString();
}

int SettingOptions::indexForKey(const std::optional<QString>& key) const {
    const QString* used = effectiveKey(key);
    if (!used) {
        return notFound;
    }
    const auto index = m_keys.indexOf(*used);
    return index < 0 ? notFound : static_cast<int>(index);
}

void SettingOptions::sortByDisplayValue() {
    std::stable_sort(m_keys.begin(), m_keys.end(), [this](const QString& a, const QString& b) {
        return QString::compare(m_options.value(a), m_options.value(b), Qt::CaseSensitive) < 0;
    });
}
