#include "kit/GraphicsContext.h"

#include "kit/TextLayout.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

namespace {

QColor toQColor(const Color& color) {
    return QColor::fromRgbF(static_cast<float>(color.red()), static_cast<float>(color.green()),
                            static_cast<float>(color.blue()), static_cast<float>(color.alpha()));
}

QRectF toQRect(const Rect& rect) {
    const Rect r = rect.standardized();
    return {r.x(), r.y(), r.width(), r.height()};
}

// Qt measures arc angles in degrees, counter-clockwise on screen; ours are radians that grow
// clockwise on screen, as in a y-down context.
double toQtDegrees(double radians) {
    return -radians * 180.0 / std::numbers::pi;
}

// One pass of a running-average blur of the given radius along the rows of `values`.
void boxBlurRows(std::vector<float>& values, std::vector<float>& scratch, int width, int height, int radius) {
    const float window = static_cast<float>(2 * radius + 1);
    for (int y = 0; y < height; ++y) {
        const float* row = values.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        float* out = scratch.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        float sum = 0.0f;
        for (int i = 0; i <= radius && i < width; ++i) {
            sum += row[i];
        }
        for (int i = 0; i < width; ++i) {
            out[i] = sum / window;
            if (i - radius >= 0) {
                sum -= row[i - radius];
            }
            if (i + radius + 1 < width) {
                sum += row[i + radius + 1];
            }
        }
    }
    values.swap(scratch);
}

// The same down the columns, kept row by row with one running sum per column so that the
// memory is read in order.
void boxBlurColumns(std::vector<float>& values, std::vector<float>& scratch, std::vector<float>& sums,
                    int width, int height, int radius) {
    const float window = static_cast<float>(2 * radius + 1);
    const auto row = [&](std::vector<float>& image, int y) {
        return image.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    };
    std::fill(sums.begin(), sums.end(), 0.0f);
    for (int y = 0; y <= radius && y < height; ++y) {
        const float* entering = row(values, y);
        for (int x = 0; x < width; ++x) {
            sums[static_cast<std::size_t>(x)] += entering[x];
        }
    }
    for (int y = 0; y < height; ++y) {
        float* out = row(scratch, y);
        for (int x = 0; x < width; ++x) {
            out[x] = sums[static_cast<std::size_t>(x)] / window;
        }
        if (y - radius >= 0) {
            const float* leaving = row(values, y - radius);
            for (int x = 0; x < width; ++x) {
                sums[static_cast<std::size_t>(x)] -= leaving[x];
            }
        }
        if (y + radius + 1 < height) {
            const float* entering = row(values, y + radius + 1);
            for (int x = 0; x < width; ++x) {
                sums[static_cast<std::size_t>(x)] += entering[x];
            }
        }
    }
    values.swap(scratch);
}

// The layer's coverage, blurred (three box passes approximate a Gaussian whose deviation is
// half the blur) and painted in the colour.
QImage shadowFromLayer(const QImage& layer, double blurPixels, const QColor& color) {
    if (blurPixels / 2.0 < 0.5) {
        // A sharp shadow is the layer's coverage in the colour, which Qt paints directly.
        QImage result = layer;
        QPainter painter(&result);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(result.rect(), color);
        return result;
    }
    const int width = layer.width();
    const int height = layer.height();
    std::vector<float> alpha(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            alpha[static_cast<std::size_t>(y * width + x)] = static_cast<float>(qAlpha(row[x])) / 255.0f;
        }
    }
    const double sigma = blurPixels / 2.0;
    if (sigma >= 0.5) {
        const int radius =
            std::max(1, static_cast<int>(std::lround((std::sqrt(4.0 * sigma * sigma + 1.0) - 1.0) / 2.0)));
        std::vector<float> scratch(alpha.size());
        std::vector<float> sums(static_cast<std::size_t>(width));
        for (int pass = 0; pass < 3; ++pass) {
            boxBlurRows(alpha, scratch, width, height, radius);
            boxBlurColumns(alpha, scratch, sums, width, height, radius);
        }
    }
    QImage result(width, height, QImage::Format_ARGB32_Premultiplied);
    const float red = static_cast<float>(color.redF());
    const float green = static_cast<float>(color.greenF());
    const float blue = static_cast<float>(color.blueF());
    const float opacity = static_cast<float>(color.alphaF());
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const float a = std::clamp(alpha[static_cast<std::size_t>(y * width + x)] * opacity, 0.0f, 1.0f);
            // Rounded half up: every value here is at least 0.
            const auto channel = [a](float c) { return static_cast<int>(c * a * 255.0f + 0.5f); };
            row[x] = qRgba(channel(red), channel(green), channel(blue), static_cast<int>(a * 255.0f + 0.5f));
        }
    }
    return result;
}

} // namespace

