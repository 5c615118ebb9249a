#include "ui/daybox/EventView.h"

#include "core/calendar/DateUtilities.h"
#include "core/events/EventService.h"
#include "core/events/ReadOnlyCheck.h"
#include "core/eventstore/EKEvent.h"
#include "kit/Device.h"
#include "kit/Font.h"
#include "kit/LongPressGestureRecognizer.h"
#include "kit/Screen.h"
#include "kit/Touch.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/daybox/BirthdayIconView.h"
#include "ui/daybox/EventTouchLock.h"
#include "ui/daybox/EventViewDelegate.h"
#include "ui/daybox/SelectedBackgroundView.h"
#include "ui/search/SearchResultHighlightView.h"

#include <QStringList>

#include <algorithm>

namespace {

constexpr double longPressSeconds = 1.0;
constexpr double fadeDuration = 0.2;
constexpr double removeDuration = 0.3;
constexpr double deselectStepDuration = 0.15;
constexpr double moveDuration = 0.3;
constexpr double delayWhenDelayed = 0.3;
// The time text a row shows on the later days of an event.
const QString continuationMark = QString(QChar(0x21B3));

bool isDense() {
    return Screen::main().scale() == 2.0;
}

double dense(double normal, double denseValue) {
    return isDense() ? denseValue : normal;
}

double delayFor(bool delayed) {
    return delayed ? delayWhenDelayed : 0.0;
}

bool fadesAllowed() {
    return !Device::current().isOlderGeneration();
}

const Color white(1, 1, 1);
const Color black(0, 0, 0);
const Color continuationGrey = Color::fromRgb255(58, 58, 58);

} // namespace

std::shared_ptr<EventView> EventView::create(const Rect& frame, std::shared_ptr<EventTouchLock> touchLock) {
    auto view = std::make_shared<EventView>(frame, std::move(touchLock));
    view->buildSubviews();
    return view;
}

EventView::EventView(const Rect& frame, std::shared_ptr<EventTouchLock> touchLock)
    : View(frame), m_touchLock(std::move(touchLock)) {
    setBackgroundColor(std::nullopt);
    setClipsToBounds(false);
    setUserInteractionEnabled(true);
    setHidden(true);
}

EventView::~EventView() = default;

void EventView::buildSubviews() {
    m_timeLabel = newTimeLabel();
    addSubview(m_timeLabel);
    m_titleLabel = newTitleLabel();
    addSubview(m_titleLabel);
    m_selectedBackgroundImage = newSelectedBackgroundView();
    m_selectedBackgroundImage->setHidden(true);
    insertSubview(m_selectedBackgroundImage, 0);

    m_longPressGesture = std::make_shared<LongPressGestureRecognizer>();
    m_longPressGesture->setMinimumPressDuration(longPressSeconds);
    std::weak_ptr<View> weakSelf = weak_from_this();
    m_longPressGesture->onAction = [weakSelf](GestureRecognizer& recognizer) {
        auto self = std::static_pointer_cast<EventView>(weakSelf.lock());
        if (self && recognizer.state() == GestureRecognizer::State::Began) {
            self->longPressed();
        }
    };
}

std::shared_ptr<Label> EventView::newTimeLabel() {
    auto label = std::make_shared<Label>(isDense() ? Rect(4.5, 1.5, 34, 21.5) : Rect(4, 1, 34, 22));
    label->setFont(Font::boldSystemFontOfSize(12));
    label->setBackgroundColor(std::nullopt);
    label->setTextColor(white);
    label->setHighlightedTextColor(white);
    label->setShadowOffset(Size(1, 1));
    label->setShadowColor(black);
    return label;
}

std::shared_ptr<Label> EventView::newTitleLabel() {
    const double x = dense(43, 42.5);
    auto label = std::make_shared<Label>(Rect(x, 0, frame().width() - x, 22));
    label->setFont(Font::systemFontOfSize(13));
    label->setNumberOfLines(1);
    label->setLineBreakMode(LineBreakMode::TailTruncation);
    label->setBackgroundColor(std::nullopt);
    label->setTextColor(black);
    label->setHighlightedTextColor(white);
    label->setShadowOffset(Size(1, 1));
    label->setShadowColor(std::nullopt);
    return label;
}

