#include "ui/editing/CalendarPickerView.h"

#include "core/eventstore/EKCalendar.h"
#include "foundation/RunLoop.h"
#include "kit/Animator.h"
#include "kit/Artwork.h"
#include "kit/ImageView.h"
#include "kit/LongPressGestureRecognizer.h"
#include "kit/ScrollView.h"
#include "kit/TapGestureRecognizer.h"
#include "ui/editing/BalloonView.h"
#include "ui/editing/CalendarOptionView.h"
#include "ui/editing/EditingArtwork.h"

#include <algorithm>

namespace {

// The strip's field and its end fades stand this far below the top, as high as the field image.
constexpr double fieldTop = 7.0;
constexpr double fadeWidth = 40.0;
constexpr int fieldLeftCap = 13;
// The first square's distance from the start of the strip, and the squares' distance from the
// top; the strip is this much wider than its squares' pitch.
constexpr double firstOptionX = 9.0;
constexpr double optionY = 16.0;
constexpr double stripPadding = 8.0;

std::shared_ptr<ImageView> pickerImageView(const QString& name, const Rect& frame) {
    auto view = std::make_shared<ImageView>(Artwork::imageNamed(name));
    view->setFrame(frame);
    return view;
}

} // namespace

CalendarPickerView::CalendarPickerView(Point point) : View(Rect(point, Size(stripPadding, height))) {}

CalendarPickerView::~CalendarPickerView() {
    stopAutoScroll();
    if (m_disappearTimer) {
        m_disappearTimer->invalidate();
    }
    // The balloon lives in the window, which would keep it after the strip is gone.
    if (m_balloonView) {
        m_balloonView->removeFromSuperview();
    }
}

std::shared_ptr<CalendarPickerView> CalendarPickerView::create(Point point) {
    EditingArtwork::registerImages();
    auto picker = std::make_shared<CalendarPickerView>(point);
    picker->buildSubviews();
    return picker;
}

void CalendarPickerView::buildSubviews() {
    const double width = frame().width();
    m_backgroundView = std::make_shared<ImageView>(
        Artwork::imageNamed(QStringLiteral("edit-button-bg")).stretchableImage(fieldLeftCap, 0));
    m_backgroundView->setFrame(Rect(0, fieldTop, width, EditingArtwork::fieldHeight));
    addSubview(m_backgroundView);

    m_scrollView = std::make_shared<ScrollView>(Rect(0, 0, width, height));
    m_scrollView->setShowsHorizontalScrollIndicator(false);
    m_scrollView->setClipsToBounds(true);
    m_scrollView->setDelegate(std::static_pointer_cast<CalendarPickerView>(shared_from_this()));
    addSubview(m_scrollView);

    m_leftFadeView = pickerImageView(QStringLiteral("calendar-picker-fade-left"),
                                     Rect(0, fieldTop, fadeWidth, EditingArtwork::fieldHeight));
    m_rightFadeView =
        pickerImageView(QStringLiteral("calendar-picker-fade-right"),
                        Rect(width - fadeWidth, fieldTop, fadeWidth, EditingArtwork::fieldHeight));
    addSubview(m_leftFadeView);
    addSubview(m_rightFadeView);

    const std::weak_ptr<View> weakSelf = weak_from_this();
    const auto handler = [weakSelf](GestureRecognizer& recognizer) {
        if (const auto self = std::static_pointer_cast<CalendarPickerView>(weakSelf.lock())) {
            self->tappedOnCalendar(recognizer);
        }
    };
    m_tapGesture = std::make_shared<TapGestureRecognizer>();
    m_tapGesture->onAction = handler;
    m_longTapGesture = std::make_shared<LongPressGestureRecognizer>();
    m_longTapGesture->setMinimumPressDuration(0.0);
    m_longTapGesture->onAction = handler;
    m_scrollView->addGestureRecognizer(m_tapGesture);
    m_scrollView->addGestureRecognizer(m_longTapGesture);

    m_balloonView = BalloonView::create();
}

