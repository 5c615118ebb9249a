#include "core/settings/TimeZoneSetting.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/TimeZoneChangedEvent.h"
#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/DateUtilities.h"
#include "core/settings/AppSettings.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"

#include <algorithm>

QString TimeZoneSetting::settingTitle() const {
    return localizedString("Time Zone");
}

QString TimeZoneSetting::toReadableFormat(const QString& timeZoneName) {
    QString spaced = timeZoneName;
    spaced.replace('_', ' ');
    QStringList parts = spaced.split('/');
    std::reverse(parts.begin(), parts.end());
    const QString readable = parts.join(", ");
    if (readable == "DumontDUrville, Antarctica") {
        return "Dumont d'Urville, Antarctica";
    }
    return readable;
}

QString TimeZoneSetting::settingValue() const {
    return toReadableFormat(AppSettings::instance().loadDefaultTimeZone().name());
}

SettingOptions TimeZoneSetting::settingOptions() const {
    SettingOptions options;
    for (const QString& name : TimeZone::knownTimeZoneNames()) {
        options.addOption(name, toReadableFormat(name));
    }
    options.sortByDisplayValue();
    // The stored zone may carry another of the zone's names than the one listed.
    const TimeZone stored = AppSettings::instance().loadDefaultTimeZone();
    options.setSelectedOption(options.options().contains(stored.name()) ? stored.name()
                                                                        : stored.canonicalName());
    return options;
}

void TimeZoneSetting::optionSelected(const QString& key, const QString&) {
    const std::optional<TimeZone> zone = TimeZone::withName(key);
    if (!zone) {
        Log::warning("settings", QString("Ignoring the unknown time zone \"%1\"").arg(key));
        return;
    }
    AppSettings::instance().storeDefaultTimeZone(*zone);
    const TimeZone oldZone = TimeZone::defaultTimeZone();
    TimeZone::setDefaultTimeZone(*zone);
    DateUtilities::reloadCalendar();
    DateTimeFormatter::instance().reset();
    ApplicationEventDispatcher::sharedInstance().dispatch<TimeZoneChangedEvent>(oldZone,
                                                                                TimeZone::defaultTimeZone());
}