std::shared_ptr<SelectedBackgroundView> EventView::newSelectedBackgroundView() {
    return std::make_shared<SelectedBackgroundView>(Rect(1, 3, frame().width() - 2, dense(19, 18)));
}

void EventView::adjustTitleLabelFrame(Label& titleLabel, const Label& timeLabel) {
    const double timeWidth = timeLabel.frame().width();
    titleLabel.setFrame(Rect(timeWidth + dense(9, 8.5), 0, frame().width() - timeWidth - 9, 23));
}

void EventView::setTitleLabelFrameToAllDay(Label& titleLabel) {
    if (isBirthdayEvent()) {
        titleLabel.setFrame(Rect(dense(27, 26.5), 0, 130, 23));
    } else {
        titleLabel.setFrame(Rect(dense(5, 4.5), 0, 152, 23));
    }
}

void EventView::setDelegate(std::weak_ptr<EventViewDelegate> delegate) {
    m_delegate = std::move(delegate);
}

bool EventView::isBirthdayEvent() const {
    return m_event && m_event->calendar() && m_event->calendar()->type() == EKCalendarType::Birthday;
}

void EventView::initializeWithEvent(std::shared_ptr<EKEvent> event, Date displayedDate, bool animated) {
    m_event = std::move(event);
    m_displayedDate = displayedDate;
    if (m_event) {
        setAlpha(1.0);
        bindEvent(displayedDate, animated);
    } else {
        unbindEvent(animated);
    }
    attachLongPress(m_event && !ReadOnlyCheck::isReadOnly(*m_event));
    updateTextColor();
    applyCopyMoveState(displayedDate);
    fitTitleLabelWidth();
    if (m_event) {
        m_coloredBackground.applyColorForEvent(*m_event, displayedDate);
    } else {
        m_coloredBackground.clear();
    }
    setNeedsDisplay();
    updateBirthdayIcon(displayedDate);
}

void EventView::bindEvent(Date displayedDate, bool animated) {
    const QString oldTime = m_timeLabel->text();
    const QString oldTitle = m_titleLabel->text();

    if (DateUtilities::isEqualToDateIgnoreTime(m_event->startDate(), displayedDate)) {
        m_timeLabel->setText(ReadOnlyCheck::time(*m_event));
        m_allDay = m_event->allDay();
    } else {
        m_timeLabel->setText(continuationMark);
        m_allDay = false;
    }
    fitTimeLabelWidth();
    adjustTitleLabelFrame(*m_titleLabel, *m_timeLabel);
    m_originalTitleFrame = m_titleLabel->frame();
    hideTimeLabel(m_allDay);
    m_titleLabel->setText(ReadOnlyCheck::titleAndLocation(*m_event));
    setUserInteractionEnabled(true);
    setHidden(false);

    const bool changed = m_timeLabel->text() != oldTime || m_titleLabel->text() != oldTitle;
    if (animated && changed && fadesAllowed()) {
        setAlpha(0.0);
        animate(fadeDuration, 0.0, AnimationCurve::easeInOut, AnimationOption::allowUserInteraction,
                [this] { setAlpha(1.0); });
    }
}

void EventView::unbindEvent(bool animated) {
    const bool hadText = !m_timeLabel->text().isEmpty() || !m_titleLabel->text().isEmpty();
    setUserInteractionEnabled(false);
    if (animated && hadText && fadesAllowed()) {
        setAlpha(1.0);
        std::weak_ptr<View> weakSelf = weak_from_this();
        animate(
            fadeDuration, 0.0, AnimationCurve::easeInOut, AnimationOption::allowUserInteraction,
            [this] { setAlpha(0.0); },
            [weakSelf](bool) {
                auto self = std::static_pointer_cast<EventView>(weakSelf.lock());
                // Bound again while fading out: the new event keeps its row.
                if (self && !self->m_event) {
                    self->clearRow();
                }
            });
    } else {
        clearRow();
    }
}

