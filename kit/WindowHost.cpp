#include "kit/WindowHost.h"

#include "kit/AccessibilityBridge.h"
#include "kit/AccessibleWindowHost.h"
#include "kit/Application.h"
#include "kit/GraphicsContext.h"
#include "kit/InterfaceOrientation.h"
#include "kit/KeyInput.h"
#include "kit/Screen.h"
#include "kit/WheelScrolling.h"
#include "kit/Window.h"

#include <QAccessible>
#include <QEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTouchEvent>
#include <QWheelEvent>
#include <QWidget>

#include <cmath>

namespace {

// The finger number the mouse stands for; touch screen points use their own ids above it.
constexpr int mouseFinger = 0;
constexpr int firstTouchScreenFinger = 1000;

int turnedClockwise(int orientation) {
    switch (orientation) {
    case InterfaceOrientation::Portrait:
        return InterfaceOrientation::LandscapeLeft;
    case InterfaceOrientation::LandscapeLeft:
        return InterfaceOrientation::PortraitUpsideDown;
    case InterfaceOrientation::PortraitUpsideDown:
        return InterfaceOrientation::LandscapeRight;
    default:
        return InterfaceOrientation::Portrait;
    }
}

int turnedCounterClockwise(int orientation) {
    return turnedClockwise(turnedClockwise(turnedClockwise(orientation)));
}

} // namespace

