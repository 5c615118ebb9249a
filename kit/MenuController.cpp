#include "kit/MenuController.h"

#include "kit/Application.h"
#include "kit/GraphicsContext.h"
#include "kit/NotificationCenter.h"
#include "kit/Screen.h"
#include "kit/TextLayout.h"
#include "kit/Touch.h"
#include "kit/View.h"
#include "kit/Window.h"

#include <algorithm>
#include <cmath>

namespace {

const Font& itemFont() {
    static const Font font = Font::boldSystemFontOfSize(14);
    return font;
}

constexpr double itemPadding = 11.0;
constexpr double menuCornerRadius = 7.0;
constexpr double screenMargin = 4.0;
constexpr double menuFadeDuration = 0.15;

} // namespace

// The menu as drawn: it covers the whole window so that it hears every touch that begins, but
// it only keeps touches on its bubble; any other touch hides the menu and passes through.
class MenuController::MenuView final : public View {
public:
    explicit MenuView(MenuController& controller) : m_controller(controller) {}

    int highlightedItem() const { return m_highlighted; }

protected:
    std::shared_ptr<View> hitTestView(Point point) override {
        if (!m_controller.m_menuVisible) {
            return nullptr;
        }
        if (m_controller.m_menuFrame.contains(point)) {
            return shared_from_this();
        }
        m_controller.hide(true);
        return nullptr;
    }

    void drawRect(GraphicsContext& context, const Rect&) override {
        const Rect frame = m_controller.m_menuFrame;
        const bool down = m_controller.m_arrowDirection == ArrowDirection::Down;
        const Rect body = down ? Rect(frame.x(), frame.y(), frame.width(), bodyHeight)
                               : Rect(frame.x(), frame.y() + arrowHeight, frame.width(), bodyHeight);
        context.saveGState();
        context.setShadow(Size(0, 2), 6, Color(0, 0, 0, 0.5));
        addBubblePath(context, body, down);
        context.setFillColor(Color(0.08, 0.08, 0.08, 0.92));
        context.fillPath();
        context.restoreGState();

        context.saveGState();
        addBubblePath(context, body, down);
        context.clip();
        context.drawLinearGradient({{0.0, Color(0.42, 0.42, 0.42, 0.95)},
                                    {0.5, Color(0.2, 0.2, 0.2, 0.95)},
                                    {0.5, Color(0.06, 0.06, 0.06, 0.95)},
                                    {1.0, Color(0.02, 0.02, 0.02, 0.95)}},
                                   Point(0, body.minY()), Point(0, body.maxY()));
        const std::vector<Rect>& items = m_controller.m_itemFrames;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const Rect item = items[i];
            if (static_cast<int>(i) == m_highlighted) {
                context.saveGState();
                context.clipToRect(Rect(item.x(), frame.y(), item.width(), frame.height()));
                context.drawLinearGradient({{0.0, Color(0.36, 0.55, 0.95)}, {1.0, Color(0.1, 0.3, 0.85)}},
                                           Point(0, body.minY()), Point(0, body.maxY()));
                context.restoreGState();
            }
            if (i > 0) {
                // A thin groove between two items: a dark line beside a light one.
                context.setFillColor(Color(0, 0, 0, 0.9));
                context.fillRect(Rect(item.x() - 1.0, body.minY(), 1.0, body.height()));
                context.setFillColor(Color(1, 1, 1, 0.25));
                context.fillRect(Rect(item.x(), body.minY(), 1.0, body.height()));
            }
            context.setFillColor(Color(1, 1, 1));
            context.setShadow(Size(0, -1), 0, Color(0, 0, 0, 0.8));
            const double textY = body.midY() - itemFont().lineHeight() / 2.0;
            context.drawTextInRect(m_controller.m_menuItems[i].title(),
                                   Rect(item.x(), textY, item.width(), itemFont().lineHeight()), itemFont(),
                                   LineBreakMode::TailTruncation, TextAlignment::Center);
            context.clearShadow();
        }
        context.restoreGState();

