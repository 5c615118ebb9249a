#include "kit/AccessibilityTestSupport.h"
#include "kit/AlertView.h"
#include "kit/Application.h"
#include "kit/Button.h"
#include "kit/Label.h"
#include "kit/Switch.h"
#include "kit/TextField.h"
#include "kit/Window.h"
#include "kit/WindowHost.h"
#include "testing/ManualRunLoop.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>

namespace {

class AccessibilityTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr);
        RunLoop::setMain(m_loop);
        m_window->setRootView(m_root);
        m_application.finishLaunching();
        m_window->makeKeyAndVisible();

        m_save->setTitle(QStringLiteral("Save"));
        m_save->onTouchUpInside = [this] { ++m_saves; };
        m_root->addSubview(m_save);
        auto hidden = label(QStringLiteral("Hidden"), Rect(0, 60, 100, 20));
        hidden->setHidden(true);
        m_root->addSubview(hidden);
        auto faded = label(QStringLiteral("Faded"), Rect(0, 80, 100, 20));
        faded->setAlpha(0);
        m_root->addSubview(faded);
        m_root->addSubview(label(QStringLiteral("Far away"), Rect(1000, 80, 100, 20)));
        m_field->setPlaceholder(QStringLiteral("Title"));
        m_field->setText(QStringLiteral("Lunch"));
        m_root->addSubview(m_field);
        m_switch->setOn(true);
        m_root->addSubview(m_switch);
        // A view that carries nothing itself: its label stands in its place.
        auto group = std::make_shared<View>(Rect(0, 200, 320, 100));
        group->addSubview(label(QStringLiteral("Inside"), Rect(10, 10, 100, 20)));
        m_root->addSubview(group);

        m_host = std::make_unique<WindowHost>(m_window, m_application);
        m_host->show();
        m_host->widget().resize(640, 960); // zoom 2
        QCoreApplication::processEvents();
    }

    void TearDown() override {
        m_host.reset();
        m_window.reset();
        RunLoop::setMain(nullptr);
    }

    static std::shared_ptr<Label> label(const QString& text, const Rect& frame) {
        auto label = std::make_shared<Label>(frame);
        label->setText(text);
        return label;
    }

    QAccessibleInterface& root() { return *QAccessible::queryAccessibleInterface(&m_host->widget()); }

    QString tree() {
        QString out;
        describeAccessibleTree(root(), 0, out);
        return out;
    }

    std::shared_ptr<ManualRunLoop> m_loop = std::make_shared<ManualRunLoop>();
    Application m_application;
    std::shared_ptr<Window> m_window = std::make_shared<Window>();
    std::shared_ptr<View> m_root = std::make_shared<View>();
    std::shared_ptr<Button> m_save = std::make_shared<Button>(Rect(10, 10, 100, 40));
    std::shared_ptr<TextField> m_field = std::make_shared<TextField>(Rect(10, 100, 200, 30));
    std::shared_ptr<Switch> m_switch = std::make_shared<Switch>(Rect(10, 150, 94, 27));
    int m_saves = 0;
    std::unique_ptr<WindowHost> m_host;
};

TEST_F(AccessibilityTest, TheTreeFollowsTheShownViewsWithTheirNamesAndStates) {
    EXPECT_EQ(tree().toStdString(), "Window Orvella\n"
                                    "  Button Save\n"
                                    "  Field Title = Lunch\n"
                                    "  Switch (on)\n"
                                    "  Text Inside\n");

    // The button's place on the screen: window points through the zoom of 2, below the status
    // bar's 20 points.
    QAccessibleInterface* save = root().child(0);
    const QPoint origin = m_host->widget().mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(save->rect(), QRect(origin + QPoint(20, 60), QSize(200, 80)));
    EXPECT_EQ(root().childAt(origin.x() + 30, origin.y() + 70), save);

    // A disabled button says so and offers no press.
    m_save->setEnabled(false);
    EXPECT_TRUE(save->state().disabled);
    EXPECT_TRUE(save->actionInterface()->actionNames().isEmpty());

    // Hiding a view takes it out of the tree; its interface stays valid while the view lives.
    m_switch->setHidden(true);
    EXPECT_EQ(root().childCount(), 3);
}

TEST_F(AccessibilityTest, PressingTapsAndFocusFollowsTheFirstResponder) {
    QAccessibleInterface* save = root().child(0);
    save->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(m_saves, 1);

    QAccessibleInterface* field = root().child(1);
    field->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
    EXPECT_TRUE(m_field->isFirstResponder());
    EXPECT_TRUE(field->state().focused);
    EXPECT_EQ(root().focusChild(), field);

    // An element whose view is gone answers as invalid until the bridge drops it.
    m_field->removeFromSuperview();
    m_field.reset();
    EXPECT_FALSE(field->isValid());
    EXPECT_EQ(root().focusChild(), nullptr);
}

TEST_F(AccessibilityTest, AnAlertIsAModalDialogWithItsTextsAndButtons) {
    auto alert =
        std::make_shared<AlertView>("Calendar is hidden", "Continue?", nullptr, "No", QStringList{"Yes"});
    alert->show();
    m_loop->advance(2.0);
    EXPECT_EQ(tree().toStdString(), "Window Orvella\n"
                                    "  Dialog Calendar is hidden\n"
                                    "    Text Calendar is hidden\n"
                                    "    Text Continue?\n"
                                    "    Button No\n"
                                    "    Button Yes\n");
    root().child(0)->child(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    m_loop->advance(2.0);
    EXPECT_EQ(root().childCount(), 4);
}

} // namespace
