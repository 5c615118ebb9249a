#pragma once

#include "foundation/Date.h"
#include "foundation/TimeZone.h"
#include "kit/Image.h"
#include "kit/Point.h"

#include <QString>
#include <QTemporaryDir>
#include <QTranslator>

#include <memory>

class EKEventStore;
class EventService;
class AccountSync;
class ManualRunLoop;
class OrvellaApp;
class OrvellaAppDelegate;
class UserDefaults;
class View;
class ViewController;
class Window;

// Assembles the application as the executable does, but headless: a temporary data folder and
// settings file, the manual clock, a fixed time zone and locale, and background work run in
// place. Tests drive it with touches at window points and by stepping time, and render any
// view to a PNG. One harness at a time; it restores the process-wide state it changed.
class ScreenHarness {
public:
    struct Options {
        QString timeZone = QStringLiteral("Europe/Berlin");
        QString locale = QStringLiteral("en_US");
        // 2026-12-08 10:00 in Berlin.
        Date now = Date::withTimeIntervalSince1970(1'796'720'400.0);
        double scale = 2.0;
        bool tablet = false;
    };

    ScreenHarness();
    explicit ScreenHarness(const Options& options);
    ~ScreenHarness();
    ScreenHarness(const ScreenHarness&) = delete;
    ScreenHarness& operator=(const ScreenHarness&) = delete;

    // Launches with the content below the status bar and makes the application active.
    void launch(const std::shared_ptr<View>& rootView);
    // The same with a screen as the window's root, as the executable launches.
    void launch(const std::shared_ptr<ViewController>& rootViewController);

    OrvellaApp& application() { return *m_application; }
    OrvellaAppDelegate& delegate() { return *m_delegate; }
    Window& window() { return *m_window; }
    ManualRunLoop& loop() { return *m_loop; }
    QString dataDirectory() const { return m_folder.path(); }
    // The event store in the data folder, behind the shared event service.
    EKEventStore& eventStore() { return *m_eventStore; }
    EventService& eventService() { return *m_eventService; }

    // Time.
    void advance(double seconds);
    void runUntilIdle();

    // Touches at window points. Each moves the clock as a finger would take.
    void touchDown(Point point, int finger = 0);
    void touchMove(Point point, int finger = 0);
    void touchUp(Point point, int finger = 0);
    void tap(Point point);
    // From `from` to `to` in `steps` moves spread over `duration` seconds, then up unless
    // `release` is false (a drag held in the middle).
    void drag(Point from, Point to, double duration = 0.3, int steps = 10, bool release = true);
    void longPress(Point point, double duration = 1.0);
    // A quick flick: `to` reached in 0.1 seconds.
    void swipe(Point from, Point to);
    // Two fingers around `center`, starting `startDistance` apart and ending at `scale` times
    // that, in `steps` moves over `duration` seconds.
    void pinch(Point center, double scale, double startDistance = 100.0, double duration = 0.3,
               int steps = 10);
    // Typing on the computer's keyboard into the first responder, one key a character.
    void type(const QString& text);

    // Lays out and draws the whole window, or one view, at the harness scale.
    Image render();
    Image render(View& view);
    bool savePng(const QString& path);
    bool savePng(View& view, const QString& path);

private:
    Options m_options;
    QTemporaryDir m_folder;
    std::shared_ptr<ManualRunLoop> m_loop;
    std::shared_ptr<UserDefaults> m_previousDefaults;
    std::shared_ptr<EKEventStore> m_eventStore;
    std::shared_ptr<EventService> m_eventService;
    std::shared_ptr<EventService> m_previousEventService;
    std::shared_ptr<AccountSync> m_previousAccountSync;
    TimeZone m_previousZone;
    QString m_previousLocale;
    // The translation of the pictures' language, when one is asked for.
    QTranslator m_translation;
    double m_previousScale;
    std::unique_ptr<OrvellaApp> m_application;
    std::shared_ptr<Window> m_window;
    std::unique_ptr<OrvellaAppDelegate> m_delegate;
};
