#include "ui/daybox/DayView.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/ListEventsEvent.h"
#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/DateUtilities.h"
#include "foundation/Localization.h"
#include "kit/Artwork.h"
#include "kit/Button.h"
#include "kit/ImageView.h"
#include "kit/Label.h"
#include "kit/Screen.h"
#include "ui/common/TouchableViewDelegate.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/daybox/DayBoxArtwork.h"
#include "ui/daybox/EventView.h"

namespace {

constexpr double halfCardHeight = 68.0;
constexpr int cardImageCap = 80;
constexpr int moreButtonBackgroundCap = 75;
const Color moreTitleColor = Color::fromRgb255(44, 87, 168);
const Color moreTitleColorToday = Color::fromRgb255(26, 54, 84);

bool isDenseScreen() {
    return Screen::main().scale() == 2.0;
}

} // namespace

DayView::DayView(const Rect& frame, bool halfSize)
    : CalendarBoxView(frame), m_originalDayViewSize(frame.size()), m_halfSized(halfSize) {}

Size DayView::cardSize(bool halfSize) {
    const Size full = isDenseScreen() ? Size(158.5, 137.5) : Size(158, 137);
    return halfSize ? Size(full.width(), halfCardHeight) : full;
}

std::shared_ptr<DayView> DayView::create(Point point, bool halfSize) {
    DayBoxArtwork::registerImages();
    auto dayView = std::make_shared<DayView>(Rect(point, cardSize(halfSize)), halfSize);
    dayView->buildSubviews();
    return dayView;
}

void DayView::buildSubviews() {
    m_moreEventsButton = newMoreEventsButton();
    addSubview(m_moreEventsButton);
    highlight(false);
}

Rect DayView::moreEventsButtonFrame() const {
    return Rect(2, m_halfSized ? 45 : 113, 155, 23);
}

Font DayView::moreEventsButtonFont() const {
    return Font::boldSystemFontOfSize(13);
}

std::shared_ptr<Button> DayView::newMoreEventsButton() const {
    auto button = std::make_shared<Button>(moreEventsButtonFrame());
    button->titleLabel().setFont(moreEventsButtonFont());
    button->titleLabel().setAdjustsFontSizeToFitWidth(true);
    button->titleLabel().setMinimumFontSize(10);
    button->titleLabel().setShadowOffset(Size(1, 1));
    button->setTitleShadowColor(std::nullopt);
    const Image white = Artwork::imageNamed(QStringLiteral("more-icon-white"));
    const Image background =
        Artwork::imageNamed(QStringLiteral("more-selected-row")).stretchableImage(moreButtonBackgroundCap, 0);
    for (ControlState state : {ControlState::Highlighted, ControlState::Selected,
                               ControlState::Highlighted | ControlState::Selected}) {
        button->setTitleColor(Color(1, 1, 1), state);
        button->setTitleShadowColor(Color(0, 0, 0), state);
        button->setImage(white, state);
    }
    button->setBackgroundImage(background, ControlState::Highlighted);
    button->setBackgroundImage(background, ControlState::Highlighted | ControlState::Selected);
    button->setHidden(true);
    return button;
}

void DayView::setDisplayedDate(Date date) {
    if (m_displayedDate == date) {
        return;
    }
    m_displayedDate = date;
    setLeftAndRightTitle(date);
}

void DayView::setLeftAndRightTitle(Date date) {
    setLeftTitle(DateTimeFormatter::instance().formatDayOfWeek(date));
    setRightTitle(DateTimeFormatter::instance().formatDayOfMonth(date));
}

void DayView::highlight(bool highlighted) {
    setPermanentlyHighlighted(highlighted);
    m_moreEventsButton->setImage(
        Artwork::imageNamed(highlighted ? QStringLiteral("more-icon-today") : QStringLiteral("more-icon")));
    m_moreEventsButton->setTitleColor(highlighted ? moreTitleColorToday : moreTitleColor);
}

void DayView::highlightAllText(bool highlighted) {
    for (const auto& eventView : *m_eventViews) {
        eventView->setHighlighted(highlighted);
    }
    m_moreEventsButton->setSelected(highlighted);
}

std::shared_ptr<Label> DayView::newHeaderLabel(const Rect& frame) const {
    auto label = std::make_shared<Label>(frame);
    label->setFont(titleFont());
    label->setTextColor(Color(1, 1, 1));
    label->setShadowColor(Color(0, 0, 0));
    label->setShadowOffset(Size(1, 1));
    // The card's own name says the date.
    label->setAccessibilityElementsHidden(true);
    return label;
}

