#include "kit/Button.h"

#include "kit/Artwork.h"
#include "kit/GraphicsContext.h"
#include "kit/ImageView.h"
#include "kit/Label.h"

#include <algorithm>

namespace {

// A copy of the image, darkened for the highlighted look or faded for the disabled look; caps
// are kept.
Image adjusted(const Image& image, bool darken) {
    if (image.isNull()) {
        return image;
    }
    const Image result = Image::draw(image.size(), image.scale(), [&](GraphicsContext& context) {
        if (!darken) {
            context.setAlpha(0.5);
        }
        context.drawImage(image.stretchableImage(0, 0), Rect(Point(), image.size()));
        if (darken) {
            context.setBlendMode(BlendMode::SourceAtop);
            context.setFillColor(Color(0, 0, 0, 0.3));
            context.fillRect(Rect(Point(), image.size()));
        }
    });
    return result.stretchableImage(image.leftCapWidth(), image.topCapHeight());
}

// The glow of a touched button: white, fading out from the middle.
Image glowImage() {
    constexpr double diameter = 40.0;
    return Image::draw(Size(diameter, diameter), Artwork::screenScale(), [](GraphicsContext& context) {
        context.setShadow(Size(0, 0), 10.0, Color(1, 1, 1, 1));
        context.setFillColor(Color(1, 1, 1, 0.6));
        context.addEllipseInRect(Rect(12, 12, diameter - 24, diameter - 24));
        context.fillPath();
    });
}

// Places a length within [start, start + room] as the alignment says.
double aligned(double start, double room, double length, bool leading, bool trailing) {
    if (leading) {
        return start;
    }
    if (trailing) {
        return start + room - length;
    }
    return start + (room - length) / 2.0;
}

} // namespace

template <typename Value> const Value* Button::PerState<Value>::find(ControlState state) const {
    auto it = values.find(state);
    if (it == values.end()) {
        it = values.find(ControlState::Normal);
    }
    return it == values.end() ? nullptr : &it->second;
}

Button::Button() : Button(Rect()) {}

Button::Button(const Rect& frame)
    : Control(frame), m_titleLabel(std::make_shared<Label>()), m_imageView(std::make_shared<ImageView>()) {
    m_titleLabel->setFont(Font::boldSystemFontOfSize(15));
    m_titleLabel->setLineBreakMode(LineBreakMode::MiddleTruncation);
    m_titleLabel->setShadowOffset(Size(0, 0));
    m_titleColors.values[ControlState::Normal] = Color(1, 1, 1);
    updateParts();
    setNeedsLayout();
}

Button::~Button() = default;

void Button::setTitle(const QString& title, ControlState state) {
    m_titles.values[state] = title;
    updateParts();
}

QString Button::titleForState(ControlState state) const {
    const QString* title = m_titles.find(state);
    return title != nullptr ? *title : QString();
}

void Button::setTitleColor(const Color& color, ControlState state) {
    m_titleColors.values[state] = color;
    updateParts();
}

Color Button::titleColorForState(ControlState state) const {
    const Color* color = m_titleColors.find(state);
    return color != nullptr ? *color : Color(1, 1, 1);
}

void Button::setTitleShadowColor(std::optional<Color> color, ControlState state) {
    m_titleShadowColors.values[state] = color;
    updateParts();
}

std::optional<Color> Button::titleShadowColorForState(ControlState state) const {
    const std::optional<Color>* color = m_titleShadowColors.find(state);
    return color != nullptr ? *color : std::nullopt;
}

void Button::setImage(const Image& image, ControlState state) {
    m_images.values[state] = image;
    updateParts();
}

Image Button::imageForState(ControlState state) const {
    const Image* image = m_images.find(state);
    return image != nullptr ? *image : Image();
}

void Button::setBackgroundImage(const Image& image, ControlState state) {
    m_backgroundImages.values[state] = image;
    updateParts();
}

Image Button::backgroundImageForState(ControlState state) const {
    const Image* image = m_backgroundImages.find(state);
    return image != nullptr ? *image : Image();
}

void Button::stateDidChange() {
    if (!enabled() && m_tracking) {
        m_tracking = false;
        m_touchInside = false;
        if (highlighted()) {
            // Comes back here, and brings the parts up to date then.
            setHighlighted(false);
            return;
        }
    }
    updateParts();
}

Label& Button::titleLabel() {
    attachParts();
    return *m_titleLabel;
}

ImageView& Button::imageView() {
    attachParts();
    return *m_imageView;
}

void Button::setContentEdgeInsets(const EdgeInsets& insets) {
    m_contentEdgeInsets = insets;
    setNeedsLayout();
}

void Button::setTitleEdgeInsets(const EdgeInsets& insets) {
    m_titleEdgeInsets = insets;
    setNeedsLayout();
}

void Button::setImageEdgeInsets(const EdgeInsets& insets) {
    m_imageEdgeInsets = insets;
    setNeedsLayout();
}

