#include "ui/search/SearchResultHighlightView.h"

#include "core/events/ReadOnlyCheck.h"
#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "kit/AnimationOptions.h"
#include "kit/Artwork.h"
#include "kit/Font.h"
#include "kit/Label.h"
#include "ui/search/SearchArtwork.h"

#include <algorithm>

namespace {

constexpr double highlightPulseDuration = 0.1;
constexpr double highlightPulseScale = 1.3;

} // namespace

const std::shared_ptr<SearchResultHighlightView>& SearchResultHighlightView::selectedResultInstance() {
    // Never destroyed: rows may ask for it until the program ends.
    static const auto* const instance =
        new std::shared_ptr<SearchResultHighlightView>(std::make_shared<SearchResultHighlightView>());
    return *instance;
}

SearchResultHighlightView::SearchResultHighlightView()
    : m_timeLabel(std::make_shared<Label>(Rect(6, 8.5, 34, 21.5))),
      m_titleLabel(std::make_shared<Label>(Rect(44, 7, 114, 23))) {
    SearchArtwork::registerImages();
    m_timeLabel->setFont(Font::boldSystemFontOfSize(13));
    m_timeLabel->setTextColor(Color(1.0 / 3, 1.0 / 3, 1.0 / 3));
    m_timeLabel->setBackgroundColor(Color(0, 0, 0, 0));
    m_titleLabel->setFont(Font::systemFontOfSize(14));
    m_titleLabel->setTextColor(Color(0, 0, 0));
    m_titleLabel->setBackgroundColor(Color(0, 0, 0, 0));
    addSubview(m_timeLabel);
    addSubview(m_titleLabel);
}

void SearchResultHighlightView::setEvent(const EKEvent& event) {
    const std::shared_ptr<EKCalendar> calendar = event.calendar();
    const bool birthdayEvent = calendar && calendar->type() == EKCalendarType::Birthday;
    setTime(event.allDay() ? std::nullopt : std::optional<QString>(ReadOnlyCheck::time(event)),
            ReadOnlyCheck::titleAndLocation(event), birthdayEvent);
}

void SearchResultHighlightView::setTime(const std::optional<QString>& time, const QString& text,
                                        bool birthday) {
    setTransform(AffineTransform::identity());
    m_birthday = birthday;
    m_timeLabel->setText(time.value_or(QString()));
    m_timeLabel->sizeToFitWidth();
    const double timeWidth = m_timeLabel->frame().width();
    const double limit = birthday ? birthdayTitleLimit : titleLimit;
    const double titleWidth = limit - timeWidth;
    m_titleLabel->setFrame(Rect(timeWidth + 8, 7, titleWidth, 23));
    m_titleLabel->setText(text);
    m_titleLabel->sizeToFitWidth();
    m_titleLabel->setFrameWidth(std::min(m_titleLabel->frame().width(), titleWidth));
}

void SearchResultHighlightView::showOnTopOfView(Point position) {
    removeFromSuperview();
    setImage(Artwork::imageNamed(QStringLiteral("search-result-highlight")).stretchableImage(8, 0));
    const double x = m_birthday ? position.x() + birthdayOffset : position.x();
    const Rect title = m_titleLabel->frame();
    setFrame(Rect(x, position.y(), title.x() + title.width() + 10, bubbleHeight));
    if (const std::shared_ptr<View> background = searchBackgroundView()) {
        background->addSubview(shared_from_this());
    }
}

void SearchResultHighlightView::showAnimatedOnTopOfPosition(Point position) {
    runCompletion();
    showOnTopOfView(Point(position.x() - 2, position.y() - 7));
    if (const std::shared_ptr<View> parent = superview()) {
        parent->bringSubviewToFront(*this);
    }
    const std::weak_ptr<View> weakSelf = weak_from_this();
    View::animate(
        highlightPulseDuration, 0, AnimationCurve::easeIn, AnimationOption::allowUserInteraction,
        [this] {
            setTransform(AffineTransform::identity().scaled(highlightPulseScale, highlightPulseScale));
        },
        [weakSelf](bool) {
            View::animate(highlightPulseDuration, 0, AnimationCurve::easeOut,
                          AnimationOption::allowUserInteraction, [weakSelf] {
                              if (const auto bubble = weakSelf.lock()) {
                                  bubble->setTransform(AffineTransform::identity());
                              }
                          });
        });
}

void SearchResultHighlightView::hide() {
    runCompletion();
    removeFromSuperview();
}

void SearchResultHighlightView::runCompletion() {
    // Taken out first: the step may show or hide the bubble again.
    std::function<void()> completion = std::move(m_onCompletion);
    m_onCompletion = nullptr;
    if (completion) {
        completion();
    }
}