class WindowHost::Widget final : public QWidget {
public:
    Widget(std::shared_ptr<Window> window, Application& application)
        : m_window(std::move(window)), m_application(application),
          m_accessibility(std::make_shared<AccessibilityBridge>(*this, m_window)) {
        // Before anything below asks for this widget's interface (Qt keeps the first one made).
        QAccessible::installFactory(&Widget::accessibleInterface);
        setWindowTitle(QStringLiteral("Orvella"));
        setAttribute(Qt::WA_AcceptTouchEvents);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_InputMethodEnabled);
        setFocusPolicy(Qt::StrongFocus);
        setMinimumSize(160, 160);
        resize(initialSize());
        // Qt folds the requests of one turn of the loop into one paint. Requests made while
        // painting (the layout pass moves views) are already part of the picture being drawn.
        m_window->setOnNeedsDisplay([this] {
            if (!m_painting) {
                update();
            }
        });
        m_window->setOnOrientationChanged([this] { takeWindowShape(); });
        m_window->setOnAccessibilityNotification(
            [bridge = std::weak_ptr(m_accessibility)](View& view, AccessibilityNotification notification) {
                if (const auto accessibility = bridge.lock()) {
                    accessibility->notify(view, notification);
                }
            });
    }

    ~Widget() override {
        m_window->setOnNeedsDisplay(nullptr);
        m_window->setOnOrientationChanged(nullptr);
        m_window->setOnAccessibilityNotification(nullptr);
    }

    // Qt's accessibility asks this for the interface of every object it meets; the desktop window
    // of a host answers with the root of its view tree.
    static QAccessibleInterface* accessibleInterface(const QString&, QObject* object) {
        if (auto* widget = dynamic_cast<Widget*>(object)) {
            return new AccessibleWindowHost(widget, widget->m_accessibility);
        }
        return nullptr;
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const QScopedValueRollback painting(m_painting, true);
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        m_window->layoutIfNeeded();
        painter.translate(m_origin.x(), m_origin.y());
        painter.scale(m_zoom, m_zoom);
        painter.setClipRect(QRectF(0, 0, m_window->bounds().width(), m_window->bounds().height()));
        GraphicsContext context(painter);
        m_window->drawHierarchy(context);
    }

    void resizeEvent(QResizeEvent*) override {
        const bool wide = width() > height();
        if (wide != Window::isLandscapeOrientation(m_window->orientation())) {
            m_window->rotateToOrientation(wide ? InterfaceOrientation::LandscapeRight
                                               : InterfaceOrientation::Portrait);
        }
        updateZoom();
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (event->modifiers().testFlag(Qt::ControlModifier) &&
            (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
            const int target = event->key() == Qt::Key_Right
                                   ? turnedClockwise(m_window->orientation())
                                   : turnedCounterClockwise(m_window->orientation());
            turnDevice(target);
            return;
        }
        // Quitting closes the window, which ends the program through its normal path.
        if (event->modifiers().testFlag(Qt::ControlModifier) &&
            (event->key() == Qt::Key_Q || event->key() == Qt::Key_W)) {
            close();
            return;
        }
        if (m_window->keyInput(keyInput(KeyInput::Type::Press, *event))) {
            update();
            return;
        }
        QWidget::keyPressEvent(event);
    }

    void keyReleaseEvent(QKeyEvent* event) override {
        if (!m_window->keyInput(keyInput(KeyInput::Type::Release, *event))) {
            QWidget::keyReleaseEvent(event);
        }
    }

    void inputMethodEvent(QInputMethodEvent* event) override {
        KeyInput input;
        input.type = KeyInput::Type::InputMethod;
        input.commitString = event->commitString();
        input.preeditString = event->preeditString();
        if (m_window->keyInput(input)) {
            update();
        }
    }

    static KeyInput keyInput(KeyInput::Type type, const QKeyEvent& event) {
        KeyInput input;
        input.type = type;
        input.key = event.key();
        input.modifiers = static_cast<int>(event.modifiers().toInt());
        input.text = event.text();
        input.autoRepeat = event.isAutoRepeat();
        return input;
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (!isRealMouse(*event) || event->button() != Qt::LeftButton) {
            return;
        }
        m_mouseDown = true;
        m_window->fingerDown(mouseFinger, toWindow(event->position()));
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        if (isRealMouse(*event) && m_mouseDown) {
            m_window->fingerMoved(mouseFinger, toWindow(event->position()));
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (isRealMouse(*event) && m_mouseDown && event->button() == Qt::LeftButton) {
            m_mouseDown = false;
            m_window->fingerUp(mouseFinger, toWindow(event->position()));
        }
    }

    void wheelEvent(QWheelEvent* event) override {
        if (event->modifiers().testFlag(Qt::ControlModifier)) {
            // One notch of a wheel (120) zooms by about a fifth.
            const double factor = std::pow(2.0, event->angleDelta().y() / 480.0);
            m_window->pinchAt(toWindow(event->position()), factor);
            event->accept();
            return;
        }
        // The pages glide on by themselves once the fingers leave the touchpad.
        if (event->phase() == Qt::ScrollMomentum) {
            event->accept();
            return;
        }
        // A touchpad gives pixels, a wheel eighths of a degree (120 a notch); both are turned into
        // the distance a finger would move for the same scroll.
        const QPointF movement = event->pixelDelta().isNull()
                                     ? QPointF(event->angleDelta()) / 120.0 * WheelScrolling::notch
                                     : QPointF(event->pixelDelta()) / m_zoom;
        // A wheel that turns in steps gives whole notches and no pixels.
        const bool notched = event->pixelDelta().isNull() && event->angleDelta().x() % 120 == 0 &&
                             event->angleDelta().y() % 120 == 0;
        m_window->wheelScrolling().scroll(toWindow(event->position()), Point(movement.x(), movement.y()),
                                          wheelPhase(event->phase()), notched);
        event->accept();
    }

    static WheelScrolling::Phase wheelPhase(Qt::ScrollPhase phase) {
        switch (phase) {
        case Qt::ScrollBegin:
            return WheelScrolling::Phase::Begin;
        case Qt::ScrollUpdate:
            return WheelScrolling::Phase::Update;
        case Qt::ScrollEnd:
            return WheelScrolling::Phase::End;
        case Qt::NoScrollPhase:
        case Qt::ScrollMomentum:
            break;
        }
        return WheelScrolling::Phase::None;
    }

    bool event(QEvent* event) override {
        switch (event->type()) {
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
            handleTouch(static_cast<QTouchEvent&>(*event));
            return true;
        case QEvent::NativeGesture:
            handleNativeGesture(static_cast<QNativeGestureEvent&>(*event));
            return true;
        case QEvent::WindowActivate:
            m_application.becomeActive();
            break;
        case QEvent::WindowDeactivate:
            m_application.resignActive();
            break;
        case QEvent::WindowStateChange:
            if (isMinimized()) {
                m_application.enterBackground();
            } else if (isActiveWindow()) {
                m_application.becomeActive();
            }
            break;
        default:
            break;
        }
        return QWidget::event(event);
    }

private:
    QSize initialSize() const {
        const Size points = m_window->bounds().size();
        const double scale = Screen::main().scale();
        QSize size(int(std::lround(points.width() * scale)), int(std::lround(points.height() * scale)));
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QSize available = screen->availableGeometry().size() * 9 / 10;
            if (!available.isEmpty()) {
                size = size.scaled(size.boundedTo(available), Qt::KeepAspectRatio);
            }
        }
        return size;
    }

    void updateZoom() {
        const Size points = m_window->bounds().size();
        m_zoom = std::min(width() / points.width(), height() / points.height());
        m_origin =
            Point((width() - points.width() * m_zoom) / 2.0, (height() - points.height() * m_zoom) / 2.0);
        m_accessibility->setPlacement(m_zoom, m_origin);
        update();
    }

    void turnDevice(int orientation) { m_window->rotateToOrientation(orientation); }

    // The desktop window turns on its side with the content (whether the device turned or the
    // screen went back to portrait by itself), so the content keeps its zoom.
    void takeWindowShape() {
        const bool wide = width() > height();
        if (wide != Window::isLandscapeOrientation(m_window->orientation())) {
            resize(height(), width());
        }
        updateZoom();
    }

    Point toWindow(QPointF position) const {
        return Point((position.x() - m_origin.x()) / m_zoom, (position.y() - m_origin.y()) / m_zoom);
    }

    static bool isRealMouse(const QMouseEvent& event) {
        return event.source() == Qt::MouseEventNotSynthesized;
    }

    void handleTouch(QTouchEvent& event) {
        for (const QEventPoint& point : event.points()) {
            const int finger = firstTouchScreenFinger + point.id();
            const Point location = toWindow(point.position());
            if (event.type() == QEvent::TouchCancel) {
                m_window->fingerCancelled(finger);
                continue;
            }
            switch (point.state()) {
            case QEventPoint::Pressed:
                m_window->fingerDown(finger, location);
                break;
            case QEventPoint::Updated:
                m_window->fingerMoved(finger, location);
                break;
            case QEventPoint::Released:
                m_window->fingerUp(finger, location);
                break;
            default:
                break;
            }
        }
        event.accept();
    }

    void handleNativeGesture(QNativeGestureEvent& event) {
        if (event.gestureType() == Qt::ZoomNativeGesture) {
            m_window->pinchAt(toWindow(event.position()), 1.0 + event.value());
        }
        event.accept();
    }

    std::shared_ptr<Window> m_window;
    Application& m_application;
    bool m_painting = false;
    double m_zoom = 1.0;
    Point m_origin;
    bool m_mouseDown = false;
    std::shared_ptr<AccessibilityBridge> m_accessibility;
};

WindowHost::WindowHost(std::shared_ptr<Window> window, Application& application)
    : m_widget(std::make_unique<Widget>(std::move(window), application)) {}

WindowHost::~WindowHost() = default;

void WindowHost::show() {
    m_widget->show();
}

void WindowHost::raise() {
    m_widget->setWindowState((m_widget->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    m_widget->show();
    m_widget->raise();
    m_widget->activateWindow();
}

QWidget& WindowHost::widget() {
    return *m_widget;
}
