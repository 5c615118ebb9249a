#include "kit/View.h"

#include "kit/Animator.h"
#include "kit/GestureRecognizer.h"
#include "kit/GraphicsContext.h"
#include "kit/Image.h"
#include "kit/Layer.h"
#include "kit/ViewRenderer.h"
#include "kit/Window.h"

#include <algorithm>

namespace {

// The bounding box of the bounds' size centred on `center`, turned by the transform around it.
Rect frameAround(Point center, const Rect& bounds, const AffineTransform& transform) {
    const Rect centred(center.x() - bounds.width() / 2.0, center.y() - bounds.height() / 2.0, bounds.width(),
                       bounds.height());
    if (transform.isIdentity()) {
        return centred;
    }
    const AffineTransform aroundCenter = AffineTransform::translation(-center.x(), -center.y())
                                             .concat(transform)
                                             .concat(AffineTransform::translation(center.x(), center.y()));
    return aroundCenter.apply(centred);
}

// Visits the superview, its superview and so on up to the root. A raw walk rather than rootView,
// because it is also reached from constructors, where shared_from_this is not available yet.
template <class Visit> void forEachAncestor(View& view, Visit visit) {
    for (std::shared_ptr<View> parent = view.superview(); parent; parent = parent->superview()) {
        visit(*parent);
    }
}

} // namespace

View::View() : m_layer(std::make_unique<Layer>(*this)) {}

View::View(const Rect& frame) : m_layer(std::make_unique<Layer>(*this)) {
    setFrame(frame);
    m_needsLayout = false;
}

View::~View() {
    for (const std::shared_ptr<GestureRecognizer>& recognizer : m_gestureRecognizers) {
        recognizer->detachFromView();
    }
    for (const std::shared_ptr<View>& subview : m_subviews) {
        subview->m_superview.reset();
    }
}

Rect View::frame() const {
    return frameAround(m_center, m_bounds, m_transform);
}

void View::setFrame(const Rect& frame) {
    const Point oldCenter = m_center;
    const Rect oldBounds = m_bounds;
    markChanged();
    const Rect standard = frame.standardized();
    m_center = standard.center();
    if (m_bounds.size() != standard.size()) {
        m_bounds.setSize(standard.size());
        setNeedsLayout();
        setNeedsDisplay();
    }
    if (m_center != oldCenter) {
        m_layer->modelValueChanged(Layer::positionKey, oldCenter);
    }
    if (m_bounds != oldBounds) {
        m_layer->modelValueChanged(Layer::boundsKey, oldBounds);
    }
}

void View::setBounds(const Rect& bounds) {
    const Rect oldBounds = m_bounds;
    markChanged();
    if (m_bounds.size() != bounds.size()) {
        setNeedsLayout();
        setNeedsDisplay();
    }
    m_bounds = bounds;
    if (m_bounds != oldBounds) {
        m_layer->modelValueChanged(Layer::boundsKey, oldBounds);
    }
}

void View::setCenter(Point center) {
    const Point oldCenter = m_center;
    m_center = center;
    markChanged();
    if (m_center != oldCenter) {
        m_layer->modelValueChanged(Layer::positionKey, oldCenter);
    }
}

void View::setTransform(const AffineTransform& transform) {
    const AffineTransform oldTransform = m_transform;
    m_transform = transform;
    markChanged();
    if (m_transform != oldTransform) {
        m_layer->modelValueChanged(Layer::transformKey, oldTransform);
    }
}

void View::setAlpha(double alpha) {
    const double oldAlpha = m_alpha;
    m_alpha = std::clamp(alpha, 0.0, 1.0);
    markChanged();
    if (m_alpha != oldAlpha) {
        m_layer->modelValueChanged(Layer::opacityKey, oldAlpha);
    }
}

void View::setHidden(bool hidden) {
    m_hidden = hidden;
    markChanged();
}

void View::setClipsToBounds(bool clips) {
    m_clipsToBounds = clips;
    markChanged();
}

void View::setBackgroundColor(std::optional<Color> color) {
    const std::optional<Color> oldColor = m_backgroundColor;
    m_backgroundColor = color;
    setNeedsDisplay();
    if (m_backgroundColor != oldColor) {
        m_layer->modelValueChanged(Layer::backgroundColorKey, oldColor.value_or(Color()));
    }
}

void View::addSubview(const std::shared_ptr<View>& view) {
    insertSubview(view, m_subviews.size());
}

