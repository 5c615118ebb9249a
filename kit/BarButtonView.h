#pragma once

#include "foundation/Color.h"
#include "kit/Control.h"
#include "kit/Image.h"

#include <QString>

#include <functional>
#include <optional>

// The button a navigation bar shows for a bar button item: a rounded, glossy bezel in the bar's
// tint (blue for a done button), or the back button's arrow-shaped bezel, with a white bold
// title or an image. It is highlighted while a finger on it stays within its bounds grown by
// the tracking slack; lifting the finger there runs `onTap`.
class BarButtonView : public Control {
public:
    enum class Kind { Bordered, Done, Back };
    static constexpr double height = 30.0;
    static constexpr double landscapeHeight = 24.0;
    static constexpr double trackingSlack = 30.0;

    BarButtonView();

    Kind kind() const { return m_kind; }
    void setKind(Kind kind);
    const QString& title() const { return m_title; }
    void setTitle(const QString& title);
    const std::optional<Image>& image() const { return m_image; }
    void setImage(std::optional<Image> image);
    // Draws a plus sign instead of a title.
    bool showsAddSign() const { return m_showsAddSign; }
    void setShowsAddSign(bool shows);
    // The colour of the bezel of a bordered or back button.
    const Color& tintColor() const { return m_tintColor; }
    void setTintColor(const Color& color);

    std::function<void()> onTap;

    static Color defaultTintColor();

protected:
    AccessibilityDescription describeAccessibility() const override;
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    Size fittingSize(Size size) const override;
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void touchesCancelled(const TouchSet& touches, const TouchEvent& event) override;
    // A disabled bar button lets touches through and drops its highlight.
    void stateDidChange() override;

private:
    // The outline of the bezel, as a path in the context.
    void addBezelPath(GraphicsContext& context, const Rect& rect) const;
    bool isWithinSlack(Point point) const;

    Kind m_kind = Kind::Bordered;
    QString m_title;
    std::optional<Image> m_image;
    bool m_showsAddSign = false;
    bool m_tracking = false;
    Color m_tintColor = defaultTintColor();
};
