#include "kit/TextField.h"

#include "foundation/Localization.h"

#include "kit/GraphicsContext.h"
#include "kit/KeyInput.h"
#include "kit/Keyboard.h"
#include "kit/MenuController.h"
#include "kit/RoundedRectangle.h"
#include "kit/TextFieldDelegate.h"
#include "kit/TextLayout.h"
#include "kit/Touch.h"
#include "kit/TouchEvent.h"
#include "kit/Window.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <cmath>

namespace {

constexpr Color placeholderColor(0.7, 0.7, 0.7);
constexpr Color selectionColor(0.8, 0.87, 0.97);
constexpr Color cursorColor(0.26, 0.42, 0.95);

int length(const QString& text) {
    return static_cast<int>(text.size());
}

// Horizontal and vertical room between the border and the text, per border style.
Size textInset(TextField::BorderStyle style) {
    switch (style) {
    case TextField::BorderStyle::None:
        return Size(0, 0);
    case TextField::BorderStyle::Line:
    case TextField::BorderStyle::Bezel:
        return Size(3, 3);
    case TextField::BorderStyle::RoundedRect:
        return Size(8, 4);
    }
    return Size(0, 0);
}

} // namespace

TextField::TextField() : TextField(Rect(0, 0, 0, 0)) {}

TextField::TextField(const Rect& frame) : Control(frame), m_lineEdit(std::make_unique<QLineEdit>()) {
    m_lineEdit->setFont(m_font.qFont());
    m_lineEdit->setFrame(false);
}

TextField::~TextField() = default;

QString TextField::text() const {
    if (m_textBeforeChange) {
        return m_textBeforeChange->text;
    }
    return m_lineEdit->text();
}

void TextField::setText(const QString& text) {
    if (text == m_lineEdit->text()) {
        return;
    }
    m_lineEdit->setText(text);
    m_scrollX = 0.0;
    setNeedsLayout();
    setNeedsDisplay();
}

void TextField::setPlaceholder(const QString& placeholder) {
    m_placeholder = placeholder;
    setNeedsDisplay();
}

void TextField::setFont(const Font& font) {
    m_font = font;
    m_lineEdit->setFont(font.qFont());
    setNeedsDisplay();
}

void TextField::setTextColor(const Color& color) {
    m_textColor = color;
    setNeedsDisplay();
}

void TextField::setTextAlignment(TextAlignment alignment) {
    m_textAlignment = alignment;
    setNeedsDisplay();
}

void TextField::setContentVerticalAlignment(VerticalAlignment alignment) {
    m_contentVerticalAlignment = alignment;
    setNeedsDisplay();
}

void TextField::setBorderStyle(BorderStyle style) {
    m_borderStyle = style;
    setNeedsLayout();
    setNeedsDisplay();
}

void TextField::setBackground(const Image& image) {
    m_background = image;
    setNeedsDisplay();
}

void TextField::setClearButtonMode(ViewMode mode) {
    m_clearButtonMode = mode;
    setNeedsLayout();
    setNeedsDisplay();
}

bool TextField::isViewModeActive(ViewMode mode) const {
    switch (mode) {
    case ViewMode::Never:
        return false;
    case ViewMode::WhileEditing:
        return m_editing;
    case ViewMode::UnlessEditing:
        return !m_editing;
    case ViewMode::Always:
        return true;
    }
    return false;
}

bool TextField::isClearButtonVisible() const {
    return isViewModeActive(m_clearButtonMode) && !text().isEmpty();
}

void TextField::setLeftView(std::shared_ptr<View> view) {
    if (m_leftView) {
        m_leftView->removeFromSuperview();
    }
    m_leftView = std::move(view);
    if (m_leftView) {
        addSubview(m_leftView);
    }
    setNeedsLayout();
    setNeedsDisplay();
}

void TextField::setLeftViewMode(ViewMode mode) {
    m_leftViewMode = mode;
    setNeedsLayout();
    setNeedsDisplay();
}

bool TextField::isLeftViewVisible() const {
    return m_leftView != nullptr && isViewModeActive(m_leftViewMode);
}

