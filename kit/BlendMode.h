#pragma once

// How later drawing combines with what is already drawn.
enum class BlendMode {
    // Drawn over what lies beneath.
    Normal,
    // Replaces what lies beneath, transparency included.
    Copy,
    // Drawn only where something lies beneath, keeping its coverage.
    SourceAtop,
    // Kept only where something lies beneath.
    SourceIn,
    // Erases what lies beneath where it is drawn.
    DestinationOut,
    // Darkens by multiplying the colours.
    Multiply,
};
