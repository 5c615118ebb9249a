#include "ui/daylist/ListEventsViewCell.h"

#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/DateUtilities.h"
#include "core/events/EventService.h"
#include "core/events/ReadOnlyCheck.h"
#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "foundation/RunLoop.h"
#include "kit/Font.h"
#include "kit/Label.h"
#include "kit/LongPressGestureRecognizer.h"
#include "ui/common/ColoredBackgroundView.h"
#include "ui/daybox/BirthdayIconView.h"
#include "ui/daylist/ListEventsViewCellDelegate.h"

#include <algorithm>

namespace {

const QString listRowContinuationMark = QString(QChar(0x21B3));
const Color listRowContinuationGrey = Color::fromRgb255(58, 58, 58);
const Color listRowWhite(1, 1, 1);
const Color listRowBlack(0, 0, 0);
// The row as first laid out: the time at the left, the title after it.
const Rect listRowTimeFrame(6, 3, 32, 20);
const Rect listRowTitleFrame(44, 2, ListEventsViewCell::rowWidth - 52, 22);
const Rect listRowBirthdayIconFrame(4, 3, 21, 20);
constexpr double listRowContinuationShift = 23.0;
constexpr double listRowShortTimeWidth = 32.0;
constexpr double listRowLongTimeWidth = 41.0;
constexpr double listRowLongTimeShift = 9.0;
constexpr double listRowHighlightDelay = 0.3;

} // namespace

const QString& ListEventsViewCell::reuseIdentifierName() {
    static const QString identifier = QStringLiteral("ListEventsViewCell");
    return identifier;
}

std::shared_ptr<ListEventsViewCell> ListEventsViewCell::create() {
    auto cell = std::make_shared<ListEventsViewCell>();
    cell->buildParts();
    return cell;
}

ListEventsViewCell::ListEventsViewCell()
    : TableViewCell(Style::Default, reuseIdentifierName()),
      m_timeLabel(std::make_shared<Label>(listRowTimeFrame)),
      m_titleLabel(std::make_shared<Label>(listRowTitleFrame)),
      m_longPressGesture(std::make_shared<LongPressGestureRecognizer>()),
      m_coloredBackgroundView(std::make_shared<ColoredBackgroundView>(Rect(0, 0, rowWidth, rowHeight))) {
    setFrame(Rect(0, 0, rowWidth, rowHeight));
    m_timeLabel->setFont(Font::boldSystemFontOfSize(12));
    m_timeLabel->setBackgroundColor(std::nullopt);
    m_timeLabel->setTextColor(listRowWhite);
    m_timeLabel->setShadowOffset(Size(1, 1));
    m_titleLabel->setFont(Font::systemFontOfSize(14));
    m_titleLabel->setBackgroundColor(std::nullopt);
    m_titleLabel->setTextColor(listRowBlack);
    m_titleLabel->setHighlightedTextColor(listRowWhite);
    m_titleLabel->setLineBreakMode(LineBreakMode::TailTruncation);
    m_titleLabel->setShadowOffset(Size(1, 1));
    m_longPressGesture->setMinimumPressDuration(longPressSeconds);
}

ListEventsViewCell::~ListEventsViewCell() {
    if (m_highlightTimer) {
        m_highlightTimer->invalidate();
    }
}

void ListEventsViewCell::buildParts() {
    // The alternating row colour lives in a plain background view the list colours.
    auto background = std::make_shared<View>(bounds());
    background->setBackgroundColor(listRowWhite);
    setBackgroundView(background);
    View& content = contentView();
    content.addSubview(m_coloredBackgroundView);
    content.addSubview(m_timeLabel);
    content.addSubview(m_titleLabel);
    m_coloredBackgroundView->setTimeLabel(m_timeLabel);
    const std::weak_ptr<View> weakSelf = weak_from_this();
    m_longPressGesture->onAction = [weakSelf](GestureRecognizer& recognizer) {
        const auto self = std::static_pointer_cast<ListEventsViewCell>(weakSelf.lock());
        if (!self || recognizer.state() != GestureRecognizer::State::Began) {
            return;
        }
        if (const auto delegate = self->m_delegate.lock()) {
            delegate->eventLongPressed(*self);
        }
    };
}

void ListEventsViewCell::captureOriginalLayout() {
    if (m_originalLayoutCaptured) {
        return;
    }
    m_originalLayoutCaptured = true;
    m_originalTitleX = m_titleLabel->frame().x();
    m_originalTitleWidth = m_titleLabel->frame().width();
    m_originalTimeColor = m_timeLabel->textColor();
    m_originalTitleColor = m_titleLabel->textColor();
}