        addBubblePath(context, body.inset(0.5, 0.5), down);
        context.setStrokeColor(Color(0, 0, 0, 0.85));
        context.setLineWidth(1.0);
        context.strokePath();
    }

    void touchesBegan(const TouchSet& touches, const TouchEvent&) override {
        m_highlighted = itemAt((*touches.begin())->locationInView(this));
        setNeedsDisplay();
    }

    void touchesMoved(const TouchSet& touches, const TouchEvent&) override {
        const int item = itemAt((*touches.begin())->locationInView(this));
        if (item != m_highlighted) {
            m_highlighted = item;
            setNeedsDisplay();
        }
    }

    void touchesEnded(const TouchSet& touches, const TouchEvent&) override {
        const int item = itemAt((*touches.begin())->locationInView(this));
        const bool chosen = item >= 0 && item == m_highlighted;
        m_highlighted = -1;
        setNeedsDisplay();
        if (chosen) {
            m_controller.itemChosen(static_cast<std::size_t>(item));
        }
    }

    void touchesCancelled(const TouchSet&, const TouchEvent&) override {
        m_highlighted = -1;
        setNeedsDisplay();
    }

private:
    int itemAt(Point point) const {
        const std::vector<Rect>& items = m_controller.m_itemFrames;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const Rect item = items[i];
            if (point.x() >= item.minX() && point.x() < item.maxX() &&
                m_controller.m_menuFrame.contains(point)) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    // The rounded body with the arrow on its bottom (pointing down) or top edge.
    void addBubblePath(GraphicsContext& context, const Rect& body, bool down) const {
        const double r = menuCornerRadius;
        const double ax = m_controller.m_arrowX;
        const double half = arrowWidth / 2.0;
        context.beginPath();
        context.moveTo(Point(body.minX(), body.midY()));
        context.addArcToPoint(Point(body.minX(), body.minY()), Point(body.midX(), body.minY()), r);
        if (!down) {
            context.addLineTo(Point(ax - half, body.minY()));
            context.addLineTo(Point(ax, body.minY() - arrowHeight));
            context.addLineTo(Point(ax + half, body.minY()));
        }
        context.addArcToPoint(Point(body.maxX(), body.minY()), Point(body.maxX(), body.midY()), r);
        context.addArcToPoint(Point(body.maxX(), body.maxY()), Point(body.midX(), body.maxY()), r);
        if (down) {
            context.addLineTo(Point(ax + half, body.maxY()));
            context.addLineTo(Point(ax, body.maxY() + arrowHeight));
            context.addLineTo(Point(ax - half, body.maxY()));
        }
        context.addArcToPoint(Point(body.minX(), body.maxY()), Point(body.minX(), body.midY()), r);
        context.closePath();
    }

    MenuController& m_controller;
    int m_highlighted = -1;
};

MenuController& MenuController::sharedMenuController() {
    static MenuController controller;
    return controller;
}

MenuController::MenuController() = default;

MenuController::~MenuController() = default;

void MenuController::setMenuItems(std::vector<MenuItem> items) {
    m_menuItems = std::move(items);
}

void MenuController::setTargetRect(const Rect& rect, View* view) {
    m_targetRect = rect;
    m_targetView = view != nullptr ? view->weak_from_this() : std::weak_ptr<View>();
}

Window* MenuController::targetWindow() const {
    if (const std::shared_ptr<View> view = m_targetView.lock()) {
        return view->window();
    }
    const Application* application = Application::shared();
    return application != nullptr ? application->keyWindow() : nullptr;
}

void MenuController::setMenuVisible(bool visible, bool animated) {
    if (!visible) {
        hide(animated);
        return;
    }
    Window* window = targetWindow();
    if (m_menuItems.empty() || window == nullptr) {
        return;
    }
    const bool wasVisible = m_menuVisible;
    if (!wasVisible) {
        NotificationCenter::defaultCenter().postNotification(willShowMenuNotification, this);
    }
    ++m_generation;
    m_menuVisible = true;
    if (!m_menuView) {
        m_menuView = std::make_shared<MenuView>(*this);
    }
    layoutMenu(*window);
    window->addSubview(m_menuView);
    if (wasVisible) {
        return;
    }
    const auto menuView = m_menuView;
    const int generation = m_generation;
    if (animated) {
        View::performWithoutAnimation([&] { menuView->setAlpha(0.0); });
        View::animate(
            menuFadeDuration, 0.0, AnimationCurve::easeOut, AnimationOption::allowUserInteraction,
            [&] { menuView->setAlpha(1.0); },
            [this, generation](bool) {
                if (generation == m_generation && m_menuVisible) {
                    NotificationCenter::defaultCenter().postNotification(didShowMenuNotification, this);
                }
            });
    } else {
        View::performWithoutAnimation([&] { menuView->setAlpha(1.0); });
        NotificationCenter::defaultCenter().postNotification(didShowMenuNotification, this);
    }
}