void DayView::createSelectedHeaderAndBackground() {
    const double width = bounds().width();
    const double pressedHeaderHeight = getHeaderHeight();
    // The pressed titles stand where the card draws its own.
    const double margin = getHeaderMargin();
    m_selectedHeaderImage = std::make_shared<ImageView>(Rect(0, 0, width, pressedHeaderHeight));
    m_selectedHeaderImage->setImage(
        Artwork::imageNamed(QStringLiteral("block-header")).stretchableImage(cardImageCap, 0));
    m_selectedHeaderImage->setHidden(true);
    m_selectedHeaderImage->setAlpha(0);
    m_dayOfWeekLabel = newHeaderLabel(Rect(margin + 1, 0, getDayOfWeekLabelWidth(), pressedHeaderHeight));
    m_dayOfMonthLabel = newHeaderLabel(
        Rect(width - getDayOfMonthLabelWidth() - margin, 0, getDayOfMonthLabelWidth(), pressedHeaderHeight));
    m_dayOfMonthLabel->setTextAlignment(TextAlignment::Right);
    m_selectedHeaderImage->addSubview(m_dayOfWeekLabel);
    m_selectedHeaderImage->addSubview(m_dayOfMonthLabel);

    const QString bodyName =
        m_halfSized ? QStringLiteral("weekend-block-selected") : QStringLiteral("block-selected");
    m_selectedBackgroundImage =
        std::make_shared<ImageView>(Rect(0, pressedHeaderHeight, m_originalDayViewSize.width(),
                                         m_originalDayViewSize.height() - pressedHeaderHeight));
    m_selectedBackgroundImage->setImage(Artwork::imageNamed(bodyName).stretchableImage(cardImageCap, 0));
    m_selectedBackgroundImage->setHidden(true);
    m_selectedBackgroundImage->setAlpha(0);

    insertSubview(m_selectedBackgroundImage, 0);
    insertSubview(m_selectedHeaderImage, 0);
}

bool DayView::touchedHeader(const TouchSet& touches) const {
    return !touches.empty() && touches.front()->locationInView(this).y() <= getHeaderHeight();
}

bool DayView::isVeiled() const {
    const CopyMoveEventMode& mode = CopyMoveEventMode::sharedInstance();
    if (!mode.activated() || !m_displayedDate) {
        return false;
    }
    return !mode.tappedDate() ||
           !DateUtilities::isEqualToDateIgnoreTime(*mode.tappedDate(), *m_displayedDate);
}

void DayView::showKeyboardSelection(bool selected) {
    if (!m_selectedHeaderImage) {
        createSelectedHeaderAndBackground();
    }
    m_dayOfWeekLabel->setText(leftTitle());
    m_dayOfMonthLabel->setText(rightTitle());
    if (selected) {
        showPressed(*m_selectedHeaderImage, 1.0);
    } else {
        hidePressed(*m_selectedHeaderImage);
    }
}

void DayView::showPressed(ImageView& image, double alpha) {
    image.setHidden(false);
    image.setAlpha(alpha);
}

void DayView::hidePressed(ImageView& image) {
    image.setAlpha(0);
    image.setHidden(true);
}

void DayView::touchesBegan(const TouchSet& touches, const TouchEvent&) {
    if (!m_selectedHeaderImage) {
        createSelectedHeaderAndBackground();
    }
    m_dayOfWeekLabel->setText(leftTitle());
    m_dayOfMonthLabel->setText(rightTitle());
    m_touchingDown = true;
    const CopyMoveEventMode& mode = CopyMoveEventMode::sharedInstance();
    if (!mode.activated()) {
        showPressed(*m_selectedHeaderImage, 1.0);
        if (!touchedHeader(touches)) {
            showPressed(*m_selectedBackgroundImage, 1.0);
            highlightAllText(true);
            if (auto delegate = m_delegate.lock()) {
                delegate->viewBeginsTouching();
            }
        }
        return;
    }
    const double alpha = mode.quickMoveActivated() ? 0.4 : 1.0;
    showPressed(*m_selectedHeaderImage, alpha);
    showPressed(*m_selectedBackgroundImage, alpha);
    if (!mode.quickMoveActivated()) {
        highlightAllText(true);
    }
}

