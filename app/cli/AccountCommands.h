#pragma once

#include "core/sync/CalDavStore.h"
#include "core/sync/DesktopKeyring.h"

#include <QString>
#include <QTextStream>

#include <optional>

class EKEventStore;
struct CalDavAccount;

// orvella-cli's accounts on calendar servers: adding one (found by discovery, then synced),
// listing and removing them, and syncing them with a progress line on a terminal and a summary.
// Passwords are kept in the desktop's keyring where there is one; otherwise they come from a file
// or standard input at each sync. Never from the store or the settings.
class AccountCommands {
public:
    AccountCommands(EKEventStore& store, QTextStream& out, QTextStream& err);

    // Each gives why it failed, or an empty text.
    // `certificate`: the SHA-256 fingerprint of a certificate the person confirmed, as typed.
    QString add(const QString& kind, const QString& address, const QString& userName, const QString& title,
                const QString& passwordFile, const QString& certificate);
    QString list();
    QString remove(const QString& name);
    // Every account, or the one named.
    QString sync(const QString& name, const QString& passwordFile);

private:
    // The first line of the file, or of standard input when `path` is empty.
    QString readPassword(const QString& path, QString* problem) const;
    QString syncAccount(const CalDavAccount& account, const QString& password);
    // The keyring's answers, waited for.
    std::optional<QString> keptPassword(const CalDavAccount& account);
    bool keepPassword(const CalDavAccount& account, const QString& password);

    EKEventStore& m_store;
    DesktopKeyring m_keyring;
    QTextStream& m_out;
    QTextStream& m_err;
};
