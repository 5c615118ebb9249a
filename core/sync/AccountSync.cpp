#include "core/sync/AccountSync.h"

#include "core/bus/ApplicationActivatedEvent.h"
#include "core/bus/ApplicationEventDispatcher.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKSource.h"
#include "core/eventstore/EventStoreLog.h"
#include "core/sync/DesktopKeyring.h"
#include "core/sync/PasswordKeyring.h"
#include "core/sync/WebCalendarSubscriptions.h"
#include "foundation/DispatchQueue.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "foundation/RunLoop.h"

#include <mutex>

namespace {

struct SharedAccountSync {
    std::mutex mutex;
    std::shared_ptr<AccountSync> accountSync;
};

// Never destroyed: a sync under way may hand its result back until the process ends.
SharedAccountSync& sharedAccountSync() {
    static auto* const holder = new SharedAccountSync;
    return *holder;
}

AddAccountResult::Outcome outcomeOf(DavError::Kind kind) {
    switch (kind) {
    case DavError::Kind::Unauthorized:
        return AddAccountResult::Outcome::WrongPassword;
    case DavError::Kind::NotCalDav:
    case DavError::Kind::NotFound:
        return AddAccountResult::Outcome::NotCalDav;
    case DavError::Kind::Certificate:
        return AddAccountResult::Outcome::CertificateToConfirm;
    case DavError::Kind::Network:
    case DavError::Kind::Timeout:
        return AddAccountResult::Outcome::NoNetwork;
    case DavError::Kind::Insecure:
        return AddAccountResult::Outcome::BadAddress;
    default:
        return AddAccountResult::Outcome::Failed;
    }
}

CalDavClient::Options clientOptions(const QByteArray& pinnedCertificateSha256) {
    CalDavClient::Options options;
    options.pinnedCertificateSha256 = pinnedCertificateSha256;
    return options;
}

} // namespace

AccountSync& AccountSync::sharedInstance() {
    SharedAccountSync& holder = sharedAccountSync();
    std::lock_guard lock(holder.mutex);
    if (!holder.accountSync) {
        holder.accountSync = std::make_shared<AccountSync>(EventService::sharedInstance().sharedEventStore(),
                                                           std::make_shared<DesktopKeyring>());
    }
    return *holder.accountSync;
}

std::shared_ptr<AccountSync> AccountSync::setSharedInstance(std::shared_ptr<AccountSync> accountSync) {
    SharedAccountSync& holder = sharedAccountSync();
    std::lock_guard lock(holder.mutex);
    return std::exchange(holder.accountSync, std::move(accountSync));
}

AccountSync::AccountSync(std::shared_ptr<EKEventStore> store, std::shared_ptr<PasswordKeyring> keyring)
    : m_store(std::move(store)), m_keyring(std::move(keyring)) {}

AccountSync::~AccountSync() {
    if (m_storeObserver) {
        m_store->removeChangeObserver(*m_storeObserver);
    }
    for (const std::shared_ptr<Timer>& timer : {m_localChangeTimer, m_intervalTimer, m_subscriptionTimer}) {
        if (timer) {
            timer->invalidate();
        }
    }
}

std::shared_ptr<Timer> AccountSync::scheduleTimer(double interval, bool repeats,
                                                  void (AccountSync::*fire)()) {
    const std::weak_ptr<AccountSync> weak = weak_from_this();
    return RunLoop::main().scheduleTimer(interval, repeats, [weak, fire] {
        if (const std::shared_ptr<AccountSync> self = weak.lock()) {
            (self.get()->*fire)();
        }
    });
}

void AccountSync::start() {
    if (m_started) {
        return;
    }
    m_started = true;
    ApplicationEventDispatcher::sharedInstance().registerTarget<ApplicationActivatedEvent>(
        this, &AccountSync::activated);
    const std::weak_ptr<AccountSync> weak = weak_from_this();
    m_storeObserver = m_store->addChangeObserver([weak](const EKEventStoreChange& change) {
        if (const std::shared_ptr<AccountSync> self = weak.lock()) {
            self->storeChanged(change);
        }
    });
    m_intervalTimer = scheduleTimer(syncInterval, true, &AccountSync::syncNow);
    scheduleSubscriptionRefresh();
}

std::vector<AccountStatus> AccountSync::accounts() const {
    std::vector<AccountStatus> result;
    for (CalDavAccount& account : CalDavStore(*m_store).accounts()) {
        AccountStatus status;
        status.syncing = m_syncing.count(account.identifier) > 0;
        if (const auto failure = m_failures.find(account.identifier); failure != m_failures.end()) {
            status.failure = failure->second;
        }
        status.account = std::move(account);
        result.push_back(std::move(status));
    }
    return result;
}

