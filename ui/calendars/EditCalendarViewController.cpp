#include "ui/calendars/EditCalendarViewController.h"

#include "core/events/EventService.h"
#include "core/eventstore/EKCalendar.h"
#include "foundation/Localization.h"
#include "kit/ActionSheet.h"
#include "kit/BarButtonItem.h"
#include "kit/Button.h"
#include "kit/ImageView.h"
#include "kit/Label.h"
#include "kit/NavigationController.h"
#include "kit/NavigationItem.h"
#include "kit/TextField.h"
#include "ui/calendars/ColorPickerViewController.h"
#include "ui/calendars/EditCalendarViewControllerDelegate.h"
#include "ui/common/ColorExtensions.h"
#include "ui/common/DotImage.h"
#include "ui/common/WeakScreenAction.h"
#include "ui/editing/DeleteButtonTableViewCell.h"
#include "ui/editing/TextFieldTableViewCell.h"

#include <QRandomGenerator>

#include <algorithm>

namespace {

constexpr double calendarFormDeleteRowHeight = 42.0;

Color calendarFormNameColor() {
    return Color::fromRgb255(51, 80, 132);
}

} // namespace

const std::vector<ColorOption>& EditCalendarViewController::colorOptions() {
    static const std::vector<ColorOption> options{
        {ColorExtensions::rgb255(185, 14, 0), localizationKey("Red")},
        {ColorExtensions::rgb255(246, 79, 0), localizationKey("Orange")},
        {ColorExtensions::rgb255(230, 200, 0), localizationKey("Yellow")},
        {ColorExtensions::rgb255(68, 167, 3), localizationKey("Green")},
        {ColorExtensions::rgb255(14, 97, 185), localizationKey("Blue")},
        {ColorExtensions::rgb255(113, 26, 118), localizationKey("Purple")},
        {ColorExtensions::rgb255(136, 47, 0), localizationKey("Brown")},
    };
    return options;
}

const std::vector<Color>& EditCalendarViewController::availableColors() {
    static const std::vector<Color> colors = [] {
        const std::vector<ColorOption>& options = colorOptions();
        // Blue, Green, Purple, Red, Yellow, Orange, Brown.
        return std::vector<Color>{options[4].color, options[3].color, options[5].color, options[0].color,
                                  options[2].color, options[1].color, options[6].color};
    }();
    return colors;
}

bool EditCalendarViewController::colorEqualsColor(const Color& a, const Color& b) {
    return a == b;
}

Color EditCalendarViewController::newCalendarColor(const std::vector<Color>& takenColors) {
    const std::vector<Color>& available = availableColors();
    for (const Color& color : available) {
        const bool taken = std::any_of(takenColors.begin(), takenColors.end(),
                                       [&color](const Color& used) { return colorEqualsColor(color, used); });
        if (!taken) {
            return color;
        }
    }
    return available[QRandomGenerator::global()->bounded(static_cast<quint32>(available.size()))];
}

EditCalendarViewController::EditCalendarViewController(EventService& eventService,
                                                       std::shared_ptr<EKCalendar> calendar, bool editMode,
                                                       bool deleteEnabled,
                                                       EditCalendarViewControllerDelegate* delegate)
    : FollowsPresenterRotation<TableViewController>(TableView::Style::Grouped), m_eventService(&eventService),
      m_calendar(std::move(calendar)), m_delegate(delegate), m_editMode(editMode),
      m_deleteEnabled(deleteEnabled) {
    setTitle(localizedString(editMode ? QStringLiteral("Edit Calendar") : QStringLiteral("Add Calendar")));
    if (const std::optional<Color> color = m_calendar->color()) {
        selectColor(*color);
        if (m_selectedColorIndex < 0) {
            m_customColor = color;
        }
    }
}

EditCalendarViewController::~EditCalendarViewController() = default;

void EditCalendarViewController::assignNewCalendarColor(const std::vector<Color>& takenColors) {
    const Color color = newCalendarColor(takenColors);
    m_calendar->setColor(color);
    m_customColor.reset();
    selectColor(color);
}

