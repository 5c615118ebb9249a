#pragma once

#include <functional>

struct KeyInput;
class TextField;

// Typing on a computer's keyboard while the editor is in front and its title field does not have
// the keyboard (the time picker shows in its place): text goes into the title, as a person who
// starts typing on a new event expects. Other keys are left to others.
namespace TitleFieldTyping {

// `giveTitleTheKeyboard` makes the title field first responder (hiding the time picker); returns
// whether the input was used.
bool typeIntoTitle(const KeyInput& input, TextField& titleField,
                   const std::function<void()>& giveTitleTheKeyboard);

} // namespace TitleFieldTyping