void CalendarPickerView::setCalendars(std::vector<std::shared_ptr<EKCalendar>> calendars) {
    m_calendars = std::move(calendars);
    const double contentWidth = static_cast<double>(m_calendars.size()) * optionWidth + stripPadding;
    const double width = std::min(contentWidth, static_cast<double>(m_maximumWidth));
    setFrameWidth(width);
    m_scrollView->setFrame(Rect(0, 0, width, height));
    m_rightFadeView->setFrameX(width - fadeWidth);
    m_backgroundView->setFrameWidth(width);
    const bool scrolls = contentWidth - stripPadding > width;
    m_longTapGesture->setMinimumPressDuration(scrolls ? scrollingPressDuration : 0.0);

    for (const auto& option : m_calendarOptionViews) {
        option->removeFromSuperview();
    }
    m_calendarOptionViews.clear();
    m_currentSelectedOption.reset();
    for (std::size_t index = 0; index < m_calendars.size(); ++index) {
        auto option = std::make_shared<CalendarOptionView>(
            Point(firstOptionX + optionWidth * static_cast<double>(index), optionY), *m_calendars[index]);
        m_scrollView->addSubview(option);
        m_calendarOptionViews.push_back(option);
    }
    m_scrollView->setContentSize(Size(contentWidth, height));
    m_scrollView->setContentOffset(Point(0, 0));
    scrollViewDidScroll(*m_scrollView);
    if (!m_calendars.empty()) {
        selectCalendar(*m_calendars.front());
    }
}

void CalendarPickerView::selectCalendar(const EKCalendar& calendar) {
    const auto found = std::find_if(m_calendars.begin(), m_calendars.end(), [&](const auto& offered) {
        return offered->calendarIdentifier() == calendar.calendarIdentifier();
    });
    if (found == m_calendars.end()) {
        return;
    }
    selectCalendarOptionView(m_calendarOptionViews[static_cast<std::size_t>(found - m_calendars.begin())],
                             false);
    stopDragging(false);
}

std::shared_ptr<EKCalendar> CalendarPickerView::selectedCalendar() const {
    const auto found =
        std::find(m_calendarOptionViews.begin(), m_calendarOptionViews.end(), m_currentSelectedOption);
    if (!m_currentSelectedOption || found == m_calendarOptionViews.end()) {
        return nullptr;
    }
    return m_calendars[static_cast<std::size_t>(found - m_calendarOptionViews.begin())];
}

void CalendarPickerView::setHideBorder(bool hideBorder) {
    m_hideBorder = hideBorder;
    m_backgroundView->setHidden(hideBorder);
    m_leftFadeView->setHidden(hideBorder);
    m_rightFadeView->setHidden(hideBorder);
}

void CalendarPickerView::tappedOnCalendar(GestureRecognizer& recognizer) {
    selectCalendarWithX(recognizer.locationInView(m_scrollView.get()).x());
    switch (recognizer.state()) {
    case GestureRecognizer::State::Began:
        m_userTouchedScreenStart = RunLoop::main().now();
        // The fading of an earlier pick must not take the balloon from under this finger.
        if (m_disappearTimer) {
            m_disappearTimer->invalidate();
        }
        break;
    case GestureRecognizer::State::Ended:
    // A press taken away (the screen went, say) still leaves the square it chose, so it is
    // reported as a pick too.
    case GestureRecognizer::State::Cancelled:
        finishPick();
        break;
    default:
        break;
    }
}

void CalendarPickerView::finishPick() {
    double delay = balloonShowTime;
    if (m_userTouchedScreenStart) {
        delay = std::max(0.0, balloonShowTime -
                                  RunLoop::main().now().timeIntervalSinceDate(*m_userTouchedScreenStart));
    }
    if (m_disappearTimer) {
        m_disappearTimer->invalidate();
    }
    const std::weak_ptr<BalloonView> weakBalloon = m_balloonView;
    m_disappearTimer = RunLoop::main().scheduleTimer(delay, false, [weakBalloon] {
        if (const std::shared_ptr<BalloonView> balloon = weakBalloon.lock()) {
            balloon->disappear();
        }
    });
    stopDragging(true);
    m_userTouchedScreenStart.reset();
    if (m_onCalendarPicked) {
        const std::function<void()> report = m_onCalendarPicked;
        report();
    }
}

void CalendarPickerView::selectCalendarWithX(double x) {
    const double offset = contentOffsetX();
    if (m_calendarOptionViews.empty() || x < offset || x > offset + stripWidth()) {
        return;
    }
    m_currentX = x;
    const std::size_t index =
        std::min(static_cast<std::size_t>(x / optionWidth), m_calendarOptionViews.size() - 1);
    selectCalendarOptionView(m_calendarOptionViews[index], true);
    const double distance = x - offset;
    if (distance < autoScrollMargin) {
        startAutoScroll(-autoScrollStep);
    } else if (distance > stripWidth() - autoScrollMargin) {
        startAutoScroll(autoScrollStep);
    } else {
        stopAutoScroll();
    }
}