void TextField::setReturnKeyType(ReturnKeyType type) {
    m_returnKeyType = type;
}

QString TextField::returnKeyTitle(ReturnKeyType type) {
    switch (type) {
    case ReturnKeyType::Default:
        return localizedString(QStringLiteral("return"));
    case ReturnKeyType::Go:
        return localizedString(QStringLiteral("Go"));
    case ReturnKeyType::Google:
        return QStringLiteral("Google");
    case ReturnKeyType::Join:
        return localizedString(QStringLiteral("Join"));
    case ReturnKeyType::Next:
        return localizedString(QStringLiteral("Next"));
    case ReturnKeyType::Route:
        return localizedString(QStringLiteral("Route"));
    case ReturnKeyType::Search:
        return localizedString(QStringLiteral("Search ~keyboard"));
    case ReturnKeyType::Send:
        return localizedString(QStringLiteral("Send"));
    case ReturnKeyType::Yahoo:
        return QStringLiteral("Yahoo");
    case ReturnKeyType::Done:
        return localizedString(QStringLiteral("Done"));
    case ReturnKeyType::EmergencyCall:
        return localizedString(QStringLiteral("Emergency Call"));
    }
    return localizedString(QStringLiteral("return"));
}

bool TextField::isReturnKeyEnabled() const {
    return !m_enablesReturnKeyAutomatically || !text().isEmpty();
}

void TextField::setSecureTextEntry(bool secure) {
    m_secureTextEntry = secure;
    m_lineEdit->setEchoMode(secure ? QLineEdit::Password : QLineEdit::Normal);
    setNeedsDisplay();
}

bool TextField::wantsCapitalLetter() const {
    const QString before = text().left(selectedRange().location);
    switch (m_autocapitalizationType) {
    case AutocapitalizationType::None:
        return false;
    case AutocapitalizationType::AllCharacters:
        return true;
    case AutocapitalizationType::Words:
        return before.isEmpty() || before.back().isSpace();
    case AutocapitalizationType::Sentences: {
        const QString trimmed = before.trimmed();
        return trimmed.isEmpty() || (before.back().isSpace() && (trimmed.endsWith(QLatin1Char('.')) ||
                                                                 trimmed.endsWith(QLatin1Char('!')) ||
                                                                 trimmed.endsWith(QLatin1Char('?'))));
    }
    }
    return false;
}

void TextField::stateDidChange() {
    if (!enabled() && isFirstResponder()) {
        resignFirstResponder();
    }
}

TextRange TextField::selectedRange() const {
    if (m_textBeforeChange) {
        if (m_textBeforeChange->selectionStart >= 0) {
            return TextRange{m_textBeforeChange->selectionStart, m_textBeforeChange->selectionLength};
        }
        return TextRange{m_textBeforeChange->cursor, 0};
    }
    if (m_lineEdit->hasSelectedText()) {
        return TextRange{m_lineEdit->selectionStart(), m_lineEdit->selectionLength()};
    }
    return TextRange{m_lineEdit->cursorPosition(), 0};
}

void TextField::setSelectedRange(TextRange range) {
    const int size = length(text());
    const int start = std::clamp(range.location, 0, size);
    const int end = std::clamp(range.location + range.length, start, size);
    if (end > start) {
        m_lineEdit->setSelection(start, end - start);
    } else {
        m_lineEdit->deselect();
        m_lineEdit->setCursorPosition(start);
    }
    setNeedsDisplay();
}

void TextField::selectAll() {
    m_lineEdit->selectAll();
    setNeedsDisplay();
}

void TextField::selectWordAtCursor() {
    const QString current = text();
    int start = std::min(m_lineEdit->cursorPosition(), length(current));
    if (start > 0 && (start == length(current) || !current[start].isLetterOrNumber())) {
        --start;
    }
    while (start > 0 && current[start - 1].isLetterOrNumber()) {
        --start;
    }
    int end = start;
    while (end < length(current) && current[end].isLetterOrNumber()) {
        ++end;
    }
    setSelectedRange(TextRange{start, end - start});
}

QString TextField::displayText() const {
    return m_lineEdit->displayText();
}

