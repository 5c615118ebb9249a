#pragma once

#include "kit/TextRange.h"

#include <QString>

class TextField;

// What a text field asks and tells while it is edited. Every operation is optional; by default
// the field may begin and end editing, change its text, clear it and take Return.
class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;

    virtual bool textFieldShouldBeginEditing(TextField& textField);
    virtual void textFieldDidBeginEditing(TextField& textField);
    virtual bool textFieldShouldEndEditing(TextField& textField);
    virtual void textFieldDidEndEditing(TextField& textField);
    // Asked before the characters in `range` (of the current text) are replaced by
    // `replacement`; false keeps the text as it is.
    virtual bool textFieldShouldChangeCharactersInRange(TextField& textField, TextRange range,
                                                        const QString& replacement);
    // Asked when the clear button is tapped.
    virtual bool textFieldShouldClear(TextField& textField);
    // Asked when Return is pressed; true lets the field report the end of editing on exit.
    virtual bool textFieldShouldReturn(TextField& textField);
};