void EditCalendarViewController::selectColor(const Color& color) {
    m_selectedColor = color;
    const std::vector<ColorOption>& options = colorOptions();
    const auto match = std::find_if(options.begin(), options.end(), [&color](const ColorOption& option) {
        return colorEqualsColor(option.color, color);
    });
    m_selectedColorIndex = match == options.end() ? -1 : static_cast<int>(match - options.begin());
}

void EditCalendarViewController::viewDidLoad() {
    TableViewController::viewDidLoad();
    const std::weak_ptr<EditCalendarViewController> weakSelf =
        std::static_pointer_cast<EditCalendarViewController>(shared_from_this());
    navigationItem()->setLeftBarButtonItem(std::make_shared<BarButtonItem>(
        BarButtonItem::SystemItem::Cancel, weakScreenAction(weakSelf, &EditCalendarViewController::cancel)));
    m_doneButtonItem = std::make_shared<BarButtonItem>(
        BarButtonItem::SystemItem::Done, weakScreenAction(weakSelf, &EditCalendarViewController::done));
    m_doneButtonItem->setEnabled(false);
    navigationItem()->setRightBarButtonItem(m_doneButtonItem);

    m_textFieldTableViewCell = std::make_shared<TextFieldTableViewCell>();
    m_textFieldTableViewCell->setSelectionStyle(TableViewCell::SelectionStyle::None);
    TextField& field = m_textFieldTableViewCell->textField();
    field.setPlaceholder(localizedString(QStringLiteral("Calendar Name")));
    field.setText(m_calendar->title());
    if (m_calendar->isImmutable()) {
        field.setEnabled(false);
        field.setTextColor(Color(0.5, 0.5, 0.5));
    } else {
        field.setTextColor(calendarFormNameColor());
    }
    field.onEditingChanged = weakScreenAction(weakSelf, &EditCalendarViewController::enableDone);
    // Return puts the keyboard away, uncovering the colours below.
    field.onEditingDidEndOnExit = [] {};

    m_deleteButtonTableViewCell = std::make_shared<DeleteButtonTableViewCell>();
    m_deleteButtonTableViewCell->button().onTouchUpInside =
        weakScreenAction(weakSelf, &EditCalendarViewController::confirmDelete);
}

void EditCalendarViewController::viewDidAppear(bool animated) {
    TableViewController::viewDidAppear(animated);
    if (!m_editMode && !m_textFieldBecameFirstResponder && m_textFieldTableViewCell) {
        m_textFieldBecameFirstResponder = true;
        TextField& field = m_textFieldTableViewCell->textField();
        field.becomeFirstResponder();
        // A new calendar's name is the stand-in "Untitled Calendar": typing replaces it.
        field.selectAll();
    }
}

void EditCalendarViewController::enableDone() {
    if (m_doneButtonItem) {
        m_doneButtonItem->setEnabled(true);
    }
}

bool EditCalendarViewController::showsDeleteSection() const {
    return m_editMode && m_deleteEnabled;
}

int EditCalendarViewController::customColorRow() const {
    return m_customColor ? static_cast<int>(colorOptions().size()) : -1;
}

int EditCalendarViewController::chooseColorRow() const {
    return static_cast<int>(colorOptions().size()) + (m_customColor ? 1 : 0);
}

int EditCalendarViewController::numberOfSectionsInTableView(TableView& /*tableView*/) {
    return showsDeleteSection() ? 3 : 2;
}

int EditCalendarViewController::numberOfRowsInSection(TableView& /*tableView*/, int section) {
    return section == ColorSection ? chooseColorRow() + 1 : 1;
}

QString EditCalendarViewController::titleForHeaderInSection(TableView& /*tableView*/, int section) {
    return section == ColorSection ? localizedString(QStringLiteral("Color")) : QString();
}

std::optional<double> EditCalendarViewController::heightForRowAtIndexPath(TableView& /*tableView*/,
                                                                          const IndexPath& indexPath) {
    if (indexPath.section() == DeleteSection) {
        return calendarFormDeleteRowHeight;
    }
    return std::nullopt;
}

