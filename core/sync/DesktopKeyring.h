#pragma once

#include "core/sync/PasswordKeyring.h"

// The desktop's keyring (the Secret Service on the session bus, through QtKeychain). Without one,
// reads answer none and writes are refused: passwords are never written anywhere else. Main
// thread, with a Qt event loop to deliver the answers.
class DesktopKeyring final : public PasswordKeyring {
public:
    void readPassword(const QString& account, std::function<void(std::optional<QString>)> done) override;
    void writePassword(const QString& account, const QString& password,
                       std::function<void(bool kept)> done) override;
    void removePassword(const QString& account) override;
};
