#include "core/hints/Hint.h"
#include "core/hints/HintPresenter.h"
#include "core/objectstore/ObjectStoreManager.h"
#include "core/objectstore/PersistentClass.h"
#include "core/settings/AppSettings.h"
#include "core/settings/HintsSetting.h"
#include "core/sqlite/SqliteStatement.h"
#include "testing/LogCapture.h"
#include "testing/ManualRunLoop.h"
#include "foundation/Paths.h"
#include "foundation/UserDefaults.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The panel as the hints see it: it records what it was asked to show.
class FakePresenter : public HintPresenter {
public:
    bool isShowingHint() const override { return visible; }
    void showHint(const std::shared_ptr<Hint>& hint) override {
        shown.append(hint->identifier());
        current = hint;
        visible = true;
    }
    void hideHint() override {
        ++hides;
        visible = false;
    }

    QStringList shown;
    std::shared_ptr<Hint> current;
    bool visible = false;
    int hides = 0;
};

// Each test runs in its own data folder with empty settings, no shipped database, a manual main
// loop and a fake panel.
class HintTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        Paths::setDataDirectory(m_folder.filePath(QStringLiteral("data")));
        m_previousDefaults = UserDefaults::setStandardUserDefaults(
            std::make_shared<UserDefaults>(m_folder.filePath(QStringLiteral("settings.ini"))));
        RunLoop::setMain(m_loop);
        Hint::setShippedDatabasePath(QString());
        Hint::setPresenter(m_presenter);
    }

    void TearDown() override {
        Hint::setPresenter(nullptr);
        ObjectStoreManager::sharedManager().deleteDatabase();
        Hint::setShippedDatabasePath(QString());
        RunLoop::setMain(nullptr);
        UserDefaults::setStandardUserDefaults(m_previousDefaults);
        Paths::setDataDirectory(QString());
    }

    static std::shared_ptr<Hint> hint(const char* identifier) {
        auto found = Hint::hintByIdentifier(QString::fromUtf8(identifier));
        EXPECT_TRUE(found) << identifier;
        return found;
    }

    // The triggers (counted from 1) on which the panel was asked to show the hint, each shown
    // panel being closed again before the next trigger.
    std::vector<int> shownOnTriggers(const std::shared_ptr<Hint>& target, int triggers) {
        std::vector<int> shownOn;
        for (int trigger = 1; trigger <= triggers; ++trigger) {
            const auto before = m_presenter->shown.size();
            target->trigger();
            if (m_presenter->shown.size() > before) {
                shownOn.push_back(trigger);
                m_presenter->hideHint();
            }
        }
        return shownOn;
    }

    // A stored column of the hint row, read from the database rather than the object.
    static QString storedValue(const char* column, const char* identifier) {
        SqliteStatement query(
            ObjectStoreManager::sharedManager().connection(),
            QStringLiteral("SELECT %1 FROM hint WHERE identifier = ?").arg(QString::fromUtf8(column)));
        query.bind(1, QString::fromUtf8(identifier));
        return query.step() ? query.text(0) : QStringLiteral("no row");
    }

    QTemporaryDir m_folder;
    std::shared_ptr<UserDefaults> m_previousDefaults;
    std::shared_ptr<ManualRunLoop> m_loop = std::make_shared<ManualRunLoop>();
    std::shared_ptr<FakePresenter> m_presenter = std::make_shared<FakePresenter>();
};

TEST_F(HintTest, AFreshInstallCreatesTheCatalogueWithCountZero) {
    Hint::loadHints();
    EXPECT_EQ(Hint::writableDatabasePath(), m_folder.filePath(QStringLiteral("data/orvella.sqlite")));
    EXPECT_EQ(ObjectStoreManager::sharedManager().databaseFilepath(), Hint::writableDatabasePath());
    EXPECT_TRUE(QFile::exists(Hint::writableDatabasePath()));

    QStringList identifiers;
    for (const auto& stored : Hint::staticPersistentClass().allObjects()) {
        const auto each = std::dynamic_pointer_cast<Hint>(stored);
        identifiers.append(each->identifier());
        EXPECT_EQ(each->triggerCount(), 0);
        EXPECT_FALSE(each->invalid());
        EXPECT_EQ(each->duration(), 10.0f);
    }
    EXPECT_EQ(identifiers, (QStringList{"quickMoveHint", "jumpToDateHint", "pinchDayHint", "addEventHint",
                                        "jumpToDateButtonHint", "searchHint", "moreDetailsHint", "headerHint",
                                        "holidaysHint"}));

    EXPECT_EQ(hint("quickMoveHint")->text(), "Tap and hold on an event to quickly move it to another day.");
    EXPECT_EQ(hint("holidaysHint")->text(), "Events shown:\nLonger than 1 day\n(for example holidays).");
    EXPECT_EQ(
        hint("moreDetailsHint")->text(),
        "The [More] button opens the full event editor. Use it to set additional options for the event, such "
        "as its address and notes.");
    for (const char* firstTimeOnly : {"moreDetailsHint", "headerHint", "holidaysHint"}) {
        EXPECT_TRUE(hint(firstTimeOnly)->onlyShowFirstTime()) << firstTimeOnly;
    }
    EXPECT_FALSE(hint("searchHint")->onlyShowFirstTime());
    EXPECT_TRUE(hint("moreDetailsHint")->alignsOnTop());
    EXPECT_FALSE(hint("headerHint")->alignsOnTop());
    EXPECT_EQ(hint("quickMoveHint").get(), hint("quickMoveHint").get());
}

