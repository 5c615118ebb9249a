#include "kit/TableViewCell.h"

#include "foundation/Localization.h"
#include "kit/Button.h"
#include "kit/GraphicsContext.h"
#include "kit/ImageView.h"
#include "kit/Label.h"
#include "kit/RoundedRectangle.h"
#include "kit/Screen.h"
#include "kit/StringDrawing.h"
#include "kit/TableViewCellEditingControl.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

constexpr double sideInset = 10.0;
constexpr double fadeDuration = 0.3;
constexpr double deleteButtonWidth = 64.0;
constexpr double deleteButtonHeight = 31.0;

Font defaultTitleFont(bool grouped) {
    return Font::boldSystemFontOfSize(grouped ? 17 : 20);
}

Image deleteButtonBackground() {
    const Size size(deleteButtonWidth, deleteButtonHeight);
    return Image::draw(size, Screen::main().scale(),
                       [size](GraphicsContext& context) {
                           const Rect shape(0.5, 0.5, size.width() - 1, size.height() - 1.5);
                           context.saveGState();
                           context.setShadow({0, 1}, 0, Color(1, 1, 1, 0.6));
                           context.beginPath();
                           RoundedRectangle(shape, 6).drawRoundedRectPath(context);
                           context.setFillColor(Color::fromRgb255(140, 10, 10));
                           context.fillPath();
                           context.restoreGState();
                           context.saveGState();
                           context.beginPath();
                           RoundedRectangle(Rect(1.5, 1.5, shape.width() - 2, shape.height() - 2), 5)
                               .drawRoundedRectPath(context);
                           context.clip();
                           context.drawLinearGradient({{0.0, Color::fromRgb255(232, 120, 120)},
                                                       {0.5, Color::fromRgb255(206, 40, 40)},
                                                       {0.51, Color::fromRgb255(190, 12, 12)},
                                                       {1.0, Color::fromRgb255(200, 24, 24)}},
                                                      {0, 0}, {0, size.height()});
                           context.restoreGState();
                       })
        .stretchableImage(8, 0);
}

} // namespace

TableViewCell::TableViewCell(Style style, const QString& reuseIdentifier)
    : m_style(style), m_reuseIdentifier(reuseIdentifier), m_contentView(std::make_shared<View>()),
      m_textLabel(std::make_shared<Label>()), m_detailTextLabel(std::make_shared<Label>()),
      m_imageView(std::make_shared<ImageView>()),
      m_standardBackground(
          std::make_shared<TableViewCellBackgroundView>(false, TableViewCellBackgroundView::Fill::White)),
      m_standardSelectedBackground(
          std::make_shared<TableViewCellBackgroundView>(false, TableViewCellBackgroundView::Fill::Blue)),
      m_separator(std::make_shared<View>()) {
    m_backgroundView = m_standardBackground;
    m_selectedBackgroundView = m_standardSelectedBackground;
    m_selectedBackgroundView->setHidden(true);
    m_separator->setUserInteractionEnabled(false);
    m_separator->setBackgroundColor(Color::fromRgb255(224, 224, 224));
    // The row's name says what they show.
    m_textLabel->setAccessibilityElementsHidden(true);
    m_detailTextLabel->setAccessibilityElementsHidden(true);

    m_textLabel->setHighlightedTextColor(Color(1, 1, 1));
    m_detailTextLabel->setHighlightedTextColor(Color(1, 1, 1));
    switch (style) {
    case Style::Default:
        m_textLabel->setFont(defaultTitleFont(false));
        break;
    case Style::Value1:
        m_textLabel->setFont(Font::boldSystemFontOfSize(17));
        m_detailTextLabel->setFont(Font::systemFontOfSize(17));
        m_detailTextLabel->setTextColor(value1DetailColor());
        m_detailTextLabel->setTextAlignment(TextAlignment::Right);
        break;
    case Style::Value2:
        m_textLabel->setFont(Font::boldSystemFontOfSize(12));
        m_textLabel->setTextColor(Color::fromRgb255(82, 102, 145));
        m_textLabel->setTextAlignment(TextAlignment::Right);
        m_detailTextLabel->setFont(Font::boldSystemFontOfSize(15));
        break;
    case Style::Subtitle:
        m_textLabel->setFont(Font::boldSystemFontOfSize(18));
        m_detailTextLabel->setFont(Font::systemFontOfSize(14));
        m_detailTextLabel->setTextColor(Color::fromRgb255(128, 128, 128));
        break;
    }
    m_contentView->addSubview(m_imageView);
    m_contentView->addSubview(m_textLabel);
    m_contentView->addSubview(m_detailTextLabel);
}

