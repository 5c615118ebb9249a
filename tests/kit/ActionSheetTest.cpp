#include "kit/ActionSheet.h"
#include "AlertTestSupport.h"
#include "kit/ActionSheetDelegate.h"
#include "kit/Button.h"
#include "kit/Label.h"
#include "kit/PopoverController.h"
#include "kit/PopoverView.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class RecordingSheetDelegate : public ActionSheetDelegate {
public:
    void clickedButtonAtIndex(ActionSheet&, int index) override {
        log += "clicked:" + std::to_string(index) + ' ';
    }
    void willDismissWithButtonIndex(ActionSheet&, int index) override {
        log += "will:" + std::to_string(index) + ' ';
    }
    void didDismissWithButtonIndex(ActionSheet&, int index) override {
        log += "did:" + std::to_string(index) + ' ';
    }

    std::string log;
};

class ActionSheetTest : public KeyWindowTest {
protected:
    std::shared_ptr<ActionSheet> deleteSheet() {
        return std::make_shared<ActionSheet>("Are you sure you want to delete this calendar? All events "
                                             "associated with the calendar will also be "
                                             "deleted.",
                                             m_delegate, "Cancel", "Delete Calendar");
    }

    std::shared_ptr<RecordingSheetDelegate> m_delegate = std::make_shared<RecordingSheetDelegate>();
};

} // namespace

TEST(ActionSheetIndexTest, DestructiveFirstOthersThenCancelLast) {
    ActionSheet sheet("This is a repeating event.", nullptr, "Cancel", "Delete this event only",
                      {"Delete all future events"});
    EXPECT_EQ(sheet.numberOfButtons(), 3);
    EXPECT_EQ(sheet.destructiveButtonIndex(), 0);
    EXPECT_EQ(sheet.firstOtherButtonIndex(), 1);
    EXPECT_EQ(sheet.cancelButtonIndex(), 2);
    EXPECT_EQ(sheet.buttonTitleAtIndex(2), "Cancel");

    ActionSheet moveSheet("This is a repeating event.", nullptr, "Cancel", QString(),
                          {"Move this event only", "Move all future events"});
    EXPECT_EQ(moveSheet.destructiveButtonIndex(), -1);
    EXPECT_EQ(moveSheet.buttonTitleAtIndex(0), "Move this event only");
    EXPECT_EQ(moveSheet.cancelButtonIndex(), 2);

    ActionSheet built{QString()};
    EXPECT_EQ(built.addButtonWithTitle("Delete Event"), 0);
    EXPECT_EQ(built.addButtonWithTitle("Cancel"), 1);
    built.setDestructiveButtonIndex(0);
    built.setCancelButtonIndex(1);
    EXPECT_EQ(built.destructiveButtonIndex(), 0);
    EXPECT_EQ(built.cancelButtonIndex(), 1);
    EXPECT_EQ(built.firstOtherButtonIndex(), -1);
    built.setCancelButtonIndex(7);
    EXPECT_EQ(built.cancelButtonIndex(), -1);
}

TEST_F(ActionSheetTest, SlidesUpFromTheBottomOfTheWindow) {
    m_root->setBackgroundColor(Color(0.93, 0.9, 0.82));
    auto sheet = deleteSheet();
    sheet->showInView(*m_root);
    EXPECT_TRUE(sheet->isVisible());
    const double height = sheet->frame().height();
    EXPECT_GT(height, 2 * 44.0);
    EXPECT_DOUBLE_EQ(sheet->frame().maxY(), 480);
    EXPECT_DOUBLE_EQ(sheet->presentationFrame().minY(), 480);
    m_loop->advance(ActionSheet::slideDuration / 2);
    EXPECT_GT(sheet->presentationFrame().minY(), 480 - height);
    EXPECT_LT(sheet->presentationFrame().minY(), 480);
    settle();
    EXPECT_DOUBLE_EQ(sheet->presentationFrame().minY(), 480 - height);
    // The destructive button stands above the cancel button, both across the sheet.
    const auto& buttons = sheet->buttons();
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_LT(buttons[0]->frame().maxY(), buttons[1]->frame().minY());
    EXPECT_DOUBLE_EQ(buttons[0]->frame().width(), 280);
    savePng("action-sheet-destructive-cancel.png");
    sheet->dismissWithClickedButtonIndex(1, false);
}

TEST_F(ActionSheetTest, ATappedButtonReportsItsIndex) {
    auto sheet = deleteSheet();
    sheet->showInView(*m_root);
    settle();
    tap(centreInWindow(*sheet->buttons()[0]));
    EXPECT_EQ(m_delegate->log, "clicked:0 will:0 ");
    settle();
    EXPECT_EQ(m_delegate->log, "clicked:0 will:0 did:0 ");
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(sheet->superview(), nullptr);
    EXPECT_EQ(m_window->subviews().size(), 2u);

    m_delegate->log.clear();
    sheet->showInView(*m_root);
    settle();
    tap(centreInWindow(*sheet->buttons()[1]));
    settle();
    EXPECT_EQ(m_delegate->log, "clicked:1 will:1 did:1 ");
}