struct GraphicsContext::State {
    Color fill{0, 0, 0, 1};
    Color stroke{0, 0, 0, 1};
    double lineWidth = 1.0;
    double dashPhase = 0.0;
    std::vector<double> dashLengths;
    Size shadowOffset;
    double shadowBlur = 0.0;
    Color shadowColor{0, 0, 0, 0};
    BlendMode blendMode = BlendMode::Normal;
};

struct GraphicsContext::Data {
    explicit Data(QPainter& p) : painter(p) {}

    QPainter& painter;
    QPainterPath path;
    State state;
    std::vector<State> saved;

    // A solid colour to fill or stroke with. Qt's raster engine hands each translucent solid blend
    // of more than about 95 scanlines to its thread pool and waits for it, which costs more than
    // the blend itself; a vertical gradient of the one colour gives the same pixels and is blended
    // row by row on this thread. Opaque colours at full opacity have a direct path of their own.
    QBrush brush(const Color& color) const {
        const QColor solid = toQColor(color);
        if (solid.alpha() == 255 && painter.opacity() >= 1.0) {
            return QBrush(solid);
        }
        QLinearGradient flat(0.0, 0.0, 0.0, 1.0);
        flat.setColorAt(0.0, solid);
        flat.setColorAt(1.0, solid);
        return QBrush(flat);
    }

    // Butt caps and miter joins that turn into bevels past the miter limit, like the platform's.
    QPen pen() const {
        QPen result(brush(state.stroke), state.lineWidth, Qt::SolidLine, Qt::FlatCap, Qt::SvgMiterJoin);
        result.setMiterLimit(10.0);
        if (!state.dashLengths.empty()) {
            // Qt measures dashes in line widths, the platform in points.
            const double unit = state.lineWidth > 0.0 ? state.lineWidth : 1.0;
            QList<qreal> pattern;
            for (const double length : state.dashLengths) {
                pattern.append(length / unit);
            }
            if (pattern.size() % 2 != 0) {
                pattern.append(pattern);
            }
            result.setDashPattern(pattern);
            result.setDashOffset(state.dashPhase / unit);
        }
        return result;
    }

    void moveOrLineTo(const QPointF& point) {
        if (path.elementCount() == 0) {
            path.moveTo(point);
        } else {
            path.lineTo(point);
        }
    }

    void resetPath() { path = QPainterPath(); }