TableViewCell::~TableViewCell() = default;

View& TableViewCell::contentView() {
    attachParts();
    return *m_contentView;
}

Label& TableViewCell::textLabel() {
    attachParts();
    setNeedsLayout();
    return *m_textLabel;
}

Label& TableViewCell::detailTextLabel() {
    attachParts();
    setNeedsLayout();
    return *m_detailTextLabel;
}

ImageView& TableViewCell::imageView() {
    attachParts();
    setNeedsLayout();
    return *m_imageView;
}

void TableViewCell::attachParts() {
    if (m_contentView->superview().get() == this || weak_from_this().expired()) {
        return;
    }
    insertSubview(m_backgroundView, 0);
    insertSubview(m_selectedBackgroundView, 1);
    addSubview(m_contentView);
    addSubview(m_separator);
    setNeedsLayout();
}

void TableViewCell::setAccessoryType(AccessoryType type) {
    m_accessoryType = type;
    updateAccessory();
}

void TableViewCell::setEditingAccessoryType(AccessoryType type) {
    m_editingAccessoryType = type;
    updateAccessory();
}

void TableViewCell::setAccessoryView(std::shared_ptr<View> view) {
    if (m_accessoryView && m_accessoryView->superview().get() == this) {
        m_accessoryView->removeFromSuperview();
    }
    m_accessoryView = std::move(view);
    updateAccessory();
}

void TableViewCell::setSelectionStyle(SelectionStyle style) {
    m_selectionStyle = style;
    m_standardSelectedBackground->setFill(style == SelectionStyle::Gray
                                              ? TableViewCellBackgroundView::Fill::Gray
                                              : TableViewCellBackgroundView::Fill::Blue);
    updateSelectionAppearance(false);
}

void TableViewCell::setSelected(bool selected, bool animated) {
    m_selected = selected;
    updateSelectionAppearance(animated);
    selectionChanged(animated);
}

void TableViewCell::setHighlighted(bool highlighted, bool animated) {
    m_highlighted = highlighted;
    updateSelectionAppearance(animated);
    selectionChanged(animated);
}

bool TableViewCell::showsSelection() const {
    return (m_selected || m_highlighted) && m_selectionStyle != SelectionStyle::None;
}

std::shared_ptr<View> TableViewCell::backgroundView() const {
    return m_backgroundView;
}

void TableViewCell::setBackgroundView(std::shared_ptr<View> view) {
    if (!view) {
        view = m_standardBackground;
    }
    if (m_backgroundView->superview().get() == this) {
        m_backgroundView->removeFromSuperview();
        insertSubview(view, 0);
    }
    m_backgroundView = std::move(view);
    setNeedsLayout();
}

std::shared_ptr<View> TableViewCell::selectedBackgroundView() const {
    return m_selectedBackgroundView;
}

void TableViewCell::setSelectedBackgroundView(std::shared_ptr<View> view) {
    if (!view) {
        view = m_standardSelectedBackground;
    }
    if (m_selectedBackgroundView->superview().get() == this) {
        m_selectedBackgroundView->removeFromSuperview();
        insertSubviewAbove(view, *m_backgroundView);
    }
    m_selectedBackgroundView = std::move(view);
    updateSelectionAppearance(false);
    setNeedsLayout();
}

void TableViewCell::setEditing(bool editing, bool animated) {
    if (!editing) {
        setShowingDeleteConfirmation(false, false);
    }
    m_editing = editing;
    updateEditingControl();
    updateAccessory();
    if (animated) {
        View::animate(fadeDuration, [this] {
            setNeedsLayout();
            layoutIfNeeded();
        });
    } else {
        setNeedsLayout();
    }
    editingChanged(animated);
}

void TableViewCell::setShouldIndentWhileEditing(bool indent) {
    m_shouldIndentWhileEditing = indent;
    setNeedsLayout();
}

void TableViewCell::prepareForReuse() {
    m_highlighted = false;
    m_selected = false;
    updateSelectionAppearance(false);
    setShowingDeleteConfirmation(false, false);
    removeAllAnimations();
    setAlpha(1.0);
}

void TableViewCell::selectionChanged(bool /*animated*/) {}

void TableViewCell::editingChanged(bool /*animated*/) {}

void TableViewCell::applyHighlight(View& view, bool highlighted) {
    for (const std::shared_ptr<View>& subview : view.subviews()) {
        if (auto* label = dynamic_cast<Label*>(subview.get())) {
            label->setHighlighted(highlighted);
        } else if (auto* image = dynamic_cast<ImageView*>(subview.get())) {
            image->setHighlighted(highlighted);
        }
        applyHighlight(*subview, highlighted);
    }
}