void Button::setContentHorizontalAlignment(ContentHorizontalAlignment alignment) {
    m_contentHorizontalAlignment = alignment;
    setNeedsLayout();
}

void Button::setContentVerticalAlignment(ContentVerticalAlignment alignment) {
    m_contentVerticalAlignment = alignment;
    setNeedsLayout();
}

void Button::setAdjustsImageWhenHighlighted(bool adjusts) {
    m_adjustsImageWhenHighlighted = adjusts;
    updateParts();
}

void Button::setAdjustsImageWhenDisabled(bool adjusts) {
    m_adjustsImageWhenDisabled = adjusts;
    updateParts();
}

void Button::setShowsTouchWhenHighlighted(bool shows) {
    m_showsTouchWhenHighlighted = shows;
    setNeedsLayout();
}

bool Button::isGlowing() const {
    return m_glowView && !m_glowView->hidden();
}

Rect Button::contentRectForBounds(const Rect& area) const {
    return area.inset(m_contentEdgeInsets);
}

Size Button::titleSize() const {
    if (m_titleLabel->text().isEmpty()) {
        return {0.0, 0.0};
    }
    return m_titleLabel->sizeThatFits(Size());
}

Rect Button::imageRectForContentRect(const Rect& contentRect) const {
    const Rect area = contentRect.inset(m_imageEdgeInsets);
    const Size image = currentImage().size();
    const double imageWidth = std::min(image.width(), std::max(area.width(), 0.0));
    const double imageHeight = std::min(image.height(), std::max(area.height(), 0.0));
    const Rect titleArea = contentRect.inset(m_titleEdgeInsets);
    const double titleWidth = std::min(titleSize().width(), std::max(titleArea.width() - imageWidth, 0.0));
    using H = ContentHorizontalAlignment;
    using V = ContentVerticalAlignment;
    const double together = imageWidth + (m_contentHorizontalAlignment == H::Fill ? 0.0 : titleWidth);
    const double x =
        aligned(area.x(), area.width(), together,
                m_contentHorizontalAlignment == H::Left || m_contentHorizontalAlignment == H::Fill,
                m_contentHorizontalAlignment == H::Right);
    if (m_contentVerticalAlignment == V::Fill) {
        return {x, area.y(), imageWidth, area.height()};
    }
    const double y = aligned(area.y(), area.height(), imageHeight, m_contentVerticalAlignment == V::Top,
                             m_contentVerticalAlignment == V::Bottom);
    return {x, y, imageWidth, imageHeight};
}

Rect Button::titleRectForContentRect(const Rect& contentRect) const {
    const Rect area = contentRect.inset(m_titleEdgeInsets);
    const Rect imageArea = contentRect.inset(m_imageEdgeInsets);
    const double imageWidth = std::min(currentImage().size().width(), std::max(imageArea.width(), 0.0));
    const Size title = titleSize();
    using H = ContentHorizontalAlignment;
    using V = ContentVerticalAlignment;
    const double room = std::max(area.width() - imageWidth, 0.0);
    const double titleWidth = m_contentHorizontalAlignment == H::Fill ? room : std::min(title.width(), room);
    double x = 0.0;
    switch (m_contentHorizontalAlignment) {
    case H::Left:
    case H::Fill:
        x = area.x() + imageWidth;
        break;
    case H::Right:
        x = area.maxX() - titleWidth;
        break;
    case H::Center:
        x = area.midX() - (imageWidth + titleWidth) / 2.0 + imageWidth;
        break;
    }
    const double titleHeight = std::min(title.height(), std::max(area.height(), 0.0));
    if (m_contentVerticalAlignment == V::Fill) {
        return {x, area.y(), titleWidth, area.height()};
    }
    const double y = aligned(area.y(), area.height(), titleHeight, m_contentVerticalAlignment == V::Top,
                             m_contentVerticalAlignment == V::Bottom);
    return {x, y, titleWidth, titleHeight};
}

bool Button::isWithinSlack(Point point) const {
    return bounds().inset(-trackingSlack, -trackingSlack).contains(point);
}

bool Button::beginTracking(Point /*point*/) {
    if (!enabled()) {
        return false;
    }
    m_tracking = true;
    m_touchInside = true;
    setHighlighted(true);
    if (onTouchDown) {
        onTouchDown();
    }
    return m_tracking;
}

bool Button::continueTracking(Point point) {
    if (!m_tracking) {
        return false;
    }
    const bool inside = isWithinSlack(point);
    const bool changed = inside != m_touchInside;
    m_touchInside = inside;
    setHighlighted(inside);
    if (changed) {
        const std::function<void()>& crossing = inside ? onTouchDragEnter : onTouchDragExit;
        if (crossing) {
            crossing();
        }
    }
    const std::function<void()>& drag = inside ? onTouchDragInside : onTouchDragOutside;
    if (m_tracking && drag) {
        drag();
    }
    return m_tracking;
}

