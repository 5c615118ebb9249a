#pragma once

#include "foundation/Color.h"
#include "kit/Control.h"
#include "kit/Font.h"
#include "kit/Image.h"
#include "kit/TextAlignment.h"
#include "kit/TextRange.h"
#include "kit/View.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QLineEdit;
class TextFieldDelegate;

// The platform's one-line text field. The field draws its own look (border, text, placeholder,
// clear button, cursor and selection); the editing itself (cursor moves, selection, clipboard,
// input methods) is done by a Qt line edit kept off screen, whose state the field shows.
//
// Tapping the field makes it first responder, which brings up the window's keyboard; typing
// reaches it from the on-screen keyboard or, through the window, from the computer's keyboard.
// Every change of the text by the user is first offered to the delegate; programmatic setters
// neither ask the delegate nor call the callbacks.
class TextField : public Control {
public:
    enum class BorderStyle { None, Line, Bezel, RoundedRect };
    enum class ViewMode { Never, WhileEditing, UnlessEditing, Always };
    enum class VerticalAlignment { Top, Center, Bottom };
    enum class ReturnKeyType {
        Default,
        Go,
        Google,
        Join,
        Next,
        Route,
        Search,
        Send,
        Yahoo,
        Done,
        EmergencyCall
    };
    enum class AutocapitalizationType { None, Words, Sentences, AllCharacters };
    enum class AutocorrectionType { Default, No, Yes };
    enum class KeyboardType {
        Default,
        AsciiCapable,
        NumbersAndPunctuation,
        Url,
        NumberPad,
        PhonePad,
        EmailAddress
    };

    // The size of the clear button's area.
    static constexpr double clearButtonSize = 19.0;

    TextField();
    explicit TextField(const Rect& frame);
    ~TextField() override;

    QString text() const;
    void setText(const QString& text);
    QString placeholder() const { return m_placeholder; }
    void setPlaceholder(const QString& placeholder);
    Font font() const { return m_font; }
    void setFont(const Font& font);
    Color textColor() const { return m_textColor; }
    void setTextColor(const Color& color);
    TextAlignment textAlignment() const { return m_textAlignment; }
    void setTextAlignment(TextAlignment alignment);
    VerticalAlignment contentVerticalAlignment() const { return m_contentVerticalAlignment; }
    void setContentVerticalAlignment(VerticalAlignment alignment);
    BorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(BorderStyle style);
    // Drawn behind the text when the border style is not the rounded rectangle.
    Image background() const { return m_background; }
    void setBackground(const Image& image);

    ViewMode clearButtonMode() const { return m_clearButtonMode; }
    void setClearButtonMode(ViewMode mode);
    // Whether the clear button shows now: its mode allows it and there is text.
    bool isClearButtonVisible() const;
    const std::shared_ptr<View>& leftView() const { return m_leftView; }
    void setLeftView(std::shared_ptr<View> view);
    ViewMode leftViewMode() const { return m_leftViewMode; }
    void setLeftViewMode(ViewMode mode);
    bool isLeftViewVisible() const;

    // Text input traits, read by the on-screen keyboard.
    ReturnKeyType returnKeyType() const { return m_returnKeyType; }
    void setReturnKeyType(ReturnKeyType type);
    // The title of the Return key for the type ("return", "Go", "Search", …).
    static QString returnKeyTitle(ReturnKeyType type);
    // When set, the Return key works only while there is text.
    bool enablesReturnKeyAutomatically() const { return m_enablesReturnKeyAutomatically; }
    void setEnablesReturnKeyAutomatically(bool enables) { m_enablesReturnKeyAutomatically = enables; }
    bool isReturnKeyEnabled() const;
    AutocapitalizationType autocapitalizationType() const { return m_autocapitalizationType; }
    void setAutocapitalizationType(AutocapitalizationType type) { m_autocapitalizationType = type; }
    AutocorrectionType autocorrectionType() const { return m_autocorrectionType; }
    void setAutocorrectionType(AutocorrectionType type) { m_autocorrectionType = type; }
    KeyboardType keyboardType() const { return m_keyboardType; }
    void setKeyboardType(KeyboardType type) { m_keyboardType = type; }
    bool isSecureTextEntry() const { return m_secureTextEntry; }
    void setSecureTextEntry(bool secure);
    // Whether the next letter typed would be a capital under the autocapitalisation type.
    bool wantsCapitalLetter() const;

    bool isEditing() const { return m_editing; }

    // Not owned: the owner must be held by a std::shared_ptr.
    void setDelegate(std::weak_ptr<TextFieldDelegate> delegate) { m_delegate = std::move(delegate); }

