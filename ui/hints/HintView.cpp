#include "ui/hints/HintView.h"

#include "core/hints/Hint.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "kit/Application.h"
#include "kit/Font.h"
#include "kit/GraphicsContext.h"
#include "kit/InterfaceOrientation.h"
#include "kit/Label.h"
#include "kit/RoundedRectangle.h"
#include "kit/Screen.h"
#include "kit/Touch.h"
#include "kit/Window.h"

#include <cmath>
#include <numbers>

namespace {

// The panel's height beyond its text: the title above and a margin below.
constexpr double chromeHeight = 42.0;
// What the status bar and the navigation bar take at the top, in each orientation.
constexpr double portraitTopInset = 64.0;
constexpr double landscapeTopInset = 52.0;
// The panel sits a little above the middle of the free area.
constexpr double raise = 10.0;
constexpr double textLabelWidth = 220.0;

const QString updateHintIdentifier = QStringLiteral("searchHintOnUpdate");

void styleLabel(Label& label, const Font& font) {
    label.setFont(font);
    label.setTextColor(Color(1, 1, 1));
    label.setShadowColor(Color(0, 0, 0));
    label.setShadowOffset(Size(-1, 1));
    label.setBackgroundColor(std::nullopt);
}

} // namespace

HintView::HintView()
    : View(Rect(41, 197, panelWidth, 132)), m_titleLabel(std::make_shared<Label>(Rect(81, 9, 75, 21))),
      m_textLabel(std::make_shared<Label>(Rect(8, 31, textLabelWidth, 90))) {
    setBackgroundColor(std::nullopt);
    setHidden(true);

    styleLabel(*m_titleLabel, Font::boldSystemFontOfSize(17));
    // The title box is centred on the panel, so a centred title stays in the middle whatever
    // its length.
    m_titleLabel->setTextAlignment(TextAlignment::Center);
    m_titleLabel->setText(localizedString(QStringLiteral("Hint")));
    addSubview(m_titleLabel);

    styleLabel(*m_textLabel, Font::systemFontOfSize(17));
    m_textLabel->setTextAlignment(TextAlignment::Center);
    m_textLabel->setNumberOfLines(0);
    m_textLabel->setLineBreakMode(LineBreakMode::WordWrap);
    addSubview(m_textLabel);
}

HintView::~HintView() = default;

std::shared_ptr<HintView> HintView::install() {
    auto panel = std::make_shared<HintView>();
    Hint::setPresenter(panel);
    return panel;
}

void HintView::setHint(const std::shared_ptr<Hint>& hint) {
    m_currentHint = hint;
    m_textLabel->setText(hint ? hint->text() : QString());
    // Only the height follows the text; the label keeps its width so that the lines stay
    // centred on the panel.
    const double width = m_textLabel->frame().width();
    m_textLabel->sizeToFit();
    m_textLabel->setFrameWidth(width);
    centerView();
    const bool isUpdate = hint && hint->identifier() == updateHintIdentifier;
    m_titleLabel->setText(localizedString(isUpdate ? QStringLiteral("New") : QStringLiteral("Hint")));
}

void HintView::centerView() {
    const double height = m_textLabel->frame().height() + chromeHeight;
    const bool landscape = InterfaceOrientation::isLandscape();
    const double topInset = landscape ? landscapeTopInset : portraitTopInset;
    const auto container = superview();
    const Size size = container ? container->bounds().size() : Screen::main().sizeForLandscape(landscape);
    // Our window turns its coordinates with the device, so the panel is normally laid out
    // upright in them. A superview that keeps the device's portrait coordinates in landscape
    // makes the panel turn itself and measure from the edge that is now at the top.
    const bool turnsItself = landscape && size.height() > size.width();
    const double spanAcross = turnsItself ? size.height() : size.width();
    const double spanAlong = (turnsItself ? size.width() : size.height()) - topInset;
    const double offset = m_currentHint && m_currentHint->alignsOnTop() ? spanAlong / 2.0 : 0.0;
    const double across = std::round((spanAcross - panelWidth) / 2.0);
    const double along = std::round((spanAlong - offset - height) / 2.0 + topInset - raise);

    if (!turnsItself) {
        setTransform(AffineTransform::identity());
        setFrame(Rect(across, along, panelWidth, height));
        return;
    }
    // Landscape left has the top of the screen at the superview's left edge, landscape right at
    // its right edge.
    const bool left = InterfaceOrientation::isLandscapeLeft();
    const double x = left ? along : size.width() - along - height;
    setTransform(AffineTransform::rotation(left ? -std::numbers::pi / 2.0 : std::numbers::pi / 2.0));
    setBounds(Rect(0, 0, panelWidth, height));
    setCenter(Point(x + height / 2.0, across + panelWidth / 2.0));
}

void HintView::show() {
    ++m_showCount;
    m_fadingOut = false;
    setAlpha(0.0);
    setHidden(false);
    View::animate(fadeDuration, 0.0, AnimationCurve::easeInOut, AnimationOption::allowUserInteraction,
                  [this] { setAlpha(1.0); });
}

void HintView::hide() {
    if (hidden() || m_fadingOut) {
        return;
    }
    m_fadingOut = true;
    const unsigned showCount = m_showCount;
    std::weak_ptr<View> weakSelf = weak_from_this();
    View::animate(
        fadeDuration, [this] { setAlpha(0.0); },
        [weakSelf, showCount](bool) {
            const auto self = std::static_pointer_cast<HintView>(weakSelf.lock());
            // A show during the fade-out keeps the panel up.
            if (self && self->m_showCount == showCount) {
                self->m_fadingOut = false;
                self->setHidden(true);
            }
        });
}

bool HintView::isShowingHint() const {
    return superview() != nullptr && !hidden();
}

void HintView::showHint(const std::shared_ptr<Hint>& hint) {
    Application* application = Application::shared();
    Window* window = application != nullptr ? application->keyWindow() : nullptr;
    if (window == nullptr) {
        Log::debug(QStringLiteral("hints"), QStringLiteral("No key window to show a hint in"));
        return;
    }
    // Joining the window again also brings the panel in front of views added since.
    window->addSubview(shared_from_this());
    setHint(hint);
    show();
}

void HintView::hideHint() {
    hide();
}

void HintView::drawRect(GraphicsContext& context, const Rect&) {
    context.beginPath();
    RoundedRectangle(bounds().inset(1, 1), 15).drawRoundedRectPath(context);
    context.setFillColor(Color::fromRgb255(80, 80, 80, 0.85));
    context.fillPath();
}

// The panel keeps its touches from the screen behind it; a finger lifted on it closes it.
void HintView::touchesBegan(const TouchSet&, const TouchEvent&) {}

void HintView::touchesMoved(const TouchSet&, const TouchEvent&) {}

void HintView::touchesEnded(const TouchSet& touches, const TouchEvent&) {
    for (const auto& touch : touches) {
        if (pointInside(touch->locationInView(this))) {
            hide();
            return;
        }
    }
}

void HintView::touchesCancelled(const TouchSet&, const TouchEvent&) {}
