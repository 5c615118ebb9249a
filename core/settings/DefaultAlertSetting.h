#pragma once

#include "core/settings/OptionListSetting.h"

// The first or second alert that new events get.
class DefaultAlertSetting : public OptionListSetting {
public:
    // `alarmNumber` is 1 for the first default alert, 2 for the second.
    explicit DefaultAlertSetting(int alarmNumber) : m_alarmNumber(alarmNumber) {}

    int alarmNumber() const { return m_alarmNumber; }

    QString settingTitle() const override;
    // The second alert is hidden while there is no first one.
    bool hideFromOverview() const override;
    void optionSelected(const QString& key, const QString& value) override;

protected:
    OptionKeys optionKeys() const override;
    QString currentKey() const override;

private:
    int m_alarmNumber;
};