void EventView::clearRow() {
    m_timeLabel->setText(QString());
    m_titleLabel->setText(QString());
    setHidden(true);
}

void EventView::fitTimeLabelWidth() {
    m_timeLabel->sizeToFitWidth();
    if (m_timeLabel->frame().width() == 35.0) {
        m_timeLabel->setFrameWidth(36.0);
    }
}

void EventView::fitTitleLabelWidth() {
    const double slotWidth = m_titleLabel->frame().width();
    m_titleLabel->sizeToFitWidth();
    if (m_titleLabel->frame().width() > slotWidth) {
        m_titleLabel->setFrameWidth(slotWidth);
    }
}

void EventView::hideTimeLabel(bool hide) {
    m_timeLabel->setHidden(hide);
    if (hide) {
        setTitleLabelFrameToAllDay(*m_titleLabel);
    } else {
        m_titleLabel->setFrame(m_originalTitleFrame);
    }
}

void EventView::attachLongPress(bool attach) {
    const auto& recognizers = gestureRecognizers();
    const bool attached =
        std::find(recognizers.begin(), recognizers.end(), m_longPressGesture) != recognizers.end();
    if (attach && !attached) {
        addGestureRecognizer(m_longPressGesture);
    } else if (!attach && attached) {
        removeGestureRecognizer(*m_longPressGesture);
    }
}

bool EventView::hasLongPressGesture() const {
    const auto& recognizers = gestureRecognizers();
    return std::find(recognizers.begin(), recognizers.end(), m_longPressGesture) != recognizers.end();
}

bool EventView::isCopyMoveEvent() const {
    const auto& held = CopyMoveEventMode::sharedInstance().event();
    return m_event && held && held->eventIdentifier() == m_event->eventIdentifier();
}

void EventView::applyCopyMoveState(Date displayedDate) {
    const auto& tappedDate = CopyMoveEventMode::sharedInstance().tappedDate();
    if (isCopyMoveEvent() && tappedDate &&
        DateUtilities::isEqualToDateIgnoreTime(displayedDate, *tappedDate)) {
        hideSelectedBackgroundImage(false);
        m_selected = true;
        startMoveAnimation();
    } else {
        deselectAnimated(false, false);
    }
}

void EventView::updateBirthdayIcon(Date displayedDate) {
    if (!isBirthdayEvent()) {
        if (m_birthdayIconView) {
            m_birthdayIconView->removeFromSuperview();
        }
        return;
    }
    if (!m_birthdayIconView) {
        m_birthdayIconView = std::make_shared<BirthdayIconView>(Rect(3.5, 1, 21, 20));
    }
    // The series' first occurrence starts on the birth date.
    const auto first = EventService::sharedInstance().eventByIdentifier(m_event->eventIdentifier());
    const Date birthDate = first ? first->startDate() : m_event->startDate();
    m_birthdayIconView->setBirthday(birthDate, displayedDate);
    m_birthdayIconView->setHighlighted(m_eventViewHighlighted);
    addSubview(m_birthdayIconView);
}

void EventView::updateTextColor() {
    m_titleLabel->setTextColor(black);
    if (m_timeLabel->text().size() == 1) {
        m_timeLabel->setTextColor(continuationGrey);
        m_timeLabel->setShadowColor(std::nullopt);
    } else {
        m_timeLabel->setTextColor(white);
        m_timeLabel->setShadowColor(black);
    }
}

