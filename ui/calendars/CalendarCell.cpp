#include "ui/calendars/CalendarCell.h"

#include "core/eventstore/EKCalendar.h"
#include "foundation/Localization.h"
#include "kit/Artwork.h"
#include "kit/Font.h"
#include "kit/ImageView.h"
#include "kit/Label.h"
#include "ui/common/DotImage.h"
#include "ui/daybox/EventRowArtwork.h"

namespace {

constexpr double calendarCellTitleX = 42.0;
constexpr double calendarCellTitleY = 11.0;
constexpr double calendarCellTitleHeight = 22.0;
constexpr double calendarCellBirthdayImageShift = -4.0;
constexpr double calendarCellEditingBirthdayImageAlpha = 0.5;

} // namespace

CalendarCell::CalendarCell() : CalendarCell(nullptr) {}

CalendarCell::CalendarCell(std::shared_ptr<EKCalendar> calendar)
    : TableViewCell(Style::Default), m_calendar(std::move(calendar)),
      m_calendarTitleLabel(std::make_shared<Label>(
          Rect(calendarCellTitleX, calendarCellTitleY, titleWidth, calendarCellTitleHeight))) {
    m_calendarTitleLabel->setFont(Font::boldSystemFontOfSize(17));
    m_calendarTitleLabel->setBackgroundColor(std::nullopt);
    m_calendarTitleLabel->setHighlightedTextColor(Color(1, 1, 1));
    if (isBirthdayCalendar()) {
        EventRowArtwork::registerImages();
        imageView().setImage(Artwork::imageNamed(QStringLiteral("birthday")));
        imageView().setHighlightedImage(Artwork::imageNamed(QStringLiteral("highlighted-birthday")));
        m_calendarTitleLabel->setText(localizedString(QStringLiteral("Birthdays")));
    } else if (m_calendar) {
        imageView().setImage(DotImage::dotImageForColor(m_calendar->color()));
        m_calendarTitleLabel->setText(m_calendar->title());
        setEditingAccessoryType(AccessoryType::DisclosureIndicator);
    }
    contentView().addSubview(m_calendarTitleLabel);
}

bool CalendarCell::isBirthdayCalendar() const {
    return m_calendar && m_calendar->type() == EKCalendarType::Birthday;
}

void CalendarCell::setChecked(bool checked) {
    m_checked = checked;
    setAccessoryType(checked ? AccessoryType::Checkmark : AccessoryType::None);
    m_calendarTitleLabel->setFrameWidth(checked ? checkedTitleWidth : titleWidth);
}

void CalendarCell::setFaded(bool faded) {
    m_faded = faded;
    applyAlphas();
}

void CalendarCell::applyAlphas() {
    const double alpha = m_faded ? fadedAlpha : 1.0;
    imageView().setAlpha(alpha);
    m_calendarTitleLabel->setAlpha(alpha);
}

void CalendarCell::layoutSubviews() {
    TableViewCell::layoutSubviews();
    if (isBirthdayCalendar()) {
        imageView().moveFrameX(calendarCellBirthdayImageShift);
    }
}

void CalendarCell::editingChanged(bool animated) {
    TableViewCell::editingChanged(animated);
    if (!editing()) {
        m_calendarTitleLabel->setTextColor(Color(0, 0, 0));
        setSelectionStyle(SelectionStyle::Blue);
        applyAlphas();
        return;
    }
    m_calendarTitleLabel->setAlpha(1.0);
    if (isBirthdayCalendar()) {
        m_calendarTitleLabel->setTextColor(Color(0.5, 0.5, 0.5));
        imageView().setAlpha(calendarCellEditingBirthdayImageAlpha);
        setSelectionStyle(SelectionStyle::None);
    } else {
        m_calendarTitleLabel->setTextColor(Color(0, 0, 0));
        imageView().setAlpha(1.0);
    }
}
