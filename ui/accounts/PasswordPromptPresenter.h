#pragma once

#include "core/sync/AccountSync.h"

#include <QString>

#include <functional>
#include <optional>

// What the accounts need from the person while they sync: a password the keyring does not have
// (a prompt over the window's top screen), and word of events kept twice after both sides
// changed them. Main thread only.
class PasswordPromptPresenter {
public:
    // Gives the account service the prompt and the alert.
    static void install(AccountSync& accountSync);

    // Asks for the account's password; `answer` hears it, or none when the person cancels.
    static void askForPassword(const CalDavAccount& account,
                               std::function<void(std::optional<QString>)> answer);
    // Tells that `conflicts` events of the account were changed both here and on its server.
    static void showConflicts(const CalDavAccount& account, int conflicts);
    static QString conflictsMessage(const QString& accountTitle, int conflicts);
};
