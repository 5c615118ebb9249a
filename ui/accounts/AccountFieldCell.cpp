#include "ui/accounts/AccountFieldCell.h"

#include "kit/Font.h"
#include "kit/Label.h"
#include "kit/TextField.h"

namespace {
constexpr double accountFieldInset = 10.0;
} // namespace

AccountFieldCell::AccountFieldCell(const QString& name)
    : TableViewCell(Style::Default), m_textField(std::make_shared<TextField>()) {
    setSelectionStyle(SelectionStyle::None);
    textLabel().setText(name);
    textLabel().setFont(Font::boldSystemFontOfSize(15));
    textLabel().setAdjustsFontSizeToFitWidth(true);
    m_textField->setBorderStyle(TextField::BorderStyle::None);
    m_textField->setFont(Font::systemFontOfSize(17));
    m_textField->setTextColor(Color::fromRgb255(51, 80, 132));
    m_textField->setContentVerticalAlignment(TextField::VerticalAlignment::Center);
    m_textField->setClearButtonMode(TextField::ViewMode::WhileEditing);
    m_textField->setAutocapitalizationType(TextField::AutocapitalizationType::None);
    m_textField->setAutocorrectionType(TextField::AutocorrectionType::No);
    contentView().addSubview(m_textField);
}

void AccountFieldCell::layoutSubviews() {
    TableViewCell::layoutSubviews();
    const Rect content = contentView().bounds();
    textLabel().setFrame(Rect(accountFieldInset, 0, nameWidth - accountFieldInset, content.height()));
    m_textField->setFrame(
        Rect(nameWidth, 0, content.width() - nameWidth - accountFieldInset, content.height()));
}
