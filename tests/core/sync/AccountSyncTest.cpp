#include "core/sync/AccountSync.h"
#include "RadicaleStoreTest.h"
#include "core/sync/MemoryKeyring.h"
#include "foundation/DispatchQueue.h"

namespace {

class AccountSyncTest : public RadicaleStoreTest {
protected:
    void SetUp() override {
        RadicaleStoreTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        ASSERT_TRUE(m_other.put(m_work.resolved(QUrl(QStringLiteral("standup.ics"))),
                                serverEvent(QStringLiteral("standup"), QStringLiteral("Standup")),
                                QString()));
        m_sharedStore = std::make_shared<EKEventStore>(databasePath());
    }

    void TearDown() override {
        m_accountSync.reset();
        DispatchQueue::global().waitUntilIdle();
        m_sharedStore.reset();
        EventStoreTest::TearDown();
    }

    std::shared_ptr<AccountSync> makeAccountSync() {
        auto accountSync = std::make_shared<AccountSync>(m_sharedStore, m_keyring);
        accountSync->addObserver([this] { ++m_observed; });
        return accountSync;
    }

    AccountForm form(const QString& password) const {
        AccountForm form;
        form.serverAddress = m_radicale.url().toString();
        form.userName = m_radicale.userName();
        form.password = password;
        form.title = QStringLiteral("Radicale");
        return form;
    }

    AddAccountResult added(AccountSync& accountSync, const AccountForm& form) {
        std::optional<AddAccountResult> result;
        accountSync.addAccount(form, [&result](const AddAccountResult& answer) { result = answer; });
        EXPECT_TRUE(m_loop->runUntil([&] { return result.has_value(); }, 20000));
        return result.value_or(AddAccountResult{});
    }

    bool syncEnds(AccountSync& accountSync) {
        return m_loop->runUntil(
            [&] {
                const std::vector<AccountStatus> accounts = accountSync.accounts();
                return !accounts.empty() && !accounts.front().syncing;
            },
            20000);
    }

    QStringList titlesHere() const {
        QStringList titles;
        const auto events = m_sharedStore->eventsMatchingPredicate(m_sharedStore->predicateForEvents(
            Date::withTimeIntervalSince1970(0), Date::withTimeIntervalSince1970(4e9),
            m_sharedStore->calendars()));
        for (const auto& event : events) {
            titles << event->title();
        }
        titles.sort();
        return titles;
    }

    QStringList titlesOnServer() {
        QStringList titles;
        const DavResult<std::vector<DavEntry>> entries = m_other.entries(m_work);
        for (const DavEntry& entry : entries.value()) {
            const QByteArray data = m_other.get(entry.url).value().data;
            const qsizetype start = data.indexOf("SUMMARY:") + 8;
            titles << QString::fromUtf8(data.mid(start, data.indexOf('\r', start) - start));
        }
        titles.sort();
        return titles;
    }

