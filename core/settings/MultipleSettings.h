#pragma once

#include "core/settings/Setting.h"

#include <memory>
#include <vector>

// A titled group of settings, shown as one section of the settings list.
class MultipleSettings : public Setting {
public:
    explicit MultipleSettings(QString title) : m_title(std::move(title)) {}

    QString settingTitle() const override { return m_title; }
    const std::vector<std::shared_ptr<Setting>>& settings() const { return m_settings; }
    void setSettings(std::vector<std::shared_ptr<Setting>> settings) { m_settings = std::move(settings); }
    void addSetting(std::shared_ptr<Setting> setting) { m_settings.push_back(std::move(setting)); }

private:
    QString m_title;
    std::vector<std::shared_ptr<Setting>> m_settings;
};
