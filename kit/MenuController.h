#pragma once

#include "kit/MenuItem.h"
#include "kit/Rect.h"

#include <QString>

#include <memory>
#include <vector>

class View;
class Window;

// The shared edit menu: a black rounded bubble of items in a row, with an arrow pointing at a
// target rectangle. It sits above the target, or below it when there is no room above. Choosing
// an item runs its action and hides the menu; a touch anywhere else hides it too (and goes on
// to the view under it). Every hiding is announced with the will-hide and did-hide
// notifications through the default NotificationCenter. Main thread only.
class MenuController {
public:
    static inline const QString willShowMenuNotification =
        QStringLiteral("UIMenuControllerWillShowMenuNotification");
    static inline const QString didShowMenuNotification =
        QStringLiteral("UIMenuControllerDidShowMenuNotification");
    static inline const QString willHideMenuNotification =
        QStringLiteral("UIMenuControllerWillHideMenuNotification");
    static inline const QString didHideMenuNotification =
        QStringLiteral("UIMenuControllerDidHideMenuNotification");

    // The bubble's measures: the height of its body, the arrow's height and width.
    static constexpr double bodyHeight = 38.0;
    static constexpr double arrowHeight = 10.0;
    static constexpr double arrowWidth = 22.0;

    enum class ArrowDirection { Down, Up };

    // The one menu controller. It lives as long as the process, so its menu view and the
    // completions of its fades may refer to it directly.
    static MenuController& sharedMenuController();

    ~MenuController();
    MenuController(const MenuController&) = delete;
    MenuController& operator=(const MenuController&) = delete;

    const std::vector<MenuItem>& menuItems() const { return m_menuItems; }
    void setMenuItems(std::vector<MenuItem> items);

    // The rectangle to point at, in the view's coordinates; the menu shows in that view's window.
    void setTargetRect(const Rect& rect, View* view);
    bool isMenuVisible() const { return m_menuVisible; }
    // Shows or hides the menu, fading when animated. Showing without items, a target view in a
    // window or a key window does nothing.
    void setMenuVisible(bool visible, bool animated = false);
    // Lays the visible menu out again for changed items or target.
    void update();

    // Where the menu is now, in window coordinates: the bubble with its arrow, and which way the
    // arrow points (down when the menu is above its target).
    Rect menuFrame() const { return m_menuFrame; }
    ArrowDirection arrowDirection() const { return m_arrowDirection; }
    // The frame of each item in window coordinates.
    const std::vector<Rect>& itemFrames() const { return m_itemFrames; }

private:
    class MenuView;
    friend class MenuView;

    MenuController();

    Window* targetWindow() const;
    // Works out the bubble's geometry within the window for the target.
    void layoutMenu(const Window& window);
    void hide(bool animated);
    void itemChosen(std::size_t index);

    std::vector<MenuItem> m_menuItems;
    Rect m_targetRect;
    std::weak_ptr<View> m_targetView;
    bool m_menuVisible = false;
    std::shared_ptr<MenuView> m_menuView;
    Rect m_menuFrame;
    ArrowDirection m_arrowDirection = ArrowDirection::Down;
    double m_arrowX = 0.0;
    std::vector<Rect> m_itemFrames;
    // Counts the showings, so that a fade-out that ends after the menu came back does not
    // remove it.
    int m_generation = 0;
};