TextField::Snapshot TextField::snapshot() const {
    Snapshot state;
    state.text = m_lineEdit->text();
    state.cursor = m_lineEdit->cursorPosition();
    if (m_lineEdit->hasSelectedText()) {
        state.selectionStart = m_lineEdit->selectionStart();
        state.selectionLength = m_lineEdit->selectionLength();
    }
    return state;
}

void TextField::restore(const Snapshot& state) {
    m_lineEdit->setText(state.text);
    if (state.selectionStart >= 0) {
        // The cursor sits at the end of the selection the way it was made.
        if (state.cursor == state.selectionStart) {
            m_lineEdit->setSelection(state.selectionStart + state.selectionLength, -state.selectionLength);
        } else {
            m_lineEdit->setSelection(state.selectionStart, state.selectionLength);
        }
    } else {
        m_lineEdit->setCursorPosition(state.cursor);
    }
}

void TextField::performEdit(const std::function<void()>& edit) {
    const Snapshot before = snapshot();
    edit();
    const QString after = m_lineEdit->text();
    if (after == before.text) {
        setNeedsDisplay();
        return;
    }
    // The change is described as one replaced run: the common start and end stay, limited so
    // that the run begins no later than where the selection or cursor was.
    const int anchor = before.selectionStart >= 0 ? before.selectionStart : before.cursor;
    int prefix = 0;
    const int oldLength = length(before.text);
    const int newLength = length(after);
    while (prefix < std::min(oldLength, newLength) && before.text[prefix] == after[prefix]) {
        ++prefix;
    }
    prefix = std::min(prefix, anchor);
    int suffix = 0;
    while (suffix < oldLength - prefix && suffix < newLength - prefix &&
           before.text[oldLength - 1 - suffix] == after[newLength - 1 - suffix]) {
        ++suffix;
    }
    const TextRange range{prefix, oldLength - prefix - suffix};
    const QString replacement = after.mid(prefix, newLength - prefix - suffix);
    // The delegate is asked about the text as it was; the line edit keeps the change meanwhile,
    // so that its undo history stays whole when the change is accepted.
    m_textBeforeChange = before;
    const bool accepted = offerChange(range, replacement);
    m_textBeforeChange.reset();
    if (!accepted) {
        restore(before);
        setNeedsDisplay();
        return;
    }
    changed();
}

bool TextField::offerChange(TextRange range, const QString& replacement) {
    const auto owner = delegate();
    return !owner || owner->textFieldShouldChangeCharactersInRange(*this, range, replacement);
}

void TextField::changed() {
    setNeedsLayout();
    setNeedsDisplay();
    if (Window* window = this->window(); window != nullptr && window->firstResponder().get() == this) {
        Keyboard& keyboard = window->keyboard();
        if (keyboard.field().get() == this) {
            keyboard.fieldDidChange();
        }
    }
    if (onEditingChanged) {
        onEditingChanged();
    }
}

void TextField::insertText(const QString& inserted) {
    if (!m_editing) {
        return;
    }
    performEdit([this, &inserted] { m_lineEdit->insert(inserted); });
}

void TextField::deleteBackward() {
    if (!m_editing) {
        return;
    }
    performEdit([this] { m_lineEdit->backspace(); });
}

void TextField::cut() {
    if (!m_editing || m_secureTextEntry || !m_lineEdit->hasSelectedText()) {
        return;
    }
    copy();
    performEdit([this] { m_lineEdit->del(); });
}

void TextField::copy() {
    if (m_secureTextEntry || !m_lineEdit->hasSelectedText()) {
        return;
    }
    QGuiApplication::clipboard()->setText(m_lineEdit->selectedText());
}

void TextField::paste() {
    if (!m_editing) {
        return;
    }
    const QString pasted = QGuiApplication::clipboard()->text();
    if (!pasted.isEmpty()) {
        insertText(pasted);
    }
}

void TextField::returnKeyPressed() {
    if (!m_editing || !isReturnKeyEnabled()) {
        return;
    }
    const auto owner = delegate();
    if (owner && !owner->textFieldShouldReturn(*this)) {
        return;
    }
    if (onEditingDidEndOnExit) {
        onEditingDidEndOnExit();
        resignFirstResponder();
    }
}