TEST_F(HintTest, LoadingAgainKeepsTheStoredCountsAndRows) {
    Hint::loadHints();
    hint("searchHint")->trigger();
    hint("searchHint")->trigger();
    PersistentClass::clearCache();

    Hint::loadHints();
    EXPECT_EQ(Hint::staticPersistentClass().count(), 9);
    EXPECT_EQ(hint("searchHint")->triggerCount(), 2);
    EXPECT_EQ(hint("searchHint")->pk(), 6);
}

TEST_F(HintTest, ANormalHintShowsOnTheThirdSeventhAndTwelfthTriggerAndStopsCountingAtThirteen) {
    Hint::loadHints();
    const auto search = hint("searchHint");
    EXPECT_EQ(shownOnTriggers(search, 20), (std::vector<int>{3, 7, 12}));
    EXPECT_EQ(search->triggerCount(), 13);
    EXPECT_EQ(storedValue("trigger_count", "searchHint"), "13");
    EXPECT_EQ(m_presenter->current.get(), search.get());

    PersistentClass::clearCache();
    EXPECT_EQ(hint("searchHint")->triggerCount(), 13);
}

TEST_F(HintTest, AFirstTimeOnlyHintShowsOnTheFirstTriggerOnly) {
    Hint::loadHints();
    EXPECT_EQ(shownOnTriggers(hint("headerHint"), 13), std::vector<int>{1});
    EXPECT_EQ(hint("headerHint")->triggerCount(), 13);
}

TEST_F(HintTest, AnInvalidHintCountsButNeverShows) {
    Hint::loadHints();
    const auto quickMove = hint("quickMoveHint");
    quickMove->invalidate();
    EXPECT_EQ(storedValue("invalid", "quickMoveHint"), "1");
    EXPECT_TRUE(shownOnTriggers(quickMove, 13).empty());
    EXPECT_EQ(quickMove->triggerCount(), 13);
    EXPECT_EQ(storedValue("trigger_count", "quickMoveHint"), "13");
}

TEST_F(HintTest, ATriggerWhileAnotherHintShowsCountsButDoesNotShow) {
    Hint::loadHints();
    const auto header = hint("headerHint");
    const auto search = hint("searchHint");
    header->trigger();
    ASSERT_EQ(m_presenter->shown, QStringList{"headerHint"});
    search->trigger();
    search->trigger();
    search->trigger();
    EXPECT_EQ(search->triggerCount(), 3);
    EXPECT_EQ(m_presenter->shown, QStringList{"headerHint"});

    // The third show comes on the seventh trigger once the panel is gone.
    m_presenter->hideHint();
    EXPECT_EQ(shownOnTriggers(search, 4), std::vector<int>{4});
}

TEST_F(HintTest, ThePanelHidesItselfAfterTheHintsDuration) {
    Hint::loadHints();
    hint("holidaysHint")->trigger();
    ASSERT_TRUE(m_presenter->visible);
    m_loop->advance(9.9);
    EXPECT_TRUE(m_presenter->visible);
    m_loop->advance(0.1);
    EXPECT_FALSE(m_presenter->visible);
    EXPECT_EQ(m_presenter->hides, 1);
}

TEST_F(HintTest, HiddenAnyOpenHintClosesThePanel) {
    Hint::loadHints();
    EXPECT_EQ(Hint::hintView(), m_presenter);
    hint("holidaysHint")->trigger();
    Hint::hiddenAnyOpenHint();
    EXPECT_FALSE(m_presenter->visible);

    Hint::setPresenter(nullptr);
    Hint::hiddenAnyOpenHint();
    // Without a panel a due hint still counts.
    hint("headerHint")->trigger();
    EXPECT_EQ(hint("headerHint")->triggerCount(), 1);
}

