#include "harness/ScreenHarness.h"
#include "kit/KeyInput.h"

#include "app/OrvellaApp.h"
#include "app/OrvellaAppDelegate.h"
#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/DateUtilities.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKEventStore.h"
#include "core/sync/AccountSync.h"
#include "core/sync/MemoryKeyring.h"
#include "foundation/DispatchQueue.h"
#include "foundation/Locale.h"
#include "foundation/Localization.h"
#include "foundation/Paths.h"
#include "foundation/UserDefaults.h"
#include "kit/DeviceDependentValues.h"
#include "kit/Screen.h"
#include "kit/View.h"
#include "kit/Window.h"
#include "testing/ManualRunLoop.h"

#include "SamplePictures.h"

#include <cmath>
#include <stdexcept>

namespace {

void useZone(const TimeZone& zone) {
    TimeZone::setDefaultTimeZone(zone);
    DateUtilities::reloadCalendar();
    DateTimeFormatter::instance().reset();
}

} // namespace

ScreenHarness::ScreenHarness() : ScreenHarness(Options()) {}

ScreenHarness::ScreenHarness(const Options& options)
    : m_options(options), m_loop(std::make_shared<ManualRunLoop>(options.now)),
      m_previousZone(TimeZone::defaultTimeZone()), m_previousLocale(Locale::currentLocaleIdentifier()),
      m_previousScale(Screen::main().scale()) {
    if (!m_folder.isValid()) {
        throw std::runtime_error("ScreenHarness: no temporary folder");
    }
    Paths::setDataDirectory(m_folder.path());
    m_previousDefaults = UserDefaults::setStandardUserDefaults(
        std::make_shared<UserDefaults>(m_folder.filePath("settings.ini")));
    RunLoop::setMain(m_loop);
    DispatchQueue::setGlobalMode(DispatchQueue::Mode::Inline);
    Locale::setCurrentLocale(options.locale);
    if (const QString language = SamplePictures::language(); !language.isEmpty()) {
        Localization::useLanguage(language, m_translation);
    }
    const std::optional<TimeZone> zone = TimeZone::withName(options.timeZone);
    if (!zone) {
        throw std::invalid_argument("ScreenHarness: unknown time zone " + options.timeZone.toStdString());
    }
    useZone(*zone);
    Screen::main().setScale(options.scale);
    Screen::main().setIdiom(options.tablet ? Screen::Idiom::Tablet : Screen::Idiom::Phone);
    DeviceDependentValues::initValues();
    m_eventStore = std::make_shared<EKEventStore>(m_folder.filePath("events.sqlite"));
    m_eventService = std::make_shared<EventService>(m_eventStore);
    m_previousEventService = EventService::setSharedInstance(m_eventService);
    // The window's accounts, on this store and never the desktop's keyring.
    m_previousAccountSync = AccountSync::setSharedInstance(
        std::make_shared<AccountSync>(m_eventStore, std::make_shared<MemoryKeyring>()));
    m_application = std::make_unique<OrvellaApp>();
    m_window = std::make_shared<Window>();
}

ScreenHarness::~ScreenHarness() {
    m_application->setDelegate(nullptr);
    m_delegate.reset();
    m_window.reset();
    m_application.reset();
    m_loop->runUntilIdle();
    EventService::setSharedInstance(m_previousEventService);
    AccountSync::setSharedInstance(m_previousAccountSync);
    m_eventService.reset();
    m_eventStore.reset();
    Screen::main().setIdiom(Screen::Idiom::Phone);
    Screen::main().setScale(m_previousScale);
    useZone(m_previousZone);
    Locale::setCurrentLocale(m_previousLocale);
    DispatchQueue::setGlobalMode(DispatchQueue::Mode::Threads);
    RunLoop::setMain(nullptr);
    UserDefaults::setStandardUserDefaults(m_previousDefaults);
    Paths::setDataDirectory(QString());
}

void ScreenHarness::launch(const std::shared_ptr<View>& rootView) {
    m_delegate = std::make_unique<OrvellaAppDelegate>(m_window, rootView);
    m_application->setDelegate(m_delegate.get());
    m_application->finishLaunching();
    m_application->becomeActive();
    runUntilIdle();
}

void ScreenHarness::launch(const std::shared_ptr<ViewController>& rootViewController) {
    m_delegate = std::make_unique<OrvellaAppDelegate>(m_window, rootViewController);
    m_application->setDelegate(m_delegate.get());
    m_application->finishLaunching();
    m_application->becomeActive();
    runUntilIdle();
}

void ScreenHarness::advance(double seconds) {
    m_loop->advance(seconds);
}

void ScreenHarness::runUntilIdle() {
    m_loop->runUntilIdle();
}

void ScreenHarness::touchDown(Point point, int finger) {
    m_window->fingerDown(finger, point);
    runUntilIdle();
}

void ScreenHarness::touchMove(Point point, int finger) {
    m_window->fingerMoved(finger, point);
    runUntilIdle();
}

void ScreenHarness::touchUp(Point point, int finger) {
    m_window->fingerUp(finger, point);
    runUntilIdle();
}

void ScreenHarness::tap(Point point) {
    touchDown(point);
    advance(0.05);
    touchUp(point);
}

void ScreenHarness::type(const QString& text) {
    for (const QChar character : text) {
        KeyInput input;
        input.key =
            character.isLetter() ? Qt::Key_A + (character.toUpper().unicode() - 'A') : Qt::Key_unknown;
        input.text = QString(character);
        window().keyInput(input);
    }
}

void ScreenHarness::drag(Point from, Point to, double duration, int steps, bool release) {
    touchDown(from);
    const int count = std::max(steps, 1);
    for (int i = 1; i <= count; ++i) {
        advance(duration / count);
        const double t = double(i) / count;
        touchMove(Point(from.x() + (to.x() - from.x()) * t, from.y() + (to.y() - from.y()) * t));
    }
    if (release) {
        touchUp(to);
    }
}

void ScreenHarness::longPress(Point point, double duration) {
    touchDown(point);
    advance(duration);
    touchUp(point);
}

void ScreenHarness::swipe(Point from, Point to) {
    drag(from, to, 0.1, 5);
}

void ScreenHarness::pinch(Point center, double scale, double startDistance, double duration, int steps) {
    const auto fingersAt = [&](double distance) {
        return std::pair(Point(center.x() - distance / 2.0, center.y()),
                         Point(center.x() + distance / 2.0, center.y()));
    };
    auto [left, right] = fingersAt(startDistance);
    touchDown(left, 0);
    touchDown(right, 1);
    const int count = std::max(steps, 1);
    for (int i = 1; i <= count; ++i) {
        advance(duration / count);
        const double distance = startDistance * (1.0 + (scale - 1.0) * double(i) / count);
        std::tie(left, right) = fingersAt(distance);
        touchMove(left, 0);
        touchMove(right, 1);
    }
    touchUp(left, 0);
    touchUp(right, 1);
}

Image ScreenHarness::render() {
    return render(*m_window);
}

Image ScreenHarness::render(View& view) {
    return view.renderToImage(m_options.scale);
}

bool ScreenHarness::savePng(const QString& path) {
    return render().savePng(path);
}

bool ScreenHarness::savePng(View& view, const QString& path) {
    return render(view).savePng(path);
}
