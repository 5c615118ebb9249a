#include "ui/threeweeks/MiniWeekDayView.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/ListEventsEvent.h"
#include "core/calendar/DateTimeFormatter.h"
#include "foundation/StringUtilities.h"
#include "kit/Artwork.h"
#include "kit/ImageView.h"
#include "ui/threeweeks/MiniWeekDayContentView.h"
#include "ui/threeweeks/ThreeWeeksArtwork.h"

namespace {

constexpr double miniSelectionFadeStep = 0.15;
constexpr int miniBoxSize = 1;

} // namespace

std::shared_ptr<MiniWeekDayView> MiniWeekDayView::create(const Rect& frame, int weekdayIndex) {
    auto dayView = std::make_shared<MiniWeekDayView>(frame, weekdayIndex);
    dayView->addSubviews();
    return dayView;
}

MiniWeekDayView::MiniWeekDayView(const Rect& frame, int weekdayIndex)
    : CalendarBoxView(frame), m_weekdayIndex(weekdayIndex) {
    ThreeWeeksArtwork::registerImages();
    setBackgroundColor(std::nullopt);
    setSize(miniBoxSize);
}

void MiniWeekDayView::addSubviews() {
    const double width = bounds().width();
    const double header = ThreeWeeksArtwork::miniHeaderHeight;
    m_selectedHeaderImageView = std::make_shared<ImageView>(Rect(0, 0, width, header));
    m_selectedHeaderImageView->setImage(Artwork::imageNamed(QStringLiteral("mini-block-header")));
    const QString body = m_weekdayIndex >= 5 ? QStringLiteral("mini-weekend-block-selected")
                                             : QStringLiteral("mini-block-selected");
    m_selectedImageView = std::make_shared<ImageView>(Rect(0, header, width, bounds().height() - header));
    m_selectedImageView->setImage(Artwork::imageNamed(body));
    m_contentView = std::make_shared<MiniWeekDayContentView>(bounds(), m_weekdayIndex);
    addSubview(m_selectedHeaderImageView);
    addSubview(m_selectedImageView);
    addSubview(m_contentView);
    hideSelection();
}

void MiniWeekDayView::setDay(const Day& day) {
    m_day = day;
    const bool today = day == Day::today();
    setLeftTitle(StringUtilities::stringByUppercasingFirstLetter(day.weekdayAbbreviation()));
    setRightTitle(DateTimeFormatter::instance().formatDayOfMonth(day.beginDateTime()));
    setPermanentlyHighlighted(today);
    m_contentView->setDay(day);
    m_contentView->setIsToday(today);
}

void MiniWeekDayView::setInfiniteScrollView(const std::weak_ptr<InfiniteScrollView>& scrollView) {
    m_infiniteScrollView = scrollView;
    m_contentView->setInfiniteScrollView(scrollView);
}

void MiniWeekDayView::openListEventsView() {
    if (!m_day) {
        return;
    }
    ApplicationEventDispatcher::sharedInstance().dispatch<ListEventsEvent>(shared_from_this(),
                                                                           m_day->beginDateTime());
}

void MiniWeekDayView::setSelectionAlpha(double alpha) {
    m_selectedHeaderImageView->setAlpha(alpha);
    m_selectedImageView->setAlpha(alpha);
}

void MiniWeekDayView::hideSelection() {
    setSelectionAlpha(0);
    m_selectedHeaderImageView->setHidden(true);
    m_selectedImageView->setHidden(true);
}

void MiniWeekDayView::touchesBegan(const TouchSet&, const TouchEvent&) {
    m_touchingDown = true;
    m_selectedHeaderImageView->setHidden(false);
    m_selectedImageView->setHidden(false);
    setSelectionAlpha(1);
    m_contentView->setSelected(true);
}

// The pressed look fades in two steps while the day's list opens; a new press during the fade
// takes the look over.
void MiniWeekDayView::touchesEnded(const TouchSet&, const TouchEvent&) {
    if (!m_touchingDown) {
        return;
    }
    m_touchingDown = false;
    const std::weak_ptr<MiniWeekDayView> weakSelf =
        std::static_pointer_cast<MiniWeekDayView>(shared_from_this());
    View::animate(
        miniSelectionFadeStep, 0, AnimationCurve::easeIn, AnimationOption::none,
        [weakSelf] {
            if (auto self = weakSelf.lock()) {
                self->setSelectionAlpha(0.5);
            }
        },
        [weakSelf](bool) {
            auto self = weakSelf.lock();
            if (!self || self->m_touchingDown) {
                return;
            }
            self->m_contentView->setSelected(false);
            View::animate(
                miniSelectionFadeStep, 0, AnimationCurve::easeOut, AnimationOption::none,
                [weakSelf] {
                    if (auto faded = weakSelf.lock()) {
                        faded->setSelectionAlpha(0);
                    }
                },
                [weakSelf](bool) {
                    auto faded = weakSelf.lock();
                    if (faded && !faded->m_touchingDown) {
                        faded->hideSelection();
                    }
                });
        });
    openListEventsView();
}

void MiniWeekDayView::touchesCancelled(const TouchSet&, const TouchEvent&) {
    m_touchingDown = false;
    hideSelection();
    m_contentView->setSelected(false);
}