void View::insertSubview(const std::shared_ptr<View>& view, std::size_t index) {
    if (!view || isDescendantOfView(*view)) {
        return;
    }
    if (const std::shared_ptr<View> old = view->superview()) {
        const std::size_t oldIndex = old->indexOfSubview(*view);
        if (old.get() == this && oldIndex < index) {
            --index;
        }
        old->detachSubview(oldIndex);
    }
    attachSubview(view, std::min(index, m_subviews.size()));
}

void View::insertSubviewBelow(const std::shared_ptr<View>& view, const View& sibling) {
    if (!view || view.get() == &sibling) {
        return;
    }
    const std::size_t index = indexOfSubview(sibling);
    insertSubview(view, index);
}

void View::insertSubviewAbove(const std::shared_ptr<View>& view, const View& sibling) {
    if (!view || view.get() == &sibling) {
        return;
    }
    const std::size_t index = indexOfSubview(sibling);
    insertSubview(view, index == m_subviews.size() ? index : index + 1);
}

void View::removeFromSuperview() {
    if (Window* window = this->window()) {
        const std::shared_ptr<View> responder = window->firstResponder();
        if (responder && responder->isDescendantOfView(*this)) {
            window->clearFirstResponder();
        }
    }
    if (const std::shared_ptr<View> parent = superview()) {
        parent->detachSubview(parent->indexOfSubview(*this));
    }
}

void View::bringSubviewToFront(const View& subview) {
    const std::size_t index = indexOfSubview(subview);
    if (index < m_subviews.size()) {
        markChanged();
        std::rotate(m_subviews.begin() + static_cast<std::ptrdiff_t>(index),
                    m_subviews.begin() + static_cast<std::ptrdiff_t>(index) + 1, m_subviews.end());
    }
}

void View::sendSubviewToBack(const View& subview) {
    const std::size_t index = indexOfSubview(subview);
    if (index < m_subviews.size()) {
        markChanged();
        std::rotate(m_subviews.begin(), m_subviews.begin() + static_cast<std::ptrdiff_t>(index),
                    m_subviews.begin() + static_cast<std::ptrdiff_t>(index) + 1);
    }
}

bool View::isDescendantOfView(const View& view) const {
    if (this == &view) {
        return true;
    }
    const std::shared_ptr<View> parent = superview();
    return parent && parent->isDescendantOfView(view);
}

std::shared_ptr<View> View::viewWithTag(int tag) {
    if (m_tag == tag) {
        return shared_from_this();
    }
    for (const std::shared_ptr<View>& subview : m_subviews) {
        if (std::shared_ptr<View> found = subview->viewWithTag(tag)) {
            return found;
        }
    }
    return nullptr;
}

std::shared_ptr<View> View::rootView() {
    std::shared_ptr<View> root = shared_from_this();
    while (std::shared_ptr<View> parent = root->superview()) {
        root = parent;
    }
    return root;
}

void View::setNeedsDisplay() {
    m_needsDisplay = true;
    markChanged();
}

// Walks all the way up rather than stopping at a marked view: views that were not drawn
// (hidden ones) keep their mark, and stopping there would leave the root unmarked.
void View::markChanged() {
    m_subtreeNeedsDisplay = true;
    View* root = this;
    forEachAncestor(*this, [&](View& ancestor) {
        ancestor.m_subtreeNeedsDisplay = true;
        root = &ancestor;
    });
    root->rootNeedsDisplay();
}

void View::setNeedsLayout() {
    m_needsLayout = true;
    View* root = this;
    forEachAncestor(*this, [&](View& ancestor) { root = &ancestor; });
    root->rootNeedsDisplay();
}

std::size_t View::indexOfSubview(const View& subview) const {
    const auto it =
        std::find_if(m_subviews.begin(), m_subviews.end(),
                     [&](const std::shared_ptr<View>& candidate) { return candidate.get() == &subview; });
    return static_cast<std::size_t>(it - m_subviews.begin());
}

void View::detachSubview(std::size_t index) {
    if (index >= m_subviews.size()) {
        return;
    }
    // Keeps the view alive through the hooks even when this view held its last reference.
    const std::shared_ptr<View> view = m_subviews[index];
    willRemoveSubview(*view);
    m_subviews.erase(m_subviews.begin() + static_cast<std::ptrdiff_t>(index));
    view->m_superview.reset();
    setNeedsLayout();
    markChanged();
    view->didMoveToSuperview();
}

void View::attachSubview(const std::shared_ptr<View>& view, std::size_t index) {
    m_subviews.insert(m_subviews.begin() + static_cast<std::ptrdiff_t>(index), view);
    view->m_superview = weak_from_this();
    setNeedsLayout();
    markChanged();
    view->didMoveToSuperview();
    didAddSubview(*view);
}