void AccountSync::addAccount(const AccountForm& form, std::function<void(const AddAccountResult&)> done) {
    QString problem;
    const std::optional<QUrl> url = CalDavStore::accountAddress(form.serverAddress, &problem);
    if (!url) {
        AddAccountResult result;
        result.outcome = AddAccountResult::Outcome::BadAddress;
        result.message = problem;
        done(result);
        return;
    }
    const std::weak_ptr<AccountSync> weak = weak_from_this();
    DispatchQueue::global().async([weak, form, url = *url, done = std::move(done)] {
        CalDavClient client(form.userName, form.password, clientOptions(form.confirmedCertificateSha256));
        DavResult<DavDiscovery> found = client.discover(url);
        DispatchQueue::main().async([weak, form, url, found = std::move(found), done] {
            if (const std::shared_ptr<AccountSync> self = weak.lock()) {
                done(self->addDiscovered(form, url, found));
            }
        });
    });
}

AddAccountResult AccountSync::addDiscovered(const AccountForm& form, const QUrl& url,
                                            const DavResult<DavDiscovery>& found) {
    AddAccountResult result;
    if (!found) {
        result.outcome = outcomeOf(found.error().kind);
        result.message = found.error().message;
        result.certificateSha256 = found.error().certificateSha256;
        return result;
    }
    CalDavAccount account;
    account.title =
        form.title.trimmed().isEmpty() ? CalDavStore::defaultTitle(form.userName, url) : form.title.trimmed();
    account.serverUrl = url;
    account.userName = form.userName;
    account.homeUrl = found.value().home;
    account.certificateSha256 = form.confirmedCertificateSha256;
    StoreError error;
    if (!CalDavStore(*m_store).addAccount(account, &error)) {
        result.message = error.localizedDescription;
        return result;
    }
    m_passwords[account.identifier] = form.password;
    m_keyring->writePassword(account.identifier, form.password, [title = account.title](bool kept) {
        if (!kept) {
            Log::warning(
                eventStoreLogCategory,
                localizedString(
                    QStringLiteral("No keyring took the password of %1: it is asked again at the next start"))
                    .arg(title));
        }
    });
    result.outcome = AddAccountResult::Outcome::Added;
    result.account = account;
    notifyObservers();
    runSync(account, form.password);
    return result;
}

bool AccountSync::removeAccount(const QString& accountIdentifier, StoreError* error) {
    CalDavStore store(*m_store);
    const std::optional<CalDavAccount> account = store.account(accountIdentifier);
    if (!account) {
        error->code = StoreError::CalendarNotFound;
        error->localizedDescription = localizedString(QStringLiteral("The account is no longer there."));
        return false;
    }
    if (!store.removeAccount(*account, error)) {
        return false;
    }
    m_keyring->removePassword(account->identifier);
    m_passwords.erase(account->identifier);
    m_failures.erase(account->identifier);
    notifyObservers();
    return true;
}

void AccountSync::syncNow() {
    for (const CalDavAccount& account : CalDavStore(*m_store).accounts()) {
        sync(account);
    }
}

void AccountSync::syncAccount(const QString& accountIdentifier) {
    if (const std::optional<CalDavAccount> account = CalDavStore(*m_store).account(accountIdentifier)) {
        sync(*account);
    }
}

void AccountSync::sync(const CalDavAccount& account) {
    if (m_syncing.count(account.identifier) > 0) {
        m_syncAgain.insert(account.identifier);
        return;
    }
    const std::weak_ptr<AccountSync> weak = weak_from_this();
    withPassword(account, [weak, account](std::optional<QString> password) {
        if (const std::shared_ptr<AccountSync> self = weak.lock(); self && password) {
            self->runSync(account, *password);
        }
    });
}

void AccountSync::withPassword(const CalDavAccount& account,
                               std::function<void(std::optional<QString>)> then) {
    if (const auto known = m_passwords.find(account.identifier); known != m_passwords.end()) {
        then(known->second);
        return;
    }
    // The keyring's password was refused: the person is asked for the new one.
    const bool refused = m_refusedPasswords.count(account.identifier) > 0;
    const std::weak_ptr<AccountSync> weak = weak_from_this();
    m_keyring->readPassword(
        account.identifier, [weak, account, refused, then = std::move(then)](std::optional<QString> kept) {
            const std::shared_ptr<AccountSync> self = weak.lock();
            if (!self) {
                return;
            }
            if (kept && !refused) {
                self->m_passwords[account.identifier] = *kept;
                then(kept);
                return;
            }
            if (!self->m_passwordPrompt || self->m_declinedPrompts.count(account.identifier) > 0) {
                self->m_failures[account.identifier] =
                    localizedString(QStringLiteral("The password of this account is not known."));
                self->notifyObservers();
                then(std::nullopt);
                return;
            }
            // Asked once per run: a declined prompt is not shown again until the next start.
            self->m_declinedPrompts.insert(account.identifier);
            self->m_passwordPrompt(account, [weak, account, then](std::optional<QString> typed) {
                if (const std::shared_ptr<AccountSync> again = weak.lock(); again && typed) {
                    again->m_declinedPrompts.erase(account.identifier);
                    again->m_passwords[account.identifier] = *typed;
                    if (again->m_refusedPasswords.erase(account.identifier) > 0) {
                        again->m_keyring->writePassword(account.identifier, *typed, [](bool) {});
                    }
                }
                then(typed);
            });
        });
}

