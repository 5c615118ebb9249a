#include "kit/WindowHost.h"
#include "kit/Animator.h"
#include "kit/Application.h"
#include "kit/InterfaceOrientation.h"
#include "kit/PinchGestureRecognizer.h"
#include "kit/Touch.h"
#include "kit/TouchEvent.h"
#include "kit/Window.h"
#include "testing/ManualRunLoop.h"

#include <QApplication>
#include <QKeySequence>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

class TouchLogView : public View {
public:
    std::string log;
    Point lastBegan;

protected:
    void touchesBegan(const TouchSet& touches, const TouchEvent&) override {
        lastBegan = touches.front()->locationInView(this);
        log += "began ";
    }
    void touchesMoved(const TouchSet&, const TouchEvent&) override { log += "moved "; }
    void touchesEnded(const TouchSet&, const TouchEvent&) override { log += "ended "; }
    void touchesCancelled(const TouchSet&, const TouchEvent&) override { log += "cancelled "; }
};

class CountingDelegate : public ApplicationDelegate {
public:
    void didBecomeActive(Application&) override { log += "active "; }
    void willResignActive(Application&) override { log += "resign "; }
    std::string log;
};

// The desktop window only exists with the widgets application.
bool haveWidgets() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

class WindowHostTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(haveWidgets()) << "the test program must make a QApplication";
        RunLoop::setMain(m_loop);
        m_root = std::make_shared<TouchLogView>();
        m_window->setRootView(m_root);
        m_application.setDelegate(&m_delegate);
        m_application.finishLaunching();
        m_window->makeKeyAndVisible();
        m_host = std::make_unique<WindowHost>(m_window, m_application);
        m_host->show();
        resize(320, 480);
    }

    // Resizes the shown desktop window and lets Qt deliver the change.
    void resize(int width, int height) {
        m_host->widget().resize(width, height);
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        m_host.reset();
        m_window.reset();
        RunLoop::setMain(nullptr);
    }

    std::shared_ptr<ManualRunLoop> m_loop = std::make_shared<ManualRunLoop>();
    Application m_application;
    CountingDelegate m_delegate;
    std::shared_ptr<Window> m_window = std::make_shared<Window>();
    std::shared_ptr<TouchLogView> m_root;
    std::unique_ptr<WindowHost> m_host;
};

TEST_F(WindowHostTest, TheMouseIsOneFingerAtTheZoomedPoint) {
    QWidget& widget = m_host->widget();
    resize(640, 960); // zoom 2
    QTest::mousePress(&widget, Qt::LeftButton, {}, QPoint(100, 200));
    QTest::mouseMove(&widget, QPoint(120, 210));
    QTest::mouseRelease(&widget, Qt::LeftButton, {}, QPoint(120, 210));
    EXPECT_EQ(m_root->log, "began moved ended ");
    // 100, 200 pixels are 50, 100 points in the window, 50, 80 in the content below the bar.
    EXPECT_EQ(m_root->lastBegan, Point(50, 80));
}

TEST_F(WindowHostTest, ABarredWindowMapsPointsPastTheBars) {
    QWidget& widget = m_host->widget();
    resize(320, 600); // zoom 1; 60 pixels of bar above and below
    QTest::mousePress(&widget, Qt::LeftButton, {}, QPoint(10, 90));
    QTest::mouseRelease(&widget, Qt::LeftButton, {}, QPoint(10, 90));
    EXPECT_EQ(m_root->lastBegan, Point(10, 10));
}

TEST_F(WindowHostTest, AWideWindowTurnsTheDeviceAndControlArrowsTurnItEitherWay) {
    QWidget& widget = m_host->widget();
    resize(600, 400);
    EXPECT_EQ(m_window->orientation(), InterfaceOrientation::LandscapeRight);
    EXPECT_EQ(m_window->bounds().size(), Size(480, 320));
    // Home button on the right: a clockwise turn brings the device upright.
    QTest::keyClick(&widget, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(m_window->orientation(), InterfaceOrientation::Portrait);
    EXPECT_GT(widget.height(), widget.width());
    QTest::keyClick(&widget, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(m_window->orientation(), InterfaceOrientation::LandscapeLeft);
    QTest::keyClick(&widget, Qt::Key_Left, Qt::ControlModifier);
    QTest::keyClick(&widget, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(m_window->orientation(), InterfaceOrientation::LandscapeRight);
}

TEST_F(WindowHostTest, ControlQAndControlWCloseTheWindow) {
    for (const Qt::Key key : {Qt::Key_Q, Qt::Key_W}) {
        m_host->show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(m_host->widget().isVisible());
        QTest::keyClick(&m_host->widget(), key, Qt::ControlModifier);
        EXPECT_FALSE(m_host->widget().isVisible()) << QKeySequence(key).toString().toStdString();
    }
}

TEST_F(WindowHostTest, ControlWheelPinchesAtThePointer) {
    resize(320, 480);
    auto pinch = std::make_shared<PinchGestureRecognizer>();
    std::string states;
    double lastScale = 0.0;
    pinch->onAction = [&](GestureRecognizer& recognizer) {
        states += std::to_string(int(recognizer.state())) + " ";
        lastScale = static_cast<PinchGestureRecognizer&>(recognizer).scale();
    };
    m_root->addGestureRecognizer(pinch);
    for (int notch = 0; notch < 4; ++notch) {
        QWheelEvent wheel(QPointF(160, 240), QPointF(160, 240), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&m_host->widget(), &wheel);
    }
    EXPECT_NEAR(lastScale, std::pow(2.0, 4 * 120 / 480.0), 1e-6); // four notches out: twice the size
    m_loop->advance(0.3);
    EXPECT_EQ(pinch->state(), GestureRecognizer::State::Possible); // ended and reset
    EXPECT_EQ(m_root->log, "began cancelled "); // the recognised pinch took the fingers from the view
    EXPECT_FALSE(states.empty());
}

TEST_F(WindowHostTest, FocusChangesMakeTheApplicationActiveAndResign) {
    QWidget& widget = m_host->widget();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&widget, &activate);
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(&widget, &deactivate);
    EXPECT_EQ(m_delegate.log, "active resign ");
}

} // namespace

namespace {

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

} // namespace

TEST_F(WindowHostTest, DrawsOnlyWhenTheViewTreeChangesOrAnimates) {
    PaintCounter counter;
    m_host->widget().installEventFilter(&counter);
    auto child = std::make_shared<View>(Rect(10, 10, 50, 50));
    m_root->addSubview(child);
    QCoreApplication::processEvents();
    const auto paintsAfter = [&](const std::function<void()>& change) {
        counter.paints = 0;
        change();
        QCoreApplication::processEvents();
        return counter.paints;
    };

    EXPECT_EQ(paintsAfter([] {}), 0);
    EXPECT_EQ(paintsAfter([&] { child->setNeedsDisplay(); }), 1);
    EXPECT_EQ(paintsAfter([&] { child->setNeedsLayout(); }), 1);
    // Several changes in one turn make one picture.
    EXPECT_EQ(paintsAfter([&] {
                  child->setAlpha(0.5);
                  child->setFrameX(20);
              }),
              1);
    View::animate(0.1, 0, AnimationCurve::easeInOut, {}, [&] { child->setAlpha(1); });
    QCoreApplication::processEvents();
    EXPECT_EQ(paintsAfter([&] { m_loop->advance(Animator::frameInterval); }), 1);
    EXPECT_EQ(paintsAfter([&] { m_loop->advance(0.2); }), 1); // the last frame
    EXPECT_EQ(paintsAfter([] {}), 0);
}
