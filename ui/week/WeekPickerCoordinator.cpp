#include "ui/week/WeekPickerCoordinator.h"

#include "core/calendar/Day.h"
#include "core/calendar/Month.h"
#include "core/calendar/WeekInMonth.h"
#include "core/hints/Hint.h"
#include "foundation/Localization.h"
#include "kit/BarButtonItem.h"
#include "kit/NavigationItem.h"
#include "kit/ScrollView.h"
#include "kit/ViewController.h"
#include "ui/week/DateTitleView.h"
#include "ui/weekpicker/WeekPickerController.h"

WeekPickerCoordinator::WeekPickerCoordinator(std::shared_ptr<Hint> weekPickerHint)
    : m_weekPickerHint(std::move(weekPickerHint)) {}

void WeekPickerCoordinator::dateTitleTapped() {
    if (m_weekPickerController && m_weekPickerController->visible()) {
        closeWeekPickerAnimated(true, {});
    } else {
        openWeekPicker(false);
    }
}

void WeekPickerCoordinator::dropWeekPickerController() {
    closeWeekPickerAnimated(false, {});
    m_weekPickerController.reset();
}

void WeekPickerCoordinator::dropWeekPickerControllerIfOffScreen() {
    if (m_weekPickerController &&
        (!m_weekPickerController->isViewLoaded() || !m_weekPickerController->view()->superview())) {
        m_weekPickerController.reset();
    }
}

void WeekPickerCoordinator::configureForOrientation(bool landscape) {
    if (!m_weekPickerController || !m_weekPickerController->visible()) {
        return;
    }
    if (landscape) {
        m_weekPickerController->configureForLandscape();
    } else {
        m_weekPickerController->configureForPortrait();
    }
}

void WeekPickerCoordinator::createWeekPickerController() {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    m_weekPickerController = std::make_shared<WeekPickerController>(host->weekScreen().view()->frame());
    const std::weak_ptr<WeekPickerCoordinator> weakSelf = weak_from_this();
    m_weekPickerController->setOnSecondTapOnWeek([weakSelf](const Week& week) {
        if (auto self = weakSelf.lock()) {
            self->closeWeekPickerAndJumpToWeek(week);
        }
    });
    m_weekPickerController->setOnWeekSelectionChanged([weakSelf](const std::optional<Week>& week) {
        if (auto self = weakSelf.lock()) {
            self->weekPickerSelectionChanged(week);
        }
    });
}

// Reports of a closed picker would reach the bar's own buttons.
void WeekPickerCoordinator::weekPickerSelectionChanged(const std::optional<Week>& week) {
    const auto host = m_host.lock();
    if (!host || !m_weekPickerController || !m_weekPickerController->visible()) {
        return;
    }
    const std::shared_ptr<BarButtonItem>& goButton =
        host->weekScreen().navigationItem()->rightBarButtonItem();
    if (week) {
        host->dateTitleView()->setWeek(*week);
    } else {
        host->dateTitleView()->setText(localizedString(QStringLiteral("Pick a Week")));
    }
    if (goButton) {
        goButton->setEnabled(week.has_value());
    }
}

