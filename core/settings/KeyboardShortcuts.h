#pragma once

#include <QString>

#include <vector>

// The keys the program answers to, as the settings' "Keyboard Shortcuts" list and `orvella --help`
// show them: the keys as printed on a keyboard and what they do.
struct KeyboardShortcut {
    QString keys;
    QString action;
};

namespace KeyboardShortcuts {

// In the order a person learns them: the week, the selection, search and screens, the window.
std::vector<KeyboardShortcut> all();
// The list as lines of text, the keys in a column of their own.
QString asText();

} // namespace KeyboardShortcuts
