#include "kit/AlertView.h"
#include "AlertTestSupport.h"
#include "kit/AlertViewDelegate.h"
#include "kit/Button.h"
#include "kit/DimmingView.h"
#include "kit/KeyInput.h"
#include "kit/Label.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class RecordingAlertDelegate : public AlertViewDelegate {
public:
    void clickedButtonAtIndex(AlertView& alert, int index) override { record("clicked", alert, index); }
    void willDismissWithButtonIndex(AlertView& alert, int index) override { record("will", alert, index); }
    void didDismissWithButtonIndex(AlertView& alert, int index) override { record("did", alert, index); }

    std::string log;

private:
    void record(const char* what, AlertView& alert, int index) {
        log += what;
        log += ':' + alert.title().toStdString() + ':' + std::to_string(index) + ' ';
    }
};

class AlertViewTest : public KeyWindowTest {
protected:
    void TearDown() override {
        for (const auto& alert : AlertView::queuedAlerts()) {
            alert->dismissWithClickedButtonIndex(-1, false);
        }
        KeyWindowTest::TearDown();
    }

    std::shared_ptr<RecordingAlertDelegate> m_delegate = std::make_shared<RecordingAlertDelegate>();
};

} // namespace

TEST(AlertViewIndexTest, TheCancelButtonComesFirstAndAddedButtonsFollow) {
    AlertView alert("Rate", "Please", nullptr, "No, Thanks", {"Rate it", "Remind me later"});
    EXPECT_EQ(alert.numberOfButtons(), 3);
    EXPECT_EQ(alert.cancelButtonIndex(), 0);
    EXPECT_EQ(alert.buttonTitleAtIndex(0), "No, Thanks");
    EXPECT_EQ(alert.buttonTitleAtIndex(2), "Remind me later");
    EXPECT_EQ(alert.addButtonWithTitle("Later"), 3);
    EXPECT_EQ(alert.buttonTitleAtIndex(3), "Later");
    EXPECT_EQ(alert.buttonTitleAtIndex(4), "");
    EXPECT_EQ(alert.buttonTitleAtIndex(-1), "");

    AlertView plain("Title", "Message");
    EXPECT_EQ(plain.cancelButtonIndex(), -1);
    EXPECT_EQ(plain.addButtonWithTitle("OK"), 0);
    plain.setCancelButtonIndex(0);
    EXPECT_EQ(plain.cancelButtonIndex(), 0);
    plain.setCancelButtonIndex(5);
    EXPECT_EQ(plain.cancelButtonIndex(), -1);
}

TEST_F(AlertViewTest, ATappedButtonReportsItsIndexThenTheDismissal) {
    auto alert =
        std::make_shared<AlertView>("Calendar is hidden", "Making it default will make it visible. Continue?",
                                    m_delegate, "No", QStringList{"Yes"});
    alert->show();
    EXPECT_TRUE(alert->isVisible());
    settle();
    ASSERT_EQ(alert->buttons().size(), 2u);
    // Side by side, the cancel button on the left.
    EXPECT_LT(alert->buttons()[0]->frame().x(), alert->buttons()[1]->frame().x());
    EXPECT_EQ(alert->buttons()[0]->frame().y(), alert->buttons()[1]->frame().y());
    tap(centreInWindow(*alert->buttons()[1]));
    EXPECT_EQ(m_delegate->log, "clicked:Calendar is hidden:1 will:Calendar is hidden:1 ");
    EXPECT_TRUE(alert->isVisible());
    settle();
    EXPECT_EQ(m_delegate->log,
              "clicked:Calendar is hidden:1 will:Calendar is hidden:1 did:Calendar is hidden:1 ");
    EXPECT_FALSE(alert->isVisible());
    EXPECT_EQ(alert->superview(), nullptr);
    EXPECT_EQ(m_window->subviews().size(), 2u);
}

TEST_F(AlertViewTest, ThreeButtonsStackWithTheCancelButtonAtTheBottom) {
    auto alert = std::make_shared<AlertView>("Rate Orvella", "If you enjoy using Orvella...", m_delegate,
                                             "No, Thanks", QStringList{"Rate Orvella", "Remind me later"});
    alert->show();
    settle();
    const auto& buttons = alert->buttons();
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[0]->frame().x(), buttons[1]->frame().x());
    EXPECT_LT(buttons[1]->frame().maxY(), buttons[2]->frame().minY());
    EXPECT_LT(buttons[2]->frame().maxY(), buttons[0]->frame().minY());
    EXPECT_LE(buttons[0]->frame().maxY(), alert->bounds().height());
    savePng("alert-three-buttons.png");
    tap(centreInWindow(*buttons[0]));
    settle();
    EXPECT_EQ(m_delegate->log, "clicked:Rate Orvella:0 will:Rate Orvella:0 did:Rate Orvella:0 ");
}

