#pragma once

#include "kit/Image.h"
#include "kit/PopoverArrowDirection.h"
#include "kit/View.h"

#include <memory>

// The frame of a popover: a dark navy rounded border around the content, with the arrow on one
// side pointing at what the popover belongs to. The content view fills the inside.
class PopoverView : public View {
public:
    static constexpr double borderWidth = 8.0;
    static constexpr double arrowHeight = 19.0;
    static constexpr double arrowBase = 36.0;
    static constexpr double cornerRadius = 10.0;

    PopoverView();

    // The size of the whole frame, arrow included, around content of the size.
    static Size frameSizeForContentSize(Size contentSize, PopoverArrowDirection direction);

    void setContentView(const std::shared_ptr<View>& contentView);
    const std::shared_ptr<View>& contentView() const { return m_contentView; }
    PopoverArrowDirection arrowDirection() const { return m_arrowDirection; }
    void setArrowDirection(PopoverArrowDirection direction);
    // The distance of the arrow's tip from the middle of its side (along x for up and down,
    // along y for left and right); kept clear of the corners when drawn.
    double arrowOffset() const { return m_arrowOffset; }
    void setArrowOffset(double offset);
    // The tip of the arrow in this view's coordinates.
    Point arrowTip() const;
    // The rounded body without the arrow.
    Rect bodyRect() const;

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    Rect drawingBounds() const override;
    void layoutSubviews() override;

private:
    // What the shadow's drawing depends on; it is drawn again only when one of these changes.
    struct ShadowShape {
        Size size;
        PopoverArrowDirection direction = PopoverArrowDirection::unknown;
        double arrowOffset = 0.0;
        bool operator==(const ShadowShape&) const = default;
    };

    double clampedArrowOffset() const;
    // The outline, the rounded body with the arrow, as the context's current path.
    void addOutlinePath(GraphicsContext& context) const;
    void drawShadow(GraphicsContext& context);

    std::shared_ptr<View> m_contentView;
    PopoverArrowDirection m_arrowDirection = PopoverArrowDirection::up;
    double m_arrowOffset = 0.0;
    ShadowShape m_shadowShape;
    Image m_shadowImage;
};