std::shared_ptr<TableViewCell> EditCalendarViewController::cellForRowAtIndexPath(TableView& /*tableView*/,
                                                                                 const IndexPath& indexPath) {
    if (indexPath.section() == NameSection) {
        return m_textFieldTableViewCell;
    }
    if (indexPath.section() == DeleteSection) {
        return m_deleteButtonTableViewCell;
    }
    auto cell = std::make_shared<TableViewCell>();
    const int row = indexPath.row();
    if (row == chooseColorRow()) {
        cell->textLabel().setText(localizedString(QStringLiteral("Choose a color")) + QStringLiteral("..."));
        cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
        return cell;
    }
    const bool custom = row == customColorRow();
    const Color color = custom ? *m_customColor : colorOptions()[static_cast<std::size_t>(row)].color;
    cell->imageView().setImage(DotImage::dotImageForColor(color));
    cell->textLabel().setText(custom ? localizedString(QStringLiteral("Custom Color"))
                                     : localizedString(colorOptions()[static_cast<std::size_t>(row)].name));
    const bool checked = custom ? m_selectedColorIndex < 0 : row == m_selectedColorIndex;
    cell->setAccessoryType(checked ? TableViewCell::AccessoryType::Checkmark
                                   : TableViewCell::AccessoryType::None);
    return cell;
}

std::optional<IndexPath> EditCalendarViewController::willSelectRowAtIndexPath(TableView& /*tableView*/,
                                                                              const IndexPath& indexPath) {
    if (indexPath.section() != ColorSection) {
        return std::nullopt;
    }
    return indexPath;
}

void EditCalendarViewController::didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) {
    const int row = indexPath.row();
    if (row == chooseColorRow()) {
        const Color start = m_selectedColor.value_or(colorOptions().front().color);
        auto picker = std::make_shared<ColorPickerViewController>(m_calendar, start, this);
        if (const auto navigation = navigationController()) {
            navigation->pushViewController(picker, true);
        }
        return;
    }
    selectColor(row == customColorRow() ? *m_customColor
                                        : colorOptions()[static_cast<std::size_t>(row)].color);
    enableDone();
    tableView.reloadData();
}

void EditCalendarViewController::colorPicked(const Color& color) {
    m_customColor = color;
    selectColor(color);
    enableDone();
    if (isViewLoaded()) {
        tableView()->reloadData();
    }
}

void EditCalendarViewController::done() {
    if (m_selectedColor) {
        m_calendar->setColor(m_selectedColor);
    }
    if (m_textFieldTableViewCell) {
        m_calendar->setTitle(m_textFieldTableViewCell->textField().text());
    }
    m_eventService->saveCalendar(m_calendar);
    if (m_delegate) {
        m_delegate->calendarsChanged();
    }
    returnToList();
}

void EditCalendarViewController::cancel() {
    returnToList();
}

void EditCalendarViewController::returnToList() {
    if (m_textFieldTableViewCell) {
        m_textFieldTableViewCell->textField().resignFirstResponder();
    }
    if (const auto navigation = navigationController()) {
        navigation->popViewControllerAnimated(true);
    }
}

void EditCalendarViewController::confirmDelete() {
    m_deleteSheet = std::make_shared<ActionSheet>(
        localizedString(
            QStringLiteral("Are you sure you want to delete this calendar? All events associated with "
                           "the calendar will also be deleted.")),
        std::static_pointer_cast<EditCalendarViewController>(shared_from_this()),
        localizedString(QStringLiteral("Cancel")),
        localizedString(QStringLiteral("Delete Calendar~actionSheet")));
    m_deleteSheet->showInView(*view());
}

void EditCalendarViewController::clickedButtonAtIndex(ActionSheet& actionSheet, int buttonIndex) {
    if (buttonIndex == actionSheet.destructiveButtonIndex()) {
        deleteCalendar();
    }
}

void EditCalendarViewController::deleteCalendar() {
    m_eventService->deleteCalendar(m_calendar);
    if (m_delegate) {
        m_delegate->calendarsChanged();
    }
    returnToList();
}
