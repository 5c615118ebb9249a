#pragma once

#include "kit/Rect.h"
#include "kit/View.h"

#include <QString>

#include <memory>
#include <vector>

class TextField;

// The on-screen keyboard area of a window. It slides up from the bottom edge when a text field
// becomes first responder and down when the field gives the keyboard up (moving from one field
// to another keeps it up), and announces both through the default NotificationCenter with
// its begin and end frames in window coordinates and the slide's duration. Its keys type into
// the field. The window makes and places it; screens only listen to the notifications.
class Keyboard : public View {
public:
    static inline const QString willShowNotification = QStringLiteral("UIKeyboardWillShowNotification");
    static inline const QString didShowNotification = QStringLiteral("UIKeyboardDidShowNotification");
    static inline const QString willHideNotification = QStringLiteral("UIKeyboardWillHideNotification");
    static inline const QString didHideNotification = QStringLiteral("UIKeyboardDidHideNotification");
    static inline const QString frameBeginUserInfoKey = QStringLiteral("UIKeyboardFrameBeginUserInfoKey");
    static inline const QString frameEndUserInfoKey = QStringLiteral("UIKeyboardFrameEndUserInfoKey");
    static inline const QString animationDurationUserInfoKey =
        QStringLiteral("UIKeyboardAnimationDurationUserInfoKey");

    static constexpr double animationDuration = 0.25;

    struct Key {
        enum class Kind { Character, Shift, Backspace, Numbers, Space, Return };
        Kind kind;
        QString title;
        // In the keyboard's bounds.
        Rect frame;
    };

    // The keyboard's height on this device in the orientation.
    static double heightForLandscape(bool landscape);

    Keyboard();

    // Whether the keyboard is up or on its way up.
    bool isShown() const { return m_shown; }
    std::shared_ptr<TextField> field() const { return m_field.lock(); }
    // The frame of the keyboard when up (and when down) in its window's coordinates.
    Rect shownFrame() const;
    Rect hiddenFrame() const;

    // Called by the window as its first responder changes.
    void showForField(const std::shared_ptr<TextField>& field);
    void hide();
    // Called by the field after its text changed, for the shift state and the Return key.
    void fieldDidChange();
    // Called by the window after it laid itself out (after a turn, say).
    void windowDidLayout();

    // The keys as laid out now, in the keyboard's bounds.
    const std::vector<Key>& keys();
    // The first key with the title (as shown on the key), or none.
    const Key* keyWithTitle(const QString& title);
    // Presses the key as a tap would.
    void pressKey(const Key& key);
    bool isShifted() const { return m_shifted; }
    bool showsNumbers() const { return m_numbers; }

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    void layoutSubviews() override;
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void touchesCancelled(const TouchSet& touches, const TouchEvent& event) override;

private:
    Rect windowBounds() const;
    void post(const QString& name, const Rect& begin, const Rect& end) const;
    void layoutKeys();
    int keyIndexAt(Point point);
    // Sets the shift state the field's autocapitalisation asks for now.
    void updateShift();
    void drawKey(GraphicsContext& context, const Key& key, bool pressed) const;

    std::weak_ptr<TextField> m_field;
    bool m_shown = false;
    int m_generation = 0;
    bool m_shifted = false;
    bool m_numbers = false;
    std::vector<Key> m_keys;
    Size m_keysLaidOutFor;
    int m_pressedKey = -1;
};
