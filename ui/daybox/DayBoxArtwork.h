#pragma once

// The images of the day box: the pressed header and body of the card, the more button's icons
// and its highlighted background.
namespace DayBoxArtwork {

// The corner radius of the card and of everything drawn over it.
constexpr double cornerRadius = 4.0;

// Registers the images once; later calls do nothing.
void registerImages();

} // namespace DayBoxArtwork
