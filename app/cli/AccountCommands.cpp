#include "app/cli/AccountCommands.h"

#include "core/sync/CalDavClient.h"
#include "core/sync/CalDavStore.h"
#include "core/sync/CalDavSync.h"

#include <QEventLoop>
#include <QFile>

#include <cstdio>
#include <functional>
#include <optional>
#include <unistd.h>

namespace {

QString summary(const SyncReport& report) {
    return QStringLiteral(
               "pulled %1, pushed %2, removed here %3, removed on the server %4, conflicts kept %5")
        .arg(report.pulled)
        .arg(report.pushed)
        .arg(report.removedHere)
        .arg(report.removedThere)
        .arg(report.conflicts);
}

// The answer `ask` hands to its callback, waiting for it in a local event loop (the keyring answers
// through the session bus).
template <typename Answer> Answer awaited(const std::function<void(std::function<void(Answer)>)>& ask) {
    QEventLoop loop;
    std::optional<Answer> answer;
    ask([&](Answer given) {
        answer = std::move(given);
        loop.quit();
    });
    if (!answer) {
        loop.exec();
    }
    return std::move(*answer);
}

} // namespace

AccountCommands::AccountCommands(EKEventStore& store, QTextStream& out, QTextStream& err)
    : m_store(store), m_out(out), m_err(err) {}

QString AccountCommands::add(const QString& kind, const QString& typedAddress, const QString& userName,
                             const QString& title, const QString& passwordFile, const QString& certificate) {
    if (kind != QLatin1String("caldav")) {
        return QStringLiteral("unknown kind of account “%1”: only caldav is known").arg(kind);
    }
    QString problem;
    const std::optional<QUrl> address = CalDavStore::accountAddress(typedAddress, &problem);
    if (!address) {
        return problem;
    }
    const QUrl& url = *address;
    if (userName.isEmpty()) {
        return QStringLiteral("account add needs --user NAME");
    }
    CalDavClient::Options options;
    if (!certificate.isEmpty()) {
        const std::optional<QByteArray> fingerprint = CalDavStore::fingerprintFromText(certificate);
        if (!fingerprint) {
            return QStringLiteral("“%1” is not a SHA-256 fingerprint: --certificate takes 64 hexadecimal "
                                  "digits, in pairs that may be separated by “:”")
                .arg(certificate);
        }
        options.pinnedCertificateSha256 = *fingerprint;
    }
    const QString password = readPassword(passwordFile, &problem);
    if (!problem.isEmpty()) {
        return problem;
    }
    CalDavClient client(userName, password, options);
    const DavResult<DavDiscovery> found = client.discover(url);
    if (!found && found.error().kind == DavError::Kind::Certificate) {
        const QString fingerprint = CalDavStore::fingerprintText(found.error().certificateSha256);
        return QStringLiteral(
                   "%1\nits SHA-256 fingerprint is %2; if that is the server's certificate, add the "
                   "account again with --certificate %2")
            .arg(found.error().message, fingerprint);
    }
    if (!found) {
        return found.error().message;
    }
    CalDavAccount account;
    account.title = title.isEmpty() ? CalDavStore::defaultTitle(userName, url) : title;
    account.serverUrl = url;
    account.userName = userName;
    account.homeUrl = found.value().home;
    account.certificateSha256 = options.pinnedCertificateSha256;
    StoreError error;
    CalDavStore store(m_store);
    if (!store.addAccount(account, &error)) {
        return error.localizedDescription;
    }
    m_out << "added " << account.title << " with " << found.value().calendars.size() << " calendars\n";
    if (keepPassword(account, password)) {
        m_out << "the password is kept in the keyring\n";
    } else {
        m_out << "there is no keyring: give the password at each sync (--password-file or standard input)\n";
    }
    return syncAccount(account, password);
}

