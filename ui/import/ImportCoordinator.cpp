#include "ui/import/ImportCoordinator.h"

#include "core/calendar/Week.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKEventStore.h"
#include "core/eventstore/ICalendarReader.h"
#include "foundation/DispatchQueue.h"
#include "foundation/Localization.h"
#include "kit/AlertView.h"
#include "kit/LoadingIndicator.h"
#include "kit/NavigationController.h"
#include "ui/import/ImportModel.h"
#include "ui/import/ImportViewController.h"
#include "ui/week/WeekScrollViewController.h"

namespace {

// The screen in front: the given one, or the last of those presented over it.
std::shared_ptr<ViewController> frontmostScreenOver(std::shared_ptr<ViewController> screen) {
    while (std::shared_ptr<ViewController> over = screen->modalViewController()) {
        screen = std::move(over);
    }
    return screen;
}

} // namespace

ImportCoordinator::ImportCoordinator(std::weak_ptr<WeekScrollViewController> weekScreen,
                                     EventService& eventService, AppSettings& appSettings)
    : m_weekScreen(std::move(weekScreen)), m_eventService(&eventService), m_appSettings(&appSettings) {}

ImportCoordinator::~ImportCoordinator() {
    hideLoadingIndicator();
}

void ImportCoordinator::openFiles(const QStringList& paths) {
    m_pending.insert(m_pending.end(), paths.begin(), paths.end());
    openNext();
}

void ImportCoordinator::openNext() {
    if (m_reading || m_showing || m_pending.empty()) {
        return;
    }
    const QString path = m_pending.front();
    m_pending.pop_front();
    m_reading = true;
    showLoadingIndicator();
    // The reader bounds the file's size and the time it takes; the store is only read from.
    const std::weak_ptr<ImportCoordinator> weakSelf = weak_from_this();
    EKEventStore* store = &m_eventService->eventStore();
    DispatchQueue::global().async([weakSelf, store, path] {
        auto parsed = std::make_shared<ICalendarParseResult>(ICalendarReader(*store).readFile(path));
        DispatchQueue::main().async([weakSelf, path, parsed] {
            if (const auto self = weakSelf.lock()) {
                self->fileRead(path, std::move(*parsed));
            }
        });
    });
}

void ImportCoordinator::fileRead(const QString& path, ICalendarParseResult&& parsed) {
    m_reading = false;
    hideLoadingIndicator();
    const std::shared_ptr<WeekScrollViewController> weekScreen = m_weekScreen.lock();
    if (!weekScreen) {
        return;
    }
    if (parsed.error) {
        std::make_shared<AlertView>(localizedString(QStringLiteral("Cannot Open File")),
                                    parsed.error->message(), nullptr, localizedString(QStringLiteral("OK")))
            ->show();
        openNext();
        return;
    }
    auto screen = std::make_shared<ImportViewController>(
        std::make_shared<ImportModel>(path, std::move(parsed), *m_eventService, *m_appSettings));
    const std::weak_ptr<ImportCoordinator> weakSelf = weak_from_this();
    screen->onFinished = [weakSelf](std::optional<Date> firstImportedStart) {
        if (const auto self = weakSelf.lock()) {
            self->finished(firstImportedStart);
        }
    };
    m_showing = true;
    // Over whatever shows now: a screen that presents one already would ignore another.
    frontmostScreenOver(weekScreen)
        ->presentModalViewController(std::make_shared<NavigationController>(screen), true);
}

void ImportCoordinator::finished(std::optional<Date> firstImportedStart) {
    m_showing = false;
    if (const auto weekScreen = m_weekScreen.lock(); weekScreen && firstImportedStart) {
        weekScreen->jumpToWeek(Week(*firstImportedStart));
    }
    openNext();
}

void ImportCoordinator::showLoadingIndicator() {
    const auto weekScreen = m_weekScreen.lock();
    if (!weekScreen) {
        return;
    }
    const std::shared_ptr<ViewController> front = frontmostScreenOver(weekScreen);
    if (!m_loadingIndicator) {
        m_loadingIndicator = std::make_shared<LoadingIndicator>(LoadingIndicator::Style::Gray);
    }
    const std::shared_ptr<View>& host = front->view();
    host->addSubview(m_loadingIndicator);
    m_loadingIndicator->setCenter(host->bounds().center());
    m_loadingIndicator->startAnimating();
}

void ImportCoordinator::hideLoadingIndicator() {
    if (m_loadingIndicator) {
        m_loadingIndicator->stopAnimating();
        m_loadingIndicator->removeFromSuperview();
    }
}
