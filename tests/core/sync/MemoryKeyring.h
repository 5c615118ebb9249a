#pragma once

#include "core/sync/PasswordKeyring.h"

#include <map>

// A keyring in memory that answers at once; `available` false stands for a desktop without one.
class MemoryKeyring final : public PasswordKeyring {
public:
    void readPassword(const QString& account, std::function<void(std::optional<QString>)> done) override {
        const auto kept = passwords.find(account);
        done(kept == passwords.end() ? std::nullopt : std::optional<QString>(kept->second));
    }
    void writePassword(const QString& account, const QString& password,
                       std::function<void(bool)> done) override {
        if (available) {
            passwords[account] = password;
        }
        done(available);
    }
    void removePassword(const QString& account) override { passwords.erase(account); }

    bool available = true;
    std::map<QString, QString> passwords;
};