TEST_F(AlertViewTest, TheBoxPopsInAndTheScreenBehindTakesNoTouches) {
    bool rootTouched = false;
    auto button = std::make_shared<Button>(Rect(0, 0, 320, 100));
    button->onTouchUpInside = [&] { rootTouched = true; };
    m_root->addSubview(button);
    auto alert = std::make_shared<AlertView>(
        "Default Calendar", "You cannot hide the default calendar (see settings).", m_delegate, "OK");
    alert->show();
    m_loop->advance(0.1);
    EXPECT_LT(alert->presentationTransform().a(), 1.0);
    m_loop->advance(0.1);
    EXPECT_NEAR(alert->presentationTransform().a(), 1.1, 0.01);
    settle();
    EXPECT_EQ(alert->presentationTransform().a(), 1.0);
    EXPECT_NEAR(alert->center().x(), 160, 0.01);
    tap(Point(160, 60));
    EXPECT_FALSE(rootTouched);
    EXPECT_EQ(m_delegate->log, "");
    ASSERT_EQ(alert->buttons().size(), 1u);
    EXPECT_NEAR(alert->buttons()[0]->frame().width(), AlertView::width - 22, 0.01);
}

TEST_F(AlertViewTest, ProgrammaticDismissalReportsOnlyTheDismissal) {
    auto alert = std::make_shared<AlertView>("Rate", "Please", m_delegate, "No, Thanks", QStringList{"Rate"});
    alert->show();
    settle();
    alert->dismissWithClickedButtonIndex(-1, false);
    EXPECT_EQ(m_delegate->log, "will:Rate:-1 did:Rate:-1 ");
    EXPECT_FALSE(alert->isVisible());
    EXPECT_EQ(alert->superview(), nullptr);
    EXPECT_TRUE(AlertView::queuedAlerts().empty());

    m_delegate->log.clear();
    alert->show();
    settle();
    alert->dismissWithClickedButtonIndex(1, true);
    EXPECT_EQ(m_delegate->log, "will:Rate:1 ");
    settle();
    EXPECT_EQ(m_delegate->log, "will:Rate:1 did:Rate:1 ");
}

TEST_F(AlertViewTest, AlertsWaitForTheOneOnScreen) {
    auto first = std::make_shared<AlertView>("First", "", m_delegate, "OK");
    auto second = std::make_shared<AlertView>("Second", "", m_delegate, "OK");
    auto third = std::make_shared<AlertView>("Third", "", m_delegate, "OK");
    first->show();
    second->show();
    third->show();
    second->show();
    settle();
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(second->isVisible());
    EXPECT_EQ(AlertView::queuedAlerts().size(), 3u);
    tap(centreInWindow(*first->buttons()[0]));
    settle();
    EXPECT_FALSE(first->isVisible());
    EXPECT_TRUE(second->isVisible());
    // A waiting alert can be taken out of the queue; it never shows.
    third->dismissWithClickedButtonIndex(0, false);
    tap(centreInWindow(*second->buttons()[0]));
    settle();
    EXPECT_FALSE(third->isVisible());
    EXPECT_TRUE(AlertView::queuedAlerts().empty());
    EXPECT_EQ(
        m_delegate->log,
        "clicked:First:0 will:First:0 did:First:0 will:Third:0 did:Third:0 clicked:Second:0 will:Second:0 "
        "did:Second:0 ");
}

TEST_F(AlertViewTest, ADelegateMayShowTheNextAlertFromItsReport) {
    class Chaining : public AlertViewDelegate {
    public:
        void didDismissWithButtonIndex(AlertView&, int) override {
            if (next) {
                next->show();
            }
        }
        std::shared_ptr<AlertView> next;
    };
    const auto chaining = std::make_shared<Chaining>();
    chaining->next = std::make_shared<AlertView>("Next", "", nullptr, "OK");
    {
        auto alert = std::make_shared<AlertView>("Error saving event", "The disk is full.", chaining, "OK");
        alert->show();
    }
    settle();
    ASSERT_EQ(AlertView::queuedAlerts().size(), 1u);
    tap(centreInWindow(*AlertView::queuedAlerts().front()->buttons()[0]));
    settle();
    EXPECT_TRUE(chaining->next->isVisible());
}

