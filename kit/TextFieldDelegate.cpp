#include "kit/TextFieldDelegate.h"

bool TextFieldDelegate::textFieldShouldBeginEditing(TextField&) {
    return true;
}

void TextFieldDelegate::textFieldDidBeginEditing(TextField&) {}

bool TextFieldDelegate::textFieldShouldEndEditing(TextField&) {
    return true;
}

void TextFieldDelegate::textFieldDidEndEditing(TextField&) {}

bool TextFieldDelegate::textFieldShouldChangeCharactersInRange(TextField&, TextRange, const QString&) {
    return true;
}

bool TextFieldDelegate::textFieldShouldClear(TextField&) {
    return true;
}

bool TextFieldDelegate::textFieldShouldReturn(TextField&) {
    return true;
}
