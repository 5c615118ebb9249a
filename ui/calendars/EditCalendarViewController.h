#pragma once

#include "foundation/Color.h"
#include "kit/ActionSheetDelegate.h"
#include "kit/TableViewController.h"
#include "ui/calendars/ColorOption.h"
#include "ui/calendars/ColorPickerDelegate.h"
#include "ui/common/PresenterRotation.h"

#include <memory>
#include <optional>
#include <vector>

class BarButtonItem;
class DeleteButtonTableViewCell;
class EKCalendar;
class EditCalendarViewControllerDelegate;
class EventService;
class TextFieldTableViewCell;

// The form of one calendar, pushed by the calendar list: its name, its colour (one of seven
// named ones, a custom one, or a new one from the colour picker) and, for an existing calendar
// of an account that allows it, a button that deletes it with all its events.
// It turns as the week screen it was opened from does.
class EditCalendarViewController : public FollowsPresenterRotation<TableViewController>,
                                   public ColorPickerDelegate,
                                   public ActionSheetDelegate {
public:
    enum Section { NameSection = 0, ColorSection = 1, DeleteSection = 2 };

    // `editMode` edits a stored calendar; otherwise the calendar is new and saved only by "Done".
    // The delegate is not owned (the list below the form on the stack).
    EditCalendarViewController(EventService& eventService, std::shared_ptr<EKCalendar> calendar,
                               bool editMode, bool deleteEnabled,
                               EditCalendarViewControllerDelegate* delegate);
    ~EditCalendarViewController() override;

    // The named colours in the order they are listed.
    static const std::vector<ColorOption>& colorOptions();
    // The order in which new calendars receive the named colours.
    static const std::vector<Color>& availableColors();
    // All four components equal.
    static bool colorEqualsColor(const Color& a, const Color& b);
    // The first of availableColors not among `takenColors`; a random one of them when all are
    // taken.
    static Color newCalendarColor(const std::vector<Color>& takenColors);
    // Gives the form's calendar newCalendarColor(takenColors) and selects it.
    void assignNewCalendarColor(const std::vector<Color>& takenColors);

    const std::shared_ptr<EKCalendar>& calendar() const { return m_calendar; }
    bool editMode() const { return m_editMode; }
    bool deleteEnabled() const { return m_deleteEnabled; }
    const std::optional<Color>& selectedColor() const { return m_selectedColor; }
    // Position in colorOptions, -1 when no option is selected.
    int selectedColorIndex() const { return m_selectedColorIndex; }
    const std::optional<Color>& customColor() const { return m_customColor; }
    const std::shared_ptr<BarButtonItem>& doneButtonItem() const { return m_doneButtonItem; }
    const std::shared_ptr<TextFieldTableViewCell>& textFieldTableViewCell() const {
        return m_textFieldTableViewCell;
    }

    // The picker's colour becomes the custom and selected colour.
    void colorPicked(const Color& color) override;
    void done();
    void cancel();
    // Asks before deleting.
    void confirmDelete();

    int numberOfSectionsInTableView(TableView& tableView) override;
    int numberOfRowsInSection(TableView& tableView, int section) override;
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override;
    QString titleForHeaderInSection(TableView& tableView, int section) override;
    std::optional<double> heightForRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) override;
    std::optional<IndexPath> willSelectRowAtIndexPath(TableView& tableView,
                                                      const IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) override;

    void clickedButtonAtIndex(ActionSheet& actionSheet, int buttonIndex) override;

    void viewDidAppear(bool animated) override;

protected:
    void viewDidLoad() override;

private:
    void selectColor(const Color& color);
    void enableDone();
    int customColorRow() const;
    int chooseColorRow() const;
    bool showsDeleteSection() const;
    void deleteCalendar();
    void returnToList();

    EventService* m_eventService;
    std::shared_ptr<EKCalendar> m_calendar;
    EditCalendarViewControllerDelegate* m_delegate;
    bool m_editMode;
    bool m_deleteEnabled;
    std::optional<Color> m_selectedColor;
    int m_selectedColorIndex = -1;
    std::optional<Color> m_customColor;
    std::shared_ptr<BarButtonItem> m_doneButtonItem;
    std::shared_ptr<TextFieldTableViewCell> m_textFieldTableViewCell;
    std::shared_ptr<DeleteButtonTableViewCell> m_deleteButtonTableViewCell;
    std::shared_ptr<ActionSheet> m_deleteSheet;
    bool m_textFieldBecameFirstResponder = false;
};
