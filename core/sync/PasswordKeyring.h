#pragma once

#include <QString>

#include <functional>
#include <optional>

// Where the passwords of the accounts are kept: the desktop's keyring, never the settings or the
// database. Asked and answered on the main thread; answers may come later.
class PasswordKeyring {
public:
    virtual ~PasswordKeyring() = default;

    // The account's password, or none when the keyring holds none or there is no keyring.
    virtual void readPassword(const QString& account, std::function<void(std::optional<QString>)> done) = 0;
    // Keeps the password; `done` is told whether the keyring took it (false: no keyring, or it refused).
    virtual void writePassword(const QString& account, const QString& password,
                               std::function<void(bool kept)> done) = 0;
    virtual void removePassword(const QString& account) = 0;
};