QString AccountCommands::list() {
    for (const CalDavAccount& account : CalDavStore(m_store).accounts()) {
        m_out << account.title << '\t' << account.serverUrl.toString() << '\t' << account.userName << '\t'
              << (account.lastSync ? QStringLiteral("synced") : QStringLiteral("never synced")) << '\n';
    }
    return QString();
}

QString AccountCommands::remove(const QString& name) {
    CalDavStore store(m_store);
    const std::optional<CalDavAccount> account = store.account(name);
    if (!account) {
        return QStringLiteral("there is no account named “%1”").arg(name);
    }
    StoreError error;
    if (!store.removeAccount(*account, &error)) {
        return error.localizedDescription;
    }
    m_keyring.removePassword(account->identifier);
    m_out << "removed " << account->title << " and its calendars here; the server keeps them\n";
    return QString();
}

QString AccountCommands::sync(const QString& name, const QString& passwordFile) {
    std::vector<CalDavAccount> accounts;
    CalDavStore store(m_store);
    if (name.isEmpty()) {
        accounts = store.accounts();
    } else if (std::optional<CalDavAccount> account = store.account(name)) {
        accounts.push_back(std::move(*account));
    } else {
        return QStringLiteral("there is no account named “%1”").arg(name);
    }
    if (accounts.empty()) {
        return QStringLiteral("there is no account to sync: add one with “orvella-cli account add”");
    }
    // Read once, for the accounts whose password the keyring does not have.
    std::optional<QString> given;
    for (const CalDavAccount& account : accounts) {
        std::optional<QString> password = passwordFile.isEmpty() ? keptPassword(account) : std::nullopt;
        if (!password) {
            if (!given) {
                QString problem;
                given = readPassword(passwordFile, &problem);
                if (!problem.isEmpty()) {
                    return problem;
                }
            }
            password = given;
        }
        if (QString failed = syncAccount(account, *password); !failed.isEmpty()) {
            return failed;
        }
    }
    return QString();
}

std::optional<QString> AccountCommands::keptPassword(const CalDavAccount& account) {
    return awaited<std::optional<QString>>([&](std::function<void(std::optional<QString>)> done) {
        m_keyring.readPassword(account.identifier, done);
    });
}

bool AccountCommands::keepPassword(const CalDavAccount& account, const QString& password) {
    return awaited<bool>(
        [&](std::function<void(bool)> done) { m_keyring.writePassword(account.identifier, password, done); });
}

QString AccountCommands::syncAccount(const CalDavAccount& account, const QString& password) {
    CalDavClient::Options options;
    options.pinnedCertificateSha256 = account.certificateSha256;
    CalDavClient client(account.userName, password, options);
    CalDavSync sync(m_store, client);
    const bool terminal = isatty(STDERR_FILENO) != 0;
    if (terminal) {
        sync.setOnProgress([this](const QString& step) {
            m_err << "\r\033[K" << step;
            m_err.flush();
        });
    }
    const SyncReport report = sync.sync(account);
    if (terminal) {
        m_err << "\r\033[K";
        m_err.flush();
    }
    for (const QString& skipped : report.skipped) {
        m_err << "left on the server: " << skipped << '\n';
    }
    m_out << account.title << ": " << summary(report) << '\n';
    if (report.conflicts > 0) {
        m_out << "events changed on both sides are kept twice: the server's version, and this computer's with"
              << CalDavSync::conflictSuffix() << " in its title\n";
    }
    return report.failure.isEmpty()
               ? QString()
               : QStringLiteral("the sync of %1 stopped: %2").arg(account.title, report.failure);
}

QString AccountCommands::readPassword(const QString& path, QString* problem) const {
    QFile file;
    const bool opened = path.isEmpty() ? file.open(stdin, QIODevice::ReadOnly)
                                       : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        *problem = QStringLiteral("cannot read the password from %1: %2")
                       .arg(path.isEmpty() ? QStringLiteral("standard input") : path, file.errorString());
        return QString();
    }
    // A password is one line; more is not read.
    return QString::fromUtf8(file.readLine(4096)).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
}