void CalendarPickerView::selectCalendarOptionView(const std::shared_ptr<CalendarOptionView>& option,
                                                  bool showBalloon) {
    if (option != m_currentSelectedOption) {
        if (m_currentSelectedOption) {
            m_currentSelectedOption->setSelected(false);
        }
        option->setSelected(true);
        m_currentSelectedOption = option;
    }
    if (showBalloon) {
        m_balloonView->setTitle(option->calendarTitle());
        m_balloonView->positionRelativeToView(*option);
    }
}

void CalendarPickerView::stopDragging(bool animated) {
    stopAutoScroll();
    if (!m_currentSelectedOption) {
        return;
    }
    const Rect square = m_currentSelectedOption->frame();
    const double distance = square.x() - contentOffsetX();
    if (distance + optionWidth >= stripWidth() - optionWidth) {
        m_scrollView->scrollRectToVisible(square.offset(optionWidth, 0), animated);
    } else if (distance <= optionWidth) {
        m_scrollView->scrollRectToVisible(square.offset(-optionWidth, 0), animated);
    }
}

void CalendarPickerView::startAutoScroll(double step) {
    const double offset = contentOffsetX();
    const double endOffset = m_scrollView->contentSize().width() - stripWidth();
    const bool canMove = step < 0 ? offset > 0 : offset < endOffset;
    if (!canMove) {
        stopAutoScroll();
        return;
    }
    if (m_autoScrollStep == step) {
        return;
    }
    stopAutoScroll();
    m_autoScrollStep = step;
    const std::weak_ptr<View> weakSelf = weak_from_this();
    m_autoScrollTimer = Animator::instance().scheduleFrames(autoScrollInterval, [weakSelf, step] {
        if (const auto self = std::static_pointer_cast<CalendarPickerView>(weakSelf.lock())) {
            self->autoScroll(step);
        }
    });
}

void CalendarPickerView::stopAutoScroll() {
    if (m_autoScrollTimer) {
        m_autoScrollTimer->invalidate();
        m_autoScrollTimer.reset();
    }
    m_autoScrollStep = 0.0;
}

void CalendarPickerView::autoScroll(double step) {
    const double oldOffset = contentOffsetX();
    const double endOffset = std::max(0.0, m_scrollView->contentSize().width() - stripWidth());
    const double newOffset = std::clamp(oldOffset + step, 0.0, endOffset);
    if (newOffset == oldOffset) {
        stopAutoScroll();
        return;
    }
    // Scrolling first keeps the finger's place in the strip, so the choice travels with the
    // content under the resting finger.
    m_scrollView->setContentOffset(Point(newOffset, m_scrollView->contentOffset().y()));
    selectCalendarWithX(m_currentX + (newOffset - oldOffset));
}

void CalendarPickerView::scrollViewDidScroll(ScrollView& scrollView) {
    const double offset = scrollView.contentOffset().x();
    const double width = scrollView.bounds().width();
    const double contentWidth = scrollView.contentSize().width();
    m_leftFadeView->setAlpha(1.0);
    m_rightFadeView->setAlpha(1.0);
    if (offset < fadeMargin) {
        m_leftFadeView->setAlpha(std::max(0.0, offset) / fadeMargin);
    }
    if (offset + width > contentWidth - fadeMargin) {
        const double excess = std::min(fadeMargin, offset + width - (contentWidth - fadeMargin));
        m_rightFadeView->setAlpha((fadeMargin - excess) / fadeMargin);
    }
    if (m_balloonView && m_balloonView->superview()) {
        m_balloonView->moveFrameX(m_lastScrollOffset - offset);
    }
    m_lastScrollOffset = offset;
}

void CalendarPickerView::scrollViewWillBeginDragging(ScrollView&) {
    if (m_balloonView->superview()) {
        m_balloonView->disappear();
    }
}

double CalendarPickerView::stripWidth() const {
    return m_scrollView->bounds().width();
}

double CalendarPickerView::contentOffsetX() const {
    return m_scrollView->contentOffset().x();
}
