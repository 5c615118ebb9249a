#include "ui/settings/SettingsViewController.h"

#include "core/hints/Hint.h"
#include "core/settings/AccountsSetting.h"
#include "core/settings/CalendarDirectory.h"
#include "core/settings/DefaultAlertSetting.h"
#include "core/settings/DefaultCalendarSetting.h"
#include "core/settings/HintsSetting.h"
#include "core/settings/KeyboardShortcutsSetting.h"
#include "core/settings/MultipleSettings.h"
#include "core/settings/RemindersWhenClosedSetting.h"
#include "core/settings/ResetScreenSetting.h"
#include "core/settings/TimeZoneSetting.h"
#include "core/settings/WeekNumbersSetting.h"
#include "core/settings/WeekendDaysSetting.h"
#include "foundation/Localization.h"
#include "kit/BarButtonItem.h"
#include "kit/Bundle.h"
#include "kit/ImageView.h"
#include "kit/Label.h"
#include "kit/NavigationController.h"
#include "kit/NavigationItem.h"
#include "ui/accounts/AccountsViewController.h"
#include "ui/calendars/DefaultCalendarViewController.h"
#include "ui/common/DotImage.h"
#include "ui/settings/KeyboardShortcutsViewController.h"
#include "ui/settings/MultiValueSelectController.h"

namespace {

constexpr double settingsHeaderHeight = 40.0;
constexpr double settingsFooterHeight = 35.0;
// Grouped tables draw no header or footer for a height this small.
constexpr double settingsNoSectionSpacing = 0.1;

const Color settingsSwitchOffColor = Color::fromRgb255(128, 128, 128);

std::vector<std::shared_ptr<Setting>> topLevelSettings(const CalendarDirectory& calendars) {
    std::vector<std::shared_ptr<Setting>> settings;
    if (calendars.editableAndInvisibleCalendars().size() > 1) {
        settings.push_back(std::make_shared<DefaultCalendarSetting>(calendars));
    }
    settings.push_back(std::make_shared<DefaultAlertSetting>(1));
    settings.push_back(std::make_shared<DefaultAlertSetting>(2));
    settings.push_back(std::make_shared<WeekNumbersSetting>());
    settings.push_back(std::make_shared<ResetScreenSetting>());
    settings.push_back(std::make_shared<TimeZoneSetting>());
    settings.push_back(std::make_shared<WeekendDaysSetting>());
    auto hints = std::make_shared<HintsSetting>();
    Hint::connectSetting(*hints);
    auto other = std::make_shared<MultipleSettings>(localizedString(QStringLiteral("Other")));
    other->addSetting(hints);
    other->addSetting(std::make_shared<RemindersWhenClosedSetting>());
    other->addSetting(std::make_shared<KeyboardShortcutsSetting>());
    other->addSetting(std::make_shared<AccountsSetting>());
    settings.push_back(other);
    return settings;
}

} // namespace

SettingsViewController::SettingsViewController(const CalendarDirectory& calendars)
    : TableViewController(TableView::Style::Grouped), m_settings(topLevelSettings(calendars)) {
    setTitle(localizedString(QStringLiteral("Settings")));
}

SettingsViewController::~SettingsViewController() = default;

std::weak_ptr<SettingsViewController> SettingsViewController::weakSelf() {
    return std::static_pointer_cast<SettingsViewController>(shared_from_this());
}

void SettingsViewController::closeSettings() {
    dismissModalViewControllerAnimated(true);
}

QString SettingsViewController::versionText() {
    const Bundle bundle = Bundle::main();
    if (bundle.buildVersion().isEmpty()) {
        return QStringLiteral("%1 %2").arg(bundle.displayName(), bundle.shortVersionString());
    }
    return QStringLiteral("%1 %2 (build %3)")
        .arg(bundle.displayName(), bundle.shortVersionString(), bundle.buildVersion());
}

void SettingsViewController::viewDidLoad() {
    TableViewController::viewDidLoad();
    const std::weak_ptr<SettingsViewController> weak = weakSelf();
    navigationItem()->setRightBarButtonItem(std::make_shared<BarButtonItem>(
        localizedString(QStringLiteral("Done")), BarButtonItem::Style::Done, [weak] {
            if (auto self = weak.lock()) {
                self->closeSettings();
            }
        }));
}

void SettingsViewController::viewWillAppear(bool animated) {
    reloadAndDeselect(animated);
}

void SettingsViewController::reloadAndDeselect(bool animated) {
    m_visibleSettings.clear();
    for (const std::shared_ptr<Setting>& setting : m_settings) {
        if (!setting->hideFromOverview()) {
            m_visibleSettings.push_back(setting);
        }
    }
    const std::shared_ptr<TableView> table = tableView();
    const std::optional<IndexPath> selected = table->indexPathForSelectedRow();
    table->reloadData();
    if (selected && selected->section() < table->numberOfSections() &&
        selected->row() < table->numberOfRowsInSection(selected->section())) {
        table->selectRowAtIndexPath(selected, false, TableView::ScrollPosition::None);
        table->deselectRowAtIndexPath(*selected, animated);
    }
}