void TextField::clearButtonTapped() {
    const auto owner = delegate();
    if (owner && !owner->textFieldShouldClear(*this)) {
        return;
    }
    if (!m_editing) {
        becomeFirstResponder();
    }
    if (text().isEmpty()) {
        return;
    }
    m_lineEdit->clear();
    m_markedText.clear();
    m_scrollX = 0.0;
    changed();
}

bool TextField::canBecomeFirstResponder() {
    if (!enabled() || hidden()) {
        return false;
    }
    const auto owner = delegate();
    return !owner || owner->textFieldShouldBeginEditing(*this);
}

bool TextField::canResignFirstResponder() {
    const auto owner = delegate();
    return !owner || owner->textFieldShouldEndEditing(*this);
}

bool TextField::canPerformAction(const QString& action) {
    const bool hasText = !text().isEmpty();
    const bool hasSelection = m_lineEdit->hasSelectedText();
    if (action == QLatin1String("cut") || action == QLatin1String("copy")) {
        return hasSelection && !m_secureTextEntry;
    }
    if (action == QLatin1String("paste")) {
        return m_editing && !QGuiApplication::clipboard()->text().isEmpty();
    }
    if (action == QLatin1String("select") || action == QLatin1String("selectAll")) {
        return hasText && !hasSelection;
    }
    return false;
}

void TextField::didBecomeFirstResponder() {
    m_editing = true;
    m_lineEdit->setCursorPosition(length(text()));
    setNeedsLayout();
    setNeedsDisplay();
    if (const auto owner = delegate()) {
        owner->textFieldDidBeginEditing(*this);
    }
    if (onEditingDidBegin) {
        onEditingDidBegin();
    }
}

void TextField::didResignFirstResponder() {
    m_editing = false;
    m_lineEdit->deselect();
    m_markedText.clear();
    m_scrollX = 0.0;
    setNeedsLayout();
    setNeedsDisplay();
    if (const auto owner = delegate()) {
        owner->textFieldDidEndEditing(*this);
    }
    if (onEditingDidEnd) {
        onEditingDidEnd();
    }
}

bool TextField::handleKeyInput(const KeyInput& input) {
    if (!m_editing) {
        return false;
    }
    switch (input.type) {
    case KeyInput::Type::Press: {
        if (input.key == Qt::Key_Return || input.key == Qt::Key_Enter) {
            returnKeyPressed();
            return true;
        }
        QKeyEvent event(QEvent::KeyPress, input.key, Qt::KeyboardModifiers(input.modifiers), input.text,
                        input.autoRepeat);
        performEdit([this, &event] { QCoreApplication::sendEvent(m_lineEdit.get(), &event); });
        return event.isAccepted();
    }
    case KeyInput::Type::Release: {
        QKeyEvent event(QEvent::KeyRelease, input.key, Qt::KeyboardModifiers(input.modifiers), input.text,
                        input.autoRepeat);
        QCoreApplication::sendEvent(m_lineEdit.get(), &event);
        return true;
    }
    case KeyInput::Type::InputMethod: {
        m_markedText = input.preeditString;
        QInputMethodEvent event(input.preeditString, {});
        event.setCommitString(input.commitString);
        performEdit([this, &event] { QCoreApplication::sendEvent(m_lineEdit.get(), &event); });
        setNeedsDisplay();
        return true;
    }
    }
    return false;
}

