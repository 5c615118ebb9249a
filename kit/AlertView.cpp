#include "kit/AlertView.h"

#include "kit/AlertViewDelegate.h"
#include "kit/Application.h"
#include "kit/Button.h"
#include "kit/Font.h"
#include "kit/GraphicsContext.h"
#include "kit/Label.h"
#include "kit/RoundedRectangle.h"
#include "kit/Screen.h"
#include "kit/StringDrawing.h"
#include "kit/Window.h"

#include <algorithm>
#include <deque>

void AlertViewDelegate::clickedButtonAtIndex(AlertView&, int) {}
void AlertViewDelegate::willDismissWithButtonIndex(AlertView&, int) {}
void AlertViewDelegate::didDismissWithButtonIndex(AlertView&, int) {}

namespace {

constexpr double sideMargin = 12.0;
constexpr double topMargin = 16.0;
constexpr double textGap = 8.0;
constexpr double buttonsGap = 16.0;
constexpr double bottomMargin = 14.0;
constexpr double buttonInset = 11.0;
constexpr double buttonHeight = 43.0;
constexpr double buttonSpacing = 8.0;

// The alerts on screen or waiting; the first is the one shown.
std::deque<std::shared_ptr<AlertView>>& queue() {
    static std::deque<std::shared_ptr<AlertView>> alerts;
    return alerts;
}

// A rounded, glass-like button face of the alert; `cancel` faces are a little darker.
Image alertButtonImage(bool highlighted, bool cancel) {
    const double scale = Screen::main().scale();
    const Size size(29, buttonHeight);
    return Image::draw(size, scale,
                       [&](GraphicsContext& context) {
                           const Rect face = Rect(Point(), size).inset(0.5, 0.5);
                           context.saveGState();
                           RoundedRectangle(face, 6.0).drawRoundedRectPath(context);
                           context.clip();
                           const double top = highlighted ? 0.55 : (cancel ? 0.22 : 0.32);
                           const double bottom = highlighted ? 0.3 : (cancel ? 0.04 : 0.1);
                           const Color base = highlighted ? Color(0.35, 0.45, 0.7) : Color(1, 1, 1);
                           context.drawLinearGradient(
                               {{0.0, Color(base.red(), base.green(), base.blue(), top)},
                                {0.5, Color(base.red(), base.green(), base.blue(), (top + bottom) / 2.0)},
                                {0.51, Color(base.red(), base.green(), base.blue(), bottom)},
                                {1.0, Color(base.red(), base.green(), base.blue(), bottom)}},
                               Point(0, 0), Point(0, size.height()));
                           context.restoreGState();
                           context.setLineWidth(1.0);
                           context.setStrokeColor(Color(0, 0, 0, 0.55));
                           RoundedRectangle(face, 6.0).drawRoundedRectPath(context);
                           context.strokePath();
                           context.setStrokeColor(Color(1, 1, 1, 0.25));
                           RoundedRectangle(face.inset(1, 1), 5.0).drawRoundedRectPath(context);
                           context.strokePath();
                       })
        .stretchableImage(14, 21);
}

} // namespace

AlertView::AlertView(const QString& title, const QString& message,
                     const std::shared_ptr<AlertViewDelegate>& delegate, const QString& cancelButtonTitle,
                     const QStringList& otherButtonTitles)
    : ModalChoiceView(Rect(0, 0, width, 0)), m_messageLabel(std::make_shared<Label>()), m_delegate(delegate) {
    titleLabel().setText(title);
    titleLabel().setFont(Font::boldSystemFontOfSize(18));
    m_messageLabel->setText(message);
    m_messageLabel->setFont(Font::systemFontOfSize(16));
    for (Label* label : {&titleLabel(), m_messageLabel.get()}) {
        label->setTextColor(Color(1, 1, 1));
        label->setShadowColor(Color(0, 0, 0, 0.5));
        label->setShadowOffset(Size(0, -1));
        label->setTextAlignment(TextAlignment::Center);
        label->setNumberOfLines(0);
    }
    if (!cancelButtonTitle.isEmpty()) {
        setCancelButtonIndex(addButtonWithTitle(cancelButtonTitle));
    }
    for (const QString& other : otherButtonTitles) {
        addButtonWithTitle(other);
    }
}

AlertView::~AlertView() = default;

QString AlertView::message() const {
    return m_messageLabel->text();
}

void AlertView::setMessage(const QString& message) {
    m_messageLabel->setText(message);
    setNeedsLayout();
}

std::vector<std::shared_ptr<AlertView>> AlertView::queuedAlerts() {
    return {queue().begin(), queue().end()};
}