void MenuController::update() {
    if (!m_menuVisible || !m_menuView) {
        return;
    }
    if (Window* window = m_menuView->window()) {
        layoutMenu(*window);
    }
}

void MenuController::layoutMenu(const Window& window) {
    const Rect windowBounds = window.bounds();
    m_menuView->setFrame(windowBounds);
    Rect target = m_targetRect;
    if (const std::shared_ptr<View> view = m_targetView.lock()) {
        target = view->convertRectToView(m_targetRect, &window);
    }

    std::vector<double> widths;
    double total = 0.0;
    for (const MenuItem& item : m_menuItems) {
        const double width = std::ceil(TextLayout::advance(item.title(), itemFont())) + 2.0 * itemPadding;
        widths.push_back(width);
        total += width;
    }
    const double maxWidth = windowBounds.width() - 2.0 * screenMargin;
    if (total > maxWidth) {
        // Too wide: every item gives up the same share of its width.
        const double factor = maxWidth / total;
        for (double& width : widths) {
            width *= factor;
        }
        total = maxWidth;
    }

    const double height = bodyHeight + arrowHeight;
    const double top = Screen::statusBarHeight;
    double y = 0.0;
    if (target.minY() - height >= top) {
        m_arrowDirection = ArrowDirection::Down;
        y = target.minY() - height;
    } else if (target.maxY() + height <= windowBounds.maxY()) {
        m_arrowDirection = ArrowDirection::Up;
        y = target.maxY();
    } else {
        // Taller than the room on either side: point down into the middle of the target.
        m_arrowDirection = ArrowDirection::Down;
        y = std::clamp(target.midY() - height, top, windowBounds.maxY() - height);
    }
    const double x = std::clamp(target.midX() - total / 2.0, screenMargin,
                                std::max(screenMargin, windowBounds.maxX() - screenMargin - total));
    m_menuFrame = Rect(x, y, total, height);
    const double arrowLimit = menuCornerRadius + arrowWidth / 2.0;
    m_arrowX = std::clamp(target.midX(), x + arrowLimit, std::max(x + arrowLimit, x + total - arrowLimit));

    m_itemFrames.clear();
    const double bodyY = m_arrowDirection == ArrowDirection::Down ? y : y + arrowHeight;
    double itemX = x;
    for (const double width : widths) {
        m_itemFrames.emplace_back(itemX, bodyY, width, bodyHeight);
        itemX += width;
    }
    m_menuView->setNeedsDisplay();
}

void MenuController::hide(bool animated) {
    if (!m_menuVisible) {
        return;
    }
    m_menuVisible = false;
    const int generation = ++m_generation;
    NotificationCenter::defaultCenter().postNotification(willHideMenuNotification, this);
    const auto menuView = m_menuView;
    const auto finish = [this, generation, menuView] {
        if (generation != m_generation) {
            return;
        }
        menuView->removeFromSuperview();
        NotificationCenter::defaultCenter().postNotification(didHideMenuNotification, this);
    };
    if (animated && menuView->superview()) {
        View::animate(
            menuFadeDuration, 0.0, AnimationCurve::easeIn, AnimationOption::allowUserInteraction,
            [&] { menuView->setAlpha(0.0); }, [finish](bool) { finish(); });
    } else {
        finish();
    }
}

void MenuController::itemChosen(std::size_t index) {
    if (index >= m_menuItems.size()) {
        return;
    }
    // The action runs before the menu hides, so that it may prepare for the hiding reports.
    const std::function<void()> action = m_menuItems[index].action();
    if (action) {
        action();
    }
    hide(true);
}