    // Runs `draw` on the painter, first casting its shadow when one is set: the drawing goes
    // into a layer covering `userBounds` (in user space) and the blur around it, the layer
    // becomes the shadow, and the shadow is drawn under the real drawing with the clip and
    // alpha of the moment.
    template <typename Draw> void paint(const QRectF& userBounds, Draw draw) {
        if (state.shadowColor.alpha() <= 0.0) {
            draw(painter);
            return;
        }
        const QTransform world = painter.worldTransform();
        const double scale = std::hypot(world.m11(), world.m12());
        const double blur = state.shadowBlur * scale;
        const QPointF offset(state.shadowOffset.width() * scale, state.shadowOffset.height() * scale);
        const int spread = static_cast<int>(std::ceil(blur * 1.5)) + 2;
        const QRect device(0, 0, painter.device()->width(), painter.device()->height());
        const QRect landing = device
                                  .translated(-static_cast<int>(std::floor(offset.x())),
                                              -static_cast<int>(std::floor(offset.y())))
                                  .adjusted(-spread - 1, -spread - 1, spread + 1, spread + 1);
        const QRect area = world.mapRect(userBounds)
                               .toAlignedRect()
                               .adjusted(-spread, -spread, spread, spread)
                               .intersected(landing);
        if (!area.isEmpty()) {
            QImage layer(area.size(), QImage::Format_ARGB32_Premultiplied);
            layer.fill(Qt::transparent);
            {
                QPainter layerPainter(&layer);
                layerPainter.setRenderHints(painter.renderHints());
                layerPainter.setTransform(world * QTransform::fromTranslate(-area.x(), -area.y()));
                draw(layerPainter);
            }
            const QImage shadow = shadowFromLayer(layer, blur, toQColor(state.shadowColor));
            painter.save();
            painter.resetTransform();
            painter.drawImage(QPointF(area.x() + offset.x(), area.y() + offset.y()), shadow);
            painter.restore();
        }
        draw(painter);
    }

    // The user-space area a stroke of the current pen covers around `bounds`.
    QRectF strokeBounds(const QRectF& bounds) const {
        const double margin = state.lineWidth * 5.0 + 1.0;
        return bounds.adjusted(-margin, -margin, margin, margin);
    }

    // Filling uses the non-zero winding rule. Setting a rule on an empty QPainterPath gives it
    // a move to (0, 0), so the rule is set on a copy when it is needed.
    QPainterPath windingPath() const {
        QPainterPath result = path;
        if (!result.isEmpty()) {
            result.setFillRule(Qt::WindingFill);
        }
        return result;
    }

