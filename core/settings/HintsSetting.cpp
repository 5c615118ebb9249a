#include "core/settings/HintsSetting.h"

#include "core/settings/AppSettings.h"
#include "foundation/Localization.h"

QString HintsSetting::settingTitle() const {
    return localizedString("Hints Enabled");
}

bool HintsSetting::switchedOn() const {
    return AppSettings::instance().loadHintsEnabled();
}

void HintsSetting::switchFlipped() {
    const bool enabled = !switchedOn();
    AppSettings::instance().storeHintsEnabled(enabled);
    if (toSetHintsEnabled) {
        toSetHintsEnabled(enabled);
    }
}