bool Button::performKeyboardAction() {
    if (!onTouchUpInside) {
        return false;
    }
    // Held while its action runs, which may take its screen away.
    const std::shared_ptr<View> keepAlive = shared_from_this();
    onTouchUpInside();
    return true;
}

void Button::endTracking(Point point) {
    if (!m_tracking) {
        return;
    }
    const bool inside = isWithinSlack(point);
    m_tracking = false;
    m_touchInside = false;
    setHighlighted(false);
    const std::function<void()>& action = inside ? onTouchUpInside : onTouchUpOutside;
    if (action) {
        action();
    }
}

void Button::cancelTracking() {
    if (!m_tracking) {
        return;
    }
    m_tracking = false;
    m_touchInside = false;
    setHighlighted(false);
    if (onTouchCancel) {
        onTouchCancel();
    }
}

void Button::touchesBegan(const TouchSet& touches, const TouchEvent& event) {
    if (touches.empty() || !beginTracking(touches.front()->locationInView(this))) {
        View::touchesBegan(touches, event);
    }
}

void Button::touchesMoved(const TouchSet& touches, const TouchEvent& event) {
    if (touches.empty() || !m_tracking) {
        View::touchesMoved(touches, event);
        return;
    }
    continueTracking(touches.front()->locationInView(this));
}

void Button::touchesEnded(const TouchSet& touches, const TouchEvent& event) {
    if (touches.empty() || !m_tracking) {
        View::touchesEnded(touches, event);
        return;
    }
    endTracking(touches.front()->locationInView(this));
}

void Button::touchesCancelled(const TouchSet& touches, const TouchEvent& event) {
    if (!m_tracking) {
        View::touchesCancelled(touches, event);
        return;
    }
    cancelTracking();
}

void Button::attachParts() {
    if (m_imageView->superview().get() == this || weak_from_this().expired()) {
        return;
    }
    addSubview(m_imageView);
    addSubview(m_titleLabel);
}

void Button::updateParts() {
    const ControlState current = state();
    m_titleLabel->setText(currentTitle());
    m_titleLabel->setTextColor(currentTitleColor());
    m_titleLabel->setShadowColor(currentTitleShadowColor());
    Image image = currentImage();
    const bool ownImage = m_images.values.contains(current);
    if (highlighted() && m_adjustsImageWhenHighlighted && !ownImage) {
        image = adjusted(image, true);
    } else if (!enabled() && m_adjustsImageWhenDisabled && !ownImage) {
        image = adjusted(image, false);
    }
    m_imageView->setImage(image);
    setNeedsLayout();
    setNeedsDisplay();
}

void Button::drawRect(GraphicsContext& context, const Rect& /*rect*/) {
    Image background = currentBackgroundImage();
    const bool ownBackground = m_backgroundImages.values.contains(state());
    if (highlighted() && m_adjustsImageWhenHighlighted && !ownBackground) {
        background = adjusted(background, true);
    } else if (!enabled() && m_adjustsImageWhenDisabled && !ownBackground) {
        background = adjusted(background, false);
    }
    if (!background.isNull()) {
        context.drawImage(background, bounds());
    }
}

void Button::layoutSubviews() {
    attachParts();
    const Rect content = contentRectForBounds(bounds());
    m_imageView->setFrame(imageRectForContentRect(content));
    m_imageView->setHidden(m_imageView->image().isNull());
    m_titleLabel->setFrame(titleRectForContentRect(content));
    m_titleLabel->setHidden(m_titleLabel->text().isEmpty());
    const bool glowing = m_showsTouchWhenHighlighted && highlighted();
    if (glowing && !m_glowView && !weak_from_this().expired()) {
        m_glowView = std::make_shared<ImageView>(glowImage());
        addSubview(m_glowView);
    }
    if (m_glowView) {
        m_glowView->setCenter(bounds().center());
        m_glowView->setHidden(!glowing);
        bringSubviewToFront(*m_glowView);
    }
}

Size Button::fittingSize(Size /*size*/) const {
    const Size image = currentImage().size();
    const Size title = titleSize();
    Size result(m_contentEdgeInsets.left() + image.width() + title.width() + m_contentEdgeInsets.right(),
                m_contentEdgeInsets.top() + std::max(image.height(), title.height()) +
                    m_contentEdgeInsets.bottom());
    const Size background = currentBackgroundImage().size();
    return {std::max(result.width(), background.width()), std::max(result.height(), background.height())};
}

AccessibilityDescription Button::describeAccessibility() const {
    AccessibilityDescription description;
    description.role = AccessibilityRole::Button;
    description.label = currentTitle().simplified();
    if (description.label.isEmpty()) {
        description.label = currentImage().name();
    }
    description.enabled = enabled();
    description.selected = selected();
    description.subviewsAreElements = false;
    return description;
}
