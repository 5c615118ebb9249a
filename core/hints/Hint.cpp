#include "core/hints/Hint.h"

#include "core/hints/HintPresenter.h"
#include "core/objectstore/ObjectStoreManager.h"
#include "core/objectstore/PersistentClass.h"
#include "core/settings/AppSettings.h"
#include "core/settings/HintsSetting.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "foundation/Paths.h"
#include "foundation/RunLoop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <optional>

namespace {

const QString databaseName = QStringLiteral("orvella.sqlite");

struct CatalogueEntry {
    const char* identifier;
    const char* text;
    bool onlyShowFirstTime;
    bool alignsOnTop;
};

// In the order the hints are created.
constexpr CatalogueEntry catalogue[] = {
    {"quickMoveHint", localizationKey("Tap and hold on an event to quickly move it to another day."), false,
     false},
    {"jumpToDateHint",
     localizationKey("Tap on the week/year button at the top to directly jump to the desired week."), false,
     false},
    {"pinchDayHint",
     localizationKey("You can use a pinch gesture (zoom with two fingers) on a day to list all events."),
     false, false},
    {"addEventHint", localizationKey("You can also tap on any empty space to add an event."), false, false},
    {"jumpToDateButtonHint",
     localizationKey("You can also tap on the week/year button at the top to jump to the desired week."),
     false, false},
    {"searchHint", localizationKey("You can also swipe up to activate search."), false, false},
    {"moreDetailsHint",
     localizationKey("The [More] button opens the full event editor. Use it to set additional options for "
                     "the event, such "
                     "as its address and notes."),
     true, true},
    {"headerHint", localizationKey("To create additional events for the same day, tap on the day header."),
     true, false},
    {"holidaysHint", localizationKey("Events shown:\nLonger than 1 day\n(for example holidays)."), true,
     false},
};

constexpr float catalogueDuration = 10.0f;
// Counting stops here: a hint is shown at most on the 12th trigger.
constexpr int lastCountedTrigger = 13;

struct HintsState {
    bool enabled = true;
    std::optional<QString> shippedDatabasePath;
    std::shared_ptr<HintPresenter> presenter;
};

HintsState& hintsState() {
    static HintsState hints;
    return hints;
}

} // namespace

Hint::Hint(QString text, float duration, QString identifier)
    : m_identifier(std::move(identifier)), m_text(std::move(text)), m_duration(duration) {}

const PersistentClass& Hint::staticPersistentClass() {
    static const PersistentClass persistentClass(
        QStringLiteral("Hint"), nullptr,
        {
            PersistentProperties::make(QStringLiteral("identifier"), &Hint::m_identifier),
            PersistentProperties::make(QStringLiteral("text"), &Hint::m_text),
            PersistentProperties::make(QStringLiteral("duration"), &Hint::m_duration),
            PersistentProperties::make(QStringLiteral("invalid"), &Hint::m_invalid),
            PersistentProperties::make(QStringLiteral("triggerCount"), &Hint::m_triggerCount),
            PersistentProperties::make(QStringLiteral("onlyShowFirstTime"), &Hint::m_onlyShowFirstTime),
        },
        [] { return std::make_shared<Hint>(); });
    return persistentClass;
}

const PersistentClass& Hint::persistentClass() const {
    return staticPersistentClass();
}

QString Hint::writableDatabasePath() {
    return Paths::dataFilePath(databaseName);
}

QString Hint::shippedDatabasePath() {
    if (hintsState().shippedDatabasePath) {
        return *hintsState().shippedDatabasePath;
    }
    const QDir folder(QCoreApplication::applicationDirPath());
    for (const QString& candidate :
         {folder.filePath(databaseName), folder.filePath(QStringLiteral("resources/") + databaseName)}) {
        if (QFile::exists(candidate)) {
            return candidate;
        }
    }
    return QString();
}

void Hint::setShippedDatabasePath(const QString& path) {
    hintsState().shippedDatabasePath = path;
}

