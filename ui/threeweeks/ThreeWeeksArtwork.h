#pragma once

// The images of the three-weeks view's mini days: the pressed header and bodies
// ("mini-block-header", "mini-block-selected", "mini-weekend-block-selected"), the small cake of
// birthdays ("mini-birthday") and the more-events icons ("mini-more-icon", "mini-more-icon-white",
// "mini-more-icon-today").
namespace ThreeWeeksArtwork {

// A mini day's card: 79 points wide, its header band 14 high.
constexpr double miniCardWidth = 79.0;
constexpr double miniHeaderHeight = 14.0;
constexpr double miniCardHeight = 78.0;
constexpr double miniWeekendCardHeight = 39.0;

// Registers the images once; later calls do nothing.
void registerImages();

} // namespace ThreeWeeksArtwork
