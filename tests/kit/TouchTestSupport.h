#pragma once

#include "QtPrinters.h"
#include "testing/ManualRunLoop.h"
#include "kit/GestureRecognizer.h"
#include "kit/TouchEvent.h"
#include "kit/TouchRouter.h"
#include "kit/View.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <ostream>

// A view that writes every touch hook it gets into a shared log, as "tag:phase" with the
// touch's location in the view for begins and ends; it passes nothing on.
class TouchSpyView : public View {
public:
    TouchSpyView(const Rect& frame, QString name, QStringList& log)
        : View(frame), m_name(std::move(name)), m_log(log) {}

    bool passOn = false;

protected:
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override {
        record("began", touches);
        if (passOn) {
            View::touchesBegan(touches, event);
        }
    }
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override {
        record("moved", touches);
        if (passOn) {
            View::touchesMoved(touches, event);
        }
    }
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override {
        record("ended", touches);
        if (passOn) {
            View::touchesEnded(touches, event);
        }
    }
    void touchesCancelled(const TouchSet& touches, const TouchEvent& event) override {
        record("cancelled", touches);
        if (passOn) {
            View::touchesCancelled(touches, event);
        }
    }

private:
    void record(const char* phase, const TouchSet& touches) {
        QString entry = m_name + QLatin1Char(':') + QLatin1String(phase);
        if (touches.size() > 1) {
            entry += QStringLiteral("x%1").arg(touches.size());
        }
        m_log.append(entry);
    }

    QString m_name;
    QStringList& m_log;
};

// Installs a manual main loop for as long as it lives.
class ManualMainLoop {
public:
    ManualMainLoop() { RunLoop::setMain(m_loop); }
    ~ManualMainLoop() { RunLoop::setMain(nullptr); }

protected:
    std::shared_ptr<ManualRunLoop> m_loop =
        std::make_shared<ManualRunLoop>(Date::withTimeIntervalSince1970(1000.0));
};

// A manual main loop, a 320 × 480 root view and its router, and helpers that build and deliver
// events as the window would. The loop outlives the router, which cancels the touches left in
// play when it goes.
class TouchFixture : public ManualMainLoop {
public:
    void down(int finger, Point p) { router.deliver(router.touchBegan(finger, p)); }
    void move(int finger, Point p) { router.deliver(router.touchMoved(finger, p)); }
    void up(int finger, Point p) { router.deliver(router.touchEnded(finger, p)); }
    void cancel(int finger) { router.deliver(router.touchCancelled(finger)); }
    void advance(double seconds) { m_loop->advance(seconds); }
    // Moves one finger from `from` to `to` in `steps` equal moves, `interval` seconds apart.
    void drag(int finger, Point from, Point to, int steps, double interval) {
        for (int i = 1; i <= steps; ++i) {
            advance(interval);
            const double f = static_cast<double>(i) / steps;
            move(finger, from + (to - from) * f);
        }
    }

    QString log() const { return m_log.join(QLatin1Char(' ')); }
    void clearLog() { m_log.clear(); }

    QStringList m_log;
    std::shared_ptr<View> root = std::make_shared<View>(Rect(0, 0, 320, 480));
    TouchRouter router{root};
};

// Logs the recogniser's states as "name:state" into the fixture's log.
inline const char* stateName(GestureRecognizer::State state) {
    switch (state) {
    case GestureRecognizer::State::Possible:
        return "possible";
    case GestureRecognizer::State::Began:
        return "began";
    case GestureRecognizer::State::Changed:
        return "changed";
    case GestureRecognizer::State::Ended:
        return "ended";
    case GestureRecognizer::State::Cancelled:
        return "cancelled";
    case GestureRecognizer::State::Failed:
        return "failed";
    }
    return "?";
}

template <typename Recognizer> std::shared_ptr<Recognizer> logged(const QString& name, QStringList& log) {
    auto recognizer = std::make_shared<Recognizer>();
    recognizer->onAction = [name, &log](GestureRecognizer& r) {
        log.append(name + QLatin1Char(':') + QLatin1String(stateName(r.state())));
    };
    return recognizer;
}