TEST_F(HintTest, SwitchingHintsOffResetsThemAndStopsCountingUntilSwitchedOnAgain) {
    Hint::loadHints();
    const auto search = hint("searchHint");
    shownOnTriggers(search, 5);
    hint("quickMoveHint")->invalidate();

    Hint::setEnabled(false);
    EXPECT_FALSE(Hint::hintsEnabled());
    EXPECT_EQ(search->triggerCount(), 0);
    EXPECT_EQ(storedValue("trigger_count", "searchHint"), "0");
    EXPECT_EQ(storedValue("invalid", "quickMoveHint"), "0");

    search->trigger();
    hint("headerHint")->trigger();
    hint("addEventHint")->invalidate();
    EXPECT_EQ(search->triggerCount(), 0);
    EXPECT_FALSE(hint("addEventHint")->invalid());
    EXPECT_EQ(m_presenter->shown.size(), 1) << "only the show before switching off";

    Hint::setEnabled(true);
    EXPECT_EQ(shownOnTriggers(search, 3), std::vector<int>{3});
}

TEST_F(HintTest, TheSettingsSwitchTurnsHintsOffAndOn) {
    Hint::loadHints();
    HintsSetting setting;
    Hint::connectSetting(setting);
    hint("searchHint")->trigger();

    setting.switchFlipped();
    EXPECT_FALSE(AppSettings::instance().loadHintsEnabled());
    EXPECT_FALSE(Hint::hintsEnabled());
    EXPECT_EQ(hint("searchHint")->triggerCount(), 0);

    setting.switchFlipped();
    EXPECT_TRUE(Hint::hintsEnabled());
    hint("searchHint")->trigger();
    EXPECT_EQ(hint("searchHint")->triggerCount(), 1);
}

TEST_F(HintTest, TheStoredSettingDecidesWhenTheDatabaseIsPrepared) {
    AppSettings::instance().storeHintsEnabled(false);
    Hint::loadHints();
    EXPECT_FALSE(Hint::hintsEnabled());
    hint("searchHint")->trigger();
    EXPECT_EQ(hint("searchHint")->triggerCount(), 0);

    AppSettings::instance().storeHintsEnabled(true);
    Hint::createEditableCopyOfDatabaseIfNeeded();
    EXPECT_TRUE(Hint::hintsEnabled());
}

TEST_F(HintTest, AShippedDatabaseIsCopiedOnFirstLaunchOnly) {
    // Make a shipped file that already holds a counted hint.
    const QString shipped = m_folder.filePath(QStringLiteral("shipped.sqlite"));
    ObjectStoreManager::sharedManager().setDatabaseFilepath(shipped);
    auto old = std::make_shared<Hint>(QStringLiteral("old text"), 5.0f, QStringLiteral("searchHint"));
    old->setTriggerCount(4);
    old->save();
    ObjectStoreManager::sharedManager().setDatabaseFilepath(
        m_folder.filePath(QStringLiteral("elsewhere.sqlite")));
    old.reset();

    Hint::setShippedDatabasePath(shipped);
    Hint::loadHints();
    EXPECT_TRUE(QFile::exists(Hint::writableDatabasePath()));
    const auto search = hint("searchHint");
    EXPECT_EQ(search->triggerCount(), 4);
    EXPECT_EQ(search->pk(), 1);
    EXPECT_EQ(search->text(), "You can also swipe up to activate search.") << "the text is refreshed";
    EXPECT_EQ(search->duration(), 10.0f);
    EXPECT_EQ(Hint::staticPersistentClass().count(), 9);

    // Once the writable file exists it is used as it is.
    search->setTriggerCount(6);
    search->save();
    PersistentClass::clearCache();
    Hint::loadHints();
    EXPECT_EQ(hint("searchHint")->triggerCount(), 6);
}

TEST_F(HintTest, AFailedCopyIsReportedAndAFreshDatabaseIsUsed) {
    LogCapture log;
    Hint::setShippedDatabasePath(m_folder.filePath(QStringLiteral("no-such-file.sqlite")));
    Hint::loadHints();
    EXPECT_TRUE(log.contains(Log::Level::Error, QStringLiteral("hints"),
                             QStringLiteral("Failed to create writable database file with message '")));
    EXPECT_EQ(Hint::staticPersistentClass().count(), 9);
    EXPECT_EQ(hint("jumpToDateHint")->triggerCount(), 0);
}

TEST_F(HintTest, AnIdentifierWithAQuoteFindsNothingAndChangesNothing) {
    Hint::loadHints();
    EXPECT_EQ(Hint::hintByIdentifier(QStringLiteral("x' OR '1'='1")), nullptr);
    const auto quoted = Hint::hintWithText(QStringLiteral("A quoted one"), 10, QStringLiteral("it's"));
    quoted->trigger();
    EXPECT_EQ(Hint::hintByIdentifier(QStringLiteral("it's")).get(), quoted.get());
    EXPECT_EQ(storedValue("trigger_count", "it's"), "1");
    EXPECT_EQ(storedValue("trigger_count", "searchHint"), "0");
    EXPECT_EQ(Hint::staticPersistentClass().count(), 10);
}

} // namespace
