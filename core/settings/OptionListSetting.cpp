#include "core/settings/OptionListSetting.h"

#include "foundation/Localization.h"

QString OptionListSetting::settingValue() const {
    return settingOptions().valueForKey();
}

SettingOptions OptionListSetting::settingOptions() const {
    SettingOptions options;
    for (const auto& [key, text] : optionKeys()) {
        options.addOption(key, localizedString(text));
    }
    options.setSelectedOption(currentKey());
    return options;
}
