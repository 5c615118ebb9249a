#include "ui/tablet/AllDayCell.h"

#include "foundation/Localization.h"
#include "kit/Label.h"
#include "kit/Switch.h"

AllDayCell::AllDayCell() : TableViewCell(Style::Default), m_allDaySwitch(std::make_shared<Switch>()) {
    textLabel().setText(localizedString(QStringLiteral("All-day")));
    setSelectionStyle(SelectionStyle::None);
    m_allDaySwitch->sizeToFit();
    contentView().addSubview(m_allDaySwitch);
}

void AllDayCell::layoutSubviews() {
    TableViewCell::layoutSubviews();
    const Rect content = contentView().frame();
    const double x = bounds().width() - m_allDaySwitch->frame().width() - switchRightMargin;
    m_allDaySwitch->setFrameOrigin(Point(x - content.x(), switchY - content.y()));
}