std::shared_ptr<AlertView> AlertView::self() {
    return std::static_pointer_cast<AlertView>(shared_from_this());
}

std::vector<int> AlertView::displayOrder() const {
    std::vector<int> order;
    for (int index = 0; index < numberOfButtons(); ++index) {
        order.push_back(index);
    }
    // Side by side the cancel button stands on the left; stacked, it closes the column.
    if (cancelButtonIndex() >= 0) {
        order.erase(order.begin() + cancelButtonIndex());
        if (numberOfButtons() == 2) {
            order.insert(order.begin(), cancelButtonIndex());
        } else {
            order.push_back(cancelButtonIndex());
        }
    }
    return order;
}

std::shared_ptr<Button> AlertView::makeButton(int buttonIndex) {
    auto button = std::make_shared<Button>();
    const bool cancel = buttonIndex == cancelButtonIndex();
    button->setTitle(buttonTitleAtIndex(buttonIndex));
    button->setTitleColor(Color(1, 1, 1));
    button->setTitleShadowColor(Color(0, 0, 0, 0.5));
    button->titleLabel().setFont(Font::boldSystemFontOfSize(18));
    button->titleLabel().setShadowOffset(Size(0, -1));
    button->setBackgroundImage(alertButtonImage(false, cancel));
    button->setBackgroundImage(alertButtonImage(true, cancel), ControlState::Highlighted);
    return button;
}

void AlertView::layoutSubviews() {
    const double textWidth = width - 2 * sideMargin;
    double y = topMargin;
    if (!titleLabel().text().isEmpty()) {
        const Size size = StringDrawing::sizeWithFont(titleLabel().text(), titleLabel().font(),
                                                      Size(textWidth, 0), LineBreakMode::WordWrap);
        titleLabel().setFrame(Rect(sideMargin, y, textWidth, size.height()));
        y += size.height() + textGap;
    } else {
        titleLabel().setFrame(Rect(sideMargin, y, textWidth, 0));
    }
    if (!m_messageLabel->text().isEmpty()) {
        const Size size = StringDrawing::sizeWithFont(m_messageLabel->text(), m_messageLabel->font(),
                                                      Size(textWidth, 0), LineBreakMode::WordWrap);
        m_messageLabel->setFrame(Rect(sideMargin, y, textWidth, size.height()));
        y += size.height();
    } else {
        m_messageLabel->setFrame(Rect(sideMargin, y, textWidth, 0));
    }
    y += buttonsGap - textGap / 2;
    if (buttons().size() == 2) {
        const double buttonWidth = (width - 2 * buttonInset - buttonSpacing) / 2;
        const std::vector<int> order = displayOrder();
        for (std::size_t position = 0; position < order.size(); ++position) {
            buttons()[static_cast<std::size_t>(order[position])]->setFrame(
                Rect(buttonInset + static_cast<double>(position) * (buttonWidth + buttonSpacing), y,
                     buttonWidth, buttonHeight));
        }
        y += buttonHeight + bottomMargin;
    } else if (!buttons().empty()) {
        for (const int index : displayOrder()) {
            buttons()[static_cast<std::size_t>(index)]->setFrame(
                Rect(buttonInset, y, width - 2 * buttonInset, buttonHeight));
            y += buttonHeight + buttonSpacing;
        }
        y += bottomMargin - buttonSpacing;
    } else {
        y += bottomMargin - buttonsGap / 2;
    }
    const Point centre = center();
    setBounds(Rect(0, 0, width, y));
    setCenter(centre);
}

void AlertView::drawRect(GraphicsContext& context, const Rect&) {
    const Rect box = bounds().inset(1.5, 1.5);
    constexpr double radius = 9.0;
    // The box, its shadow cast on the dimmed screen.
    context.saveGState();
    context.setShadow(Size(0, 3), 10, Color(0, 0, 0, 0.6));
    context.setFillColor(Color::fromRgb255(5, 18, 54, 0.84));
    RoundedRectangle(box, radius).drawRoundedRectPath(context);
    context.fillPath();
    context.restoreGState();
    // The gloss: a wide bright curve over the top of the box.
    context.saveGState();
    RoundedRectangle(box, radius).drawRoundedRectPath(context);
    context.clip();
    const double glossHeight = std::min(30.0, box.height() / 2);
    context.beginPath();
    context.addEllipseInRect(
        Rect(box.minX() - box.width() * 0.5, box.minY() - glossHeight * 3, box.width() * 2, glossHeight * 4));
    context.clip();
    context.drawLinearGradient({{0.0, Color(1, 1, 1, 0.42)}, {1.0, Color(1, 1, 1, 0.1)}}, box.origin(),
                               Point(box.minX(), box.minY() + glossHeight));
    context.restoreGState();
    // The white rim.
    context.setLineWidth(2.0);
    context.setStrokeColor(Color(1, 1, 1, 0.88));
    RoundedRectangle(box, radius).drawRoundedRectPath(context);
    context.strokePath();
}

