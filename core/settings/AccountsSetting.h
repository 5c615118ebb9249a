#pragma once

#include "core/settings/Setting.h"
#include "foundation/Localization.h"

// The settings row that opens the list of calendar server accounts.
class AccountsSetting : public Setting {
public:
    QString settingTitle() const override { return localizedString(QStringLiteral("Accounts")); }
};
