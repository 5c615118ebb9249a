#include "kit/BarButtonItem.h"

#include "kit/BarButtonView.h"

#include "foundation/Localization.h"

namespace {

QString systemTitle(BarButtonItem::SystemItem item) {
    switch (item) {
    case BarButtonItem::SystemItem::Done:
        return localizedString(QStringLiteral("Done"));
    case BarButtonItem::SystemItem::Cancel:
        return localizedString(QStringLiteral("Cancel"));
    case BarButtonItem::SystemItem::Edit:
        return localizedString(QStringLiteral("Edit"));
    case BarButtonItem::SystemItem::Save:
        return localizedString(QStringLiteral("Save"));
    case BarButtonItem::SystemItem::Add:
    case BarButtonItem::SystemItem::FlexibleSpace:
    case BarButtonItem::SystemItem::FixedSpace:
        break;
    }
    return {};
}

BarButtonItem::Style systemStyle(BarButtonItem::SystemItem item) {
    return item == BarButtonItem::SystemItem::Done || item == BarButtonItem::SystemItem::Save
               ? BarButtonItem::Style::Done
               : BarButtonItem::Style::Bordered;
}

} // namespace

BarButtonItem::BarButtonItem(const QString& title, Style style, std::function<void()> action)
    : onAction(std::move(action)), m_title(title), m_style(style) {}

BarButtonItem::BarButtonItem(const Image& image, Style style, std::function<void()> action)
    : onAction(std::move(action)), m_image(image), m_style(style) {}

BarButtonItem::BarButtonItem(SystemItem systemItem, std::function<void()> action)
    : onAction(std::move(action)), m_title(systemTitle(systemItem)), m_style(systemStyle(systemItem)),
      m_systemItem(systemItem) {}

BarButtonItem::BarButtonItem(std::shared_ptr<View> customView)
    : m_style(Style::Plain), m_customView(std::move(customView)) {}

BarButtonItem::~BarButtonItem() = default;

void BarButtonItem::setTitle(const QString& title) {
    m_title = title;
    update();
}

void BarButtonItem::setImage(std::optional<Image> image) {
    m_image = std::move(image);
    update();
}

void BarButtonItem::setStyle(Style style) {
    m_style = style;
    update();
}

bool BarButtonItem::isSpace() const {
    return m_systemItem == SystemItem::FlexibleSpace || m_systemItem == SystemItem::FixedSpace;
}

void BarButtonItem::setWidth(double width) {
    m_width = width;
}

void BarButtonItem::setCustomView(std::shared_ptr<View> customView) {
    m_customView = std::move(customView);
}

void BarButtonItem::setEnabled(bool enabled) {
    m_enabled = enabled;
    if (m_customView) {
        m_customView->setUserInteractionEnabled(enabled);
    }
    update();
}

void BarButtonItem::setTintColor(std::optional<Color> color) {
    m_tintColor = color;
    update();
}

std::shared_ptr<View> BarButtonItem::view() {
    if (m_customView) {
        return m_customView;
    }
    if (!m_buttonView) {
        m_buttonView = std::make_shared<BarButtonView>();
        // The button outlives no item, yet it must not keep its item alive through its action.
        std::weak_ptr<BarButtonItem> weakSelf = weak_from_this();
        m_buttonView->onTap = [weakSelf] {
            if (const auto self = weakSelf.lock(); self && self->m_enabled && self->onAction) {
                self->onAction();
            }
        };
        update();
    }
    return m_buttonView;
}

void BarButtonItem::update() {
    if (!m_buttonView) {
        return;
    }
    m_buttonView->setKind(m_style == Style::Done ? BarButtonView::Kind::Done : BarButtonView::Kind::Bordered);
    m_buttonView->setTitle(m_title);
    m_buttonView->setImage(m_image);
    m_buttonView->setShowsAddSign(m_systemItem == SystemItem::Add);
    m_buttonView->setEnabled(m_enabled);
    if (m_tintColor) {
        m_buttonView->setTintColor(*m_tintColor);
    }
    const Rect frame = m_buttonView->frame();
    m_buttonView->sizeToFit();
    // A change of width moves the neighbours, so the bar lays out again.
    if (m_buttonView->frame() != frame) {
        if (const auto bar = m_buttonView->superview()) {
            bar->setNeedsLayout();
            if (const auto outer = bar->superview()) {
                outer->setNeedsLayout();
            }
        }
    }
}
