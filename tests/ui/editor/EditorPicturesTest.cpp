#include "ui/editor/EditorTestSupport.h"

#include "kit/TableView.h"
#include "kit/TextField.h"
#include "ui/eventkit/EventEditFormController.h"
#include "ui/editor/DeleteButton.h"
#include "ui/editor/InsetTextField.h"

// Pictures of the editor for a person to look at (see SamplePictures.h); each scene is also a
// check that the screen draws without failing.
TEST(EditorPicturesTest, theEditorsAsAPersonSeesThem) {
    EditorScreen screen;
    screen.tapDay(2);
    screen.tapView(*screen.editor->titleField());
    screen.type("Team lunch");
    screen.tapView(*screen.editor->timeButton());
    SamplePictures::keep(screen.harness.render(), "editor-new-event.png");
    screen.navigation->popViewControllerAnimated(false);
    screen.settle();

    const auto trip =
        screen.addEvent("Trip to Hamburg", WeekScreen::at(2026, 12, 10), WeekScreen::at(2026, 12, 12), true);
    screen.openEvent(trip);
    SamplePictures::keep(screen.harness.render(), "editor-all-day-event.png");
    screen.editor->deleteButton()->animateForward();
    screen.harness.advance(DeleteButton::stepInterval * 2);
    EXPECT_EQ(screen.editor->deleteButton()->imageIndex(), 2);
    SamplePictures::keep(screen.harness.render(), "editor-delete-lid.png");
    screen.editor->deleteButton()->animateBackward();
    screen.harness.advance(1);
    screen.navigation->popViewControllerAnimated(false);
    screen.settle();

    const auto series = screen.addWeeklyEvent("Choir", WeekScreen::at(2026, 12, 8, 19));
    screen.openEvent(series);
    screen.tapView(*screen.editor->allDaySwitch());
    screen.tapView(*screen.editor->doneButtonItem()->view());
    SamplePictures::keep(screen.harness.render(), "editor-save-choice.png");
    screen.chooseInSheet(*screen.editor->saveChoice(), "Cancel");
    screen.tapView(*screen.editor->allDaySwitch());
    screen.tapView(*screen.editor->moreButton());
    SamplePictures::keep(screen.harness.render(), "editor-full-repeating-event.png");
    auto& form = screen.editor->nativeEditor()->form();
    form.didSelectRowAtIndexPath(*form.tableView(), IndexPath(1, 1));
    screen.settle();
    SamplePictures::keep(screen.harness.render(), "editor-full-start-and-end.png");
}