void TableViewCell::updateSelectionAppearance(bool animated) {
    attachParts();
    const bool show = showsSelection();
    const std::shared_ptr<View> selection = m_selectedBackgroundView;
    applyHighlight(*m_contentView, show);
    if (m_standardAccessory) {
        if (auto* image = dynamic_cast<ImageView*>(m_standardAccessory.get())) {
            image->setHighlighted(show);
        }
    }
    if (show) {
        selection->setHidden(false);
        selection->setAlpha(1.0);
        return;
    }
    if (animated && !selection->hidden()) {
        const std::weak_ptr<View> weakSelf = weak_from_this();
        View::animate(
            fadeDuration, [selection] { selection->setAlpha(0.0); },
            [weakSelf, selection](bool finished) {
                const auto self = std::static_pointer_cast<TableViewCell>(weakSelf.lock());
                if (finished && (!self || !self->showsSelection())) {
                    selection->setHidden(true);
                }
            });
    } else {
        selection->setHidden(true);
        selection->setAlpha(0.0);
    }
}

void TableViewCell::updateAccessory() {
    const AccessoryType type = m_editing ? m_editingAccessoryType : m_accessoryType;
    if (type != m_standardAccessoryShown || (m_accessoryView && m_standardAccessory)) {
        if (m_standardAccessory) {
            m_standardAccessory->removeFromSuperview();
            m_standardAccessory.reset();
        }
        m_standardAccessoryShown = AccessoryType::None;
        if (!m_accessoryView || m_editing) {
            m_standardAccessoryShown = type;
            switch (type) {
            case AccessoryType::None:
                break;
            case AccessoryType::Checkmark:
                m_standardAccessory =
                    std::make_shared<ImageView>(checkmarkImage(false), checkmarkImage(true));
                break;
            case AccessoryType::DisclosureIndicator:
                m_standardAccessory = std::make_shared<ImageView>(disclosureIndicatorImage(false),
                                                                  disclosureIndicatorImage(true));
                break;
            case AccessoryType::DetailDisclosureButton: {
                auto button = std::make_shared<Button>(Rect({0, 0}, detailDisclosureButtonImage().size()));
                button->setImage(detailDisclosureButtonImage());
                button->onTouchUpInside = reportToRow(button, &TableViewCell::m_onAccessoryButtonTapped);
                m_standardAccessory = button;
                break;
            }
            }
        }
    }
    attachParts();
    if (!weak_from_this().expired()) {
        const std::shared_ptr<View> shown =
            (m_accessoryView && !m_editing) ? m_accessoryView : m_standardAccessory;
        if (m_accessoryView && m_accessoryView != shown && m_accessoryView->superview().get() == this) {
            m_accessoryView->removeFromSuperview();
        }
        if (shown && shown->superview().get() != this) {
            insertSubviewAbove(shown, *m_contentView);
        }
    }
    updateSelectionAppearance(false);
    setNeedsLayout();
}

void TableViewCell::updateEditingControl() {
    const bool wanted = m_editing && m_editingStyle != EditingStyle::None;
    if (!wanted) {
        if (m_editingControl) {
            m_editingControl->removeFromSuperview();
            m_editingControl.reset();
        }
        return;
    }
    if (!m_editingControl) {
        m_editingControl =
            std::make_shared<TableViewCellEditingControl>(m_editingStyle == EditingStyle::Insert);
        m_editingControl->setFrame(
            {-TableViewCellEditingControl::width, 0, TableViewCellEditingControl::width, bounds().height()});
        m_editingControl->onTapped = reportToRow(m_editingControl, &TableViewCell::m_onEditingControlTapped);
    }
    m_editingControl->setInsert(m_editingStyle == EditingStyle::Insert);
    attachParts();
    if (!weak_from_this().expired() && m_editingControl->superview().get() != this) {
        insertSubviewAbove(m_editingControl, *m_contentView);
    }
}

