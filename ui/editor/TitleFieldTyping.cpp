#include "ui/editor/TitleFieldTyping.h"

#include "kit/KeyInput.h"
#include "kit/TextField.h"
#include "kit/Window.h"

bool TitleFieldTyping::typeIntoTitle(const KeyInput& input, TextField& titleField,
                                     const std::function<void()>& giveTitleTheKeyboard) {
    if (!input.typesText() || titleField.isFirstResponder() || !titleField.enabled()) {
        return false;
    }
    giveTitleTheKeyboard();
    // Typing reaches the first responder through its window.
    Window* window = titleField.window();
    return titleField.isFirstResponder() && window && window->keyInput(input);
}
