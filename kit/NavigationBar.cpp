#include "kit/NavigationBar.h"

#include "kit/Screen.h"

#include "foundation/Localization.h"
#include "kit/BarButtonItem.h"
#include "kit/BarButtonView.h"
#include "kit/GraphicsContext.h"
#include "kit/Label.h"
#include "kit/NavigationItem.h"
#include "kit/PopoverView.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double titleGap = 6.0;
// A back title wider than this gives way to "Back".
constexpr double longestBackButton = 110.0;
const Color tabletTitleColor = Color::fromRgb255(113, 120, 128);
const Color tabletButtonTint = Color::fromRgb255(150, 158, 168);

Color shaded(const Color& color, double amount) {
    const Color target = amount >= 0.0 ? Color(1, 1, 1) : Color(0, 0, 0);
    const double f = std::abs(amount);
    return Color(color.red() + (target.red() - color.red()) * f,
                 color.green() + (target.green() - color.green()) * f,
                 color.blue() + (target.blue() - color.blue()) * f, 1.0);
}

} // namespace

NavigationBar::NavigationBar() : View(Rect(0, 0, 320, height)) {}

double NavigationBar::heightForLandscape(bool landscape) {
    return landscape && !Screen::main().isTablet() ? landscapePhoneHeight : height;
}

NavigationBar::~NavigationBar() {
    for (const auto& item : m_items) {
        item->onChanged = nullptr;
    }
}

void NavigationBar::setBarStyle(BarStyle style) {
    m_barStyle = style;
    setNeedsDisplay();
}

void NavigationBar::setTintColor(std::optional<Color> color) {
    m_tintColor = color;
    setNeedsDisplay();
    showTopItem(Transition::None, false);
}

bool NavigationBar::showsTabletLook() const {
    if (!Screen::main().isTablet() || m_tintColor || m_barStyle != BarStyle::Default) {
        return false;
    }
    for (auto view = superview(); view; view = view->superview()) {
        if (dynamic_cast<const PopoverView*>(view.get())) {
            return false;
        }
    }
    return true;
}

void NavigationBar::applyItemColours() {
    const bool tablet = showsTabletLook();
    if (m_titleLabel) {
        m_titleLabel->setTextColor(tablet ? tabletTitleColor : Color(1, 1, 1));
        m_titleLabel->setShadowColor(tablet ? Color(1, 1, 1) : Color(0, 0, 0, 0.5));
        m_titleLabel->setShadowOffset(tablet ? Size(0, 1) : Size(0, -1));
    }
    if (m_tintColor) {
        return;
    }
    for (const auto& view : {m_leftView, m_rightView}) {
        if (auto button = std::dynamic_pointer_cast<BarButtonView>(view)) {
            button->setTintColor(tablet ? tabletButtonTint : BarButtonView::defaultTintColor());
        }
    }
}

Color NavigationBar::barColor() const {
    if (m_tintColor) {
        return *m_tintColor;
    }
    return m_barStyle == BarStyle::Black ? Color::fromRgb255(40, 40, 40) : Color::fromRgb255(109, 132, 162);
}

std::shared_ptr<NavigationItem> NavigationBar::topItem() const {
    return m_items.empty() ? nullptr : m_items.back();
}

std::shared_ptr<NavigationItem> NavigationBar::backItem() const {
    return m_items.size() < 2 ? nullptr : m_items[m_items.size() - 2];
}

void NavigationBar::setItems(std::vector<std::shared_ptr<NavigationItem>> items, bool animated) {
    const auto oldTop = topItem();
    const std::vector<std::shared_ptr<NavigationItem>> oldItems = std::move(m_items);
    for (const auto& item : oldItems) {
        item->onChanged = nullptr;
    }
    m_items = std::move(items);
    watchItems();
    const auto newTop = topItem();
    Transition transition = Transition::Push;
    if (newTop == oldTop) {
        transition = Transition::None;
    } else if (std::find(oldItems.begin(), oldItems.end(), newTop) != oldItems.end()) {
        // The new top was already below: it is uncovered.
        transition = Transition::Pop;
    }
    showTopItem(transition, animated);
}

void NavigationBar::pushNavigationItem(std::shared_ptr<NavigationItem> item, bool animated) {
    if (!item || std::find(m_items.begin(), m_items.end(), item) != m_items.end()) {
        return;
    }
    m_items.push_back(std::move(item));
    watchItems();
    showTopItem(Transition::Push, animated);
}

