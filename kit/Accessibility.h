#pragma once

#include <QString>

// What a view is to assistive technology (a screen reader).
enum class AccessibilityRole {
    // Not an element of its own: its subviews are shown in its place (unless it has a label,
    // which makes it a pane).
    None,
    Pane,
    Button,
    StaticText,
    EditableText,
    Switch,
    List,
    Row,
    Dialog,
};

// Changes a view tells assistive technology about, through View::postAccessibilityNotification.
enum class AccessibilityNotification {
    // The view now has the keyboard (the first responder, or a selection made with the keys).
    FocusChanged,
    // The view's label changed while it stayed on screen (a new page under the same title).
    LabelChanged,
    ValueChanged,
    // The view is an alert that just appeared.
    AlertShown,
};

// A view's answer to assistive technology: its role, what it is called, its value and its state.
// Hidden views (and those at alpha 0) are never asked.
struct AccessibilityDescription {
    AccessibilityRole role = AccessibilityRole::None;
    // The name read out: a button's title, a label's text, a field's placeholder.
    QString label;
    // The content, where it differs from the name: a field's text, an alert's message.
    QString value;
    bool enabled = true;
    bool selected = false;
    // Only for switches.
    bool checked = false;
    // False when the label already says what the subviews show, so that they are not read
    // again as elements of their own (a button's title label, a row's drawn texts).
    bool subviewsAreElements = true;
};
