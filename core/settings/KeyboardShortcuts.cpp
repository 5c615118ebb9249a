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
        entry(localizationKey("Left, Right ~Keys"), localizationKey("Previous or next week")),
        entry(localizationKey("Page Up, Page Down ~Keys"), localizationKey("Previous or next week")),
        entry(localizationKey("Wheel, touchpad ~Keys"), localizationKey("Scroll the weeks")),
        entry(localizationKey("Home, T ~Keys"), localizationKey("Back to the current week")),
        entry(localizationKey("N ~Keys"), localizationKey("New event on the selected day or today")),
        entry(localizationKey("Alt + arrows ~Keys"), localizationKey("Select an event or a day")),
        entry(localizationKey("Return, Space ~Keys"), localizationKey("Open the selected event")),
        entry(localizationKey("Delete ~Keys"), localizationKey("Delete the selected event")),
        entry(localizationKey("Ctrl + Z ~Keys"), localizationKey("Undo the last deletion, copy or move")),
        entry(localizationKey("Ctrl + F ~Keys"), localizationKey("Search")),
        entry(localizationKey("Tab, Shift + Tab ~Keys"), localizationKey("Next or previous field")),
        entry(localizationKey("Escape ~Keys"), localizationKey("Cancel or close what is on top")),
        entry(localizationKey("Ctrl + Left, Ctrl + Right ~Keys"),
              localizationKey("Turn the screen (three weeks in landscape)")),
        entry(localizationKey("Ctrl + wheel ~Keys"), localizationKey("Zoom in or out (a pinch)")),
        entry(localizationKey("Ctrl + Q, Ctrl + W ~Keys"), localizationKey("Close the window")),
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