std::shared_ptr<NavigationItem> NavigationBar::popNavigationItemAnimated(bool animated) {
    if (m_items.empty()) {
        return nullptr;
    }
    auto popped = m_items.back();
    popped->onChanged = nullptr;
    m_items.pop_back();
    showTopItem(Transition::Pop, animated);
    return popped;
}

void NavigationBar::watchItems() {
    for (const auto& item : m_items) {
        item->onChanged = nullptr;
    }
    if (const auto top = topItem()) {
        std::weak_ptr<View> weakSelf = weak_from_this();
        top->onChanged = [weakSelf](bool animated) {
            if (const auto self = std::static_pointer_cast<NavigationBar>(weakSelf.lock())) {
                self->showTopItem(Transition::Fade, animated);
            }
        };
    }
    // The item below the top names the back button, so its changes show too.
    if (const auto back = backItem()) {
        std::weak_ptr<View> weakSelf = weak_from_this();
        back->onChanged = [weakSelf](bool) {
            if (const auto self = std::static_pointer_cast<NavigationBar>(weakSelf.lock())) {
                self->showTopItem(Transition::None, false);
            }
        };
    }
}

void NavigationBar::backButtonTapped() {
    if (onBackButtonTapped) {
        onBackButtonTapped();
    } else {
        popNavigationItemAnimated(true);
    }
}

