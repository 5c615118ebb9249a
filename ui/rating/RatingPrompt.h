#pragma once

#include "kit/AlertViewDelegate.h"

#include <QString>

#include <memory>

class AlertView;
class Bundle;
class RatingPromptRecord;

// Asks the user now and then to rate Orvella. Each launch and each return to the foreground
// counts one use on a background queue; once the record says enough days and uses have passed
// and the network is reachable, the main thread shows an alert offering to rate, to be reminded
// later or never to be asked for this version. The review page opens in the desktop's browser.
class RatingPrompt final : public AlertViewDelegate, public std::enable_shared_from_this<RatingPrompt> {
public:
    enum class Choice { NoThanks = 0, Rate = 1, RemindMeLater = 2 };

    // The address of the review page, with "APP_ID" standing for the store identifier.
    static constexpr const char* reviewAddressTemplate = "https://orvella.example/review?id=APP_ID";
    static constexpr int storeIdentifier = 12345;

    // Made on the main thread on first use; it then follows the application's resignation.
    static RatingPrompt& sharedInstance();

    static void appLaunched();
    // Counts a use in the background; `canPromptForRating` lets the count lead to the alert.
    static void appLaunched(bool canPromptForRating);
    static void appEnteredForeground(bool canPromptForRating);
    // Takes an alert on screen away without recording a choice.
    static void appWillResignActive();

    // Counts a use and, when allowed and due, asks the main thread to show the alert if the
    // network is reachable. Runs on any thread.
    void incrementAndRate(bool canPromptForRating);

    void clickedButtonAtIndex(AlertView& alertView, int buttonIndex) override;

private:
    RatingPrompt();
    ~RatingPrompt() override;

    static RatingPromptRecord recordForRunningVersion();
    static bool connectedToNetwork();
    void showRatingAlert();
    void hideRatingAlert();

    std::shared_ptr<AlertView> m_ratingAlert;
};