void EventView::setHighlighted(bool highlighted) {
    if (highlighted) {
        m_timeLabel->setTextColor(white);
        m_timeLabel->setShadowColor(black);
    } else {
        updateTextColor();
    }
    const bool titleHighlighted = highlighted || m_moveAnimationRunning;
    m_titleLabel->setShadowColor(titleHighlighted ? std::optional<Color>(black) : std::nullopt);
    m_timeLabel->setHighlighted(highlighted);
    m_titleLabel->setHighlighted(titleHighlighted);
    if (m_birthdayIconView && isBirthdayEvent()) {
        m_birthdayIconView->setHighlighted(highlighted);
    }
    m_eventViewHighlighted = highlighted;
    setNeedsDisplay();
}

void EventView::hideSelectedBackgroundImage(bool hide) {
    setHighlighted(!hide);
    if (hide) {
        m_selectedBackgroundImage->setAlpha(0.0);
        m_selectedBackgroundImage->setHidden(true);
        return;
    }
    m_selectedBackgroundImage->setAlpha(1.0);
    m_selectedBackgroundImage->setHidden(false);
    if (auto parent = superview()) {
        parent->bringSubviewToFront(*this);
    }
}

void EventView::removeEventAnimated(bool animated, bool delayed) {
    if (!animated) {
        hideSelectedBackgroundImage(true);
        initializeWithEvent(nullptr, m_displayedDate, false);
        if (auto target = delegate()) {
            target->removeAnimationFinished(*this);
        }
        return;
    }
    hideSelectedBackgroundImage(false);
    std::weak_ptr<View> weakSelf = weak_from_this();
    animate(
        removeDuration, delayFor(delayed), AnimationCurve::easeInOut, AnimationOption::none,
        [this] { setAlpha(0.0); },
        [weakSelf](bool) {
            auto self = std::static_pointer_cast<EventView>(weakSelf.lock());
            if (!self) {
                return;
            }
            self->hideSelectedBackgroundImage(true);
            if (auto target = self->delegate()) {
                target->removeAnimationFinished(*self);
            }
        });
}

void EventView::deselectForClosedMenu() {
    deselectAnimated(true, false);
}

void EventView::deselectAnimated(bool animated, bool delayed) {
    if (!m_selected) {
        return;
    }
    // The event held by copy or move stays marked through every quiet deselection.
    if (!animated && isCopyMoveEvent()) {
        return;
    }
    m_selected = false;
    stopMoveAnimation();
    if (!animated) {
        hideSelectedBackgroundImage(true);
        return;
    }
    std::weak_ptr<View> weakSelf = weak_from_this();
    animate(
        deselectStepDuration, delayFor(delayed), AnimationCurve::easeIn, AnimationOption::none,
        [this] { m_selectedBackgroundImage->setAlpha(0.5); },
        [weakSelf](bool finished) {
            auto self = std::static_pointer_cast<EventView>(weakSelf.lock());
            // Selected again meanwhile: the bar belongs to the new selection.
            if (!self || !finished || self->m_selected) {
                return;
            }
            self->fadeOutSelectedBackground();
        });
}

void EventView::fadeOutSelectedBackground() {
    setHighlighted(false);
    std::weak_ptr<View> weakSelf = weak_from_this();
    animate(
        deselectStepDuration, 0.0, AnimationCurve::easeOut, AnimationOption::none,
        [this] { m_selectedBackgroundImage->setAlpha(0.0); },
        [weakSelf](bool finished) {
            auto self = std::static_pointer_cast<EventView>(weakSelf.lock());
            if (self && finished && !self->m_selected) {
                self->m_selectedBackgroundImage->setHidden(true);
            }
        });
}

void EventView::flashDelayed(bool delayed) {
    hideSelectedBackgroundImage(false);
    m_selected = true;
    deselectAnimated(true, delayed);
}

void EventView::disableTouch(bool disabled) {
    m_touchDisabled = disabled;
}

void EventView::startMoveAnimation() {
    hideSelectedBackgroundImage(false);
    animate(moveDuration, 0.0, AnimationCurve::easeInOut,
            AnimationOption::allowUserInteraction | AnimationOption::repeat | AnimationOption::autoreverse,
            [this] { m_selectedBackgroundImage->setAlpha(0.6); });
    m_moveAnimationRunning = true;
    m_selected = true;
}

