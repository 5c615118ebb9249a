#include "kit/NavigationItem.h"

#include "kit/BarButtonItem.h"

void NavigationItem::setTitle(const QString& title) {
    if (m_title == title) {
        return;
    }
    m_title = title;
    changed(false);
}

void NavigationItem::setTitleView(std::shared_ptr<View> titleView) {
    if (m_titleView == titleView) {
        return;
    }
    if (m_titleView) {
        m_titleView->removeFromSuperview();
    }
    m_titleView = std::move(titleView);
    changed(false);
}

void NavigationItem::setBackBarButtonItem(std::shared_ptr<BarButtonItem> item) {
    m_backBarButtonItem = std::move(item);
    changed(false);
}

void NavigationItem::setHidesBackButton(bool hides, bool animated) {
    if (m_hidesBackButton == hides) {
        return;
    }
    m_hidesBackButton = hides;
    changed(animated);
}

void NavigationItem::setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated) {
    if (m_leftBarButtonItem == item) {
        return;
    }
    m_leftBarButtonItem = std::move(item);
    changed(animated);
}

void NavigationItem::setRightBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated) {
    if (m_rightBarButtonItem == item) {
        return;
    }
    m_rightBarButtonItem = std::move(item);
    changed(animated);
}

void NavigationItem::changed(bool animated) {
    if (onChanged) {
        onChanged(animated);
    }
}
