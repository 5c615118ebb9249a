#pragma once

#include "foundation/Date.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <memory>
#include <optional>

class AppSettings;
class EventService;
class LoadingIndicator;
class WeekScrollViewController;
struct ICalendarParseResult;

// Opens .ics files for import, one after the other: each file is read on the global queue (a
// loading indicator turns over the front-most screen meanwhile), then shown in the import screen
// presented over the front-most screen, and after an import the week screen shows the week of
// the earliest imported event. A file that cannot be read at all is named with its reason in an
// alert instead. Files given while one is read or shown wait for their turn. Main thread; make it
// with std::make_shared.
class ImportCoordinator : public std::enable_shared_from_this<ImportCoordinator> {
public:
    ImportCoordinator(std::weak_ptr<WeekScrollViewController> weekScreen, EventService& eventService,
                      AppSettings& appSettings);
    ~ImportCoordinator();
    ImportCoordinator(const ImportCoordinator&) = delete;
    ImportCoordinator& operator=(const ImportCoordinator&) = delete;

    // Absolute paths of local files.
    void openFiles(const QStringList& paths);
    // Whether a file is being read now (a picture of the window waits for its screen).
    bool isReading() const { return m_reading; }

private:
    void openNext();
    void fileRead(const QString& path, ICalendarParseResult&& parsed);
    void finished(std::optional<Date> firstImportedStart);
    void showLoadingIndicator();
    void hideLoadingIndicator();

    std::weak_ptr<WeekScrollViewController> m_weekScreen;
    EventService* m_eventService;
    AppSettings* m_appSettings;
    std::deque<QString> m_pending;
    bool m_reading = false;
    bool m_showing = false;
    std::shared_ptr<LoadingIndicator> m_loadingIndicator;
};