Point View::pointToSuperview(Point point) const {
    const Point fromCenter = point - m_bounds.center();
    return m_transform.apply(fromCenter) + m_center;
}

Point View::pointFromSuperview(Point point) const {
    return m_transform.inverted().apply(point - m_center) + m_bounds.center();
}

Point View::pointToRoot(Point point) const {
    const View* view = this;
    while (const std::shared_ptr<View> parent = view->superview()) {
        point = view->pointToSuperview(point);
        view = parent.get();
    }
    return point;
}

Point View::pointFromRoot(Point point) const {
    if (const std::shared_ptr<View> parent = superview()) {
        return pointFromSuperview(parent->pointFromRoot(point));
    }
    return point;
}

Point View::convertPointToView(Point point, const View* view) const {
    const Point root = pointToRoot(point);
    return view ? view->pointFromRoot(root) : root;
}

Point View::convertPointFromView(Point point, const View* view) const {
    const Point root = view ? view->pointToRoot(point) : point;
    return pointFromRoot(root);
}

Rect View::convertRectToView(const Rect& rect, const View* view) const {
    return boundingBoxOfMappedCorners(rect, [&](Point corner) { return convertPointToView(corner, view); });
}

Rect View::convertRectFromView(const Rect& rect, const View* view) const {
    return boundingBoxOfMappedCorners(rect, [&](Point corner) { return convertPointFromView(corner, view); });
}

std::shared_ptr<View> View::hitTest(Point point) {
    if (m_hidden || !m_userInteractionEnabled || m_alpha < 0.01 || isInteractionBlockedByAnimation()) {
        return nullptr;
    }
    return hitTestView(point);
}

std::shared_ptr<View> View::hitTestView(Point point) {
    if (!pointInside(point)) {
        return nullptr;
    }
    // A copy, so that a hook changing the tree does not disturb the walk.
    const std::vector<std::shared_ptr<View>> subviews = m_subviews;
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
        if (std::shared_ptr<View> hit = (*it)->hitTest((*it)->pointFromSuperview(point))) {
            return hit;
        }
    }
    return shared_from_this();
}

bool View::pointInside(Point point) const {
    return isPointInside(point);
}

bool View::isPointInside(Point point) const {
    return m_bounds.contains(point);
}

void View::layoutIfNeeded() {
    if (m_needsLayout) {
        m_needsLayout = false;
        layoutSubviews();
    }
    const std::vector<std::shared_ptr<View>> subviews = m_subviews;
    for (const std::shared_ptr<View>& subview : subviews) {
        subview->layoutIfNeeded();
    }
}

Size View::sizeThatFits(Size size) const {
    return fittingSize(size);
}

void View::sizeToFit() {
    setFrameSize(sizeThatFits(m_bounds.size()));
}

void View::setFrameX(double x) {
    Rect f = frame();
    f.setOrigin({x, f.y()});
    setFrame(f);
}

void View::setFrameY(double y) {
    Rect f = frame();
    f.setOrigin({f.x(), y});
    setFrame(f);
}

void View::setFrameWidth(double width) {
    Rect f = frame();
    f.setSize({width, f.height()});
    setFrame(f);
}

void View::setFrameHeight(double height) {
    Rect f = frame();
    f.setSize({f.width(), height});
    setFrame(f);
}

void View::moveFrameX(double dx) {
    setFrameX(frame().x() + dx);
}

void View::moveFrameY(double dy) {
    setFrameY(frame().y() + dy);
}

void View::moveFrameWidth(double dw) {
    setFrameWidth(frame().width() + dw);
}

void View::moveFrameHeight(double dh) {
    setFrameHeight(frame().height() + dh);
}

void View::setFrameOrigin(Point origin) {
    setFrame({origin, frame().size()});
}

void View::setFrameSize(Size size) {
    setFrame({frame().origin(), size});
}

void View::sizeToFitWidth() {
    const double height = frame().height();
    sizeToFit();
    setFrameHeight(height);
}

void View::centerSubViewVertically(View& subview) const {
    subview.setFrameY(frame().height() / 2.0 - subview.frame().height() / 2.0);
}

void View::drawHierarchy(GraphicsContext& context) {
    m_subtreeNeedsDisplay = false;
    const double alpha = presentationAlpha();
    if (m_hidden || alpha <= 0.0) {
        m_needsDisplay = false;
        return;
    }
    if (alpha < 1.0 && m_allowsGroupOpacity) {
        context.drawTransparencyLayer(drawnArea(), alpha,
                                      [this](GraphicsContext& layer) { drawSelfAndSubviews(layer, 1.0); });
        m_needsDisplay = false;
        return;
    }
    drawSelfAndSubviews(context, alpha);
}