    // Appends the arc around `center` from the angle `start`, sweeping `sweep` radians.
    void arc(QPointF center, double radius, double start, double sweep) {
        moveOrLineTo(center + QPointF(radius * std::cos(start), radius * std::sin(start)));
        const QRectF box(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
        path.arcTo(box, toQtDegrees(start), toQtDegrees(sweep));
    }
};

GraphicsContext::GraphicsContext(QPainter& painter) : m_data(std::make_unique<Data>(painter)) {}

GraphicsContext::~GraphicsContext() = default;

void GraphicsContext::saveGState() {
    m_data->painter.save();
    m_data->saved.push_back(m_data->state);
}

void GraphicsContext::restoreGState() {
    if (m_data->saved.empty()) {
        return;
    }
    m_data->painter.restore();
    m_data->state = m_data->saved.back();
    m_data->saved.pop_back();
}

std::size_t GraphicsContext::gStateDepth() const {
    return m_data->saved.size();
}

void GraphicsContext::translateCTM(double tx, double ty) {
    m_data->painter.translate(tx, ty);
}

void GraphicsContext::scaleCTM(double sx, double sy) {
    m_data->painter.scale(sx, sy);
}

void GraphicsContext::rotateCTM(double angle) {
    m_data->painter.rotate(angle * 180.0 / std::numbers::pi);
}

void GraphicsContext::concatCTM(const AffineTransform& t) {
    m_data->painter.setTransform(QTransform(t.a(), t.b(), t.c(), t.d(), t.tx(), t.ty()), true);
}

void GraphicsContext::setAlpha(double alpha) {
    m_data->painter.setOpacity(alpha);
}

double GraphicsContext::alpha() const {
    return m_data->painter.opacity();
}

void GraphicsContext::setBlendMode(BlendMode mode) {
    QPainter::CompositionMode composition = QPainter::CompositionMode_SourceOver;
    switch (mode) {
    case BlendMode::Normal:
        break;
    case BlendMode::Copy:
        composition = QPainter::CompositionMode_Source;
        break;
    case BlendMode::SourceAtop:
        composition = QPainter::CompositionMode_SourceAtop;
        break;
    case BlendMode::SourceIn:
        composition = QPainter::CompositionMode_SourceIn;
        break;
    case BlendMode::DestinationOut:
        composition = QPainter::CompositionMode_DestinationOut;
        break;
    case BlendMode::Multiply:
        composition = QPainter::CompositionMode_Multiply;
        break;
    }
    m_data->painter.setCompositionMode(composition);
    m_data->state.blendMode = mode;
}

BlendMode GraphicsContext::blendMode() const {
    return m_data->state.blendMode;
}

void GraphicsContext::setFillColor(const Color& color) {
    m_data->state.fill = color;
}

void GraphicsContext::setStrokeColor(const Color& color) {
    m_data->state.stroke = color;
}

void GraphicsContext::setLineWidth(double width) {
    m_data->state.lineWidth = width;
}

void GraphicsContext::setLineDash(double phase, const std::vector<double>& lengths) {
    m_data->state.dashPhase = phase;
    m_data->state.dashLengths = lengths;
}

Color GraphicsContext::fillColor() const {
    return m_data->state.fill;
}

Color GraphicsContext::strokeColor() const {
    return m_data->state.stroke;
}

double GraphicsContext::lineWidth() const {
    return m_data->state.lineWidth;
}

void GraphicsContext::fillRect(const Rect& rect) {
    const QRectF area = toQRect(rect);
    const QBrush brush = m_data->brush(m_data->state.fill);
    m_data->paint(area, [&](QPainter& painter) { painter.fillRect(area, brush); });
}

void GraphicsContext::strokeRect(const Rect& rect) {
    const QRectF area = toQRect(rect);
    const QPen pen = m_data->pen();
    m_data->paint(m_data->strokeBounds(area), [&](QPainter& painter) {
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(area);
    });
}

void GraphicsContext::clearRect(const Rect& rect) {
    QPainter& painter = m_data->painter;
    const QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillRect(toQRect(rect), Qt::black);
    painter.setCompositionMode(mode);
}

void GraphicsContext::clipToRect(const Rect& rect) {
    m_data->painter.setClipRect(toQRect(rect), Qt::IntersectClip);
}

void GraphicsContext::drawLinearGradient(const std::vector<GradientStop>& stops, Point start, Point end) {
    if (stops.empty()) {
        return;
    }
    QPainter& painter = m_data->painter;
    QLinearGradient gradient(start.x(), start.y(), end.x(), end.y());
    gradient.setSpread(QGradient::PadSpread);
    for (const GradientStop& stop : stops) {
        gradient.setColorAt(std::clamp(stop.location, 0.0, 1.0), toQColor(stop.color));
    }
    // The device's area in user space, cut to the clip.
    const QRectF device(0, 0, painter.device()->width(), painter.device()->height());
    QRectF area = painter.worldTransform().inverted().mapRect(device);
    if (painter.hasClipping()) {
        area = area.intersected(painter.clipBoundingRect());
    }
    painter.fillRect(area, gradient);
}

void GraphicsContext::drawTransparencyLayer(const Rect& area, double alpha,
                                            const std::function<void(GraphicsContext&)>& draw) {
    QPainter& painter = m_data->painter;
    const QTransform world = painter.worldTransform();
    QRect device = world.mapRect(toQRect(area))
                       .toAlignedRect()
                       .intersected(QRect(0, 0, painter.device()->width(), painter.device()->height()));
    if (painter.hasClipping()) {
        device = device.intersected(world.mapRect(painter.clipBoundingRect()).toAlignedRect());
    }
    if (device.isEmpty() || alpha <= 0.0) {
        return;
    }
    QImage layer(device.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter layerPainter(&layer);
        layerPainter.setRenderHints(painter.renderHints());
        layerPainter.setTransform(world * QTransform::fromTranslate(-device.x(), -device.y()));
        GraphicsContext layerContext(layerPainter);
        draw(layerContext);
    }
    painter.save();
    painter.resetTransform();
    // Pixel for pixel: without smoothing the raster engine blends the layer directly.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setOpacity(painter.opacity() * std::clamp(alpha, 0.0, 1.0));
    painter.drawImage(device.topLeft(), layer);
    painter.restore();
}

void GraphicsContext::setShadow(Size offset, double blur, const Color& color) {
    m_data->state.shadowOffset = offset;
    m_data->state.shadowBlur = std::max(blur, 0.0);
    m_data->state.shadowColor = color;
}

void GraphicsContext::setShadow(Size offset, double blur) {
    setShadow(offset, blur, Color(0, 0, 0, 1.0 / 3.0));
}

void GraphicsContext::clearShadow() {
    m_data->state.shadowColor = Color(0, 0, 0, 0);
}

bool GraphicsContext::hasShadow() const {
    return m_data->state.shadowColor.alpha() > 0.0;
}

namespace {

bool isWhole(double value) {
    return std::abs(value - std::round(value)) < 1e-6;
}

// The rectangle in device pixels when the transform only moves and enlarges, else nothing.
std::optional<QRectF> deviceRect(const QTransform& world, const QRectF& rect) {
    if (world.type() > QTransform::TxScale || world.m11() <= 0.0 || world.m22() <= 0.0) {
        return std::nullopt;
    }
    return world.mapRect(rect);
}

// Draws the source part of the pixels into the target. A part that lands pixel for pixel on
// whole device pixels is blended directly; resampling it would go through the raster engine's
// slower span drawing for the same result.
void drawImagePart(QPainter& painter, const QImage& pixels, const QRectF& target, const QRectF& source) {
    const std::optional<QRectF> device = deviceRect(painter.worldTransform(), target);
    if (device && isWhole(device->x()) && isWhole(device->y()) && isWhole(source.x()) &&
        isWhole(source.y()) && std::abs(device->width() - source.width()) < 1e-6 &&
        std::abs(device->height() - source.height()) < 1e-6) {
        painter.save();
        painter.resetTransform();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QPointF(std::round(device->x()), std::round(device->y())), pixels, source);
        painter.restore();
        return;
    }
    painter.drawImage(target, pixels, source);
}

// Draws the image into the target, keeping the caps of a stretchable image unscaled: the image
// is cut into up to three columns and rows at the caps, and only the middle ones stretch. When
// the target is smaller than the caps, the caps shrink in proportion.
void drawStretched(QPainter& painter, const Image& image, const QRectF& target) {
    const QImage& pixels = image.pixels();
    const double scale = image.scale();
    struct Band {
        double sourceStart, sourceLength, targetStart, targetLength;
    };
    const auto bands = [scale](double capStart, double capEnd, double total, double targetStart,
                               double targetLength) {
        std::vector<Band> result;
        if (capStart <= 0.0) {
            result.push_back({0.0, total * scale, targetStart, targetLength});
            return result;
        }
        double first = capStart;
        double last = capEnd;
        double middle = targetLength - first - last;
        if (middle < 0.0) {
            const double factor = targetLength / (first + last);
            first *= factor;
            last *= factor;
            middle = 0.0;
        }
        const double middleSource = std::max(total - capStart - capEnd, 0.0);
        result.push_back({0.0, capStart * scale, targetStart, first});
        result.push_back({capStart * scale, middleSource * scale, targetStart + first, middle});
        result.push_back(
            {(capStart + middleSource) * scale, capEnd * scale, targetStart + first + middle, last});
        return result;
    };
    const Size size = image.size();
    const std::vector<Band> columns =
        bands(image.leftCapWidth(), image.rightCapWidth(), size.width(), target.x(), target.width());
    const std::vector<Band> rows =
        bands(image.topCapHeight(), image.bottomCapHeight(), size.height(), target.y(), target.height());
    for (const Band& row : rows) {
        for (const Band& column : columns) {
            if (row.targetLength <= 0.0 || column.targetLength <= 0.0 || row.sourceLength <= 0.0 ||
                column.sourceLength <= 0.0) {
                continue;
            }
            drawImagePart(painter, pixels,
                          QRectF(column.targetStart, row.targetStart, column.targetLength, row.targetLength),
                          QRectF(column.sourceStart, row.sourceStart, column.sourceLength, row.sourceLength));
        }
    }
}

} // namespace

