#pragma once

// A run of characters in a text: where it starts and how many it spans.
struct TextRange {
    int location = 0;
    int length = 0;

    constexpr bool operator==(const TextRange&) const = default;
};
