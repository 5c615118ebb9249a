#pragma once

#include <QString>

// Told when the user picks an option of a multi-select screen.
class MultiValueSelectControllerDelegate {
public:
    virtual ~MultiValueSelectControllerDelegate() = default;

    virtual void optionSelected(const QString& key, const QString& value) = 0;
};