TEST_F(ActionSheetTest, ATapOnTheDimmedScreenDoesNothingOnThePhone) {
    bool rootTouched = false;
    auto button = std::make_shared<Button>(Rect(0, 0, 320, 100));
    button->onTouchUpInside = [&] { rootTouched = true; };
    m_root->addSubview(button);
    auto sheet = deleteSheet();
    sheet->showInView(*m_root);
    settle();
    tap(Point(160, 60));
    settle();
    EXPECT_FALSE(rootTouched);
    EXPECT_EQ(m_delegate->log, "");
    EXPECT_TRUE(sheet->isVisible());
    sheet->dismissWithClickedButtonIndex(1, false);
}

TEST_F(ActionSheetTest, ProgrammaticDismissalReportsOnlyTheDismissal) {
    auto sheet = deleteSheet();
    sheet->showInView(*m_root);
    settle();
    sheet->dismissWithClickedButtonIndex(1, true);
    EXPECT_EQ(m_delegate->log, "will:1 ");
    settle();
    EXPECT_EQ(m_delegate->log, "will:1 did:1 ");
    EXPECT_EQ(sheet->superview(), nullptr);
}

TEST_F(ActionSheetTest, TheSheetKeepsItselfAliveWhileShown) {
    std::weak_ptr<ActionSheet> weak;
    {
        auto sheet = deleteSheet();
        weak = sheet;
        sheet->showInView(*m_root);
    }
    settle();
    ASSERT_FALSE(weak.expired());
    tap(centreInWindow(*weak.lock()->buttons()[1]));
    settle();
    EXPECT_EQ(m_delegate->log, "clicked:1 will:1 did:1 ");
    EXPECT_TRUE(weak.expired());
}

TEST_F(ActionSheetTest, ADelegateGoneWhileTheSheetIsUpHearsNothing) {
    std::string log;
    class Departing : public ActionSheetDelegate {
    public:
        explicit Departing(std::string& record) : m_log(record) {}
        void clickedButtonAtIndex(ActionSheet&, int) override { m_log += "clicked "; }
        void willDismissWithButtonIndex(ActionSheet&, int) override { m_log += "will "; }
        void didDismissWithButtonIndex(ActionSheet&, int) override { m_log += "did "; }

    private:
        std::string& m_log;
    };
    auto departing = std::make_shared<Departing>(log);
    std::weak_ptr<ActionSheet> weak;
    {
        auto sheet = std::make_shared<ActionSheet>("Delete?", departing, "Cancel", "Delete Calendar");
        weak = sheet;
        sheet->showInView(*m_root);
    }
    settle();
    departing.reset();
    ASSERT_FALSE(weak.expired());
    tap(centreInWindow(*weak.lock()->buttons()[0]));
    settle();
    EXPECT_EQ(log, "");
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(m_window->subviews().size(), 2u);
}

TEST_F(ActionSheetTest, OnTheTabletItSitsInAPopoverWithoutItsCancelButton) {
    Screen::main().setIdiom(Screen::Idiom::Tablet);
    m_window = std::make_shared<Window>();
    m_window->makeKeyAndVisible();
    m_window->setRootView(m_root);
    m_root->setBackgroundColor(Color(0.93, 0.9, 0.82));
    auto sheet = deleteSheet();
    sheet->showFromRect(Rect(300, 400, 60, 30), *m_root, true);
    settle();
    ASSERT_NE(sheet->popoverController(), nullptr);
    EXPECT_TRUE(sheet->popoverController()->isPopoverVisible());
    ASSERT_EQ(sheet->buttons().size(), 2u);
    EXPECT_NE(sheet->buttons()[0], nullptr);
    EXPECT_EQ(sheet->buttons()[1], nullptr);
    savePng("action-sheet-tablet.png");
    // A touch outside the popover is the cancel button.
    tap(Point(700, 900));
    settle();
    EXPECT_EQ(m_delegate->log, "clicked:1 will:1 did:1 ");
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(sheet->popoverController(), nullptr);
    EXPECT_EQ(m_window->subviews().size(), 2u);
}

TEST_F(ActionSheetTest, OnTheTabletShowInViewCentresTheSheetWithoutAnArrow) {
    Screen::main().setIdiom(Screen::Idiom::Tablet);
    m_window = std::make_shared<Window>();
    m_window->makeKeyAndVisible();
    m_window->setRootView(m_root);
    auto sheet = deleteSheet();
    sheet->showInView(*m_root);
    ASSERT_NE(sheet->popoverController(), nullptr);
    EXPECT_EQ(sheet->popoverController()->popoverArrowDirection(), PopoverArrowDirection::unknown);
    const Point centre = centreInWindow(*sheet->popoverController()->popoverView());
    EXPECT_NEAR(centre.x(), 384, 0.5);
    EXPECT_NEAR(centre.y(), 20 + 1004 / 2.0, 0.5);
    tap(centreInWindow(*sheet->buttons()[0]));
    settle();
    EXPECT_EQ(m_delegate->log, "clicked:0 will:0 did:0 ");
}
