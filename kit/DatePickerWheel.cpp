#include "kit/DatePickerWheel.h"

#include "foundation/RunLoop.h"
#include "kit/Animator.h"
#include "kit/Font.h"
#include "kit/GraphicsContext.h"
#include "kit/StringDrawing.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double wheelDragThreshold = 4.0;
constexpr double turnDuration = 0.3;
constexpr double snapDuration = 0.25;
// A released wheel travels about this many seconds' worth of the finger's last speed.
constexpr double glideFactor = 0.35;
constexpr double shortestGlide = 0.2;
constexpr double longestGlide = 2.0;
// The finger's speed is measured over its last tenth of a second.
constexpr double wheelVelocityWindow = 0.1;
constexpr double smallestTitleSize = 12.0;
// Room kept free beside a title that sits against the wheel's other edge or in its middle.
constexpr double titleMargin = 4.0;

double nowSeconds() {
    return RunLoop::main().now().timeIntervalSince1970();
}

// Starts as fast as the released wheel and comes gently to rest (a cubic ease-out, whose start
// speed is three times the average).
double glide(double t) {
    const double rest = 1.0 - t;
    return 1.0 - rest * rest * rest;
}

} // namespace

DatePickerWheel::DatePickerWheel(const Rect& frame) : View(frame) {
    setClipsToBounds(true);
}

DatePickerWheel::~DatePickerWheel() {
    if (m_timer) {
        m_timer->invalidate();
    }
}

void DatePickerWheel::setRows(const QStringList& rows) {
    const int selected = selectedRow();
    stopMotion();
    m_rows = rows;
    m_offset = std::clamp(selected, 0, std::max(0, rowCount() - 1)) * rowHeight;
    measureTitles();
    setNeedsDisplay();
}

void DatePickerWheel::setFontSize(double size) {
    if (size <= 0.0 || size == m_fontSize) {
        return;
    }
    m_fontSize = size;
    measureTitles();
    setNeedsDisplay();
}

void DatePickerWheel::measureTitles() {
    const Font font = Font::boldSystemFontOfSize(m_fontSize);
    double widest = -1.0;
    m_widestTitle.clear();
    for (const QString& title : m_rows) {
        const double width = StringDrawing::sizeWithFont(title, font).width();
        if (width > widest) {
            widest = width;
            m_widestTitle = title;
        }
    }
}

Font DatePickerWheel::titleFont() const {
    const Font font = Font::boldSystemFontOfSize(m_fontSize);
    const double inset = m_textAlignment == TextAlignment::Center ? titleMargin : m_textInset;
    const double room = bounds().width() - inset - titleMargin;
    if (m_widestTitle.isEmpty() || room <= 0.0) {
        return font;
    }
    return font.fontWithSize(StringDrawing::fittingFontSize(m_widestTitle, font, smallestTitleSize, room));
}

void DatePickerWheel::setLooping(bool looping) {
    const int selected = selectedRow();
    m_looping = looping;
    stopMotion();
    m_offset = std::max(0, selected) * rowHeight;
    setNeedsDisplay();
}

void DatePickerWheel::setTextAlignment(TextAlignment alignment, double textInset) {
    m_textAlignment = alignment;
    m_textInset = textInset;
    setNeedsDisplay();
}

int DatePickerWheel::rowForSlot(long slot) const {
    if (m_rows.isEmpty()) {
        return -1;
    }
    const long count = rowCount();
    if (m_looping) {
        return static_cast<int>(((slot % count) + count) % count);
    }
    return slot >= 0 && slot < count ? static_cast<int>(slot) : -1;
}

long DatePickerWheel::nearestSlot(double offset) const {
    const long slot = std::lround(offset / rowHeight);
    return m_looping ? slot : std::clamp(slot, 0L, static_cast<long>(std::max(0, rowCount() - 1)));
}

int DatePickerWheel::selectedRow() const {
    return rowForSlot(nearestSlot(m_motion.active ? m_motion.to : m_offset));
}

void DatePickerWheel::setSelectedRow(int row, bool animated) {
    if (m_rows.isEmpty() || row < 0 || row >= rowCount()) {
        return;
    }
    const long current = nearestSlot(m_motion.active ? m_motion.to : m_offset);
    long target = row;
    if (m_looping) {
        const long count = rowCount();
        long delta = ((row - rowForSlot(current)) % count + count) % count;
        if (delta > count / 2) {
            delta -= count;
        }
        target = current + delta;
    }
    if (animated && !m_tracking) {
        startMotion(static_cast<double>(target) * rowHeight, turnDuration, false);
        return;
    }
    stopMotion();
    m_offset = static_cast<double>(target) * rowHeight;
    setNeedsDisplay();
}

