#pragma once

#include "foundation/Color.h"
#include "kit/AffineTransform.h"
#include "kit/BlendMode.h"
#include "kit/Font.h"
#include "kit/Image.h"
#include "kit/LineBreakMode.h"
#include "kit/Point.h"
#include "kit/Rect.h"
#include "kit/Size.h"
#include "kit/TextAlignment.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPainter;

// The drawing context handed to views: a current path, fill and stroke state, and a
// save/restore stack, drawn through a QPainter that only kit/ creates. Coordinates are points;
// the context maps them to pixels. The current path is kept in the coordinates it was built
// in, so change the transform only between paths.
class GraphicsContext {
public:
    explicit GraphicsContext(QPainter& painter);
    ~GraphicsContext();
    GraphicsContext(const GraphicsContext&) = delete;
    GraphicsContext& operator=(const GraphicsContext&) = delete;

    // Saves and restores the transform, clip, alpha, colours, line width and shadow (not the
    // path).
    void saveGState();
    void restoreGState();
    // The number of saved states not yet restored.
    std::size_t gStateDepth() const;

    void translateCTM(double tx, double ty);
    void scaleCTM(double sx, double sy);
    void rotateCTM(double angle);
    void concatCTM(const AffineTransform& transform);

    // The opacity every later drawing is multiplied by, from 0 to 1.
    void setAlpha(double alpha);
    double alpha() const;

    // Saved with the graphics state.
    void setBlendMode(BlendMode mode);
    BlendMode blendMode() const;

    void setFillColor(const Color& color);
    void setStrokeColor(const Color& color);
    void setLineWidth(double width);
    // Dashes of the given lengths in points, alternately drawn and skipped, starting `phase`
    // points into the pattern; an empty list draws solid lines.
    void setLineDash(double phase, const std::vector<double>& lengths);
    Color fillColor() const;
    Color strokeColor() const;
    double lineWidth() const;

    void fillRect(const Rect& rect);
    void strokeRect(const Rect& rect);
    // Makes the rectangle fully transparent, whatever the colours.
    void clearRect(const Rect& rect);
    void clipToRect(const Rect& rect);

    // A colour stop of a linear gradient, at a location from 0 (start) to 1 (end).
    struct GradientStop {
        double location;
        Color color;
    };
    // Fills the whole clip area with the gradient running from `start` to `end`; beyond the
    // ends the end colours continue. Clip to a path or rectangle first to fill a shape.
    void drawLinearGradient(const std::vector<GradientStop>& stops, Point start, Point end);

    // A shadow under every later fill, stroke, text and image: the drawn shape in the colour,
    // blurred by `blur` points (about twice the deviation of a Gaussian) and moved by `offset`
    // (positive heights move it down). Offset and blur are in points of the current scale and
    // ignore rotation. A transparent colour turns the shadow off.
    void setShadow(Size offset, double blur, const Color& color);
    // The platform's default shadow colour, black at one third opacity.
    void setShadow(Size offset, double blur);
    void clearShadow();
    bool hasShadow() const;

    // Whether the image drawn into the rectangle lands pixel for pixel on whole device pixels, so
    // that it shows exactly as drawn.
    bool landsPixelForPixel(const Image& image, const Rect& rect) const;
    // Draws the whole image scaled into the rectangle; a stretchable image keeps its caps.
    void drawImage(const Image& image, const Rect& rect);
    // Draws the image at its own size with its top-left corner at the point.
    void drawImage(const Image& image, Point point);

    // Text in the fill colour. The point is the top-left corner of the first line's box; the
    // baseline lies the font's ascender below it. Each returns the size drawn, as measured by
    // StringDrawing.
    Size drawText(const QString& text, Point point, const Font& font);
    // One line of at most `width`, broken as the mode says.
    Size drawText(const QString& text, Point point, double width, const Font& font,
                  LineBreakMode lineBreakMode);
    // As many lines as the rectangle's height holds (any number when it has none), each aligned
    // within its width.
    Size drawTextInRect(const QString& text, const Rect& rect, const Font& font,
                        LineBreakMode lineBreakMode = LineBreakMode::WordWrap,
                        TextAlignment alignment = TextAlignment::Left);

    // Path building. Lines and arcs start from the current point.
    void beginPath();
    void moveTo(Point point);
    void addLineTo(Point point);
    void addRect(const Rect& rect);
    void addEllipseInRect(const Rect& rect);
    // An arc of the radius tangent to the line from the current point to `tangentPoint` and
    // to the line from `tangentPoint` to `endPoint`, joined to the current point by a line.
    // Without a current point or with collinear points it is a line to `tangentPoint`.
    void addArcToPoint(Point tangentPoint, Point endPoint, double radius);
    // A circular arc from `startAngle` to `endAngle` as in a flipped (y-down) context: with
    // `clockwise` false the angle grows, which turns clockwise on screen. A line joins the
    // current point, if any, to the start of the arc.
    void addArc(Point center, double radius, double startAngle, double endAngle, bool clockwise);
    void closePath();

    bool isPathEmpty() const;
    Point pathCurrentPoint() const;
    // The first point of the last subpath.
    Point pathStartPoint() const;
    Rect pathBoundingBox() const;
    // Whether the filled path (non-zero winding) covers the point.
    bool pathContainsPoint(Point point) const;

    // Draws what `draw` draws into a layer of its own covering `area` (in user space, cut to the
    // clip) and then lays the layer down at `alpha` times the current alpha: shapes drawn inside
    // do not show through each other, and each is drawn opaque, the raster engine's fast case.
    // The layer's context starts from the default state with the current transform.
    void drawTransparencyLayer(const Rect& area, double alpha,
                               const std::function<void(GraphicsContext&)>& draw);

    // Fill, stroke and clip use the current path and then empty it.
    void fillPath();
    void strokePath();
    void clip();

private:
    struct State;
    struct Data;
    std::unique_ptr<Data> m_data;
};
