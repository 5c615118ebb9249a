#include "ui/rating/RatingPrompt.h"

#include "core/rating/RatingPromptRecord.h"
#include "foundation/DispatchQueue.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "foundation/RunLoop.h"
#include "foundation/UserDefaults.h"
#include "kit/AlertView.h"
#include "kit/Application.h"
#include "kit/Bundle.h"
#include "kit/NotificationCenter.h"
#include "kit/Reachability.h"
#include "kit/UrlOpener.h"

namespace {

QString ratingTextWithDisplayName(const QString& key) {
    return localizedString(key).replace(QStringLiteral("%@"), Bundle::main().displayName());
}

} // namespace

RatingPrompt& RatingPrompt::sharedInstance() {
    // Kept to the end of the process and never destroyed; held by a shared pointer so that its
    // alert can hold it weakly like any other delegate.
    static const auto* const prompt = new std::shared_ptr<RatingPrompt>(
        new RatingPrompt(), [](RatingPrompt* instance) { delete instance; });
    return **prompt;
}

RatingPrompt::RatingPrompt() {
    NotificationCenter::defaultCenter().addObserver(this, Application::willResignActiveNotification,
                                                    [](const Notification&) { appWillResignActive(); });
}

RatingPrompt::~RatingPrompt() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

void RatingPrompt::appLaunched() {
    appLaunched(true);
}

void RatingPrompt::appLaunched(bool canPromptForRating) {
    // The shared instance is made here, on the main thread, where it can observe notifications.
    RatingPrompt& prompt = sharedInstance();
    DispatchQueue::global().async(
        [&prompt, canPromptForRating] { prompt.incrementAndRate(canPromptForRating); });
}

void RatingPrompt::appEnteredForeground(bool canPromptForRating) {
    appLaunched(canPromptForRating);
}

void RatingPrompt::appWillResignActive() {
    sharedInstance().hideRatingAlert();
}

RatingPromptRecord RatingPrompt::recordForRunningVersion() {
    return RatingPromptRecord(UserDefaults::standardUserDefaults(), Bundle::main().shortVersionString());
}

void RatingPrompt::incrementAndRate(bool canPromptForRating) {
    RatingPromptRecord record = recordForRunningVersion();
    const Date now = RunLoop::main().now();
    record.incrementUseCount(now);
    if (canPromptForRating && record.ratingConditionsHaveBeenMet(now)) {
        // The network is asked on the main thread, where the system's reachability is set up.
        DispatchQueue::main().async([] {
            if (connectedToNetwork()) {
                sharedInstance().showRatingAlert();
            }
        });
    }
}

bool RatingPrompt::connectedToNetwork() {
    const Reachability::Status status = Reachability::shared().status();
    if (status == Reachability::Status::Unknown) {
        Log::warning(QStringLiteral("rating"),
                     QStringLiteral("Error. Could not recover network reachability flags"));
        return false;
    }
    return status == Reachability::Status::Reachable;
}

void RatingPrompt::showRatingAlert() {
    if (m_ratingAlert && m_ratingAlert->isVisible()) {
        return;
    }
    m_ratingAlert = std::make_shared<AlertView>(
        ratingTextWithDisplayName(localizationKey("rateTitle")),
        ratingTextWithDisplayName(
            localizationKey("If you enjoy using %@, would you mind taking a moment to rate it? It "
                            "won't take more than a minute. Thanks for your support!")),
        shared_from_this(), localizedString(QStringLiteral("No, Thanks")),
        QStringList{ratingTextWithDisplayName(localizationKey("Rate %@")),
                    localizedString(QStringLiteral("Remind me later"))});
    m_ratingAlert->show();
}

void RatingPrompt::hideRatingAlert() {
    if (m_ratingAlert && m_ratingAlert->isVisible()) {
        m_ratingAlert->dismissWithClickedButtonIndex(-1, false);
    }
    m_ratingAlert.reset();
}

void RatingPrompt::clickedButtonAtIndex(AlertView&, int buttonIndex) {
    RatingPromptRecord record = recordForRunningVersion();
    switch (static_cast<Choice>(buttonIndex)) {
    case Choice::NoThanks:
        record.recordDeclined();
        break;
    case Choice::Rate:
        record.recordRated();
        UrlOpener::shared().openURL(QString::fromLatin1(reviewAddressTemplate)
                                        .replace(QStringLiteral("APP_ID"), QString::number(storeIdentifier)));
        break;
    case Choice::RemindMeLater:
        record.recordReminderRequest(RunLoop::main().now());
        break;
    }
    m_ratingAlert.reset();
}
