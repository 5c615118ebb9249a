#include "kit/Keyboard.h"

#include "foundation/Localization.h"

#include "kit/GraphicsContext.h"
#include "kit/NotificationCenter.h"
#include "kit/RoundedRectangle.h"
#include "kit/Screen.h"
#include "kit/TextField.h"
#include "kit/Touch.h"
#include "kit/Window.h"

namespace {

const QString letterRows[] = {QStringLiteral("QWERTYUIOP"), QStringLiteral("ASDFGHJKL"),
                              QStringLiteral("ZXCVBNM")};
const QString numberRows[] = {QStringLiteral("1234567890"), QStringLiteral("-/:;()$&@\""),
                              QStringLiteral(".,?!'")};

bool isDarkKey(Keyboard::Key::Kind kind) {
    return kind != Keyboard::Key::Kind::Character && kind != Keyboard::Key::Kind::Space;
}

} // namespace

double Keyboard::heightForLandscape(bool landscape) {
    if (Screen::main().isTablet()) {
        return landscape ? 352.0 : 264.0;
    }
    return landscape ? 162.0 : 216.0;
}

Keyboard::Keyboard() {
    setHidden(true);
}

Rect Keyboard::windowBounds() const {
    if (const Window* window = this->window();
        window != nullptr && static_cast<const View*>(window) != this) {
        return window->bounds();
    }
    return Screen::main().bounds();
}

Rect Keyboard::shownFrame() const {
    const Rect area = windowBounds();
    const Window* window = this->window();
    const double height =
        heightForLandscape(window != nullptr && Window::isLandscapeOrientation(window->orientation()));
    return Rect(area.minX(), area.maxY() - height, area.width(), height);
}

Rect Keyboard::hiddenFrame() const {
    const Rect shown = shownFrame();
    return Rect(shown.minX(), shown.maxY(), shown.width(), shown.height());
}

void Keyboard::post(const QString& name, const Rect& begin, const Rect& end) const {
    NotificationCenter::defaultCenter().postNotification(name, this,
                                                         {{frameBeginUserInfoKey, begin},
                                                          {frameEndUserInfoKey, end},
                                                          {animationDurationUserInfoKey, animationDuration}});
}

void Keyboard::showForField(const std::shared_ptr<TextField>& field) {
    m_field = field;
    m_numbers = false;
    updateShift();
    layoutKeys();
    setNeedsDisplay();
    const Rect up = shownFrame();
    if (m_shown) {
        // Already up for another field: the platform still reports a show, from where it is.
        post(willShowNotification, up, up);
        post(didShowNotification, up, up);
        return;
    }
    m_shown = true;
    const int generation = ++m_generation;
    const Rect down = hiddenFrame();
    post(willShowNotification, down, up);
    View::performWithoutAnimation([&] {
        setHidden(false);
        setFrame(down);
    });
    const std::weak_ptr<View> weakSelf = weak_from_this();
    View::animate(
        animationDuration, 0.0, AnimationCurve::easeInOut, AnimationOptions(), [&] { setFrame(up); },
        [weakSelf, generation, down, up](bool) {
            const auto self = std::static_pointer_cast<Keyboard>(weakSelf.lock());
            if (self && self->m_generation == generation) {
                self->post(didShowNotification, down, up);
            }
        });
}

void Keyboard::hide() {
    if (!m_shown) {
        return;
    }
    m_shown = false;
    m_field.reset();
    m_pressedKey = -1;
    const int generation = ++m_generation;
    const Rect up = shownFrame();
    const Rect down = hiddenFrame();
    post(willHideNotification, up, down);
    const std::weak_ptr<View> weakSelf = weak_from_this();
    View::animate(
        animationDuration, 0.0, AnimationCurve::easeInOut, AnimationOptions(), [&] { setFrame(down); },
        [weakSelf, generation, down, up](bool) {
            const auto self = std::static_pointer_cast<Keyboard>(weakSelf.lock());
            if (self && self->m_generation == generation) {
                self->setHidden(true);
                self->post(didHideNotification, up, down);
            }
        });
}

void Keyboard::fieldDidChange() {
    if (m_shown) {
        updateShift();
        setNeedsDisplay();
    }
}

void Keyboard::windowDidLayout() {
    View::performWithoutAnimation([this] { setFrame(m_shown ? shownFrame() : hiddenFrame()); });
}

void Keyboard::layoutSubviews() {
    layoutKeys();
}

