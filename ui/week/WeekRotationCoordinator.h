#pragma once

#include "core/calendar/Week.h"
#include "kit/Rect.h"

#include <memory>

class CopyMoveEventMode;
class DateTitleView;
class ScrollView;
class ThreeWeeksView;
class ViewController;

// What turning the week screen needs of it.
class WeekRotationHost {
public:
    virtual ~WeekRotationHost() = default;
    virtual ViewController& weekScreen() = 0;
    virtual const std::shared_ptr<ScrollView>& scrollView() const = 0;
    virtual const std::shared_ptr<DateTitleView>& dateTitleView() const = 0;
    virtual Week currentWeek() const = 0;
    virtual bool searchModeActivated() const = 0;
    // The week in the middle of the three weeks changed: it becomes the displayed week.
    virtual void landscapeWeekChanged(const Week& week) = 0;
    // The three weeks came to rest on a week: the hidden portrait page reads it.
    virtual void landscapeLandedOnWeek(const Week& week) = 0;
    // Back in portrait: the pages catch up with a week chosen in landscape.
    virtual void portraitPagesCatchUp() = 0;
    // The week picker, the day list, the menus and hints take the new orientation.
    virtual void configureOverlaysForOrientation(bool landscape) = 0;
};

// Whether and how the week screen turns between the week pages (portrait) and the three-weeks
// view (landscape), and when it goes back upright for a screen pushed above it.
class WeekRotationCoordinator : public std::enable_shared_from_this<WeekRotationCoordinator> {
public:
    explicit WeekRotationCoordinator(CopyMoveEventMode& copyMoveEventMode);
    void setHost(std::weak_ptr<WeekRotationHost> host) { m_host = std::move(host); }

    bool shouldAutorotateToInterfaceOrientation(int orientation) const;
    void willRotateToInterfaceOrientation(int orientation);
    void willAnimateRotationToInterfaceOrientation(int orientation);
    void didRotateFromInterfaceOrientation();

    // Before a screen is pushed: a landscape screen goes upright and stays so until it is back.
    void forcePortrait();
    void allowLandscapeWithReevaluation(bool reevaluate);
    // Asks the window again which orientation the screen may take.
    void reevaluateInterfaceOrientation();
    // The screen is about to show again above the navigation stack.
    void weekScreenWillShow();
    // The platform's event viewer was pushed; the orientation is asked again once it is gone.
    void setReevaluateInterfaceOrientationOnceWhenBack() {
        m_reevaluateInterfaceOrientationOnceWhenBack = true;
    }
    // The three-weeks view was made for the old week settings; it is made again on next use.
    void dropThreeWeeksView();

    // The landscape view, once the screen has turned for the first time.
    const std::shared_ptr<ThreeWeeksView>& threeWeeksView() const { return m_threeWeeksView; }
    bool landscapeOrientationPermitted() const { return m_landscapeOrientationPermitted; }
    bool landscapeShown() const;

private:
    bool settingsScreenOpened() const;
    void createThreeWeeksView();

    std::weak_ptr<WeekRotationHost> m_host;
    CopyMoveEventMode& m_copyMoveEventMode;
    std::shared_ptr<ThreeWeeksView> m_threeWeeksView;
    Rect m_savedScrollViewFrame;
    bool m_landscapeOrientationPermitted = true;
    bool m_interfaceOrientationIsBeingReevaluated = false;
    bool m_reevaluateInterfaceOrientationOnceWhenBack = false;
};