void Hint::createEditableCopyOfDatabaseIfNeeded() {
    const QString path = writableDatabasePath();
    if (!QFile::exists(path)) {
        const QString shipped = shippedDatabasePath();
        if (!shipped.isEmpty()) {
            QFile source(shipped);
            if (!source.copy(path)) {
                Log::error(QStringLiteral("hints"),
                           QStringLiteral("Failed to create writable database file with message '%1'.")
                               .arg(source.errorString()));
            } else {
                // A file installed read-only stays read-only when copied.
                QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner | QFile::ReadOwner);
            }
        }
    }
    ObjectStoreManager::sharedManager().setDatabaseFilepath(path);
    hintsState().enabled = AppSettings::instance().loadHintsEnabled();
}

void Hint::loadHints() {
    createEditableCopyOfDatabaseIfNeeded();
    for (const CatalogueEntry& entry : catalogue) {
        const auto hint =
            hintWithText(localizedString(QString::fromUtf8(entry.text)), static_cast<int>(catalogueDuration),
                         QString::fromUtf8(entry.identifier));
        if (entry.onlyShowFirstTime) {
            hint->setOnlyShowFirstTime(true);
        }
        if (entry.alignsOnTop) {
            hint->setAlignsOnTop(true);
        }
    }
}

std::shared_ptr<Hint> Hint::hintWithText(const QString& text, int duration, const QString& identifier) {
    if (auto stored = hintByIdentifier(identifier)) {
        stored->setText(text);
        stored->setDuration(static_cast<float>(duration));
        return stored;
    }
    auto hint = std::make_shared<Hint>(text, static_cast<float>(duration), identifier);
    hint->save();
    return hint;
}

std::shared_ptr<Hint> Hint::hintByIdentifier(const QString& identifier) {
    return std::dynamic_pointer_cast<Hint>(
        staticPersistentClass().findFirstByCriteria(QStringLiteral("where identifier = ?"), {identifier}));
}

void Hint::setEnabled(bool enabled) {
    hintsState().enabled = enabled;
    if (!enabled) {
        for (const auto& stored : staticPersistentClass().allObjects()) {
            if (const auto hint = std::dynamic_pointer_cast<Hint>(stored)) {
                hint->reset();
            }
        }
    }
}

bool Hint::hintsEnabled() {
    return hintsState().enabled;
}

void Hint::hiddenAnyOpenHint() {
    if (hintsState().presenter) {
        hintsState().presenter->hideHint();
    }
}

std::shared_ptr<HintPresenter> Hint::hintView() {
    return hintsState().presenter;
}

void Hint::setPresenter(std::shared_ptr<HintPresenter> presenter) {
    hintsState().presenter = std::move(presenter);
}

void Hint::connectSetting(HintsSetting& setting) {
    setting.toSetHintsEnabled = [](bool enabled) { Hint::setEnabled(enabled); };
}

void Hint::trigger() {
    if (!hintsState().enabled || m_triggerCount >= lastCountedTrigger) {
        return;
    }
    setTriggerCount(m_triggerCount + 1);
    save();
    if (m_invalid) {
        return;
    }
    if (hintsState().presenter && hintsState().presenter->isShowingHint()) {
        return;
    }
    const bool due = m_onlyShowFirstTime ? m_triggerCount == 1
                                         : m_triggerCount == 3 || m_triggerCount == 7 || m_triggerCount == 12;
    if (due) {
        show();
    }
}

void Hint::show() {
    const std::shared_ptr<HintPresenter> presenter = hintsState().presenter;
    if (!presenter) {
        Log::debug(QStringLiteral("hints"),
                   QStringLiteral("No hint panel to show '%1' in").arg(m_identifier));
        return;
    }
    auto self = std::static_pointer_cast<Hint>(weak_from_this().lock());
    if (!self) {
        return;
    }
    presenter->showHint(self);
    // A plain delayed hide: it is not cancelled when the panel closes earlier or shows another
    // hint meanwhile.
    std::weak_ptr<HintPresenter> weakPresenter = presenter;
    RunLoop::main().scheduleTimer(m_duration, false, [weakPresenter] {
        if (const auto panel = weakPresenter.lock()) {
            panel->hideHint();
        }
    });
}

void Hint::invalidate() {
    if (hintsState().enabled && !m_invalid) {
        setInvalid(true);
        save();
    }
}

void Hint::reset() {
    setInvalid(false);
    setTriggerCount(0);
    save();
}
