#pragma once

#include "kit/View.h"

#include <QString>

#include <functional>
#include <memory>

class BarButtonItem;

// What a navigation bar shows while a screen is on top: the title (or a title view), the
// buttons on the left and the right, and the back button that the next screen shows to return
// here. A navigation bar listens to its items and shows their changes.
class NavigationItem {
public:
    NavigationItem() = default;
    explicit NavigationItem(const QString& title) : m_title(title) {}
    NavigationItem(const NavigationItem&) = delete;
    NavigationItem& operator=(const NavigationItem&) = delete;

    const QString& title() const { return m_title; }
    void setTitle(const QString& title);
    // Shown in place of the title when set.
    const std::shared_ptr<View>& titleView() const { return m_titleView; }
    void setTitleView(std::shared_ptr<View> titleView);
    // The button that the screen pushed after this one shows to come back; without one the
    // bar makes a back button titled with this item's title.
    const std::shared_ptr<BarButtonItem>& backBarButtonItem() const { return m_backBarButtonItem; }
    void setBackBarButtonItem(std::shared_ptr<BarButtonItem> item);
    bool hidesBackButton() const { return m_hidesBackButton; }
    void setHidesBackButton(bool hides, bool animated = false);
    const std::shared_ptr<BarButtonItem>& leftBarButtonItem() const { return m_leftBarButtonItem; }
    void setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated = false);
    const std::shared_ptr<BarButtonItem>& rightBarButtonItem() const { return m_rightBarButtonItem; }
    void setRightBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated = false);

    // Called by the bar showing this item with every change (animated or not).
    std::function<void(bool animated)> onChanged;

private:
    void changed(bool animated);

    QString m_title;
    std::shared_ptr<View> m_titleView;
    std::shared_ptr<BarButtonItem> m_backBarButtonItem;
    bool m_hidesBackButton = false;
    std::shared_ptr<BarButtonItem> m_leftBarButtonItem;
    std::shared_ptr<BarButtonItem> m_rightBarButtonItem;
};