void TableViewCell::setShowingDeleteConfirmation(bool showing, bool animated) {
    if (showing == m_showingDeleteConfirmation) {
        return;
    }
    m_showingDeleteConfirmation = showing;
    if (m_editingControl) {
        m_editingControl->setConfirming(showing);
    }
    if (showing) {
        if (!m_deleteButton) {
            m_deleteButton = std::make_shared<Button>(Rect(0, 0, deleteButtonWidth, deleteButtonHeight));
            m_deleteButton->setBackgroundImage(deleteButtonBackground());
            m_deleteButton->setTitle(localizedString(QStringLiteral("Delete")));
            m_deleteButton->setTitleColor(Color(1, 1, 1));
            m_deleteButton->setTitleShadowColor(Color(0, 0, 0, 0.5));
            m_deleteButton->titleLabel().setFont(Font::boldSystemFontOfSize(16));
            m_deleteButton->titleLabel().setShadowOffset({0, -1});
            m_deleteButton->onTouchUpInside =
                reportToRow(m_deleteButton, &TableViewCell::m_onDeleteConfirmed);
        }
        attachParts();
        if (!weak_from_this().expired()) {
            addSubview(m_deleteButton);
        }
        m_deleteButton->setAlpha(animated ? 0.0 : 1.0);
        setNeedsLayout();
        layoutIfNeeded();
        if (animated) {
            const std::shared_ptr<Button> button = m_deleteButton;
            View::animate(fadeDuration, [button] { button->setAlpha(1.0); });
        }
    } else if (m_deleteButton) {
        m_deleteButton->removeFromSuperview();
        setNeedsLayout();
    }
}

std::function<void()> TableViewCell::reportToRow(const std::shared_ptr<View>& part, Report report) {
    return [weakPart = std::weak_ptr<View>(part), report] {
        const std::shared_ptr<View> shown = weakPart.lock();
        const auto row = std::dynamic_pointer_cast<TableViewCell>(shown ? shown->superview() : nullptr);
        if (row && (*row).*report) {
            ((*row).*report)(*row);
        }
    };
}

void TableViewCell::configureForTable(bool grouped, TableViewCellBackgroundView::Position position,
                                      bool separator, const Color& separatorColor,
                                      EditingStyle editingStyle) {
    if (m_style == Style::Default && grouped != m_grouped &&
        m_textLabel->font() == defaultTitleFont(m_grouped)) {
        m_textLabel->setFont(defaultTitleFont(grouped));
    }
    m_grouped = grouped;
    m_position = position;
    m_separatorShown = separator && !grouped;
    for (TableViewCellBackgroundView* background :
         {m_standardBackground.get(), m_standardSelectedBackground.get()}) {
        background->setGrouped(grouped);
        background->setPosition(position);
        background->setSeparatorColor(separatorColor);
    }
    m_separator->setBackgroundColor(separatorColor);
    if (editingStyle != m_editingStyle) {
        m_editingStyle = editingStyle;
        updateEditingControl();
    }
    setNeedsLayout();
}

void TableViewCell::layoutSubviews() {
    attachParts();
    const Rect area = bounds();
    const double width = area.width();
    const double height = area.height();
    m_backgroundView->setFrame(area);
    m_selectedBackgroundView->setFrame(area);

    const bool indent = m_editing && m_shouldIndentWhileEditing;
    const double left = indent ? TableViewCellEditingControl::width : 0.0;
    if (m_editingControl) {
        m_editingControl->setFrame({0, 0, TableViewCellEditingControl::width, height});
        m_editingControl->setAlpha(1.0);
    }

    double right = width;
    const std::shared_ptr<View> accessory =
        (m_accessoryView && !m_editing) ? m_accessoryView : m_standardAccessory;
    if (m_showingDeleteConfirmation && m_deleteButton) {
        m_deleteButton->setFrame({width - sideInset - deleteButtonWidth,
                                  std::round((height - deleteButtonHeight) / 2), deleteButtonWidth,
                                  deleteButtonHeight});
        right = m_deleteButton->frame().x() - 4;
        if (accessory) {
            accessory->setHidden(true);
        }
    } else if (accessory) {
        const Size size = accessory->frame().size();
        const double x = width - sideInset - size.width() +
                         (m_standardAccessoryShown == AccessoryType::DetailDisclosureButton ? 4 : 0);
        accessory->setHidden(false);
        accessory->setFrame({x, std::round((height - size.height()) / 2), size.width(), size.height()});
        right = x;
    }
    m_contentView->setFrame({left, 0, std::max(0.0, right - left), height});

    const double pixel = 1.0 / Screen::main().scale();
    m_separator->setHidden(!m_separatorShown);
    m_separator->setFrame({0, height - pixel, width, pixel});
    bringSubviewToFront(*m_separator);

    layoutStandardContent(m_contentView->bounds());
}