const std::vector<Keyboard::Key>& Keyboard::keys() {
    if (m_keysLaidOutFor != bounds().size()) {
        layoutKeys();
    }
    return m_keys;
}

const Keyboard::Key* Keyboard::keyWithTitle(const QString& title) {
    for (const Key& key : keys()) {
        if (key.title == title) {
            return &key;
        }
    }
    return nullptr;
}

void Keyboard::layoutKeys() {
    m_keys.clear();
    m_keysLaidOutFor = bounds().size();
    const double width = bounds().width();
    const double rowHeight = bounds().height() / 4.0;
    const double pitch = width / 10.0;
    const double gapX = pitch * 0.1;
    const double gapY = rowHeight * 0.12;
    const auto keyRect = [&](double x, int row, double keyWidth) {
        return Rect(x + gapX, row * rowHeight + gapY, keyWidth - 2.0 * gapX, rowHeight - 2.0 * gapY);
    };
    const QString* rows = m_numbers ? numberRows : letterRows;
    for (int row = 0; row < 3; ++row) {
        const QString& characters = rows[row];
        const double count = static_cast<double>(characters.size());
        double x = (width - count * pitch) / 2.0;
        if (row == 2) {
            m_keys.push_back(Key{Key::Kind::Shift,
                                 m_numbers ? QStringLiteral("#+=") : QStringLiteral("shift"),
                                 keyRect(0, row, pitch * 1.4)});
            // The last row's keys spread over the room between shift and delete.
            const double room = width - 2.0 * pitch * 1.5;
            const double keyPitch = std::min(pitch, room / count);
            x = pitch * 1.5 + (room - count * keyPitch) / 2.0;
            for (const QChar character : characters) {
                m_keys.push_back(Key{Key::Kind::Character, QString(character), keyRect(x, row, keyPitch)});
                x += keyPitch;
            }
            m_keys.push_back(Key{Key::Kind::Backspace, QStringLiteral("delete"),
                                 keyRect(width - pitch * 1.4, row, pitch * 1.4)});
            continue;
        }
        for (const QChar character : characters) {
            m_keys.push_back(Key{Key::Kind::Character, QString(character), keyRect(x, row, pitch)});
            x += pitch;
        }
    }
    const auto field = m_field.lock();
    const QString returnTitle =
        TextField::returnKeyTitle(field ? field->returnKeyType() : TextField::ReturnKeyType::Default);
    m_keys.push_back(Key{Key::Kind::Numbers, m_numbers ? QStringLiteral("ABC") : QStringLiteral(".?123"),
                         keyRect(0, 3, pitch * 2.5)});
    m_keys.push_back(Key{Key::Kind::Space, localizedString(QStringLiteral("space")),
                         keyRect(pitch * 2.5, 3, pitch * 5.0)});
    m_keys.push_back(Key{Key::Kind::Return, returnTitle, keyRect(pitch * 7.5, 3, pitch * 2.5)});
}

void Keyboard::updateShift() {
    const auto field = m_field.lock();
    m_shifted = field && field->wantsCapitalLetter();
}

void Keyboard::pressKey(const Key& key) {
    const auto field = m_field.lock();
    if (!field) {
        return;
    }
    switch (key.kind) {
    case Key::Kind::Character:
        field->insertText(m_shifted || m_numbers ? key.title : key.title.toLower());
        updateShift();
        break;
    case Key::Kind::Space:
        field->insertText(QStringLiteral(" "));
        updateShift();
        break;
    case Key::Kind::Backspace:
        field->deleteBackward();
        updateShift();
        break;
    case Key::Kind::Shift:
        if (!m_numbers) {
            m_shifted = !m_shifted;
        }
        break;
    case Key::Kind::Numbers:
        m_numbers = !m_numbers;
        layoutKeys();
        break;
    case Key::Kind::Return:
        field->returnKeyPressed();
        break;
    }
    setNeedsDisplay();
}