void NavigationBar::showTopItem(Transition transition, bool animated) {
    if (weak_from_this().expired()) {
        // Not yet owned: the views are made once the bar is in a tree or laid out.
        return;
    }
    const std::shared_ptr<View> oldLayer = m_itemLayer;
    const std::shared_ptr<View> oldTitle = m_titleView ? m_titleView : std::shared_ptr<View>(m_titleLabel);
    const bool keepLayer = transition == Transition::Fade || transition == Transition::None;
    const std::vector<std::shared_ptr<View>> oldViews = {m_backButton, m_leftView, m_rightView, oldTitle};

    const auto top = topItem();
    const auto back = backItem();
    std::shared_ptr<View> layer = keepLayer && oldLayer ? oldLayer : std::make_shared<View>(bounds());
    m_backButton.reset();
    m_titleLabel.reset();
    m_titleView.reset();
    m_leftView.reset();
    m_rightView.reset();
    if (top) {
        if (top->leftBarButtonItem()) {
            m_leftView = top->leftBarButtonItem()->view();
        } else if (back && !top->hidesBackButton()) {
            // A fresh back button each time the top item shows: it is cheap and never carries a
            // half-finished highlight over.
            m_backButton = std::make_shared<BarButtonView>();
            m_backButton->setKind(BarButtonView::Kind::Back);
            const auto& custom = back->backBarButtonItem();
            QString title = custom ? custom->title() : back->title();
            m_backButton->setTitle(title.isEmpty() ? localizedString(QStringLiteral("Back")) : title);
            m_backButton->sizeToFit();
            if (m_backButton->frame().width() > longestBackButton) {
                m_backButton->setTitle(localizedString(QStringLiteral("Back")));
                m_backButton->sizeToFit();
            }
            if (m_tintColor) {
                m_backButton->setTintColor(*m_tintColor);
            }
            std::weak_ptr<View> weakSelf = weak_from_this();
            m_backButton->onTap = [weakSelf] {
                if (const auto self = std::static_pointer_cast<NavigationBar>(weakSelf.lock())) {
                    self->backButtonTapped();
                }
            };
            m_leftView = m_backButton;
        }
        if (top->rightBarButtonItem()) {
            m_rightView = top->rightBarButtonItem()->view();
        }
        if (top->titleView()) {
            m_titleView = top->titleView();
        } else {
            m_titleLabel = std::make_shared<Label>();
            m_titleLabel->setText(top->title());
            m_titleLabel->setFont(Font::boldSystemFontOfSize(20.0));
            m_titleLabel->setTextColor(Color(1, 1, 1));
            m_titleLabel->setShadowColor(Color(0, 0, 0, 0.5));
            m_titleLabel->setShadowOffset(Size(0, -1));
            m_titleLabel->setTextAlignment(TextAlignment::Center);
            m_titleLabel->setLineBreakMode(LineBreakMode::TailTruncation);
            m_titleLabel->setBackgroundColor(std::nullopt);
        }
        for (const auto& view : {m_leftView, m_rightView}) {
            if (auto button = std::dynamic_pointer_cast<BarButtonView>(view)) {
                if (m_tintColor && button != m_backButton) {
                    button->setTintColor(*m_tintColor);
                }
                button->sizeToFit();
            }
        }
    }
    const std::shared_ptr<View> newTitle = m_titleView ? m_titleView : std::shared_ptr<View>(m_titleLabel);
    const std::vector<std::shared_ptr<View>> newViews = {m_leftView, m_rightView, newTitle};
    const auto isNew = [&](const std::shared_ptr<View>& view) {
        return view && std::find(newViews.begin(), newViews.end(), view) != newViews.end();
    };

    m_itemLayer = layer;
    if (layer != oldLayer) {
        View::performWithoutAnimation([&] {
            layer->setFrame(bounds());
            addSubview(layer);
        });
    }
    // The old views that the new item does not show leave; the new ones come.
    std::vector<std::shared_ptr<View>> leaving;
    for (const auto& view : oldViews) {
        if (view && !isNew(view) && view->superview() == oldLayer) {
            leaving.push_back(view);
        }
    }
    const bool fadeIn = animated && transition != Transition::None;
    View::performWithoutAnimation([&] {
        for (const auto& view : newViews) {
            if (view && view->superview() != layer) {
                layer->addSubview(view);
                view->setAlpha(fadeIn ? 0.0 : 1.0);
            } else if (view) {
                view->setAlpha(1.0);
            }
        }
        if (!animated || transition == Transition::None) {
            for (const auto& view : leaving) {
                view->removeFromSuperview();
            }
        }
    });

    if (transition == Transition::Push || transition == Transition::Pop) {
        const double shift =
            std::round(bounds().width() / 3.0) * (transition == Transition::Push ? 1.0 : -1.0);
        View::performWithoutAnimation([&] {
            layoutItemViews(bounds().size());
            if (animated && newTitle) {
                newTitle->setCenter(newTitle->center() + Point(shift, 0));
            }
        });
        if (!animated) {
            if (oldLayer && oldLayer != layer) {
                oldLayer->removeFromSuperview();
            }
            return;
        }
        const std::shared_ptr<View> oldLayerHeld = oldLayer;
        View::animate(
            transitionDuration, 0.0, AnimationCurve::easeInOut, {},
            [&] {
                layoutItemViews(bounds().size());
                for (const auto& view : newViews) {
                    if (view) {
                        view->setAlpha(1.0);
                    }
                }
                if (oldLayer) {
                    oldLayer->setAlpha(0.0);
                    if (oldTitle && !isNew(oldTitle)) {
                        oldTitle->setCenter(oldTitle->center() - Point(shift, 0));
                    }
                }
            },
            [oldLayerHeld, layerHeld = std::weak_ptr<View>(layer)](bool) {
                if (oldLayerHeld && oldLayerHeld != layerHeld.lock()) {
                    // Views that moved on to the new item are not in the old layer any more.
                    oldLayerHeld->removeFromSuperview();
                    for (const auto& view : std::vector<std::shared_ptr<View>>(oldLayerHeld->subviews())) {
                        view->removeFromSuperview();
                        view->setAlpha(1.0);
                    }
                }
            });
        return;
    }
    if (!animated) {
        View::performWithoutAnimation([&] { layoutItemViews(bounds().size()); });
        return;
    }
    const std::weak_ptr<View> layerWeak = layer;
    View::animate(
        itemChangeDuration, 0.0, AnimationCurve::easeInOut, {},
        [&] {
            layoutItemViews(bounds().size());
            for (const auto& view : newViews) {
                if (view) {
                    view->setAlpha(1.0);
                }
            }
            for (const auto& view : leaving) {
                view->setAlpha(0.0);
            }
        },
        [leaving, layerWeak](bool) {
            for (const auto& view : leaving) {
                // A view shown again meanwhile stays.
                if (view->superview() == layerWeak.lock() && view->alpha() == 0.0) {
                    view->removeFromSuperview();
                    view->setAlpha(1.0);
                }
            }
        });
}