int TextField::characterIndexAtPoint(Point point) const {
    const QString shown = displayText();
    const Rect area = m_editing ? editingRectForBounds(bounds()) : textRectForBounds(bounds());
    const double x = point.x() - area.x() + m_scrollX;
    double start = 0.0;
    if (m_scrollX == 0.0) {
        const double width = TextLayout::advance(shown, m_font);
        if (width < area.width()) {
            if (m_textAlignment == TextAlignment::Center) {
                start = (area.width() - width) / 2.0;
            } else if (m_textAlignment == TextAlignment::Right) {
                start = area.width() - width;
            }
        }
    }
    const double offset = x - start;
    int best = 0;
    double bestDistance = std::abs(offset);
    for (int i = 1; i <= length(shown); ++i) {
        const double distance = std::abs(TextLayout::advance(shown.left(i), m_font) - offset);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

Rect TextField::borderRectForBounds(const Rect& bounds) const {
    return bounds;
}

Rect TextField::textRectForBounds(const Rect& bounds) const {
    const Size inset = textInset(m_borderStyle);
    double left = bounds.minX() + inset.width();
    double right = bounds.maxX() - inset.width();
    if (isLeftViewVisible()) {
        left = std::max(left, leftViewRectForBounds(bounds).maxX() + 4.0);
    }
    if (isClearButtonVisible()) {
        right = std::min(right, clearButtonRectForBounds(bounds).minX());
    }
    return Rect(left, bounds.minY() + inset.height(), std::max(0.0, right - left),
                std::max(0.0, bounds.height() - 2.0 * inset.height()));
}

Rect TextField::editingRectForBounds(const Rect& bounds) const {
    return textRectForBounds(bounds);
}

Rect TextField::placeholderRectForBounds(const Rect& bounds) const {
    return m_editing ? editingRectForBounds(bounds) : textRectForBounds(bounds);
}

Rect TextField::clearButtonRectForBounds(const Rect& bounds) const {
    const double margin = m_borderStyle == BorderStyle::None ? 0.0 : 5.0;
    return Rect(bounds.maxX() - margin - clearButtonSize, bounds.midY() - clearButtonSize / 2.0,
                clearButtonSize, clearButtonSize);
}

Rect TextField::leftViewRectForBounds(const Rect& bounds) const {
    if (!m_leftView) {
        return Rect(bounds.minX(), bounds.midY(), 0, 0);
    }
    const Size size = m_leftView->bounds().size();
    const double margin = m_borderStyle == BorderStyle::None ? 0.0 : textInset(m_borderStyle).width();
    return Rect(bounds.minX() + margin, bounds.midY() - size.height() / 2.0, size.width(), size.height());
}

void TextField::layoutSubviews() {
    if (m_leftView) {
        m_leftView->setHidden(!isLeftViewVisible());
        m_leftView->setFrame(leftViewRectForBounds(bounds()));
    }
}

double TextField::textStartX(const Rect& textRect, const QString& shown) {
    const double width = TextLayout::advance(shown, m_font);
    if (!m_editing || width <= textRect.width()) {
        m_scrollX = 0.0;
        if (width >= textRect.width() || m_textAlignment == TextAlignment::Left) {
            return textRect.x();
        }
        const double room = textRect.width() - width;
        return textRect.x() + (m_textAlignment == TextAlignment::Center ? room / 2.0 : room);
    }
    // Longer than the area while editing: scroll just enough to keep the cursor in view.
    const double cursorX = TextLayout::advance(shown.left(m_lineEdit->cursorPosition()), m_font) +
                           TextLayout::advance(m_markedText, m_font);
    if (cursorX - m_scrollX > textRect.width() - 2.0) {
        m_scrollX = cursorX - textRect.width() + 2.0;
    } else if (cursorX - m_scrollX < 0.0) {
        m_scrollX = cursorX;
    }
    m_scrollX = std::clamp(m_scrollX, 0.0, std::max(0.0, width + 2.0 - textRect.width()));
    return textRect.x() - m_scrollX;
}

void TextField::drawBorder(GraphicsContext& context) const {
    const Rect rect = borderRectForBounds(bounds());
    switch (m_borderStyle) {
    case BorderStyle::None:
        if (!m_background.isNull()) {
            context.drawImage(m_background, rect);
        }
        break;
    case BorderStyle::Line:
        if (!m_background.isNull()) {
            context.drawImage(m_background, rect);
        }
        context.setStrokeColor(Color(0, 0, 0));
        context.setLineWidth(1.0);
        context.strokeRect(rect.inset(0.5, 0.5));
        break;
    case BorderStyle::Bezel: {
        if (!m_background.isNull()) {
            context.drawImage(m_background, rect);
        }
        // A sunken edge: dark above and on the left, lighter below and on the right.
        context.setFillColor(Color(0.45, 0.45, 0.45));
        context.fillRect(Rect(rect.x(), rect.y(), rect.width(), 2));
        context.fillRect(Rect(rect.x(), rect.y(), 1, rect.height()));
        context.setFillColor(Color(0.7, 0.7, 0.7));
        context.fillRect(Rect(rect.maxX() - 1, rect.y() + 1, 1, rect.height() - 1));
        context.fillRect(Rect(rect.x() + 1, rect.maxY() - 1, rect.width() - 1, 1));
        break;
    }
    case BorderStyle::RoundedRect: {
        const Rect outer = rect.inset(0.5, 0.5);
        context.saveGState();
        RoundedRectangle(outer, 7.0).drawRoundedRectPath(context);
        context.setFillColor(Color(1, 1, 1));
        context.fillPath();
        // The classic field looks pressed into the surface: a soft shade under its top edge.
        RoundedRectangle(outer, 7.0).drawRoundedRectPath(context);
        context.clip();
        context.drawLinearGradient({{0.0, Color(0, 0, 0, 0.18)}, {1.0, Color(0, 0, 0, 0.0)}},
                                   Point(0, outer.minY()), Point(0, outer.minY() + 4.0));
        context.restoreGState();
        RoundedRectangle(outer, 7.0).drawRoundedRectPath(context);
        context.setStrokeColor(Color(0.55, 0.55, 0.55));
        context.setLineWidth(1.0);
        context.strokePath();
        break;
    }
    }
}

void TextField::drawClearButton(GraphicsContext& context, const Rect& rect) const {
    const Rect circle = Rect(rect.midX() - 7.5, rect.midY() - 7.5, 15, 15);
    context.setFillColor(Color(0.66, 0.66, 0.66));
    context.beginPath();
    context.addEllipseInRect(circle);
    context.fillPath();
    context.setStrokeColor(Color(1, 1, 1));
    context.setLineWidth(1.8);
    const double arm = 3.2;
    const Point c = circle.center();
    context.beginPath();
    context.moveTo(Point(c.x() - arm, c.y() - arm));
    context.addLineTo(Point(c.x() + arm, c.y() + arm));
    context.moveTo(Point(c.x() + arm, c.y() - arm));
    context.addLineTo(Point(c.x() - arm, c.y() + arm));
    context.strokePath();
}

void TextField::drawRect(GraphicsContext& context, const Rect&) {
    drawBorder(context);
    const double dim = enabled() ? 1.0 : 0.5;
    const QString shown = displayText();
    const bool showPlaceholder = shown.isEmpty() && m_markedText.isEmpty();
    const Rect area = showPlaceholder
                          ? placeholderRectForBounds(bounds())
                          : (m_editing ? editingRectForBounds(bounds()) : textRectForBounds(bounds()));
    const double lineHeight = m_font.lineHeight();
    double y = area.y();
    if (m_contentVerticalAlignment == VerticalAlignment::Center) {
        y = area.midY() - lineHeight / 2.0;
    } else if (m_contentVerticalAlignment == VerticalAlignment::Bottom) {
        y = area.maxY() - lineHeight;
    }

    context.saveGState();
    context.setAlpha(context.alpha() * dim);
    context.clipToRect(area.inset(0, -2));
    if (showPlaceholder) {
        if (!m_placeholder.isEmpty()) {
            context.setFillColor(placeholderColor);
            context.drawTextInRect(m_placeholder, Rect(area.x(), y, area.width(), lineHeight), m_font,
                                   LineBreakMode::TailTruncation, m_textAlignment);
        }
    }
    const double x = textStartX(area, shown);
    const TextRange selection = selectedRange();
    if (m_editing && selection.length > 0) {
        const double from = TextLayout::advance(shown.left(selection.location), m_font);
        const double to = TextLayout::advance(shown.left(selection.location + selection.length), m_font);
        context.setFillColor(selectionColor);
        context.fillRect(Rect(x + from, y, to - from, lineHeight));
    }
    if (!shown.isEmpty()) {
        context.setFillColor(m_textColor);
        if (m_editing) {
            context.drawText(shown, Point(x, y), m_font);
        } else {
            context.drawText(shown, Point(x, y), area.width(), m_font, LineBreakMode::TailTruncation);
        }
    }
    if (m_editing) {
        double cursorX = x + TextLayout::advance(shown.left(m_lineEdit->cursorPosition()), m_font);
        if (!m_markedText.isEmpty()) {
            // Text still being composed is shown at the cursor, underlined.
            const double width = TextLayout::advance(m_markedText, m_font);
            context.setFillColor(m_textColor);
            context.drawText(m_markedText, Point(cursorX, y), m_font);
            context.fillRect(Rect(cursorX, y + m_font.ascender() + 2.0, width, 1.0));
            cursorX += width;
        }
        if (selection.length == 0) {
            context.setFillColor(cursorColor);
            context.fillRect(Rect(cursorX - 1.0, y, 2.0, lineHeight));
        }
    }
    context.restoreGState();

    if (isClearButtonVisible()) {
        drawClearButton(context, clearButtonRectForBounds(bounds()));
    }
}

void TextField::touchesBegan(const TouchSet& touches, const TouchEvent&) {
    if (!enabled()) {
        return;
    }
    const Point point = (*touches.begin())->locationInView(this);
    m_tracking = true;
    m_trackingClearButton =
        isClearButtonVisible() && clearButtonRectForBounds(bounds()).inset(-6, -6).contains(point);
}

void TextField::touchesMoved(const TouchSet&, const TouchEvent&) {}

void TextField::touchesEnded(const TouchSet& touches, const TouchEvent&) {
    if (!m_tracking) {
        return;
    }
    m_tracking = false;
    const Point point = (*touches.begin())->locationInView(this);
    if (m_trackingClearButton) {
        m_trackingClearButton = false;
        if (clearButtonRectForBounds(bounds()).inset(-6, -6).contains(point)) {
            clearButtonTapped();
        }
        return;
    }
    if (!bounds().inset(-10, -10).contains(point)) {
        return;
    }
    if (!m_editing) {
        becomeFirstResponder();
        return;
    }
    const int index = characterIndexAtPoint(point);
    const TextRange before = selectedRange();
    MenuController& menu = MenuController::sharedMenuController();
    if (before.length == 0 && index == before.location && !menu.isMenuVisible()) {
        // A tap on the cursor offers the edit menu, with the actions the field allows now.
        const std::shared_ptr<TextField> self = std::static_pointer_cast<TextField>(shared_from_this());
        const std::weak_ptr<TextField> weakSelf = self;
        std::vector<MenuItem> items;
        const auto addItem = [&](const QString& action, const QString& title, void (TextField::*call)()) {
            if (canPerformAction(action)) {
                items.push_back(MenuItem(title, [weakSelf, call] {
                    if (const auto field = weakSelf.lock()) {
                        ((*field).*call)();
                    }
                }));
            }
        };
        addItem(QStringLiteral("select"), QStringLiteral("Select"), &TextField::selectWordAtCursor);
        addItem(QStringLiteral("selectAll"), QStringLiteral("Select All"), &TextField::selectAll);
        addItem(QStringLiteral("paste"), QStringLiteral("Paste"), &TextField::paste);
        if (!items.empty()) {
            const double cursorX = TextLayout::advance(displayText().left(index), m_font);
            const Rect area = editingRectForBounds(bounds());
            menu.setMenuItems(std::move(items));
            menu.setTargetRect(Rect(area.x() + cursorX - m_scrollX - 1.0, area.y(), 2.0, area.height()),
                               this);
            menu.setMenuVisible(true, true);
        }
        return;
    }
    if (menu.isMenuVisible()) {
        menu.setMenuVisible(false, true);
    }
    setSelectedRange(TextRange{index, 0});
}

void TextField::touchesCancelled(const TouchSet&, const TouchEvent&) {
    m_tracking = false;
    m_trackingClearButton = false;
}

AccessibilityDescription TextField::describeAccessibility() const {
    AccessibilityDescription description;
    description.role = AccessibilityRole::EditableText;
    description.label = m_placeholder;
    description.value = displayText();
    description.enabled = enabled();
    description.subviewsAreElements = false;
    return description;
}
