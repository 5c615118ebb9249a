#include "ui/accounts/PasswordPromptPresenter.h"

#include "foundation/Localization.h"
#include "kit/AlertView.h"
#include "ui/accounts/PasswordPromptView.h"

#include <algorithm>
#include <memory>
#include <vector>

void PasswordPromptPresenter::install(AccountSync& accountSync) {
    accountSync.setPasswordPrompt(&PasswordPromptPresenter::askForPassword);
    accountSync.setOnConflicts(&PasswordPromptPresenter::showConflicts);
}

void PasswordPromptPresenter::askForPassword(const CalDavAccount& account,
                                             std::function<void(std::optional<QString>)> answer) {
    auto prompt = std::make_shared<PasswordPromptView>(account.title);
    prompt->onAnswer = std::move(answer);
    prompt->show();
    // Without a window the prompt leaves the queue unseen; the account goes without a password.
    const std::vector<std::shared_ptr<AlertView>> queued = AlertView::queuedAlerts();
    if (std::find(queued.begin(), queued.end(), prompt) == queued.end()) {
        if (auto declined = std::exchange(prompt->onAnswer, nullptr)) {
            declined(std::nullopt);
        }
    }
}

QString PasswordPromptPresenter::conflictsMessage(const QString& accountTitle, int conflicts) {
    return localizedString(
               QStringLiteral("%n events were changed both here and on the server of “%2”. Both "
                              "versions are kept: this computer's has “ (changed on this computer)” "
                              "in its title."),
               conflicts)
        .arg(accountTitle);
}

void PasswordPromptPresenter::showConflicts(const CalDavAccount& account, int conflicts) {
    std::make_shared<AlertView>(localizedString(QStringLiteral("Changed on both sides")),
                                conflictsMessage(account.title, conflicts), nullptr,
                                localizedString(QStringLiteral("OK")))
        ->show();
}
