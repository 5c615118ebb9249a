#pragma once

#include "core/settings/Setting.h"
#include "foundation/Localization.h"

// The settings row that opens the list of keyboard shortcuts.
class KeyboardShortcutsSetting : public Setting {
public:
    QString settingTitle() const override { return localizedString(QStringLiteral("Keyboard Shortcuts")); }
};