void AlertView::show() {
    auto& alerts = queue();
    if (std::find(alerts.begin(), alerts.end(), self()) != alerts.end()) {
        return;
    }
    alerts.push_back(self());
    if (alerts.size() == 1) {
        present();
    }
}

void AlertView::present() {
    Application* application = Application::shared();
    Window* window = application != nullptr ? application->keyWindow() : nullptr;
    if (window == nullptr) {
        // Without a window there is nowhere to show it; it leaves the queue unseen.
        auto& alerts = queue();
        alerts.erase(std::remove(alerts.begin(), alerts.end(), self()), alerts.end());
        if (!alerts.empty()) {
            alerts.front()->present();
        }
        return;
    }
    beginPresentation();
    rebuildButtons();
    if (m_messageLabel->superview().get() != this) {
        insertSubviewAbove(m_messageLabel, titleLabel());
    }
    layoutSubviews();
    coverWindow(*window, DimmingView::Style::Radial);
    setCenter(Point(window->bounds().width() / 2, window->bounds().height() / 2));
    setAlpha(1.0);
    postAccessibilityNotification(AccessibilityNotification::AlertShown);

    // A quick pop: from nothing to a little too large, a little too small, then its size.
    dimmingView()->setAlpha(0.0);
    setTransform(AffineTransform::scaling(0.01, 0.01));
    const std::weak_ptr<View> weakSelf = weak_from_this();
    View::animate(0.2, [this] { dimmingView()->setAlpha(1.0); });
    View::animate(
        0.2, 0.0, AnimationCurve::easeOut, AnimationOption::none,
        [this] { setTransform(AffineTransform::scaling(1.1, 1.1)); },
        [weakSelf](bool finished) {
            auto view = weakSelf.lock();
            if (!view || !finished) {
                return;
            }
            View::animate(
                0.1, 0.0, AnimationCurve::easeInOut, AnimationOption::none,
                [view] { view->setTransform(AffineTransform::scaling(0.9, 0.9)); },
                [weakSelf](bool settled) {
                    if (auto again = weakSelf.lock(); again && settled) {
                        View::animate(0.1, [again] { again->setTransform(AffineTransform::identity()); });
                    }
                });
        });
}

void AlertView::dismissWhileHidden(int buttonIndex) {
    auto& alerts = queue();
    const auto keepAlive = self();
    const auto found = std::find(alerts.begin(), alerts.end(), keepAlive);
    if (found == alerts.end()) {
        return;
    }
    alerts.erase(found);
    willDismiss(buttonIndex);
    didDismiss(buttonIndex);
}

void AlertView::animateDismissal(std::function<void(bool)> completion) {
    View::animate(
        0.2, 0.0, AnimationCurve::easeIn, AnimationOption::none,
        [this] {
            dimmingView()->setAlpha(0.0);
            setAlpha(0.0);
        },
        std::move(completion));
}

void AlertView::leaveScreen() {
    setTransform(AffineTransform::identity());
    auto& alerts = queue();
    alerts.erase(std::remove(alerts.begin(), alerts.end(), self()), alerts.end());
}

void AlertView::dismissalDidFinish() {
    auto& alerts = queue();
    if (!alerts.empty() && !alerts.front()->isVisible()) {
        alerts.front()->present();
    }
}

void AlertView::buttonClicked(int buttonIndex) {
    if (const std::shared_ptr<AlertViewDelegate> reportTo = delegate()) {
        reportTo->clickedButtonAtIndex(*this, buttonIndex);
    }
}

void AlertView::willDismiss(int buttonIndex) {
    if (const std::shared_ptr<AlertViewDelegate> reportTo = delegate()) {
        reportTo->willDismissWithButtonIndex(*this, buttonIndex);
    }
}

void AlertView::didDismiss(int buttonIndex) {
    if (const std::shared_ptr<AlertViewDelegate> reportTo = delegate()) {
        reportTo->didDismissWithButtonIndex(*this, buttonIndex);
    }
}

AccessibilityDescription AlertView::describeAccessibility() const {
    AccessibilityDescription description;
    description.role = AccessibilityRole::Dialog;
    description.label = title();
    return description;
}