void NavigationBar::layoutItemViews(Size size) {
    applyItemColours();
    const double width = size.width();
    const double barHeight = size.height();
    double leftEdge = sideMargin;
    double rightEdge = width - sideMargin;
    const auto place = [&](const std::shared_ptr<View>& view, bool left) {
        if (!view) {
            return;
        }
        Rect frame = view->frame();
        if (std::dynamic_pointer_cast<BarButtonView>(view)) {
            // The buttons keep their margins in a lower bar.
            const double buttonHeight = std::min(BarButtonView::height, barHeight - 8.0);
            frame.setSize(Size(view->sizeThatFits(Size(0, 0)).width(), buttonHeight));
        }
        const double y = std::round((barHeight - frame.height()) / 2.0);
        if (left) {
            view->setFrame(Rect(leftEdge, y, frame.width(), frame.height()));
            leftEdge += frame.width();
        } else {
            view->setFrame(Rect(rightEdge - frame.width(), y, frame.width(), frame.height()));
            rightEdge -= frame.width();
        }
    };
    place(m_leftView, true);
    place(m_rightView, false);
    const double minX = m_leftView ? leftEdge + titleGap : sideMargin;
    const double maxX = m_rightView ? rightEdge - titleGap : width - sideMargin;
    const double room = std::max(0.0, maxX - minX);
    const auto centre = [&](const std::shared_ptr<View>& view, Size wanted) {
        const double w = std::min(wanted.width(), room);
        // Centred on the bar when there is room, else pushed clear of the buttons.
        const double x = std::clamp(std::round((width - w) / 2.0), minX, std::max(minX, maxX - w));
        view->setFrame(Rect(x, std::round((barHeight - wanted.height()) / 2.0), w, wanted.height()));
    };
    if (m_titleView) {
        centre(m_titleView, m_titleView->bounds().size());
    } else if (m_titleLabel) {
        const Size text = m_titleLabel->sizeThatFits(Size(0, 0));
        centre(m_titleLabel, Size(std::ceil(text.width()), std::ceil(text.height())));
    }
}

void NavigationBar::didMoveToSuperview() {
    View::didMoveToSuperview();
    applyItemColours();
    setNeedsDisplay();
}

void NavigationBar::layoutSubviews() {
    if (!m_itemLayer && !m_items.empty()) {
        showTopItem(Transition::None, false);
        return;
    }
    if (m_itemLayer) {
        m_itemLayer->setFrame(bounds());
        layoutItemViews(bounds().size());
    }
}

void NavigationBar::drawRect(GraphicsContext& context, const Rect&) {
    const Rect area = bounds();
    const Color base = barColor();
    context.saveGState();
    context.clipToRect(area);
    const bool tablet = showsTabletLook();
    if (tablet) {
        context.drawLinearGradient({{0.0, Color::fromRgb255(240, 241, 243)},
                                    {0.5, Color::fromRgb255(218, 222, 227)},
                                    {1.0, Color::fromRgb255(186, 192, 200)}},
                                   Point(0, area.minY()), Point(0, area.maxY()));
    } else if (!m_tintColor && m_barStyle == BarStyle::Default) {
        context.drawLinearGradient({{0.0, Color::fromRgb255(176, 188, 205)},
                                    {0.5, Color::fromRgb255(137, 155, 179)},
                                    {1.0, Color::fromRgb255(109, 132, 162)}},
                                   Point(0, area.minY()), Point(0, area.maxY()));
    } else {
        context.drawLinearGradient({{0.0, shaded(base, 0.42)}, {0.5, shaded(base, 0.2)}, {1.0, base}},
                                   Point(0, area.minY()), Point(0, area.maxY()));
    }
    context.restoreGState();
    Color topLine =
        m_tintColor || m_barStyle == BarStyle::Black ? shaded(base, 0.55) : Color::fromRgb255(199, 208, 220);
    Color bottomLine =
        m_tintColor || m_barStyle == BarStyle::Black ? shaded(base, -0.6) : Color::fromRgb255(45, 55, 70);
    if (tablet) {
        topLine = Color::fromRgb255(250, 250, 251);
        bottomLine = Color::fromRgb255(120, 128, 138);
    }
    context.setFillColor(topLine);
    context.fillRect(Rect(area.minX(), area.minY(), area.width(), 1.0));
    context.setFillColor(bottomLine);
    context.fillRect(Rect(area.minX(), area.maxY() - 1.0, area.width(), 1.0));
}
