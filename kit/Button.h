#pragma once

#include "foundation/Color.h"
#include "kit/Control.h"
#include "kit/ControlState.h"
#include "kit/EdgeInsets.h"
#include "kit/Image.h"
#include "kit/View.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class ImageView;
class Label;

// The platform's custom button: a background image (stretchable images keep their caps) behind
// an image and a title side by side, each chosen by the current state. A state without its own
// value shows the value of the normal state.
//
// Tracking a finger: the button is highlighted while the finger stays within its bounds grown
// by `trackingSlack` points on every side; a move out and back turns the highlight off and on,
// and lifting the finger within that area is a touch up inside. The actions are std::function
// members; programmatic changes of state never call them.
class Button : public Control {
public:
    enum class ContentHorizontalAlignment { Center, Left, Right, Fill };
    enum class ContentVerticalAlignment { Center, Top, Bottom, Fill };

    static constexpr double trackingSlack = 70.0;

    Button();
    explicit Button(const Rect& frame);
    ~Button() override;

    // Per-state values; the getters answer with the fallback to the normal state.
    void setTitle(const QString& title, ControlState state = ControlState::Normal);
    QString titleForState(ControlState state) const;
    void setTitleColor(const Color& color, ControlState state = ControlState::Normal);
    Color titleColorForState(ControlState state) const;
    void setTitleShadowColor(std::optional<Color> color, ControlState state = ControlState::Normal);
    std::optional<Color> titleShadowColorForState(ControlState state) const;
    void setImage(const Image& image, ControlState state = ControlState::Normal);
    Image imageForState(ControlState state) const;
    void setBackgroundImage(const Image& image, ControlState state = ControlState::Normal);
    Image backgroundImageForState(ControlState state) const;

    QString currentTitle() const { return titleForState(state()); }
    Color currentTitleColor() const { return titleColorForState(state()); }
    std::optional<Color> currentTitleShadowColor() const { return titleShadowColorForState(state()); }
    Image currentImage() const { return imageForState(state()); }
    Image currentBackgroundImage() const { return backgroundImageForState(state()); }

    // The title's label and the image's view, for their font, shadow offset, line breaks and so
    // on; the button sets their text, colours and image itself.
    Label& titleLabel();
    ImageView& imageView();

    EdgeInsets contentEdgeInsets() const { return m_contentEdgeInsets; }
    void setContentEdgeInsets(const EdgeInsets& insets);
    EdgeInsets titleEdgeInsets() const { return m_titleEdgeInsets; }
    void setTitleEdgeInsets(const EdgeInsets& insets);
    EdgeInsets imageEdgeInsets() const { return m_imageEdgeInsets; }
    void setImageEdgeInsets(const EdgeInsets& insets);
    ContentHorizontalAlignment contentHorizontalAlignment() const { return m_contentHorizontalAlignment; }
    void setContentHorizontalAlignment(ContentHorizontalAlignment alignment);
    ContentVerticalAlignment contentVerticalAlignment() const { return m_contentVerticalAlignment; }
    void setContentVerticalAlignment(ContentVerticalAlignment alignment);
    // Without an image (background image) of its own for the highlighted state, the normal one
    // is drawn darker while highlighted; likewise faded while disabled.
    bool adjustsImageWhenHighlighted() const { return m_adjustsImageWhenHighlighted; }
    void setAdjustsImageWhenHighlighted(bool adjusts);
    bool adjustsImageWhenDisabled() const { return m_adjustsImageWhenDisabled; }
    void setAdjustsImageWhenDisabled(bool adjusts);
    // A soft white glow in front of the centre while highlighted.
    bool showsTouchWhenHighlighted() const { return m_showsTouchWhenHighlighted; }
    void setShowsTouchWhenHighlighted(bool shows);
    // Whether the glow shows now.
    bool isGlowing() const;

    // Layout within the bounds, as the platform's button computes it.
    Rect contentRectForBounds(const Rect& bounds) const;
    Rect titleRectForContentRect(const Rect& contentRect) const;
    Rect imageRectForContentRect(const Rect& contentRect) const;

    // Tracking, in bounds coordinates; the button's touch hooks call these with its touch. A
    // disabled button does not track (its touches go on to the superview). Each returns whether
    // the button is tracking afterwards.
    bool beginTracking(Point point);
    bool continueTracking(Point point);
    void endTracking(Point point);
    void cancelTracking();
    bool isTracking() const { return m_tracking; }
    // Whether the tracked finger is within the grown bounds.
    bool touchInside() const { return m_touchInside; }

    std::function<void()> onTouchDown;
    std::function<void()> onTouchDragInside;
    std::function<void()> onTouchDragOutside;
    std::function<void()> onTouchDragEnter;
    std::function<void()> onTouchDragExit;
    std::function<void()> onTouchUpInside;
    std::function<void()> onTouchUpOutside;
    std::function<void()> onTouchCancel;

protected:
    // A button with an action is reached by Tab; Space or Return run its touch up inside.
    bool acceptsKeyboardFocus() const override { return static_cast<bool>(onTouchUpInside); }
    bool performKeyboardAction() override;
    AccessibilityDescription describeAccessibility() const override;
    void drawRect(GraphicsContext& context, const Rect& rect) final;
    void layoutSubviews() override;
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void touchesCancelled(const TouchSet& touches, const TouchEvent& event) override;
    Size fittingSize(Size size) const override;
    // Disabling a tracked button ends the tracking; every change shows the state's values.
    void stateDidChange() override;

private:
    template <typename Value> struct PerState {
        std::map<ControlState, Value> values;
        const Value* find(ControlState state) const;
    };

    bool isWithinSlack(Point point) const;
    // Adds the label and image view as subviews once the button is held by a std::shared_ptr.
    void attachParts();
    // Gives the parts the values of the current state.
    void updateParts();
    Size titleSize() const;

    std::shared_ptr<Label> m_titleLabel;
    std::shared_ptr<ImageView> m_imageView;
    std::shared_ptr<ImageView> m_glowView;
    PerState<QString> m_titles;
    PerState<Color> m_titleColors;
    PerState<std::optional<Color>> m_titleShadowColors;
    PerState<Image> m_images;
    PerState<Image> m_backgroundImages;
    bool m_tracking = false;
    bool m_touchInside = false;
    EdgeInsets m_contentEdgeInsets;
    EdgeInsets m_titleEdgeInsets;
    EdgeInsets m_imageEdgeInsets;
    ContentHorizontalAlignment m_contentHorizontalAlignment = ContentHorizontalAlignment::Center;
    ContentVerticalAlignment m_contentVerticalAlignment = ContentVerticalAlignment::Center;
    bool m_adjustsImageWhenHighlighted = true;
    bool m_adjustsImageWhenDisabled = true;
    bool m_showsTouchWhenHighlighted = false;
};