bool GraphicsContext::landsPixelForPixel(const Image& image, const Rect& rect) const {
    const std::optional<QRectF> device = deviceRect(m_data->painter.worldTransform(), toQRect(rect));
    return device && !image.isNull() && isWhole(device->x()) && isWhole(device->y()) &&
           std::abs(device->width() - image.pixels().width()) < 1e-6 &&
           std::abs(device->height() - image.pixels().height()) < 1e-6;
}

void GraphicsContext::drawImage(const Image& image, const Rect& rect) {
    if (image.isNull()) {
        return;
    }
    const QRectF target = toQRect(rect);
    if (image.leftCapWidth() > 0 || image.topCapHeight() > 0) {
        m_data->paint(target, [&](QPainter& painter) { drawStretched(painter, image, target); });
    } else {
        m_data->paint(target, [&](QPainter& painter) {
            drawImagePart(painter, image.pixels(), target, QRectF(image.pixels().rect()));
        });
    }
}

void GraphicsContext::drawImage(const Image& image, Point point) {
    drawImage(image, Rect(point, image.size()));
}

Size GraphicsContext::drawText(const QString& text, Point point, const Font& font) {
    const TextLayout layout(text, font, 0.0, 1, LineBreakMode::Clip);
    const Size size = layout.size();
    const QColor color = toQColor(m_data->state.fill);
    const Rect rect(point, Size(0.0, size.height()));
    m_data->paint(toQRect(Rect(point, size)).adjusted(-font.pointSize(), -2, font.pointSize(), 2),
                  [&](QPainter& painter) {
                      painter.setPen(color);
                      layout.draw(painter, rect, TextAlignment::Left);
                  });
    return size;
}

