#include "core/settings/KeyboardShortcuts.h"

#include "foundation/Localization.h"

#include <algorithm>

namespace KeyboardShortcuts {

std::vector<KeyboardShortcut> all() {
    const auto entry = [](const char* keys, const char* action) {
        return KeyboardShortcut{localizedString(QString::fromUtf8(keys)),
                                localizedString(QString::fromUtf8(action))};
    };
    return {
        entry("Left, Right ~Keys", "Previous or next week"),
        entry("Page Up, Page Down ~Keys", "Previous or next week"),
        entry("Wheel, touchpad ~Keys", "Scroll the weeks"),
        entry("Home, T ~Keys", "Back to the current week"),
        entry("N ~Keys", "New event on the selected day or today"),
        entry("Alt + arrows ~Keys", "Select an event or a day"),
        entry("Return, Space ~Keys", "Open the selected event"),
        entry("Delete ~Keys", "Delete the selected event"),
        entry("Ctrl + Z ~Keys", "Undo the last deletion, copy or move"),
        entry("Ctrl + F ~Keys", "Search"),
        entry("Tab, Shift + Tab ~Keys", "Next or previous field"),
        entry("Escape ~Keys", "Cancel or close what is on top"),
        entry("Ctrl + Left, Ctrl + Right ~Keys", "Turn the screen (three weeks in landscape)"),
        entry("Ctrl + wheel ~Keys", "Zoom in or out (a pinch)"),
        entry("Ctrl + Q, Ctrl + W ~Keys", "Close the window"),
    };
}

QString asText() {
    const std::vector<KeyboardShortcut> shortcuts = all();
    qsizetype width = 0;
    for (const KeyboardShortcut& shortcut : shortcuts) {
        width = std::max(width, shortcut.keys.size());
    }
    QString text;
    for (const KeyboardShortcut& shortcut : shortcuts) {
        text += QStringLiteral("  %1  %2\n").arg(shortcut.keys.leftJustified(width), shortcut.action);
    }
    return text;
}

} // namespace KeyboardShortcuts