    std::shared_ptr<EKEventStore> m_sharedStore;
    std::shared_ptr<MemoryKeyring> m_keyring = std::make_shared<MemoryKeyring>();
    std::shared_ptr<AccountSync> m_accountSync;
    int m_observed = 0;
};

TEST_F(AccountSyncTest, AnAccountIsAddedOnlyWhenTheServerTakesItAndIsSyncedAtOnce) {
    m_accountSync = makeAccountSync();

    AccountForm notAnAddress = form(m_radicale.password());
    notAnAddress.serverAddress = QStringLiteral("ftp://127.0.0.1/");
    EXPECT_EQ(added(*m_accountSync, notAnAddress).outcome, AddAccountResult::Outcome::BadAddress);

    const AddAccountResult refused = added(*m_accountSync, form(QStringLiteral("wrong")));
    EXPECT_EQ(refused.outcome, AddAccountResult::Outcome::WrongPassword);
    EXPECT_FALSE(refused.message.isEmpty());

    AccountForm nobody = form(m_radicale.password());
    nobody.serverAddress = QStringLiteral("http://127.0.0.1:1/");
    EXPECT_EQ(added(*m_accountSync, nobody).outcome, AddAccountResult::Outcome::NoNetwork);
    EXPECT_TRUE(m_accountSync->accounts().empty()) << "nothing stored for a failed attempt";
    EXPECT_TRUE(m_keyring->passwords.empty());

    const AddAccountResult result = added(*m_accountSync, form(m_radicale.password()));
    ASSERT_EQ(result.outcome, AddAccountResult::Outcome::Added) << result.message.toStdString();
    EXPECT_EQ(m_keyring->passwords[result.account.identifier], m_radicale.password());
    ASSERT_EQ(m_accountSync->accounts().size(), 1u);
    EXPECT_TRUE(m_accountSync->accounts().front().syncing) << "the first sync starts at once";
    ASSERT_TRUE(syncEnds(*m_accountSync));
    const AccountStatus status = m_accountSync->accounts().front();
    EXPECT_TRUE(status.failure.isEmpty()) << status.failure.toStdString();
    EXPECT_TRUE(status.account.lastSync.has_value());
    EXPECT_EQ(titlesHere(), QStringList{QStringLiteral("Standup")});
    EXPECT_GE(m_observed, 3) << "added, sync started, sync ended";

    StoreError error;
    ASSERT_TRUE(m_accountSync->removeAccount(result.account.identifier, &error));
    EXPECT_TRUE(titlesHere().isEmpty());
    EXPECT_TRUE(m_keyring->passwords.empty());
    EXPECT_EQ(titlesOnServer(), QStringList{QStringLiteral("Standup")}) << "the server keeps its calendars";
}

TEST_F(AccountSyncTest, LocalChangesTheDueTimerAndAMissingPasswordStartSyncsAsTheyShould) {
    m_accountSync = makeAccountSync();
    const AddAccountResult result = added(*m_accountSync, form(m_radicale.password()));
    ASSERT_EQ(result.outcome, AddAccountResult::Outcome::Added) << result.message.toStdString();
    ASSERT_TRUE(syncEnds(*m_accountSync));
    m_accountSync->start();

    // A change made here is sent 2 seconds after the last change, not before.
    std::shared_ptr<EKCalendar> work;
    for (const auto& calendar : m_sharedStore->calendars()) {
        if (calendar->title() == QStringLiteral("Work")) {
            work = calendar;
        }
    }
    ASSERT_TRUE(work);
    auto event = EKEvent::eventWithEventStore(*m_sharedStore);
    event->setTitle(QStringLiteral("Review"));
    event->setCalendar(work);
    event->setStartDate(local(u"Europe/Berlin", 2024, 5, 7, 10));
    event->setEndDate(local(u"Europe/Berlin", 2024, 5, 7, 11));
    StoreError error;
    ASSERT_TRUE(m_sharedStore->saveEvent(event, EKSpan::ThisEvent, &error));
    m_loop->runUntilIdle();
    m_loop->advance(AccountSync::localChangeDelay - 0.1);
    EXPECT_FALSE(m_accountSync->accounts().front().syncing);
    m_loop->advance(0.2);
    EXPECT_TRUE(m_accountSync->accounts().front().syncing);
    ASSERT_TRUE(syncEnds(*m_accountSync));
    EXPECT_EQ(titlesOnServer(), (QStringList{QStringLiteral("Review"), QStringLiteral("Standup")}));

    // Every 15 minutes while running, the server's changes come in.
    ASSERT_TRUE(m_other.put(m_work.resolved(QUrl(QStringLiteral("lunch.ics"))),
                            serverEvent(QStringLiteral("lunch"), QStringLiteral("Lunch")), QString()));
    m_loop->advance(AccountSync::syncInterval);
    ASSERT_TRUE(syncEnds(*m_accountSync));
    EXPECT_EQ(titlesHere(),
              (QStringList{QStringLiteral("Lunch"), QStringLiteral("Review"), QStringLiteral("Standup")}));

    // A change to a calendar of this computer alone starts nothing; removing a server calendar here
    // is sent like any other change.
    auto local = EKEvent::eventWithEventStore(*m_sharedStore);
    local->setTitle(QStringLiteral("Kept here"));
    local->setCalendar(m_sharedStore->defaultCalendarForNewEvents());
    local->setStartDate(event->startDate());
    local->setEndDate(event->endDate());
    ASSERT_TRUE(m_sharedStore->saveEvent(local, EKSpan::ThisEvent, &error));
    m_loop->runUntilIdle();
    m_loop->advance(AccountSync::localChangeDelay + 0.1);
    EXPECT_FALSE(m_accountSync->accounts().front().syncing);
    ASSERT_TRUE(m_sharedStore->removeCalendar(work, true, &error));
    m_loop->runUntilIdle();
    m_loop->advance(AccountSync::localChangeDelay + 0.1);
    EXPECT_TRUE(m_accountSync->accounts().front().syncing);
    ASSERT_TRUE(syncEnds(*m_accountSync));
    EXPECT_FALSE(m_other.entries(m_work)) << "the calendar is gone from the server too";

    // Without the password in a keyring, the person is asked once per run; declining is kept.
    m_accountSync.reset();
    m_keyring->passwords.clear();
    m_accountSync = makeAccountSync();
    int asked = 0;
    m_accountSync->setPasswordPrompt(
        [&asked](const CalDavAccount&, std::function<void(std::optional<QString>)> answer) {
            ++asked;
            answer(std::nullopt);
        });
    m_accountSync->syncNow();
    m_accountSync->syncNow();
    m_loop->runUntilIdle();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(m_accountSync->accounts().front().failure.isEmpty());
    EXPECT_FALSE(m_accountSync->accounts().front().syncing);

    // A kept password the server refuses is asked for at the next sync; the answer replaces it.
    m_accountSync.reset();
    const QString identifier = result.account.identifier;
    m_keyring->passwords[identifier] = QStringLiteral("outdated");
    m_accountSync = makeAccountSync();
    int prompts = 0;
    m_accountSync->setPasswordPrompt(
        [&](const CalDavAccount&, std::function<void(std::optional<QString>)> answer) {
            ++prompts;
            answer(m_radicale.password());
        });
    m_accountSync->syncNow();
    ASSERT_TRUE(syncEnds(*m_accountSync));
    EXPECT_EQ(prompts, 0) << "the keyring's is tried first";
    EXPECT_FALSE(m_accountSync->accounts().front().failure.isEmpty());
    m_accountSync->syncNow();
    ASSERT_TRUE(syncEnds(*m_accountSync));
    EXPECT_EQ(prompts, 1);
    EXPECT_TRUE(m_accountSync->accounts().front().failure.isEmpty());
    EXPECT_EQ(m_keyring->passwords[identifier], m_radicale.password());
}

} // namespace