void AccountSync::runSync(const CalDavAccount& account, const QString& password) {
    if (!m_syncing.insert(account.identifier).second) {
        m_syncAgain.insert(account.identifier);
        return;
    }
    notifyObservers();
    const std::weak_ptr<AccountSync> weak = weak_from_this();
    DispatchQueue::global().async([weak, store = m_store, account, password] {
        CalDavClient client(account.userName, password, clientOptions(account.certificateSha256));
        SyncReport report = CalDavSync(*store, client).sync(account);
        DispatchQueue::main().async([weak, account, report = std::move(report)] {
            if (const std::shared_ptr<AccountSync> self = weak.lock()) {
                self->syncEnded(account, report);
            }
        });
    });
}

void AccountSync::syncEnded(const CalDavAccount& account, const SyncReport& report) {
    m_syncing.erase(account.identifier);
    if (report.passwordRefused) {
        // Asked for at the next sync, once.
        m_passwords.erase(account.identifier);
        m_declinedPrompts.erase(account.identifier);
        m_refusedPasswords.insert(account.identifier);
    }
    if (report.failure.isEmpty()) {
        m_failures.erase(account.identifier);
    } else {
        m_failures[account.identifier] = report.failure;
        Log::warning(
            eventStoreLogCategory,
            localizedString(QStringLiteral("The sync of %1 stopped: %2")).arg(account.title, report.failure));
    }
    for (const QString& skipped : report.skipped) {
        Log::warning(
            eventStoreLogCategory,
            localizedString(QStringLiteral("Left on the server of %1: %2")).arg(account.title, skipped));
    }
    if (report.conflicts > 0 && m_onConflicts) {
        m_onConflicts(account, report.conflicts);
    }
    notifyObservers();
    if (m_syncAgain.erase(account.identifier) > 0) {
        syncAccount(account.identifier);
    }
}

void AccountSync::storeChanged(const EKEventStoreChange& change) {
    if (change.origin == EKEventStoreChange::Origin::OtherProgram) {
        // Perhaps a subscription added from the command line.
        scheduleSubscriptionRefresh();
    }
    if (change.origin != EKEventStoreChange::Origin::ThisProgram) {
        return;
    }
    // The journal says whether the change touched a server calendar, removed ones included.
    if (!CalDavStore(*m_store).hasUnsentChanges()) {
        return;
    }
    // Changes made in quick succession go in one sync, 2 seconds after the last of them.
    if (m_localChangeTimer) {
        m_localChangeTimer->invalidate();
    }
    m_localChangeTimer = scheduleTimer(localChangeDelay, false, &AccountSync::syncNow);
}

void AccountSync::activated() {
    syncNow();
    scheduleSubscriptionRefresh();
}

void AccountSync::scheduleSubscriptionRefresh() {
    if (m_subscriptionTimer) {
        m_subscriptionTimer->invalidate();
        m_subscriptionTimer.reset();
    }
    const std::optional<Date> due = WebCalendarSubscriptions(*m_store).nextRefresh();
    if (!due) {
        return;
    }
    const double interval = std::max(due->timeIntervalSinceDate(RunLoop::main().now()), 1.0);
    m_subscriptionTimer = scheduleTimer(interval, false, &AccountSync::refreshSubscriptions);
}

void AccountSync::refreshSubscriptions() {
    if (m_refreshingSubscriptions) {
        return;
    }
    m_refreshingSubscriptions = true;
    const std::weak_ptr<AccountSync> weak = weak_from_this();
    DispatchQueue::global().async([weak, store = m_store] {
        WebCalendarSubscriptions(*store).refreshDueLoggingProblems();
        DispatchQueue::main().async([weak] {
            if (const std::shared_ptr<AccountSync> self = weak.lock()) {
                self->m_refreshingSubscriptions = false;
                self->scheduleSubscriptionRefresh();
            }
        });
    });
}

AccountSync::ObserverId AccountSync::addObserver(std::function<void()> observer) {
    const ObserverId observerId = m_nextObserverId++;
    m_observers.emplace(observerId, std::move(observer));
    return observerId;
}

void AccountSync::removeObserver(ObserverId observerId) {
    m_observers.erase(observerId);
}

void AccountSync::notifyObservers() const {
    // A copy: an observer may remove itself or others while told.
    const std::map<ObserverId, std::function<void()>> observers = m_observers;
    for (const auto& [observerId, observer] : observers) {
        observer();
    }
}

void AccountSync::setPasswordPrompt(PasswordPrompt prompt) {
    m_passwordPrompt = std::move(prompt);
}

void AccountSync::setOnConflicts(std::function<void(const CalDavAccount&, int)> onConflicts) {
    m_onConflicts = std::move(onConflicts);
}