int DatePickerWheel::rowShownAt(double y) const {
    return rowForSlot(std::lround((m_offset + y - middleY()) / rowHeight));
}

double DatePickerWheel::resisted(double offset) const {
    if (m_looping) {
        return offset;
    }
    const double last = std::max(0, rowCount() - 1) * rowHeight;
    if (offset < 0.0) {
        return offset / 2.0;
    }
    if (offset > last) {
        return last + (offset - last) / 2.0;
    }
    return offset;
}

void DatePickerWheel::startMotion(double to, double duration, bool report) {
    m_motion = Motion{true, m_offset, to, nowSeconds(), duration, report};
    if (!m_timer || !m_timer->isValid()) {
        std::weak_ptr<View> weak = weak_from_this();
        m_timer = Animator::instance().scheduleFrames(Animator::frameInterval, [weak] {
            if (const auto wheel = std::static_pointer_cast<DatePickerWheel>(weak.lock())) {
                wheel->step();
            }
        });
    }
}

void DatePickerWheel::stopMotion() {
    m_motion.active = false;
    if (m_timer) {
        m_timer->invalidate();
        m_timer.reset();
    }
}

void DatePickerWheel::step() {
    if (!m_motion.active) {
        stopMotion();
        return;
    }
    const double t = m_motion.duration > 0.0 ? (nowSeconds() - m_motion.startTime) / m_motion.duration : 1.0;
    if (t < 1.0) {
        m_offset = m_motion.from + (m_motion.to - m_motion.from) * glide(std::max(0.0, t));
        setNeedsDisplay();
        return;
    }
    m_offset = m_motion.to;
    const bool report = m_motion.report;
    stopMotion();
    settle(report);
}

void DatePickerWheel::settle(bool report) {
    m_offset = static_cast<double>(nearestSlot(m_offset)) * rowHeight;
    if (m_looping && !m_rows.isEmpty()) {
        // Only the row matters on a looping wheel, so the offset is brought back near zero.
        const double turn = rowCount() * rowHeight;
        m_offset = std::fmod(std::fmod(m_offset, turn) + turn, turn);
    }
    setNeedsDisplay();
    if (report && onSettled) {
        onSettled(*this);
    }
}

void DatePickerWheel::touchesBegan(const TouchSet& touches, const TouchEvent& event) {
    if (touches.empty() || m_rows.isEmpty()) {
        View::touchesBegan(touches, event);
        return;
    }
    m_caught = m_motion.active;
    stopMotion();
    m_tracking = true;
    m_dragged = false;
    m_touchStartY = touches.front()->locationInView(this).y();
    m_offsetAtTouchStart = m_offset;
    m_samples.clear();
    m_samples.push_back(Sample{touches.front()->timestamp(), m_touchStartY});
}

void DatePickerWheel::touchesMoved(const TouchSet& touches, const TouchEvent& event) {
    if (touches.empty() || !m_tracking) {
        View::touchesMoved(touches, event);
        return;
    }
    const double y = touches.front()->locationInView(this).y();
    m_samples.push_back(Sample{touches.front()->timestamp(), y});
    const double dy = y - m_touchStartY;
    if (!m_dragged && std::abs(dy) < wheelDragThreshold) {
        return;
    }
    m_dragged = true;
    m_offset = resisted(m_offsetAtTouchStart - dy);
    setNeedsDisplay();
}

void DatePickerWheel::touchesEnded(const TouchSet& touches, const TouchEvent& event) {
    if (touches.empty() || !m_tracking) {
        View::touchesEnded(touches, event);
        return;
    }
    finishTouch(touches.front()->timestamp(), touches.front()->locationInView(this).y(), m_dragged);
}

void DatePickerWheel::touchesCancelled(const TouchSet& touches, const TouchEvent& event) {
    if (!m_tracking) {
        View::touchesCancelled(touches, event);
        return;
    }
    m_tracking = false;
    startMotion(static_cast<double>(nearestSlot(m_offset)) * rowHeight, snapDuration, true);
}