Size GraphicsContext::drawText(const QString& text, Point point, double width, const Font& font,
                               LineBreakMode lineBreakMode) {
    const TextLayout layout(text, font, width, 1, lineBreakMode);
    const Size size = layout.size();
    const QColor color = toQColor(m_data->state.fill);
    const Rect rect(point, Size(width, size.height()));
    m_data->paint(toQRect(Rect(point, size)).adjusted(-font.pointSize(), -2, font.pointSize(), 2),
                  [&](QPainter& painter) {
                      painter.setPen(color);
                      layout.draw(painter, rect, TextAlignment::Left);
                  });
    return size;
}

Size GraphicsContext::drawTextInRect(const QString& text, const Rect& rect, const Font& font,
                                     LineBreakMode lineBreakMode, TextAlignment alignment) {
    const Rect area = rect.standardized();
    const int maxLines = area.height() > 0.0 ? TextLayout::linesFitting(area.height(), font) : 0;
    const TextLayout layout(text, font, area.width(), maxLines, lineBreakMode);
    const Size size = layout.size();
    const QColor color = toQColor(m_data->state.fill);
    const QRectF bounds(area.x(), area.y(), std::max(area.width(), size.width()), size.height());
    m_data->paint(bounds.adjusted(-font.pointSize(), -2, font.pointSize(), 2), [&](QPainter& painter) {
        painter.setPen(color);
        layout.draw(painter, area, alignment);
    });
    return size;
}

void GraphicsContext::beginPath() {
    m_data->resetPath();
}

void GraphicsContext::moveTo(Point point) {
    m_data->path.moveTo(point.x(), point.y());
}

void GraphicsContext::addLineTo(Point point) {
    m_data->moveOrLineTo({point.x(), point.y()});
}

void GraphicsContext::addRect(const Rect& rect) {
    m_data->path.addRect(toQRect(rect));
}

void GraphicsContext::addEllipseInRect(const Rect& rect) {
    m_data->path.addEllipse(toQRect(rect));
}

