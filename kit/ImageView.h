#pragma once

#include "kit/ContentMode.h"
#include "kit/Image.h"
#include "kit/View.h"

// Shows an image, or its highlighted image while highlighted. Like the platform's image view it
// takes no touches by default and fits itself to its image.
class ImageView : public View {
public:
    ImageView();
    explicit ImageView(const Rect& frame);
    // A view at the origin, as large as the image.
    explicit ImageView(const Image& image, const Image& highlightedImage = Image());

    const Image& image() const { return m_image; }
    void setImage(const Image& image);
    const Image& highlightedImage() const { return m_highlightedImage; }
    void setHighlightedImage(const Image& image);
    bool highlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);
    ContentMode contentMode() const { return m_contentMode; }
    void setContentMode(ContentMode mode);

    // The image shown now.
    const Image& displayedImage() const;
    // Where the shown image is drawn within `bounds`.
    Rect imageRectForBounds(const Rect& bounds) const;

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) final;
    Size fittingSize(Size size) const override;

private:
    Image m_image;
    Image m_highlightedImage;
    bool m_highlighted = false;
    ContentMode m_contentMode = ContentMode::ScaleToFill;
};