void WeekPickerCoordinator::openWeekPicker(bool) {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    if (!m_weekPickerController) {
        createWeekPickerController();
    }
    const std::weak_ptr<WeekPickerCoordinator> weakSelf = weak_from_this();
    ViewController& screen = host->weekScreen();
    NavigationItem& item = *screen.navigationItem();
    const std::shared_ptr<DateTitleView>& dateTitleView = host->dateTitleView();
    dateTitleView->withSubViewsStayingInPositionDo([&] {
        m_savedLeftBarButtonItem = item.leftBarButtonItem();
        m_savedRightBarButtonItem = item.rightBarButtonItem();
        m_savedLeftBarButtonItemEnabled = m_savedLeftBarButtonItem && m_savedLeftBarButtonItem->enabled();
        m_savedRightBarButtonItemEnabled = m_savedRightBarButtonItem && m_savedRightBarButtonItem->enabled();
        auto cancel = std::make_shared<BarButtonItem>(localizedString(QStringLiteral("Cancel")),
                                                      BarButtonItem::Style::Plain, [weakSelf] {
                                                          if (auto self = weakSelf.lock()) {
                                                              self->handleWeekPickerCancelButton();
                                                          }
                                                      });
        auto go = std::make_shared<BarButtonItem>(localizedString(QStringLiteral("Go")),
                                                  BarButtonItem::Style::Done, [weakSelf] {
                                                      if (auto self = weakSelf.lock()) {
                                                          self->handleWeekPickerGoButton();
                                                      }
                                                  });
        item.setLeftBarButtonItem(cancel, true);
        item.setRightBarButtonItem(go, true);
        go->setEnabled(false);
    });
    dateTitleView->animateFromRightWithText(localizedString(QStringLiteral("Pick a Week")));
    m_weekPickerController->configureForCurrentOrientation();
    const Week displayedWeek = host->currentWeek();
    const Month month = displayedWeek == Week::currentWeek() ? Day::today().month()
                                                             : displayedWeek.middleOfTheWeekDay().month();
    screen.view()->addSubview(m_weekPickerController->view());
    m_weekPickerController->selectWeekInMonth(WeekInMonth(displayedWeek, month));
    m_weekPickerController->openAnimated();
    host->scrollView()->setScrollEnabled(false);
}

void WeekPickerCoordinator::closeWeekPickerAnimated(bool animated, std::function<void()> completion) {
    const auto host = m_host.lock();
    if (!host || !m_weekPickerController || !m_weekPickerController->visible()) {
        return;
    }
    NavigationItem& item = *host->weekScreen().navigationItem();
    const std::shared_ptr<DateTitleView>& dateTitleView = host->dateTitleView();
    dateTitleView->withSubViewsStayingInPositionDo([&] {
        item.setLeftBarButtonItem(m_savedLeftBarButtonItem, true);
        item.setRightBarButtonItem(m_savedRightBarButtonItem, true);
        if (m_savedLeftBarButtonItem) {
            m_savedLeftBarButtonItem->setEnabled(m_savedLeftBarButtonItemEnabled);
        }
        if (m_savedRightBarButtonItem) {
            m_savedRightBarButtonItem->setEnabled(m_savedRightBarButtonItemEnabled);
        }
    });
    dateTitleView->animateFromLeftWithWeek(host->currentWeek());
    const std::weak_ptr<WeekPickerHost> weakHost = m_host;
    const std::weak_ptr<WeekPickerController> weakPicker = m_weekPickerController;
    m_weekPickerController->closeAnimated(
        animated, [weakHost, weakPicker, completion = std::move(completion)] {
            if (completion) {
                completion();
            }
            if (const auto picker = weakPicker.lock(); picker && !picker->visible()) {
                picker->view()->removeFromSuperview();
            }
            if (const auto closedHost = weakHost.lock(); closedHost && closedHost->scrollView()) {
                closedHost->scrollView()->setScrollEnabled(true);
            }
        });
}

void WeekPickerCoordinator::handleWeekPickerCancelButton() {
    closeWeekPickerAnimated(true, {});
}

void WeekPickerCoordinator::handleWeekPickerGoButton() {
    if (m_weekPickerHint) {
        m_weekPickerHint->invalidate();
    }
    closeWeekPickerAndJumpToWeek(m_weekPickerController ? m_weekPickerController->selectedWeek()
                                                        : std::nullopt);
}

// A picker closed without a week jumps nowhere.
void WeekPickerCoordinator::closeWeekPickerAndJumpToWeek(const std::optional<Week>& week) {
    const std::weak_ptr<WeekPickerHost> weakHost = m_host;
    closeWeekPickerAnimated(true, [weakHost, week] {
        const auto host = weakHost.lock();
        if (host && week) {
            host->jumpToWeek(*week);
        }
    });
}