void DayView::touchesMoved(const TouchSet& touches, const TouchEvent&) {
    // A touch dragged off the card stays off: coming back does not press the card again.
    if (!m_touchingDown || touches.empty()) {
        return;
    }
    const double y = touches.front()->locationInView(this).y();
    if (y > bounds().height() + EventView::touchBand || y < -EventView::touchBand) {
        m_touchingDown = false;
        deselectAnimated(false, false);
        return;
    }
    showPressed(*m_selectedHeaderImage, 1.0);
    if (touchedHeader(touches)) {
        hidePressed(*m_selectedBackgroundImage);
        highlightAllText(false);
    } else {
        showPressed(*m_selectedBackgroundImage, 1.0);
        highlightAllText(true);
    }
}

void DayView::touchesEnded(const TouchSet& touches, const TouchEvent&) {
    if (!m_touchingDown) {
        return;
    }
    m_touchingDown = false;
    const bool copyMoveActive = CopyMoveEventMode::sharedInstance().activated();
    if (copyMoveActive) {
        deselectAnimated(true, false);
    }
    if (touchedHeader(touches) && !copyMoveActive) {
        listDayEvents();
        hidePressed(*m_selectedBackgroundImage);
        const std::weak_ptr<ImageView> header = m_selectedHeaderImage;
        View::animate(
            0.3, 0, AnimationCurve::easeInOut, AnimationOption::none,
            [header] {
                if (auto image = header.lock()) {
                    image->setAlpha(0);
                }
            },
            [header](bool finished) {
                if (auto image = header.lock(); image && finished) {
                    image->setHidden(true);
                }
            });
        return;
    }
    if (m_selectedBackgroundImage->hidden()) {
        showPressed(*m_selectedBackgroundImage, 1.0);
        highlightAllText(true);
    }
    if (auto delegate = m_delegate.lock()) {
        delegate->viewTouched();
    }
}

void DayView::touchesCancelled(const TouchSet&, const TouchEvent&) {
    // A recogniser took the touch (a pinch): the pressed look must not stay behind.
    if (m_touchingDown) {
        m_touchingDown = false;
        deselectAnimated(false, false);
    }
}

void DayView::listDayEvents() {
    ApplicationEventDispatcher::sharedInstance().dispatch<ListEventsEvent>(shared_from_this(),
                                                                           m_displayedDate.value_or(Date()));
}

bool DayView::deselectAnimated(bool animated, bool delayed) {
    if (!m_selectedHeaderImage || m_selectedHeaderImage->alpha() == 0.0) {
        return false;
    }
    if (!animated) {
        hidePressed(*m_selectedHeaderImage);
        hidePressed(*m_selectedBackgroundImage);
        highlightAllText(false);
        return true;
    }
    const std::weak_ptr<DayView> weakSelf = std::static_pointer_cast<DayView>(shared_from_this());
    const auto setPressedAlpha = [weakSelf](double alpha) {
        if (auto self = weakSelf.lock()) {
            self->m_selectedHeaderImage->setAlpha(alpha);
            self->m_selectedBackgroundImage->setAlpha(alpha);
        }
    };
    View::animate(
        0.15, delayed ? 0.3 : 0.0, AnimationCurve::easeIn, AnimationOption::none,
        [setPressedAlpha] { setPressedAlpha(0.5); },
        // However a step ends (a touch may set the pressed alpha at once and so cut it short),
        // the deselection goes on to its end; only a new press takes the pressed look over.
        [weakSelf, setPressedAlpha](bool) {
            auto self = weakSelf.lock();
            if (!self || self->m_touchingDown) {
                return;
            }
            self->highlightAllText(false);
            View::animate(
                0.15, 0, AnimationCurve::easeOut, AnimationOption::none,
                [setPressedAlpha] { setPressedAlpha(0.0); },
                [weakSelf](bool) {
                    auto card = weakSelf.lock();
                    if (card && !card->m_touchingDown) {
                        card->hidePressed(*card->m_selectedHeaderImage);
                        card->hidePressed(*card->m_selectedBackgroundImage);
                    }
                });
        });
    return true;
}

void DayView::drawRect(GraphicsContext& context, const Rect& rect) {
    setHideBorders(isVeiled());
    CalendarBoxView::drawRect(context, rect);
}

AccessibilityDescription DayView::describeAccessibility() const {
    AccessibilityDescription description;
    description.role = AccessibilityRole::Pane;
    if (m_displayedDate) {
        DateTimeFormatter& formatter = DateTimeFormatter::instance();
        const QString count = m_eventCount == 0 ? localizedString(QStringLiteral("no events"))
                                                : localizedString(QStringLiteral("%n events"), m_eventCount);
        description.label = formatter.formatDayOfWeek(*m_displayedDate) + QLatin1Char(' ') +
                            formatter.formatFullDayOfMonth(*m_displayedDate) + QStringLiteral(", ") + count;
    }
    return description;
}
