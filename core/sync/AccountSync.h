#pragma once

#include "core/bus/BusReceiver.h"
#include "core/eventstore/EKEventStore.h"
#include "core/sync/CalDavStore.h"
#include "core/sync/CalDavSync.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

class PasswordKeyring;
class Timer;

// What the person gives to add an account.
struct AccountForm {
    // The server's address, or one calendar's; "https://" is assumed when no scheme is given.
    QString serverAddress;
    QString userName;
    QString password;
    // Empty: "user@host".
    QString title;
    // The SHA-256 fingerprint (raw bytes) of a certificate the person confirmed; pinned for the
    // account.
    QByteArray confirmedCertificateSha256;
};

// What adding an account came to.
struct AddAccountResult {
    enum class Outcome {
        Added,
        // The address is not one an account can have (not http(s), plain http:// to another computer).
        BadAddress,
        WrongPassword,
        NotCalDav,
        // The server's certificate is not trusted: the person may confirm its fingerprint and try
        // again with it in the form.
        CertificateToConfirm,
        NoNetwork,
        // Any other failure: a server error, a title already taken, the store refusing.
        Failed,
    };
    Outcome outcome = Outcome::Failed;
    // For the person; empty when added.
    QString message;
    // With CertificateToConfirm: the certificate's SHA-256 fingerprint (raw bytes).
    QByteArray certificateSha256;
    // With Added: the new account.
    CalDavAccount account;
};

// An account as the screens show it.
struct AccountStatus {
    CalDavAccount account;
    bool syncing = false;
    // Why the last sync of this run stopped; empty when it finished or none ran.
    QString failure;
};

// The app's side of CalDAV accounts: adds and removes them, keeps their passwords in the keyring,
// and syncs them off the main thread (on the global queue) at every activation, 2 seconds after
// this program changed one of their calendars, every 15 minutes while running, and when asked.
// Subscriptions to calendar addresses are fetched again when they are due. Main thread; results
// come back on the main thread, and the store's change notification redraws the screens.
class AccountSync : public BusReceiver, public std::enable_shared_from_this<AccountSync> {
public:
    static constexpr double localChangeDelay = 2;
    static constexpr double syncInterval = 15 * 60;

    // The one instance, created on first use over the event service's store and the desktop
    // keyring. Main thread.
    static AccountSync& sharedInstance();
    // Replaces the shared instance (for tests) and returns the one it replaces.
    static std::shared_ptr<AccountSync> setSharedInstance(std::shared_ptr<AccountSync> accountSync);

    AccountSync(std::shared_ptr<EKEventStore> store, std::shared_ptr<PasswordKeyring> keyring);
    ~AccountSync() override;

    AccountSync(const AccountSync&) = delete;
    AccountSync& operator=(const AccountSync&) = delete;

    // Starts the automatic syncs: at activation, after local changes, and on the due timers. Once;
    // later calls do nothing.
    void start();

    std::vector<AccountStatus> accounts() const;

    // Discovers the server off the main thread; when it answers with calendars, the account is
    // stored, its password kept in the keyring and its first sync started. `done` on the main
    // thread (not called once this object is gone).
    void addAccount(const AccountForm& form, std::function<void(const AddAccountResult&)> done);
    // Removes the account's calendars and events here (the server keeps them) and its password.
    bool removeAccount(const QString& accountIdentifier, StoreError* error);

    // Syncs every account now (an account already syncing syncs once more when it ends).
    void syncNow();
    void syncAccount(const QString& accountIdentifier);

    // Told on the main thread whenever what accounts() gives may have changed.
    using ObserverId = int;
    ObserverId addObserver(std::function<void()> observer);
    void removeObserver(ObserverId observerId);

    // Asks the person for an account's password when the keyring has none, or after the server
    // refused the one it had (the answer then replaces it in the keyring); answers the password, or
    // none when the person declined. Asked once per account and run, and once after each refusal.
    using PasswordPrompt =
        std::function<void(const CalDavAccount& account, std::function<void(std::optional<QString>)> answer)>;
    void setPasswordPrompt(PasswordPrompt prompt);

    // Told once per sync that kept events changed on both sides (how many), on the main thread.
    void setOnConflicts(std::function<void(const CalDavAccount& account, int conflicts)> onConflicts);

private:
    struct Running;

    // A timer on the main run loop that holds this object weakly.
    std::shared_ptr<Timer> scheduleTimer(double interval, bool repeats, void (AccountSync::*fire)());
    void sync(const CalDavAccount& account);
    void withPassword(const CalDavAccount& account, std::function<void(std::optional<QString>)> then);
    void runSync(const CalDavAccount& account, const QString& password);
    void syncEnded(const CalDavAccount& account, const SyncReport& report);
    AddAccountResult addDiscovered(const AccountForm& form, const QUrl& url,
                                   const DavResult<DavDiscovery>& found);
    void storeChanged(const EKEventStoreChange& change);
    void activated();
    void scheduleSubscriptionRefresh();
    void refreshSubscriptions();
    void notifyObservers() const;

    std::shared_ptr<EKEventStore> m_store;
    std::shared_ptr<PasswordKeyring> m_keyring;
    // Passwords known in this run (read from the keyring or asked for), by account identifier.
    std::map<QString, QString> m_passwords;
    std::set<QString> m_declinedPrompts;
    // Accounts whose password the server refused: the keyring's is not used again this run.
    std::set<QString> m_refusedPasswords;
    std::set<QString> m_syncing;
    std::set<QString> m_syncAgain;
    std::map<QString, QString> m_failures;
    std::map<ObserverId, std::function<void()>> m_observers;
    ObserverId m_nextObserverId = 1;
    PasswordPrompt m_passwordPrompt;
    std::function<void(const CalDavAccount&, int)> m_onConflicts;
    std::optional<EKEventStore::ObserverId> m_storeObserver;
    std::shared_ptr<Timer> m_localChangeTimer;
    std::shared_ptr<Timer> m_intervalTimer;
    std::shared_ptr<Timer> m_subscriptionTimer;
    bool m_refreshingSubscriptions = false;
    bool m_started = false;
};
