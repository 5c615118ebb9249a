#pragma once

// The images of the day list: the shadow under its table, the add button's face and the close
// button over the box's corner.
namespace DayListArtwork {

// Registers the images once; later calls do nothing.
void registerImages();

} // namespace DayListArtwork
