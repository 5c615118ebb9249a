#pragma once

// The named images of the event editing screens: "edit-button-bg" and "edit-button-bg-selected"
// (the white, rounded field that frames the form's buttons and the calendar strip, and its
// pressed look; both stretch with caps of 13 and 17), "calendar-picker-fade-left" and
// "calendar-picker-fade-right" (the ends of the strip, where squares fade out) and "balloon" and
// "balloon-arrow" (the dark name balloon and its arrow).
namespace EditingArtwork {

// The field's size: caps of 13 on either side of a one-point band, 35 high.
constexpr double fieldWidth = 27.0;
constexpr double fieldHeight = 35.0;
// The balloon's body ends here; its arrow starts two points above, to cover the bottom edge.
constexpr double balloonBodyHeight = 39.0;

// Registers the images once; later calls do nothing. Main thread.
void registerImages();

} // namespace EditingArtwork