int Keyboard::keyIndexAt(Point point) {
    const std::vector<Key>& all = keys();
    const double rowHeight = bounds().height() / 4.0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        // The gaps between keys belong to the nearest key: each key reaches over half of them.
        const Rect area = all[i].frame.inset(-bounds().width() / 100.0, -rowHeight * 0.12);
        if (area.contains(point)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void Keyboard::touchesBegan(const TouchSet& touches, const TouchEvent&) {
    m_pressedKey = keyIndexAt((*touches.begin())->locationInView(this));
    setNeedsDisplay();
}

void Keyboard::touchesMoved(const TouchSet& touches, const TouchEvent&) {
    const int index = keyIndexAt((*touches.begin())->locationInView(this));
    if (index != m_pressedKey) {
        m_pressedKey = index;
        setNeedsDisplay();
    }
}

void Keyboard::touchesEnded(const TouchSet& touches, const TouchEvent&) {
    const int index = keyIndexAt((*touches.begin())->locationInView(this));
    m_pressedKey = -1;
    setNeedsDisplay();
    if (index >= 0) {
        const Key key = keys()[static_cast<std::size_t>(index)];
        pressKey(key);
    }
}

void Keyboard::touchesCancelled(const TouchSet&, const TouchEvent&) {
    m_pressedKey = -1;
    setNeedsDisplay();
}

void Keyboard::drawKey(GraphicsContext& context, const Key& key, bool pressed) const {
    const auto field = m_field.lock();
    const bool dark = isDarkKey(key.kind);
    const bool blueReturn = key.kind == Key::Kind::Return && field &&
                            field->returnKeyType() != TextField::ReturnKeyType::Default &&
                            field->isReturnKeyEnabled();
    const bool shiftOn = key.kind == Key::Kind::Shift && m_shifted && !m_numbers;
    Color top = dark ? Color(0.55, 0.58, 0.64) : Color(0.99, 0.99, 0.99);
    Color bottom = dark ? Color(0.42, 0.45, 0.52) : Color(0.86, 0.86, 0.88);
    if (blueReturn) {
        top = Color(0.3, 0.52, 0.95);
        bottom = Color(0.12, 0.35, 0.85);
    }
    if (pressed || shiftOn) {
        top = dark ? Color(0.96, 0.96, 0.97) : Color(0.7, 0.72, 0.76);
        bottom = dark ? Color(0.84, 0.85, 0.88) : Color(0.6, 0.62, 0.66);
    }
    context.saveGState();
    context.setShadow(Size(0, 1), 1, Color(0, 0, 0, 0.55));
    RoundedRectangle(key.frame, 5).drawRoundedRectPath(context);
    context.setFillColor(bottom);
    context.fillPath();
    context.restoreGState();
    context.saveGState();
    RoundedRectangle(key.frame, 5).drawRoundedRectPath(context);
    context.clip();
    context.drawLinearGradient({{0.0, top}, {1.0, bottom}}, Point(0, key.frame.minY()),
                               Point(0, key.frame.maxY()));
    context.restoreGState();

    QString title = key.title;
    Font font = Font::systemFontOfSize(key.frame.height() * 0.55);
    Color color = Color(0, 0, 0);
    if (key.kind == Key::Kind::Shift && !m_numbers) {
        title = QString(QChar(0x21E7));
    } else if (key.kind == Key::Kind::Backspace) {
        title = QString(QChar(0x232B));
    }
    if (key.kind != Key::Kind::Character) {
        font = Font::boldSystemFontOfSize(key.kind == Key::Kind::Shift || key.kind == Key::Kind::Backspace
                                              ? key.frame.height() * 0.5
                                              : std::min(16.0, key.frame.height() * 0.4));
        color = dark && !(pressed || shiftOn) ? Color(1, 1, 1) : Color(0.25, 0.25, 0.25);
        if (key.kind == Key::Kind::Return && field && !field->isReturnKeyEnabled()) {
            color = Color(0.7, 0.72, 0.76);
        }
    }
    const double lineHeight = font.lineHeight();
    context.setFillColor(color);
    context.drawTextInRect(
        title, Rect(key.frame.x(), key.frame.midY() - lineHeight / 2.0, key.frame.width(), lineHeight), font,
        LineBreakMode::Clip, TextAlignment::Center);
}

void Keyboard::drawRect(GraphicsContext& context, const Rect&) {
    const Rect area = bounds();
    context.saveGState();
    context.clipToRect(area);
    context.drawLinearGradient({{0.0, Color(0.56, 0.58, 0.63)}, {1.0, Color(0.35, 0.37, 0.43)}},
                               Point(0, area.minY()), Point(0, area.maxY()));
    context.restoreGState();
    context.setFillColor(Color(0.2, 0.2, 0.24));
    context.fillRect(Rect(area.x(), area.y(), area.width(), 1));
    const std::vector<Key>& all = keys();
    for (std::size_t i = 0; i < all.size(); ++i) {
        drawKey(context, all[i], static_cast<int>(i) == m_pressedKey);
    }
}
