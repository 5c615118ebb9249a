#pragma once

#include "kit/View.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class BarButtonView;
class Label;
class NavigationItem;

// The bar at the top of a navigation stack, 44 points high, in the platform's default blue-grey
// look: a vertical gradient with a light top edge and a dark bottom line (black in the black
// style; a tint colour recolours it). It shows the top item of its stack of navigation items:
// a back button titled after the item below (unless the top item hides it or has a left
// button), the left and right buttons, and in the middle the item's title view or its title in
// bold white 20-point text with a dark shadow. Pushing and popping items slides the titles and
// cross-fades the buttons.
class NavigationBar : public View {
public:
    enum class BarStyle { Default, Black };
    static constexpr double height = 44.0;
    // A phone's bar is lower on its side, where height is scarce.
    static constexpr double landscapePhoneHeight = 32.0;
    static double heightForLandscape(bool landscape);
    static constexpr double transitionDuration = 0.35;
    // How long a change of the top item's buttons fades when animated.
    static constexpr double itemChangeDuration = 0.2;
    static constexpr double sideMargin = 5.0;

    NavigationBar();
    ~NavigationBar() override;

    BarStyle barStyle() const { return m_barStyle; }
    void setBarStyle(BarStyle style);
    const std::optional<Color>& tintColor() const { return m_tintColor; }
    void setTintColor(std::optional<Color> color);

    const std::vector<std::shared_ptr<NavigationItem>>& items() const { return m_items; }
    // Shows the last item; animated, it slides in as a push when the old top item is not in the
    // new list below the new top, otherwise as a pop.
    void setItems(std::vector<std::shared_ptr<NavigationItem>> items, bool animated);
    void pushNavigationItem(std::shared_ptr<NavigationItem> item, bool animated);
    std::shared_ptr<NavigationItem> popNavigationItemAnimated(bool animated);
    std::shared_ptr<NavigationItem> topItem() const;
    // The item below the top one.
    std::shared_ptr<NavigationItem> backItem() const;

    // The user tapped the back button. Without it the bar pops its top item itself.
    std::function<void()> onBackButtonTapped;

    // What is shown for the top item (empty when it has none).
    std::shared_ptr<BarButtonView> backButton() const { return m_backButton; }
    std::shared_ptr<Label> titleLabel() const { return m_titleLabel; }
    std::shared_ptr<View> leftView() const { return m_leftView; }
    std::shared_ptr<View> rightView() const { return m_rightView; }
    std::shared_ptr<View> titleView() const { return m_titleView; }

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    void layoutSubviews() override;
    // In or out of a popover, the bar may change its look.
    void didMoveToSuperview() override;

private:
    enum class Transition { None, Push, Pop, Fade };

    // Builds the views of the top item and shows them with the transition.
    void showTopItem(Transition transition, bool animated);
    // Places the top item's views in `size`.
    void layoutItemViews(Size size);
    void backButtonTapped();
    void watchItems();
    Color barColor() const;
    // The tablet's own bars are silver with grey titles; bars in a popover, tinted or black bars
    // keep their colours.
    bool showsTabletLook() const;
    void applyItemColours();

    BarStyle m_barStyle = BarStyle::Default;
    std::optional<Color> m_tintColor;
    std::vector<std::shared_ptr<NavigationItem>> m_items;
    // The views of the top item, in their own full-size layer so that they fade together.
    std::shared_ptr<View> m_itemLayer;
    std::shared_ptr<BarButtonView> m_backButton;
    std::shared_ptr<Label> m_titleLabel;
    std::shared_ptr<View> m_titleView;
    std::shared_ptr<View> m_leftView;
    std::shared_ptr<View> m_rightView;
};
