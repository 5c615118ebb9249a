#include "kit/TableViewSectionHeaderView.h"

#include "kit/GraphicsContext.h"
#include "kit/Label.h"
#include "kit/Screen.h"
#include "kit/StringDrawing.h"

#include <cmath>

namespace {

const Color groupedTitleColor = Color::fromRgb255(76, 86, 108);

Font footerFont() {
    return Font::systemFontOfSize(15);
}

} // namespace

TableViewSectionHeaderView::TableViewSectionHeaderView(Kind kind, const QString& title)
    : m_kind(kind), m_label(std::make_shared<Label>()) {
    m_label->setText(title);
    m_label->setBackgroundColor(std::nullopt);
    switch (kind) {
    case Kind::PlainHeader:
    case Kind::PlainFooter:
        m_label->setFont(Font::boldSystemFontOfSize(18));
        m_label->setTextColor(Color(1, 1, 1));
        m_label->setShadowColor(Color::fromRgb255(100, 100, 100, 0.8));
        m_label->setShadowOffset({0, 1});
        break;
    case Kind::GroupedHeader:
        m_label->setFont(Font::boldSystemFontOfSize(17));
        m_label->setTextColor(groupedTitleColor);
        m_label->setShadowColor(Color(1, 1, 1));
        m_label->setShadowOffset({0, 1});
        break;
    case Kind::GroupedFooter:
        m_label->setFont(footerFont());
        m_label->setTextColor(groupedTitleColor);
        m_label->setShadowColor(Color(1, 1, 1));
        m_label->setShadowOffset({0, 1});
        m_label->setTextAlignment(TextAlignment::Center);
        m_label->setNumberOfLines(0);
        m_label->setLineBreakMode(LineBreakMode::WordWrap);
        break;
    }
}

QString TableViewSectionHeaderView::title() const {
    return m_label->text();
}

Label& TableViewSectionHeaderView::titleLabel() {
    attachLabel();
    return *m_label;
}

double TableViewSectionHeaderView::groupedFooterHeight(const QString& title, double tableWidth) {
    const Size size = StringDrawing::sizeWithFont(
        title, footerFont(), Size(tableWidth - 2 * groupedSideMargin, 0), LineBreakMode::WordWrap);
    return std::ceil(size.height()) + 16.0;
}

void TableViewSectionHeaderView::attachLabel() {
    if (m_label->superview().get() != this && !weak_from_this().expired()) {
        addSubview(m_label);
    }
}

void TableViewSectionHeaderView::layoutSubviews() {
    attachLabel();
    const Rect area = bounds();
    switch (m_kind) {
    case Kind::PlainHeader:
    case Kind::PlainFooter:
        m_label->setFrame({12, 0, std::max(0.0, area.width() - 24), area.height()});
        break;
    case Kind::GroupedHeader: {
        // The title sits just above the group, however tall the header is.
        const double height = 22.0;
        m_label->setFrame({groupedSideMargin, std::max(0.0, area.height() - height - 7.0),
                           std::max(0.0, area.width() - 2 * groupedSideMargin), height});
        break;
    }
    case Kind::GroupedFooter:
        m_label->setFrame({groupedSideMargin, 6, std::max(0.0, area.width() - 2 * groupedSideMargin),
                           std::max(0.0, area.height() - 10)});
        break;
    }
}

void TableViewSectionHeaderView::drawRect(GraphicsContext& context, const Rect& /*rect*/) {
    if (m_kind != Kind::PlainHeader && m_kind != Kind::PlainFooter) {
        return;
    }
    const Rect area = bounds();
    const double pixel = 1.0 / Screen::main().scale();
    context.saveGState();
    context.clipToRect(area);
    context.drawLinearGradient(
        {{0.0, Color::fromRgb255(144, 159, 171, 0.92)}, {1.0, Color::fromRgb255(184, 193, 200, 0.92)}},
        {0, area.minY()}, {0, area.maxY()});
    context.restoreGState();
    context.setFillColor(Color::fromRgb255(113, 125, 133));
    context.fillRect({area.minX(), area.minY(), area.width(), pixel});
    context.setFillColor(Color::fromRgb255(152, 161, 169));
    context.fillRect({area.minX(), area.maxY() - pixel, area.width(), pixel});
}
