#pragma once

#include <QString>
#include <QStringList>

// The titles of an alert's or action sheet's buttons, by index in the order they were added.
class ButtonTitleList {
public:
    // Adds a title and returns its index.
    int add(const QString& title) {
        m_titles.append(title);
        return count() - 1;
    }
    int count() const { return static_cast<int>(m_titles.size()); }
    // Empty for an index without a button.
    QString at(int index) const { return contains(index) ? m_titles.at(index) : QString(); }
    bool contains(int index) const { return index >= 0 && index < count(); }
    // The index when it names a button, else -1 (the platform's "no button").
    int validIndexOrNone(int index) const { return contains(index) ? index : -1; }

private:
    QStringList m_titles;
};
