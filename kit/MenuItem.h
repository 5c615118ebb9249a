#pragma once

#include <QString>

#include <functional>
#include <utility>

// A custom entry of the edit menu: its title and what choosing it does.
class MenuItem {
public:
    MenuItem(QString title, std::function<void()> action)
        : m_title(std::move(title)), m_action(std::move(action)) {}

    const QString& title() const { return m_title; }
    const std::function<void()>& action() const { return m_action; }

private:
    QString m_title;
    std::function<void()> m_action;
};