void GraphicsContext::addArcToPoint(Point tangentPoint, Point endPoint, double radius) {
    QPainterPath& path = m_data->path;
    const QPointF corner(tangentPoint.x(), tangentPoint.y());
    if (path.elementCount() == 0) {
        path.moveTo(corner);
        return;
    }
    const QPointF current = path.currentPosition();
    const QPointF toStart = current - corner;
    const QPointF toEnd = QPointF(endPoint.x(), endPoint.y()) - corner;
    const double startLength = std::hypot(toStart.x(), toStart.y());
    const double endLength = std::hypot(toEnd.x(), toEnd.y());
    if (radius <= 0.0 || startLength == 0.0 || endLength == 0.0) {
        path.lineTo(corner);
        return;
    }
    const QPointF u1 = toStart / startLength;
    const QPointF u2 = toEnd / endLength;
    const double cosine = std::clamp(u1.x() * u2.x() + u1.y() * u2.y(), -1.0, 1.0);
    const double angle = std::acos(cosine);
    if (angle < 1e-9 || std::numbers::pi - angle < 1e-9) {
        path.lineTo(corner);
        return;
    }
    const double tangentDistance = radius / std::tan(angle / 2.0);
    const QPointF bisector = (u1 + u2) / std::hypot((u1 + u2).x(), (u1 + u2).y());
    const QPointF center = corner + bisector * (radius / std::sin(angle / 2.0));
    const QPointF from = corner + u1 * tangentDistance;
    const QPointF to = corner + u2 * tangentDistance;
    const double start = std::atan2(from.y() - center.y(), from.x() - center.x());
    double sweep = std::atan2(to.y() - center.y(), to.x() - center.x()) - start;
    if (sweep > std::numbers::pi) {
        sweep -= 2.0 * std::numbers::pi;
    } else if (sweep < -std::numbers::pi) {
        sweep += 2.0 * std::numbers::pi;
    }
    m_data->arc(center, radius, start, sweep);
}

void GraphicsContext::addArc(Point center, double radius, double startAngle, double endAngle,
                             bool clockwise) {
    constexpr double fullTurn = 2.0 * std::numbers::pi;
    double sweep = endAngle - startAngle;
    if (std::abs(sweep) >= fullTurn) {
        sweep = clockwise ? -fullTurn : fullTurn;
    } else if (!clockwise && sweep < 0.0) {
        sweep += fullTurn;
    } else if (clockwise && sweep > 0.0) {
        sweep -= fullTurn;
    }
    m_data->arc({center.x(), center.y()}, radius, startAngle, sweep);
}

void GraphicsContext::closePath() {
    m_data->path.closeSubpath();
}

bool GraphicsContext::isPathEmpty() const {
    return m_data->path.elementCount() == 0;
}

Point GraphicsContext::pathCurrentPoint() const {
    const QPointF point = m_data->path.currentPosition();
    return {point.x(), point.y()};
}

Point GraphicsContext::pathStartPoint() const {
    const QPainterPath& path = m_data->path;
    for (int i = path.elementCount() - 1; i >= 0; --i) {
        const QPainterPath::Element element = path.elementAt(i);
        if (element.isMoveTo()) {
            return {element.x, element.y};
        }
    }
    return {};
}

Rect GraphicsContext::pathBoundingBox() const {
    const QRectF box = m_data->path.boundingRect();
    return {box.x(), box.y(), box.width(), box.height()};
}

bool GraphicsContext::pathContainsPoint(Point point) const {
    return m_data->windingPath().contains(QPointF(point.x(), point.y()));
}

void GraphicsContext::fillPath() {
    const QPainterPath path = m_data->windingPath();
    const QBrush brush = m_data->brush(m_data->state.fill);
    m_data->paint(path.boundingRect(), [&](QPainter& painter) { painter.fillPath(path, brush); });
    m_data->resetPath();
}

void GraphicsContext::strokePath() {
    const QPainterPath path = m_data->path;
    const QPen pen = m_data->pen();
    m_data->paint(m_data->strokeBounds(path.boundingRect()),
                  [&](QPainter& painter) { painter.strokePath(path, pen); });
    m_data->resetPath();
}

void GraphicsContext::clip() {
    m_data->painter.setClipPath(m_data->windingPath(), Qt::IntersectClip);
    m_data->resetPath();
}