TEST_F(AlertViewTest, ADelegateGoneWhileTheAlertIsUpHearsNothing) {
    std::string log;
    class Departing : public AlertViewDelegate {
    public:
        explicit Departing(std::string& record) : m_log(record) {}
        void clickedButtonAtIndex(AlertView&, int) override { m_log += "clicked "; }
        void willDismissWithButtonIndex(AlertView&, int) override { m_log += "will "; }
        void didDismissWithButtonIndex(AlertView&, int) override { m_log += "did "; }

    private:
        std::string& m_log;
    };
    auto departing = std::make_shared<Departing>(log);
    auto alert =
        std::make_shared<AlertView>("Calendar is hidden", "Continue?", departing, "No", QStringList{"Yes"});
    alert->show();
    settle();
    departing.reset();
    tap(centreInWindow(*alert->buttons()[1]));
    settle();
    EXPECT_EQ(log, "");
    EXPECT_FALSE(alert->isVisible());
    EXPECT_EQ(alert->superview(), nullptr);
    EXPECT_TRUE(AlertView::queuedAlerts().empty());
}

TEST_F(AlertViewTest, SampleWithTwoButtons) {
    auto label = std::make_shared<Label>(Rect(10, 10, 300, 40));
    label->setText("The week behind the alert");
    label->setBackgroundColor(Color(1, 1, 1));
    m_root->setBackgroundColor(Color(0.9, 0.85, 0.75));
    m_root->addSubview(label);
    auto alert =
        std::make_shared<AlertView>("Calendar is hidden", "Making it default will make it visible. Continue?",
                                    m_delegate, "No", QStringList{"Yes"});
    alert->show();
    settle();
    savePng("alert-two-buttons.png");
    const auto dimming = std::dynamic_pointer_cast<DimmingView>(alert->superview());
    ASSERT_NE(dimming, nullptr);
    EXPECT_EQ(dimming->style(), DimmingView::Style::Radial);
    // The veil is darker at the corner than near the middle of the screen.
    const Image image = m_window->renderToImage(1.0);
    EXPECT_LT(image.colorAtPoint(Point(2, 470)).brightness(),
              image.colorAtPoint(Point(160, 130)).brightness());
}

TEST_F(AlertViewTest, DismissedDuringItsPopItShowsAgainAtItsSize) {
    auto alert = std::make_shared<AlertView>("Rate", "Please", m_delegate, "OK");
    alert->show();
    m_loop->advance(0.25);
    alert->dismissWithClickedButtonIndex(-1, false);
    settle();
    EXPECT_EQ(alert->superview(), nullptr);
    EXPECT_EQ(alert->transform(), AffineTransform::identity());
    alert->show();
    settle();
    EXPECT_TRUE(alert->isVisible());
    EXPECT_EQ(alert->presentationTransform(), AffineTransform::identity());
    EXPECT_EQ(alert->presentationAlpha(), 1.0);
}

TEST_F(AlertViewTest, EscapeChoosesTheCancelButtonReturnTheOnlyOneAndNothingReachesTheScreen) {
    int screenKeys = 0;
    m_window->onUnhandledKeyInput = [&](const KeyInput&) { return ++screenKeys > 0; };
    const auto key = [this](int code) {
        KeyInput input;
        input.key = code;
        const bool used = m_window->keyInput(input);
        settle();
        return used;
    };
    auto question = std::make_shared<AlertView>("Delete?", "", m_delegate, "No", QStringList{"Yes"});
    question->show();
    settle();
    EXPECT_TRUE(key(Qt::Key_Return)); // two buttons: no default
    EXPECT_TRUE(key(Qt::Key_Left));
    EXPECT_TRUE(question->isVisible());
    EXPECT_TRUE(key(Qt::Key_Escape));
    EXPECT_FALSE(question->isVisible());
    EXPECT_EQ(m_delegate->log, "clicked:Delete?:0 will:Delete?:0 did:Delete?:0 ");

    m_delegate->log.clear();
    auto notice = std::make_shared<AlertView>("Saved", "", m_delegate, "", QStringList{"OK"});
    notice->show();
    settle();
    EXPECT_TRUE(key(Qt::Key_Return));
    EXPECT_EQ(m_delegate->log, "clicked:Saved:0 will:Saved:0 did:Saved:0 ");
    EXPECT_EQ(screenKeys, 0);
    key(Qt::Key_Left);
    EXPECT_EQ(screenKeys, 1);
}
