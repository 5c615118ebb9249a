#include "kit/GraphicsContext.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>
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

} // namespace

struct GraphicsContext::State {
    Color fill{0, 0, 0, 1};
    Color stroke{0, 0, 0, 1};
    double lineWidth = 1.0;
    double dashPhase = 0.0;
    std::vector<double> dashLengths;
};

struct GraphicsContext::Data {
    explicit Data(QPainter& p) : painter(p) {}

    QPainter& painter;
    QPainterPath path;
    State state;
    std::vector<State> saved;

    // Butt caps and miter joins that turn into bevels past the miter limit, like the platform's.
    QPen pen() const {
        QPen result(toQColor(state.stroke), state.lineWidth, Qt::SolidLine, Qt::FlatCap, Qt::SvgMiterJoin);
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
    m_data->painter.fillRect(toQRect(rect), toQColor(m_data->state.fill));
}

void GraphicsContext::strokeRect(const Rect& rect) {
    QPainter& painter = m_data->painter;
    painter.setPen(m_data->pen());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(toQRect(rect));
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

void GraphicsContext::drawImage(const Image& image, const Rect& rect) {
    if (!image.isNull()) {
        m_data->painter.drawImage(toQRect(rect), image.pixels());
    }
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
    m_data->painter.fillPath(m_data->windingPath(), toQColor(m_data->state.fill));
    m_data->resetPath();
}

void GraphicsContext::strokePath() {
    m_data->painter.strokePath(m_data->path, m_data->pen());
    m_data->resetPath();
}

void GraphicsContext::clip() {
    m_data->painter.setClipPath(m_data->windingPath(), Qt::IntersectClip);
    m_data->resetPath();
}
