#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// The ordered option list of a multi-select setting: option keys in the order added, each with
// its display text, and the key of the current value.
class SettingOptions {
public:
    static constexpr int notFound = -1;

    void addOption(const QString& key, const QString& value);

    int count() const { return static_cast<int>(m_keys.size()); }
    QString keyForIndex(int index) const;
    QString valueForIndex(int index) const;
    // Without a key, the selected option's key is used.
    QString valueForKey(const std::optional<QString>& key = std::nullopt) const;
    int indexForKey(const std::optional<QString>& key = std::nullopt) const;

    // Orders the keys by their display texts, ascending, comparing character by character.
    void sortByDisplayValue();

    const QHash<QString, QString>& options() const { return m_options; }
    const QStringList& keys() const { return m_keys; }
    const std::optional<QString>& selectedOption() const { return m_selectedOption; }
    void setSelectedOption(std::optional<QString> selectedOption) {
        m_selectedOption = std::move(selectedOption);
    }

private:
    const QString* effectiveKey(const std::optional<QString>& key) const;

    QHash<QString, QString> m_options;
    QStringList m_keys;
    std::optional<QString> m_selectedOption;
};