void DatePickerWheel::finishTouch(double time, double y, bool dragged) {
    m_tracking = false;
    if (!dragged) {
        const long current = nearestSlot(m_offset);
        long tapped = std::lround((m_offset + y - middleY()) / rowHeight);
        if (!m_looping) {
            tapped = std::clamp(tapped, 0L, static_cast<long>(rowCount() - 1));
        }
        if (m_caught || tapped == current) {
            // A wheel stopped by the finger settles on the nearest row.
            startMotion(static_cast<double>(current) * rowHeight, snapDuration, true);
        } else {
            startMotion(static_cast<double>(tapped) * rowHeight, turnDuration, true);
        }
        return;
    }
    m_samples.push_back(Sample{time, y});
    double velocity = 0.0;
    const Sample last = m_samples.back();
    for (const Sample& sample : m_samples) {
        if (last.time - sample.time <= wheelVelocityWindow && last.time > sample.time) {
            velocity = -(last.y - sample.y) / (last.time - sample.time);
            break;
        }
    }
    double target = static_cast<double>(nearestSlot(m_offset + velocity * glideFactor)) * rowHeight;
    const double distance = std::abs(target - m_offset);
    double duration = snapDuration;
    if (std::abs(velocity) > 1.0 && distance > rowHeight / 2.0) {
        duration = std::clamp(3.0 * distance / std::abs(velocity), shortestGlide, longestGlide);
    }
    if (!m_looping) {
        target = std::clamp(target, 0.0, std::max(0, rowCount() - 1) * rowHeight);
    }
    startMotion(target, duration, true);
}

void DatePickerWheel::drawSelectionBar(GraphicsContext& context, const Rect& bar) {
    context.saveGState();
    context.clipToRect(bar);
    context.drawLinearGradient({{0.0, Color(0.82, 0.85, 0.94, 0.45)},
                                {0.5, Color(0.66, 0.71, 0.86, 0.32)},
                                {0.51, Color(0.55, 0.60, 0.76, 0.32)},
                                {1.0, Color(0.50, 0.55, 0.72, 0.42)}},
                               bar.origin(), Point(bar.x(), bar.maxY()));
    context.setFillColor(Color(0.95, 0.96, 1.0, 0.8));
    context.fillRect(Rect(bar.x(), bar.y(), bar.width(), 1.0));
    context.setFillColor(Color(0.25, 0.29, 0.42, 0.8));
    context.fillRect(Rect(bar.x(), bar.maxY() - 1.0, bar.width(), 1.0));
    context.restoreGState();
}

void DatePickerWheel::drawRect(GraphicsContext& context, const Rect& /*rect*/) {
    const Rect area = bounds();
    context.setFillColor(Color(1, 1, 1));
    context.fillRect(area);
    if (!m_rows.isEmpty()) {
        const Font font = titleFont();
        const long first = std::lround(std::floor((m_offset - middleY()) / rowHeight)) - 1;
        const long last = std::lround(std::ceil((m_offset + middleY()) / rowHeight)) + 1;
        context.setFillColor(Color(0, 0, 0));
        for (long slot = first; slot <= last; ++slot) {
            const int row = rowForSlot(slot);
            if (row < 0) {
                continue;
            }
            const QString& title = m_rows[row];
            const Size size = StringDrawing::sizeWithFont(title, font);
            const double centerY = middleY() + static_cast<double>(slot) * rowHeight - m_offset;
            double x = (area.width() - size.width()) / 2.0;
            if (m_textAlignment == TextAlignment::Left) {
                x = m_textInset;
            } else if (m_textAlignment == TextAlignment::Right) {
                x = area.width() - m_textInset - size.width();
            }
            context.drawText(title, Point(x, centerY - size.height() / 2.0), font);
        }
    }
    // The shading that makes the flat rows look like the face of a turning drum.
    context.drawLinearGradient({{0.0, Color(0, 0, 0, 0.55)},
                                {0.3, Color(0, 0, 0, 0.08)},
                                {0.5, Color(0, 0, 0, 0.0)},
                                {0.7, Color(0, 0, 0, 0.08)},
                                {1.0, Color(0, 0, 0, 0.55)}},
                               Point(0, 0), Point(0, area.height()));
    context.setFillColor(Color(0, 0, 0, 0.35));
    context.fillRect(Rect(0, 0, 1, area.height()));
    context.fillRect(Rect(area.width() - 1, 0, 1, area.height()));
    drawSelectionBar(context, Rect(0, middleY() - rowHeight / 2.0, area.width(), rowHeight));
}
