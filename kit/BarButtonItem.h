#pragma once

#include "kit/Image.h"
#include "kit/View.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class BarButtonView;

// A button of a navigation bar: a title or an image in one of the bar's button looks, one of
// the platform's standard items, a custom view, or a flexible space between items. The bar
// makes the view that shows it; the item keeps that view up to date when it changes.
class BarButtonItem : public std::enable_shared_from_this<BarButtonItem> {
public:
    enum class Style { Plain, Bordered, Done };
    enum class SystemItem { Done, Cancel, Edit, Save, Add, FlexibleSpace, FixedSpace };

    BarButtonItem(const QString& title, Style style, std::function<void()> action = {});
    BarButtonItem(const Image& image, Style style, std::function<void()> action = {});
    BarButtonItem(SystemItem systemItem, std::function<void()> action = {});
    explicit BarButtonItem(std::shared_ptr<View> customView);
    ~BarButtonItem();
    BarButtonItem(const BarButtonItem&) = delete;
    BarButtonItem& operator=(const BarButtonItem&) = delete;

    const QString& title() const { return m_title; }
    void setTitle(const QString& title);
    const std::optional<Image>& image() const { return m_image; }
    void setImage(std::optional<Image> image);
    Style style() const { return m_style; }
    void setStyle(Style style);
    std::optional<SystemItem> systemItem() const { return m_systemItem; }
    bool isSpace() const;
    // A space item's width (a fixed space's own width; 0 lets the bar choose).
    double width() const { return m_width; }
    void setWidth(double width);
    const std::shared_ptr<View>& customView() const { return m_customView; }
    void setCustomView(std::shared_ptr<View> customView);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    std::optional<Color> tintColor() const { return m_tintColor; }
    void setTintColor(std::optional<Color> color);

    // Runs when the user taps the item's button (never for programmatic changes).
    std::function<void()> onAction;

    // The view a bar shows for this item: the custom view, or a button made on first use.
    std::shared_ptr<View> view();
    // The button made for the item, if any.
    std::shared_ptr<BarButtonView> buttonView() const { return m_buttonView; }

private:
    void update();

    QString m_title;
    std::optional<Image> m_image;
    Style m_style = Style::Plain;
    std::optional<SystemItem> m_systemItem;
    double m_width = 0.0;
    std::shared_ptr<View> m_customView;
    bool m_enabled = true;
    int m_tag = 0;
    std::optional<Color> m_tintColor;
    std::shared_ptr<BarButtonView> m_buttonView;
};