namespace {

TEST_F(AccountSyncTest, ASelfSignedServerIsTakenOnlyWithTheCertificateThePersonConfirmed) {
    RadicaleServer secure;
    const QString noCertificate = secure.useSelfSignedCertificate();
    ASSERT_TRUE(noCertificate.isEmpty()) << noCertificate.toStdString();
    ASSERT_TRUE(secure.start().isEmpty());
    ASSERT_EQ(secure.url().scheme(), QStringLiteral("https"));
    ASSERT_TRUE(secure.createCalendar(QStringLiteral("home"), QStringLiteral("Home")).isEmpty());
    CalDavClient::Options pinned;
    pinned.pinnedCertificateSha256 = secure.certificateSha256();
    CalDavClient device(secure.userName(), secure.password(), pinned);
    ASSERT_TRUE(
        device.put(secure.calendarUrl(QStringLiteral("home")).resolved(QUrl(QStringLiteral("dentist.ics"))),
                   serverEvent(QStringLiteral("dentist"), QStringLiteral("Dentist")), QString()));
    m_accountSync = makeAccountSync();
    AccountForm form;
    form.serverAddress = secure.url().toString();
    form.userName = secure.userName();
    form.password = secure.password();

    // Unconfirmed, or confirmed with another fingerprint: asked to confirm this one, nothing stored.
    const AddAccountResult unconfirmed = added(*m_accountSync, form);
    EXPECT_EQ(unconfirmed.outcome, AddAccountResult::Outcome::CertificateToConfirm);
    EXPECT_EQ(unconfirmed.certificateSha256, secure.certificateSha256());
    form.confirmedCertificateSha256 = QByteArray(32, '\x01');
    EXPECT_EQ(added(*m_accountSync, form).outcome, AddAccountResult::Outcome::CertificateToConfirm);
    EXPECT_TRUE(m_accountSync->accounts().empty());

    // Confirmed: pinned for the account, and its syncs go through.
    form.confirmedCertificateSha256 = unconfirmed.certificateSha256;
    const AddAccountResult result = added(*m_accountSync, form);
    ASSERT_EQ(result.outcome, AddAccountResult::Outcome::Added) << result.message.toStdString();
    ASSERT_TRUE(syncEnds(*m_accountSync));
    const AccountStatus status = m_accountSync->accounts().front();
    EXPECT_EQ(status.account.certificateSha256, secure.certificateSha256());
    EXPECT_TRUE(status.failure.isEmpty()) << status.failure.toStdString();
    EXPECT_EQ(titlesHere(), QStringList{QStringLiteral("Dentist")});
}

} // namespace
