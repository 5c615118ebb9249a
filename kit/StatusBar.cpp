#include "kit/StatusBar.h"

#include "foundation/RunLoop.h"
#include "kit/Font.h"
#include "kit/GraphicsContext.h"
#include "kit/Screen.h"

#include <cmath>

namespace {

struct StatusBarColors {
    Color top;
    Color bottom;
    Color text;
};

StatusBarColors colorsForStyle(StatusBar::Style style) {
    switch (style) {
    case StatusBar::Style::Default:
        return {Color::fromRgb255(236, 236, 236), Color::fromRgb255(184, 184, 184),
                Color::fromRgb255(26, 26, 26)};
    case StatusBar::Style::BlackOpaque:
        return {Color::fromRgb255(0, 0, 0), Color::fromRgb255(0, 0, 0), Color::fromRgb255(255, 255, 255)};
    case StatusBar::Style::BlackTranslucent:
        break;
    }
    return {Color::fromRgb255(0, 0, 0, 0.5), Color::fromRgb255(0, 0, 0, 0.5),
            Color::fromRgb255(255, 255, 255)};
}

void drawSignalBars(GraphicsContext& context, Point origin) {
    for (int i = 0; i < 5; ++i) {
        const double height = 3.0 + 1.5 * i;
        context.fillRect(Rect(origin.x() + i * 3.0, origin.y() + 11.0 - height, 2.0, height));
    }
}

void drawBattery(GraphicsContext& context, const Rect& body) {
    context.setLineWidth(1.0);
    context.strokeRect(body.inset(0.5, 0.5));
    context.fillRect(Rect(body.maxX(), body.minY() + 3.0, 1.5, body.height() - 6.0));
    context.fillRect(body.inset(2.0, 2.0));
}

} // namespace

StatusBar::StatusBar() : View(Rect(0, 0, 320, Screen::statusBarHeight)) {
    setUserInteractionEnabled(false);
}

StatusBar::~StatusBar() {
    if (m_minuteTimer) {
        m_minuteTimer->invalidate();
    }
}

void StatusBar::setStyle(Style style) {
    if (m_style != style) {
        m_style = style;
        setNeedsDisplay();
    }
}

QString StatusBar::timeText() const {
    return toFormatTime ? toFormatTime(RunLoop::main().now()) : QString();
}

void StatusBar::drawRect(GraphicsContext& context, const Rect&) {
    const Rect area = bounds();
    const StatusBarColors colors = colorsForStyle(m_style);
    context.saveGState();
    context.clipToRect(area);
    context.drawLinearGradient({{0.0, colors.top}, {1.0, colors.bottom}}, Point(0, area.minY()),
                               Point(0, area.maxY()));
    context.restoreGState();

    context.setFillColor(colors.text);
    context.setStrokeColor(colors.text);
    drawSignalBars(context, Point(area.minX() + 6.0, area.minY() + 4.0));
    const Font carrierFont = Font::systemFontOfSize(12.0);
    context.drawText(QStringLiteral("Orvella"), Point(area.minX() + 24.0, area.minY() + 3.0), carrierFont);
    const Font timeFont = Font::boldSystemFontOfSize(12.0);
    context.drawTextInRect(timeText(), Rect(area.minX(), area.minY() + 3.0, area.width(), 15.0), timeFont,
                           LineBreakMode::Clip, TextAlignment::Center);
    drawBattery(context, Rect(area.maxX() - 32.0, area.minY() + 5.0, 24.0, 11.0));
    scheduleMinuteRedraw();
}

// The clock shows minutes, so the bar draws again when the next minute begins.
void StatusBar::scheduleMinuteRedraw() {
    if (m_minuteTimer && m_minuteTimer->isValid()) {
        return;
    }
    const double now = RunLoop::main().now().timeIntervalSince1970();
    const double untilNextMinute = 60.0 - std::fmod(now, 60.0);
    std::weak_ptr<View> weakSelf = weak_from_this();
    m_minuteTimer = RunLoop::main().scheduleTimer(untilNextMinute, false, [weakSelf] {
        if (auto self = weakSelf.lock()) {
            self->setNeedsDisplay();
        }
    });
}