void EventView::stopMoveAnimation() {
    if (!m_moveAnimationRunning) {
        return;
    }
    m_moveAnimationRunning = false;
    hideSelectedBackgroundImage(true);
    m_selected = false;
}

void EventView::highlightAsSearchResult() {
    const std::shared_ptr<SearchResultHighlightView>& bubble =
        SearchResultHighlightView::selectedResultInstance();
    const std::shared_ptr<View> background = bubble->searchBackgroundView();
    if (!m_event || !background) {
        return;
    }
    bubble->setEvent(*m_event);
    bubble->showAnimatedOnTopOfPosition(convertPointToView(Point(0, 0), background.get()));
}

bool EventView::isWithinTouchBand(double y) const {
    return y > -touchBand && y < bounds().height() + touchBand;
}

void EventView::touchesBegan(const TouchSet& touches, const TouchEvent& event) {
    if (m_touchLock->locked()) {
        return;
    }
    if (m_touchDisabled) {
        View::touchesBegan(touches, event);
        return;
    }
    m_touchLock->lock();
    m_touchingDown = true;
    hideSelectedBackgroundImage(false);
    m_selected = true;
    if (auto target = delegate()) {
        target->beforeEventSelected(*this);
    }
}

void EventView::touchesMoved(const TouchSet& touches, const TouchEvent& event) {
    if (m_touchDisabled) {
        View::touchesMoved(touches, event);
        return;
    }
    if (!m_touchingDown || touches.empty()) {
        return;
    }
    const bool within = isWithinTouchBand(touches.front()->locationInView(this).y());
    hideSelectedBackgroundImage(!within);
    m_selected = within;
}

void EventView::touchesEnded(const TouchSet& touches, const TouchEvent& event) {
    if (m_touchDisabled) {
        View::touchesEnded(touches, event);
        return;
    }
    if (!m_touchingDown || touches.empty()) {
        return;
    }
    if (isWithinTouchBand(touches.front()->locationInView(this).y())) {
        if (auto target = delegate()) {
            target->eventSelected(*this);
        }
    }
    m_touchLock->release();
    m_touchingDown = false;
}

void EventView::touchesCancelled(const TouchSet& touches, const TouchEvent& event) {
    if (m_touchDisabled) {
        View::touchesCancelled(touches, event);
        return;
    }
    // The shared lock stays until its timer: a cancelled touch reports no end.
    m_touchingDown = false;
}

void EventView::longPressed() {
    if (auto target = delegate()) {
        target->eventLongPressed(*this);
    }
}

Rect EventView::timeBoxRect() const {
    const Rect time = m_timeLabel->frame();
    if (isDense()) {
        return Rect(time.x() - 3.5, time.y() + 2.0, time.width() + 5, time.height() - 4.5);
    }
    return Rect(time.x() - 2.5, time.y() + 2.5, time.width() + 5, time.height() - 3.5);
}

Rect EventView::rowBoxRect() const {
    return Rect(3, 3, bounds().width() - 6, m_timeLabel->frame().height() - 3);
}

void EventView::drawRect(GraphicsContext& context, const Rect&) {
    if (m_eventViewHighlighted) {
        return;
    }
    m_coloredBackground.draw(context, timeBoxRect(), rowBoxRect());
}

AccessibilityDescription EventView::describeAccessibility() const {
    AccessibilityDescription description;
    if (!m_event) {
        return description;
    }
    description.role = AccessibilityRole::Row;
    QStringList parts;
    for (const Label* label : {m_timeLabel.get(), m_titleLabel.get()}) {
        if (label != nullptr && !label->hidden() && !label->text().trimmed().isEmpty()) {
            parts << label->text().simplified();
        }
    }
    description.label = parts.join(QLatin1Char(' '));
    description.selected = m_selected;
    description.enabled = !m_touchDisabled;
    description.subviewsAreElements = false;
    return description;
}