Rect View::drawnArea() const {
    if (m_clipsToBounds) {
        return presentationBounds();
    }
    Rect area = drawingBounds();
    for (const std::shared_ptr<View>& subview : m_subviews) {
        if (subview->m_hidden) {
            continue;
        }
        const Point boundsCenter = subview->presentationBounds().center();
        const Point center = subview->presentationCenter();
        const AffineTransform toThisView = AffineTransform::translation(-boundsCenter.x(), -boundsCenter.y())
                                               .concat(subview->presentationTransform())
                                               .concat(AffineTransform::translation(center.x(), center.y()));
        area = area.united(toThisView.apply(subview->drawnArea()));
    }
    return area;
}

Rect View::drawingBounds() const {
    return presentationBounds();
}

void View::drawSelfAndSubviews(GraphicsContext& context, double alpha) {
    const Rect bounds = presentationBounds();
    context.saveGState();
    context.setAlpha(context.alpha() * alpha);
    if (m_clipsToBounds) {
        context.clipToRect(bounds);
    }
    if (const std::optional<Color> background = presentationBackgroundColor()) {
        context.setFillColor(*background);
        context.fillRect(bounds);
    }
    // States a drawRect leaves saved would leak into the views drawn after it.
    const std::size_t depth = context.gStateDepth();
    drawRect(context, bounds);
    while (context.gStateDepth() > depth) {
        context.restoreGState();
    }
    m_needsDisplay = false;
    for (const std::shared_ptr<View>& subview : m_subviews) {
        if (subview->m_hidden) {
            continue;
        }
        const Point boundsCenter = subview->presentationBounds().center();
        const Point center = subview->presentationCenter();
        const AffineTransform transform = subview->presentationTransform();
        context.saveGState();
        context.translateCTM(center.x(), center.y());
        if (!transform.isIdentity()) {
            context.concatCTM(transform);
        }
        context.translateCTM(-boundsCenter.x(), -boundsCenter.y());
        subview->drawHierarchy(context);
        context.restoreGState();
    }
    context.restoreGState();
}

Image View::renderToImage(double scale) {
    return ViewRenderer::render(*this, scale);
}

bool View::savePng(const QString& path, double scale) {
    return renderToImage(scale).savePng(path);
}

void View::animate(double duration, double delay, AnimationCurve curve, AnimationOptions options,
                   const std::function<void()>& changes, std::function<void(bool finished)> completion) {
    Animator::instance().animate(duration, delay, curve, options, changes, std::move(completion));
}

void View::animate(double duration, const std::function<void()>& changes,
                   std::function<void(bool finished)> completion) {
    animate(duration, 0.0, AnimationCurve::easeInOut, AnimationOption::none, changes, std::move(completion));
}

void View::performWithoutAnimation(const std::function<void()>& changes) {
    Animator::instance().performWithoutAnimation(changes);
}

Point View::presentationCenter() const {
    if (!m_layer->hasAnimations()) {
        return m_center;
    }
    return std::get<Point>(m_layer->presentationValueForKeyPath(Layer::positionKey));
}

Rect View::presentationBounds() const {
    if (!m_layer->hasAnimations()) {
        return m_bounds;
    }
    return std::get<Rect>(m_layer->presentationValueForKeyPath(Layer::boundsKey));
}

Rect View::presentationFrame() const {
    return frameAround(presentationCenter(), presentationBounds(), presentationTransform());
}

AffineTransform View::presentationTransform() const {
    if (!m_layer->hasAnimations()) {
        return m_transform;
    }
    return std::get<AffineTransform>(m_layer->presentationValueForKeyPath(Layer::transformKey));
}

double View::presentationAlpha() const {
    if (!m_layer->hasAnimations()) {
        return m_alpha;
    }
    return std::clamp(std::get<double>(m_layer->presentationValueForKeyPath(Layer::opacityKey)), 0.0, 1.0);
}

std::optional<Color> View::presentationBackgroundColor() const {
    if (!m_layer->isAnimatingKeyPath(Layer::backgroundColorKey)) {
        return m_backgroundColor;
    }
    return std::get<Color>(m_layer->presentationValueForKeyPath(Layer::backgroundColorKey));
}

bool View::isInteractionBlockedByAnimation() const {
    return m_layer->blocksInteraction();
}