    // The cursor and the selection, in characters of the text. An empty selection is the cursor.
    TextRange selectedRange() const;
    void setSelectedRange(TextRange range);
    void selectAll();
    // Selects the word at the cursor (or the one before it).
    void selectWordAtCursor();
    // The text as drawn: dots for secure entry.
    QString displayText() const;
    // Text being composed by an input method, shown at the cursor until committed.
    QString markedText() const { return m_markedText; }

    // Editing as the user does it: each change is offered to the delegate first, and a change
    // made reports through onEditingChanged. They work only while the field is editing.
    void insertText(const QString& text);
    void deleteBackward();
    void cut();
    void copy();
    void paste();
    // Return: asks the delegate, then reports the end of editing on exit; with a handler for
    // that report the field gives up the keyboard, as the platform's does.
    void returnKeyPressed();
    // What the clear button does when tapped.
    void clearButtonTapped();

    // The cursor index nearest to a point of the bounds.
    int characterIndexAtPoint(Point point) const;

    // Layout of the parts within the bounds.
    virtual Rect borderRectForBounds(const Rect& bounds) const;
    virtual Rect textRectForBounds(const Rect& bounds) const;
    virtual Rect editingRectForBounds(const Rect& bounds) const;
    virtual Rect placeholderRectForBounds(const Rect& bounds) const;
    virtual Rect clearButtonRectForBounds(const Rect& bounds) const;
    virtual Rect leftViewRectForBounds(const Rect& bounds) const;

    bool canBecomeFirstResponder() override;
    bool canResignFirstResponder() override;
    bool canPerformAction(const QString& action) override;

    std::function<void()> onEditingDidBegin;
    std::function<void()> onEditingChanged;
    std::function<void()> onEditingDidEnd;
    std::function<void()> onEditingDidEndOnExit;

protected:
    AccessibilityDescription describeAccessibility() const override;
    void drawRect(GraphicsContext& context, const Rect& rect) final;
    void layoutSubviews() override;
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void touchesCancelled(const TouchSet& touches, const TouchEvent& event) override;
    void didBecomeFirstResponder() override;
    void didResignFirstResponder() override;
    bool handleKeyInput(const KeyInput& input) override;
    // A disabled field cannot begin editing; it gives up the keyboard when it has it.
    void stateDidChange() override;

private:
    struct Snapshot {
        QString text;
        int cursor = 0;
        int selectionStart = -1;
        int selectionLength = 0;
    };

    Snapshot snapshot() const;
    void restore(const Snapshot& snapshot);
    // Runs an edit on the line edit, then offers the change it made to the delegate: a vetoed
    // change is undone, an accepted one is reported.
    void performEdit(const std::function<void()>& edit);
    bool offerChange(TextRange range, const QString& replacement);
    void changed();
    bool isViewModeActive(ViewMode mode) const;
    // The horizontal position of the text's start in the text area, after alignment and
    // scrolling to keep the cursor visible.
    double textStartX(const Rect& textRect, const QString& text);
    void drawBorder(GraphicsContext& context) const;
    void drawClearButton(GraphicsContext& context, const Rect& rect) const;
    std::shared_ptr<TextFieldDelegate> delegate() const { return m_delegate.lock(); }

    std::unique_ptr<QLineEdit> m_lineEdit;
    // The text and selection before the change the delegate is being asked about.
    std::optional<Snapshot> m_textBeforeChange;
    QString m_placeholder;
    Font m_font = Font::systemFontOfSize(17);
    Color m_textColor = Color(0, 0, 0);
    TextAlignment m_textAlignment = TextAlignment::Left;
    VerticalAlignment m_contentVerticalAlignment = VerticalAlignment::Top;
    BorderStyle m_borderStyle = BorderStyle::None;
    Image m_background;
    ViewMode m_clearButtonMode = ViewMode::Never;
    std::shared_ptr<View> m_leftView;
    ViewMode m_leftViewMode = ViewMode::Never;
    ReturnKeyType m_returnKeyType = ReturnKeyType::Default;
    bool m_enablesReturnKeyAutomatically = false;
    AutocapitalizationType m_autocapitalizationType = AutocapitalizationType::None;
    AutocorrectionType m_autocorrectionType = AutocorrectionType::Default;
    KeyboardType m_keyboardType = KeyboardType::Default;
    bool m_secureTextEntry = false;
    bool m_editing = false;
    std::weak_ptr<TextFieldDelegate> m_delegate;
    QString m_markedText;
    double m_scrollX = 0.0;
    bool m_trackingClearButton = false;
    bool m_tracking = false;
};