void ListEventsViewCell::render(const std::shared_ptr<EKEvent>& event) {
    m_event = event;
    captureOriginalLayout();
    m_titleLabel->setTextColor(m_originalTitleColor);
    m_timeLabel->setTextAlignment(TextAlignment::Left);
    if (!m_event) {
        return;
    }
    if (!DateUtilities::isEqualToDateIgnoreTime(m_event->startDate(), m_displayedDate)) {
        m_timeLabel->setHidden(false);
        m_timeLabel->setText(listRowContinuationMark);
        m_titleLabel->setFrameX(m_originalTitleX - listRowContinuationShift);
        m_titleLabel->setFrameWidth(m_originalTitleWidth + listRowContinuationShift);
    } else if (!m_event->allDay()) {
        layoutTimedEvent();
    } else {
        layoutAllDayEvent();
    }
    m_titleLabel->setText(ReadOnlyCheck::titleAndLocation(*m_event));
    m_coloredBackgroundView->setTimeLabel(m_timeLabel);
    m_coloredBackgroundView->applyColorForEvent(*m_event, m_displayedDate);
    m_timeLabel->setTextColor(listRowWhite);
    m_timeLabel->setShadowColor(listRowBlack);
    updateBirthdayIcon();
    attachLongPress(!ReadOnlyCheck::isReadOnly(*m_event));
    onHighlight();
}

void ListEventsViewCell::layoutTimedEvent() {
    m_timeLabel->setHidden(false);
    const QString time = ReadOnlyCheck::time(*m_event);
    m_timeLabel->setText(time);
    // A 12-hour time shortened for the row ("9a") is centred in a wider label.
    if (time != DateTimeFormatter::instance().formatTime(m_event->startDate())) {
        m_timeLabel->setFrameWidth(listRowLongTimeWidth);
        m_timeLabel->setTextAlignment(TextAlignment::Center);
        m_titleLabel->setFrameX(m_originalTitleX + listRowLongTimeShift);
        m_titleLabel->setFrameWidth(m_originalTitleWidth - listRowLongTimeShift);
    } else {
        m_timeLabel->setFrameWidth(listRowShortTimeWidth);
        m_titleLabel->setFrameX(m_originalTitleX);
        m_titleLabel->setFrameWidth(m_originalTitleWidth);
    }
}

void ListEventsViewCell::layoutAllDayEvent() {
    m_timeLabel->setHidden(true);
    const double timeX = m_timeLabel->frame().x();
    if (isBirthdayEvent()) {
        m_titleLabel->setFrameX(timeX + 19);
        m_titleLabel->setFrameWidth(rowWidth - 47);
    } else {
        m_titleLabel->setFrameX(timeX);
        m_titleLabel->setFrameWidth(rowWidth - 28);
    }
}

bool ListEventsViewCell::isBirthdayEvent() const {
    return m_event && m_event->calendar() && m_event->calendar()->type() == EKCalendarType::Birthday;
}

void ListEventsViewCell::updateBirthdayIcon() {
    if (!isBirthdayEvent()) {
        if (m_birthdayIconView) {
            m_birthdayIconView->removeFromSuperview();
        }
        return;
    }
    if (!m_birthdayIconView) {
        m_birthdayIconView = std::make_shared<BirthdayIconView>(listRowBirthdayIconFrame);
    }
    // The series' first occurrence starts on the birth date.
    const auto first = EventService::sharedInstance().eventByIdentifier(m_event->eventIdentifier());
    m_birthdayIconView->setBirthday(first ? first->startDate() : m_event->startDate(), m_displayedDate);
    contentView().addSubview(m_birthdayIconView);
}

void ListEventsViewCell::attachLongPress(bool attach) {
    if (attach && !hasLongPressGesture()) {
        addGestureRecognizer(m_longPressGesture);
    } else if (!attach && hasLongPressGesture()) {
        removeGestureRecognizer(*m_longPressGesture);
    }
}

bool ListEventsViewCell::hasLongPressGesture() const {
    const auto& recognizers = gestureRecognizers();
    return std::find(recognizers.begin(), recognizers.end(), m_longPressGesture) != recognizers.end();
}

void ListEventsViewCell::selectionChanged(bool animated) {
    if (m_highlightTimer) {
        m_highlightTimer->invalidate();
        m_highlightTimer.reset();
    }
    if (!animated) {
        onHighlight();
        return;
    }
    // An animated deselection fades the blue first; the row's own look follows once it is gone.
    const std::weak_ptr<View> weakSelf = weak_from_this();
    m_highlightTimer = RunLoop::main().scheduleTimer(listRowHighlightDelay, false, [weakSelf] {
        if (const auto self = std::static_pointer_cast<ListEventsViewCell>(weakSelf.lock())) {
            self->onHighlight();
        }
    });
}

void ListEventsViewCell::onHighlight() {
    const bool highlighted = showsSelection();
    const bool continuation = m_timeLabel->text().size() == 1;
    if (highlighted) {
        m_titleLabel->setShadowColor(listRowBlack);
        if (continuation) {
            m_timeLabel->setTextColor(listRowWhite);
            m_timeLabel->setShadowColor(listRowBlack);
        }
    } else {
        m_titleLabel->setShadowColor(std::nullopt);
        if (continuation) {
            m_timeLabel->setTextColor(listRowContinuationGrey);
            m_timeLabel->setShadowColor(std::nullopt);
        } else {
            m_timeLabel->setTextColor(listRowWhite);
            m_timeLabel->setShadowColor(listRowBlack);
        }
    }
    m_coloredBackgroundView->setHidden(highlighted);
    if (m_birthdayIconView) {
        m_birthdayIconView->setHighlighted(highlighted);
    }
}