void View::removeAllAnimations() {
    m_layer->removeAllAnimations();
}

void View::drawRect(GraphicsContext& /*context*/, const Rect& /*rect*/) {}

void View::layoutSubviews() {}

Size View::fittingSize(Size /*size*/) const {
    return m_bounds.size();
}

void View::didAddSubview(View& /*subview*/) {}

void View::willRemoveSubview(View& /*subview*/) {}

void View::didMoveToSuperview() {}
void View::rootNeedsDisplay() {}

void View::deliverTouches(TouchPhase phase, const TouchSet& touches, const TouchEvent& event) {
    switch (phase) {
    case TouchPhase::Began:
        touchesBegan(touches, event);
        break;
    case TouchPhase::Moved:
        touchesMoved(touches, event);
        break;
    case TouchPhase::Ended:
        touchesEnded(touches, event);
        break;
    case TouchPhase::Cancelled:
        touchesCancelled(touches, event);
        break;
    case TouchPhase::Stationary:
        break;
    }
}

void View::addGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer) {
    if (!recognizer || recognizer->m_view == this) {
        return;
    }
    if (recognizer->m_view) {
        recognizer->m_view->removeGestureRecognizer(*recognizer);
    }
    m_gestureRecognizers.push_back(recognizer);
    recognizer->m_view = this;
}

void View::removeGestureRecognizer(const GestureRecognizer& recognizer) {
    const auto it = std::find_if(m_gestureRecognizers.begin(), m_gestureRecognizers.end(),
                                 [&](const auto& candidate) { return candidate.get() == &recognizer; });
    if (it == m_gestureRecognizers.end()) {
        return;
    }
    // Keeps the recogniser alive while it cancels its gesture.
    const std::shared_ptr<GestureRecognizer> removed = *it;
    m_gestureRecognizers.erase(it);
    removed->detachFromView();
}

void View::touchesBegan(const TouchSet& touches, const TouchEvent& event) {
    if (const std::shared_ptr<View> next = superview()) {
        next->touchesBegan(touches, event);
    }
}

void View::touchesMoved(const TouchSet& touches, const TouchEvent& event) {
    if (const std::shared_ptr<View> next = superview()) {
        next->touchesMoved(touches, event);
    }
}

void View::touchesEnded(const TouchSet& touches, const TouchEvent& event) {
    if (const std::shared_ptr<View> next = superview()) {
        next->touchesEnded(touches, event);
    }
}

void View::touchesCancelled(const TouchSet& touches, const TouchEvent& event) {
    if (const std::shared_ptr<View> next = superview()) {
        next->touchesCancelled(touches, event);
    }
}

bool View::canBecomeFirstResponder() {
    return false;
}

bool View::canResignFirstResponder() {
    return true;
}

bool View::becomeFirstResponder() {
    Window* window = this->window();
    if (window == nullptr) {
        return false;
    }
    if (window->firstResponder().get() == this) {
        return true;
    }
    if (!canBecomeFirstResponder()) {
        return false;
    }
    return window->makeFirstResponder(shared_from_this());
}

bool View::resignFirstResponder() {
    Window* window = this->window();
    if (window == nullptr || window->firstResponder().get() != this) {
        return true;
    }
    if (!canResignFirstResponder()) {
        return false;
    }
    window->clearFirstResponder();
    return true;
}

bool View::isFirstResponder() const {
    const Window* window = this->window();
    return window != nullptr && window->firstResponder().get() == this;
}

bool View::canPerformAction(const QString&) {
    return false;
}

Window* View::window() const {
    const View* view = this;
    while (const std::shared_ptr<View> parent = view->superview()) {
        view = parent.get();
    }
    return dynamic_cast<Window*>(const_cast<View*>(view));
}

bool View::isShowing() const {
    const View* view = this;
    for (;;) {
        if (view->m_hidden || view->m_alpha < 0.01) {
            return false;
        }
        const std::shared_ptr<View> parent = view->superview();
        if (!parent) {
            return dynamic_cast<const Window*>(view) != nullptr;
        }
        view = parent.get();
    }
}

void View::didBecomeFirstResponder() {}

void View::didResignFirstResponder() {}

bool View::handleKeyInput(const KeyInput&) {
    return false;
}

AccessibilityDescription View::accessibilityDescription() const {
    return describeAccessibility();
}

AccessibilityDescription View::describeAccessibility() const {
    return {};
}

void View::postAccessibilityNotification(AccessibilityNotification notification) {
    if (Window* root = window()) {
        root->accessibilityNotification(*this, notification);
    }
}
