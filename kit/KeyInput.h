#pragma once

#include <QString>
#include <Qt>

// One piece of typing from the computer's keyboard, as the window host hands it to the window:
// a key going down or up (Qt's key code and modifier bits, the text it types), or an input
// method's composition step (text to commit, text still being composed).
struct KeyInput {
    enum class Type { Press, Release, InputMethod };

    Type type = Type::Press;
    int key = 0;
    int modifiers = 0;
    QString text;
    bool autoRepeat = false;
    QString commitString;
    QString preeditString;

    // Whether this types text into a field: a key press with printable text and no Ctrl, Alt or
    // Meta held, or an input method's step.
    bool typesText() const {
        if (type == Type::InputMethod) {
            return !commitString.isEmpty() || !preeditString.isEmpty();
        }
        return type == Type::Press && !hasCommandModifiers() && !text.isEmpty() && text.front().isPrint();
    }
    // Ctrl, Alt or Meta held: a shortcut, not typing.
    bool hasCommandModifiers() const {
        return (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
    }
};