void TableViewCell::layoutStandardContent(const Rect& content) {
    const double width = content.width();
    const double height = content.height();
    const Image& image = m_imageView->image();
    m_imageView->setHidden(image.isNull());
    double textX = sideInset;
    if (!image.isNull()) {
        const Size size = image.size();
        m_imageView->setFrame(
            {sideInset, std::round((height - size.height()) / 2), size.width(), size.height()});
        textX = sideInset + size.width() + sideInset;
    }
    m_textLabel->setHidden(m_textLabel->text().isEmpty());
    m_detailTextLabel->setHidden(m_style == Style::Default || m_detailTextLabel->text().isEmpty());
    const double available = std::max(0.0, width - textX - sideInset);
    switch (m_style) {
    case Style::Default:
        m_textLabel->setFrame({textX, 0, available, height});
        break;
    case Style::Value1: {
        const double detailWidth = std::min(
            StringDrawing::sizeWithFont(m_detailTextLabel->text(), m_detailTextLabel->font()).width(),
            available);
        const double detailX = width - sideInset - detailWidth;
        const double titleWidth =
            m_detailTextLabel->text().isEmpty() ? available : std::max(0.0, detailX - 6 - textX);
        m_textLabel->setFrame({textX, 0, titleWidth, height});
        m_detailTextLabel->setFrame({detailX, 0, detailWidth, height});
        break;
    }
    case Style::Value2:
        m_textLabel->setFrame({sideInset, 0, 67, height});
        m_detailTextLabel->setFrame({83, 0, std::max(0.0, width - 83 - sideInset), height});
        break;
    case Style::Subtitle: {
        const double titleHeight = std::ceil(m_textLabel->font().lineHeight());
        const double detailHeight =
            m_detailTextLabel->text().isEmpty() ? 0.0 : std::ceil(m_detailTextLabel->font().lineHeight());
        const double top = std::round((height - titleHeight - detailHeight) / 2);
        m_textLabel->setFrame({textX, top, available, titleHeight});
        m_detailTextLabel->setFrame({textX, top + titleHeight, available, detailHeight});
        break;
    }
    }
}

Image TableViewCell::checkmarkImage(bool highlighted) {
    return Image::draw(Size(14, 14), Screen::main().scale(), [highlighted](GraphicsContext& context) {
        context.setStrokeColor(highlighted ? Color(1, 1, 1) : checkmarkColor());
        context.setLineWidth(2.6);
        context.beginPath();
        context.moveTo({1.5, 7.5});
        context.addLineTo({5.0, 11.5});
        context.addLineTo({12.8, 1.5});
        context.strokePath();
    });
}

Image TableViewCell::disclosureIndicatorImage(bool highlighted) {
    return Image::draw(Size(10, 14), Screen::main().scale(), [highlighted](GraphicsContext& context) {
        context.setStrokeColor(highlighted ? Color(1, 1, 1) : Color::fromRgb255(128, 128, 128));
        context.setLineWidth(3.0);
        context.beginPath();
        context.moveTo({2.0, 1.8});
        context.addLineTo({7.5, 7.0});
        context.addLineTo({2.0, 12.2});
        context.strokePath();
    });
}

Image TableViewCell::detailDisclosureButtonImage() {
    return Image::draw(Size(29, 31), Screen::main().scale(), [](GraphicsContext& context) {
        const Rect disc(3, 3, 23, 23);
        context.saveGState();
        context.setShadow({0, 1}, 2, Color(0, 0, 0, 0.5));
        context.setFillColor(Color(1, 1, 1));
        context.beginPath();
        context.addEllipseInRect(disc);
        context.fillPath();
        context.restoreGState();
        context.saveGState();
        context.beginPath();
        context.addEllipseInRect({disc.x() + 2, disc.y() + 2, disc.width() - 4, disc.height() - 4});
        context.clip();
        context.drawLinearGradient(
            {{0.0, Color::fromRgb255(80, 150, 240)}, {1.0, Color::fromRgb255(20, 80, 200)}}, {0, disc.minY()},
            {0, disc.maxY()});
        context.restoreGState();
        context.setStrokeColor(Color(1, 1, 1));
        context.setLineWidth(2.6);
        context.beginPath();
        context.moveTo({12.5, 9.5});
        context.addLineTo({17.0, 14.5});
        context.addLineTo({12.5, 19.5});
        context.strokePath();
    });
}

AccessibilityDescription TableViewCell::describeAccessibility() const {
    AccessibilityDescription description;
    description.role = AccessibilityRole::Row;
    // The standard texts are read as the row's name; anything else inside stays an element.
    QStringList texts;
    for (const Label* label : {m_textLabel.get(), m_detailTextLabel.get()}) {
        if (label->superview() && !label->hidden() && !label->text().trimmed().isEmpty()) {
            texts << label->text().simplified();
        }
    }
    description.label = texts.join(QStringLiteral(", "));
    description.selected = m_selected;
    return description;
}