bool SettingsViewController::isVersionSection(int section) const {
    return section == static_cast<int>(m_visibleSettings.size());
}

Setting& SettingsViewController::settingAtIndexPath(const IndexPath& indexPath) const {
    Setting& setting = *m_visibleSettings.at(static_cast<size_t>(indexPath.section()));
    if (auto* group = dynamic_cast<MultipleSettings*>(&setting)) {
        return *group->settings().at(static_cast<size_t>(indexPath.row()));
    }
    return setting;
}

int SettingsViewController::numberOfSectionsInTableView(TableView&) {
    return static_cast<int>(m_visibleSettings.size()) + 1;
}

int SettingsViewController::numberOfRowsInSection(TableView&, int section) {
    if (isVersionSection(section)) {
        return 0;
    }
    const Setting& setting = *m_visibleSettings.at(static_cast<size_t>(section));
    if (const auto* group = dynamic_cast<const MultipleSettings*>(&setting)) {
        return static_cast<int>(group->settings().size());
    }
    return 1;
}

std::shared_ptr<TableViewCell> SettingsViewController::cellForRowAtIndexPath(TableView& tableView,
                                                                             const IndexPath& indexPath) {
    const QString identifier = QStringLiteral("SettingViewCell");
    std::shared_ptr<TableViewCell> cell = tableView.dequeueReusableCellWithIdentifier(identifier);
    if (!cell) {
        cell = std::make_shared<TableViewCell>(TableViewCell::Style::Default, identifier);
    }
    Label& text = cell->textLabel();
    text.setTextAlignment(TextAlignment::Left);
    Setting& setting = settingAtIndexPath(indexPath);
    if (auto* multiSelect = dynamic_cast<MultiSelectSetting*>(&setting)) {
        text.setText(multiSelect->settingValue());
        text.setTextColor(Color(0, 0, 0));
        cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
        const auto* defaultCalendar = dynamic_cast<const DefaultCalendarSetting*>(multiSelect);
        cell->imageView().setImage(
            defaultCalendar ? DotImage::dotImageForColor(defaultCalendar->settingValueColor()) : Image());
    } else if (dynamic_cast<KeyboardShortcutsSetting*>(&setting) ||
               dynamic_cast<AccountsSetting*>(&setting)) {
        text.setText(setting.settingTitle());
        text.setTextColor(Color(0, 0, 0));
        cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
        cell->imageView().setImage(Image());
    } else if (auto* switchSetting = dynamic_cast<SwitchSetting*>(&setting)) {
        const bool on = switchSetting->switchedOn();
        text.setText(switchSetting->settingTitle());
        text.setTextColor(on ? Color(0, 0, 0) : settingsSwitchOffColor);
        cell->setAccessoryType(on ? TableViewCell::AccessoryType::Checkmark
                                  : TableViewCell::AccessoryType::None);
        cell->imageView().setImage(Image());
    }
    return cell;
}

QString SettingsViewController::titleForHeaderInSection(TableView&, int section) {
    if (isVersionSection(section)) {
        return {};
    }
    const Setting& setting = *m_visibleSettings.at(static_cast<size_t>(section));
    if (dynamic_cast<const MultiSelectSetting*>(&setting) ||
        dynamic_cast<const MultipleSettings*>(&setting)) {
        return setting.settingTitle();
    }
    return {};
}

QString SettingsViewController::titleForFooterInSection(TableView&, int section) {
    return isVersionSection(section) ? versionText() : QString();
}

std::optional<double> SettingsViewController::heightForHeaderInSection(TableView&, int section) {
    return isVersionSection(section) ? settingsNoSectionSpacing : settingsHeaderHeight;
}

std::optional<double> SettingsViewController::heightForFooterInSection(TableView&, int section) {
    return isVersionSection(section) ? settingsFooterHeight : settingsNoSectionSpacing;
}

void SettingsViewController::didSelectRowAtIndexPath(TableView&, const IndexPath& indexPath) {
    Setting& setting = settingAtIndexPath(indexPath);
    if (auto* multiSelect = dynamic_cast<MultiSelectSetting*>(&setting)) {
        if (auto navigation = navigationController()) {
            navigation->pushViewController(multiSelectViewController(*multiSelect), true);
        }
    } else if (dynamic_cast<KeyboardShortcutsSetting*>(&setting)) {
        if (auto navigation = navigationController()) {
            navigation->pushViewController(std::make_shared<KeyboardShortcutsViewController>(), true);
        }
    } else if (dynamic_cast<AccountsSetting*>(&setting)) {
        if (auto navigation = navigationController()) {
            navigation->pushViewController(std::make_shared<AccountsViewController>(), true);
        }
    } else if (auto* switchSetting = dynamic_cast<SwitchSetting*>(&setting)) {
        switchSetting->switchFlipped();
        reloadAndDeselect(true);
    }
}

std::shared_ptr<ViewController>
SettingsViewController::multiSelectViewController(MultiSelectSetting& setting) {
    if (dynamic_cast<DefaultCalendarSetting*>(&setting)) {
        return DefaultCalendarViewController::create(&setting);
    }
    return std::make_shared<MultiValueSelectController>(setting.settingTitle(), setting.settingOptions(),
                                                        setting);
}
