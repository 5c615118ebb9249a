#include "ui/week/WeekRotationCoordinator.h"

#include "kit/AffineTransform.h"
#include "kit/Application.h"
#include "kit/InterfaceOrientation.h"
#include "kit/NavigationController.h"
#include "kit/ScrollView.h"
#include "kit/Window.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/settings/SettingsViewController.h"
#include "ui/threeweeks/ThreeWeeksView.h"
#include "ui/week/DateTitleView.h"

namespace {

// In landscape the portrait pages shrink into the middle week of the three.
constexpr double middleWeekX = 161.0;
constexpr double middleWeekY = 31.0;
constexpr double middleWeekWidth = 159.0;
constexpr double middleWeekHeight = 236.0;
const Rect threeWeeksFrame(0, 0, 480, 268);

} // namespace

WeekRotationCoordinator::WeekRotationCoordinator(CopyMoveEventMode& copyMoveEventMode)
    : m_copyMoveEventMode(copyMoveEventMode) {}

bool WeekRotationCoordinator::shouldAutorotateToInterfaceOrientation(int orientation) const {
    const auto host = m_host.lock();
    const bool uprightOnly = !host || host->searchModeActivated() || m_copyMoveEventMode.activated() ||
                             !m_landscapeOrientationPermitted || settingsScreenOpened();
    if (uprightOnly) {
        return orientation == InterfaceOrientation::Portrait;
    }
    return orientation != InterfaceOrientation::PortraitUpsideDown;
}

bool WeekRotationCoordinator::settingsScreenOpened() const {
    const auto host = m_host.lock();
    const auto navigation =
        host ? std::dynamic_pointer_cast<NavigationController>(host->weekScreen().modalViewController())
             : nullptr;
    return navigation && !navigation->viewControllers().empty() &&
           std::dynamic_pointer_cast<SettingsViewController>(navigation->viewControllers().front());
}

void WeekRotationCoordinator::willRotateToInterfaceOrientation(int orientation) {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    if (Window::isLandscapeOrientation(orientation)) {
        if (!m_threeWeeksView) {
            createThreeWeeksView();
        }
        m_threeWeeksView->setCurrentWeek(host->currentWeek());
        m_threeWeeksView->setHidden(false);
        InterfaceOrientation::setInterfaceOrientation(orientation);
        host->dateTitleView()->setLandscape(true);
    } else {
        host->portraitPagesCatchUp();
        host->scrollView()->setHidden(false);
        host->dateTitleView()->setLandscape(false);
    }
}

void WeekRotationCoordinator::willAnimateRotationToInterfaceOrientation(int orientation) {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    const std::shared_ptr<ScrollView>& scrollArea = host->scrollView();
    const bool landscape = Window::isLandscapeOrientation(orientation);
    if (landscape) {
        // The frame's origin is placed through the centre: the transform keeps the bounds.
        const Size size = m_savedScrollViewFrame.size();
        const double scaleX = middleWeekWidth / size.width();
        const double scaleY = middleWeekHeight / size.height();
        scrollArea->setTransform(AffineTransform::scaling(scaleX, scaleY));
        scrollArea->setCenter(
            Point(middleWeekX + size.width() * scaleX / 2.0, middleWeekY + size.height() * scaleY / 2.0));
        scrollArea->setAlpha(0.0);
    } else {
        scrollArea->setTransform(AffineTransform::identity());
        scrollArea->setFrame(m_savedScrollViewFrame);
        scrollArea->setAlpha(1.0);
    }
    host->configureOverlaysForOrientation(landscape);
}

void WeekRotationCoordinator::didRotateFromInterfaceOrientation() {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    const int orientation = host->weekScreen().interfaceOrientation();
    const std::shared_ptr<ScrollView>& scrollArea = host->scrollView();
    if (Window::isLandscapeOrientation(orientation)) {
        if (m_threeWeeksView) {
            m_threeWeeksView->setAlpha(1.0);
            m_threeWeeksView->setHidden(false);
        }
        scrollArea->setHidden(true);
    } else {
        if (m_threeWeeksView) {
            m_threeWeeksView->setHidden(true);
        }
        scrollArea->setAlpha(1.0);
        scrollArea->setHidden(false);
    }
    InterfaceOrientation::setInterfaceOrientation(orientation);
}

bool WeekRotationCoordinator::landscapeShown() const {
    return m_threeWeeksView && !m_threeWeeksView->hidden() && InterfaceOrientation::isLandscape();
}

void WeekRotationCoordinator::createThreeWeeksView() {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    const std::shared_ptr<ScrollView>& scrollArea = host->scrollView();
    m_savedScrollViewFrame = scrollArea->frame();
    m_threeWeeksView = ThreeWeeksView::create(threeWeeksFrame);
    m_threeWeeksView->setHidden(true);
    host->weekScreen().view()->insertSubviewBelow(m_threeWeeksView, *scrollArea);
    const std::weak_ptr<WeekRotationHost> weakHost = m_host;
    m_threeWeeksView->setOnCurrentWeekChanged([weakHost](const Week& week) {
        if (const auto shown = weakHost.lock()) {
            shown->landscapeWeekChanged(week);
        }
    });
    m_threeWeeksView->setOnLandedSteadyOnWeek([weakHost](const Week& week) {
        if (const auto shown = weakHost.lock()) {
            shown->landscapeLandedOnWeek(week);
        }
    });
}

void WeekRotationCoordinator::dropThreeWeeksView() {
    if (m_threeWeeksView) {
        m_threeWeeksView->removeFromSuperview();
        m_threeWeeksView.reset();
    }
}

void WeekRotationCoordinator::forcePortrait() {
    if (m_landscapeOrientationPermitted && InterfaceOrientation::isLandscape()) {
        m_landscapeOrientationPermitted = false;
        reevaluateInterfaceOrientation();
    }
}

void WeekRotationCoordinator::allowLandscapeWithReevaluation(bool reevaluate) {
    if (!m_landscapeOrientationPermitted) {
        m_landscapeOrientationPermitted = true;
        if (reevaluate) {
            reevaluateInterfaceOrientation();
        }
    }
}

void WeekRotationCoordinator::reevaluateInterfaceOrientation() {
    if (m_interfaceOrientationIsBeingReevaluated) {
        return;
    }
    Window* window = Application::shared() ? Application::shared()->keyWindow() : nullptr;
    if (window == nullptr) {
        return;
    }
    m_interfaceOrientationIsBeingReevaluated = true;
    window->attemptRotationToDeviceOrientation();
    m_interfaceOrientationIsBeingReevaluated = false;
}

void WeekRotationCoordinator::weekScreenWillShow() {
    if (m_interfaceOrientationIsBeingReevaluated) {
        return;
    }
    if (!m_landscapeOrientationPermitted) {
        allowLandscapeWithReevaluation(true);
    } else if (m_reevaluateInterfaceOrientationOnceWhenBack) {
        reevaluateInterfaceOrientation();
        m_reevaluateInterfaceOrientationOnceWhenBack = false;
    }
}
